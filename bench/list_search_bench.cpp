// Times the list search: generated master records screened against generated lists of realistic size
// (EU 20 000, UN 1 500, UK 5 000, US 30 000 rows) in each phonetic mode, records per second. For each
// mode the same records are counted by SQLite's count queries and by the in-memory counting (the
// preparation of the terms and the four counts per record), then the whole list search runs. The last
// line is the lowest speed-up over the modes.
//   vmk-bench-list-search [records]       (10 000 by default)
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <numeric>

#include "app/app_context.h"
#include "app/list_search_run.h"
#include "app/main_window_model.h"
#include "app/settings_binding.h"
#include "generated_lists.h"
#include "lists/master_store.h"
#include "lists/search_history.h"
#include "log/run_log.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/folders.h"
#include "publish/pack_writer.h"
#include "screening/list_count.h"
#include "screening/list_count_engine.h"
#include "screening/prepare_search.h"
#include "screening/sanctions_db.h"
#include "text/sql_text.h"

namespace {

namespace fs = std::filesystem;
using namespace vmk;
using Clock = std::chrono::steady_clock;

// Master records in the style of the lists: every fifth one a listed name alone (name and address terms
// must both match, so a made-up address would hide it from plain text), the rest made up.
std::vector<std::array<std::string, 4>> MasterRecords(int count, const publish::SanctionsData& lists) {
  bench::NameMaker make(7);
  std::vector<std::array<std::string, 4>> records;
  for (int i = 0; i < count; ++i) {
    if (i % 5 == 0) {
      const auto& entry = lists.entries[static_cast<std::size_t>(i * 7919) % lists.entries.size()];
      std::string name = make.Name();
      for (const char* column : {"Name", "FirstName", "Name6"}) {
        const auto found = entry.values.find(column);
        if (found != entry.values.end() && found->second && !found->second->empty()) name = *found->second;
      }
      records.push_back({name, "", "", ""});
      continue;
    }
    records.push_back(
        {make.Name(), i % 3 == 0 ? make.Word(2) : "", make.Address(), i % 4 == 0 ? make.Word(2) : ""});
  }
  return records;
}

void FillStore(const fs::path& programDirectory, const std::vector<std::array<std::string, 4>>& records,
               log::RunLog& runLog) {
  fs::remove(programDirectory / lists::kMasterStoreFile);
  lists::CreateMasterStore(programDirectory, runLog);
  sqlite3* db = nullptr;
  sqlite3_open((programDirectory / lists::kMasterStoreFile).c_str(), &db);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  for (const auto& r : records) {
    std::string insert = "INSERT INTO Stammdaten VALUES (''";
    for (const std::string& field : r) insert += ",'" + text::EscapeSqlValue(field) + "'";
    sqlite3_exec(db, (insert + ",0)").c_str(), nullptr, nullptr, nullptr);
  }
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

// Prepares the terms and makes the keys only, as the list search's preparation without whitelist.
class KeysOnlyHost : public screening::SearchHost {
 public:
  screening::RunMode Mode() const override { return screening::RunMode::Interactive; }
  bool WhitelistSwitchOn() const override { return false; }
  void ApplyWhitelist(screening::SearchState&) override {}
  void RefuseNoSearchTerm() override {}
  void BeforeMakingKeys() override {}
  log::RunLog& RunLog() override { return runLog_; }

 private:
  log::RunLog runLog_;
};

struct Counted {
  double seconds = 0;
  std::vector<std::array<int, 4>> hits;
};

// Every record prepared in the mode and counted in the four lists by `count`.
template <typename CountFour>
Counted CountRecords(const std::vector<std::array<std::string, 4>>& records, int mode, CountFour count) {
  KeysOnlyHost host;
  Counted counted;
  const auto start = Clock::now();
  for (const auto& record : records) {
    screening::SearchState state;
    state.mode = mode;
    state.terms = record;
    if (screening::PrepareSearch(state, host) == 0) count(state);
    counted.hits.push_back(state.hitCounts);
  }
  counted.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return counted;
}

long PeakMemoryMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
  std::string pattern = (fs::temp_directory_path() / "vmk-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path dir = pattern, data = dir / "data", program = dir / "program", save = dir / "save";
  for (const fs::path& folder : {data, program, save}) fs::create_directories(folder);

  const publish::SanctionsData listData = bench::GenerateLists();
  if (std::string error = publish::WriteSanctionsDatabase(dir / "source.sqlite", listData); !error.empty()) {
    std::cerr << error << "\n";
    return 1;
  }
  publish::WritePackFromFile(data / screening::kPackName, publish::PackSignature::V2,
                             screening::kPackEntryName, dir / "source.sqlite", true);
  const auto records = MasterRecords(count, listData);

  log::RunLog runLog;
  platform::HeadlessDialogs dialogs(std::cerr);
  platform::SystemDesktop desktop;
  app::MainWindowModel model;
  model.SetSavePath(save.string() + "/");
  screening::SearchState search;
  app::SettingsBinding settings(platform::ProgramDirectory());
  app::AppContext context(model, search, runLog, dialogs, desktop, settings, platform::DefaultClock(), data,
                          dir);
  context.programDirectory = program;
  context.runMode = screening::RunMode::ListBatch;
  lists::CreateHistoryDatabase(context.HistoryFile(), runLog);

  std::cout << "list search of " << count << " records against EU 20000, UN 1500, UK 5000, US 30000 rows\n";
  const char* const modeNames[] = {"Klartext", "Soundex", "Double Metaphone", "Alle Phonetiken"};
  double lowestSpeedup = 0;
  screening::SanctionsDatabase database(dir / "source.sqlite");
  for (int mode = 0; mode < 4; ++mode) {
    const Counted bySql = CountRecords(records, mode, [&](screening::SearchState& state) {
      for (screening::ListId list : screening::kAllLists) screening::CountList(list, state, database);
    });
    // The in-memory counting includes loading the lists, as every run does.
    const auto loadStart = Clock::now();
    screening::ListCountEngine engine(database);
    const double loadSeconds = std::chrono::duration<double>(Clock::now() - loadStart).count();
    Counted inMemory = CountRecords(records, mode, [&](screening::SearchState& state) {
      for (screening::ListId list : screening::kAllLists) engine.Count(list, state);
    });
    inMemory.seconds += loadSeconds;
    const long differing = static_cast<long>(
        std::inner_product(bySql.hits.begin(), bySql.hits.end(), inMemory.hits.begin(), 0L, std::plus<>(),
                           [](const auto& a, const auto& b) { return a == b ? 0L : 1L; }));

    FillStore(program, records, runLog);
    model.ClearListResultRows();
    search.mode = mode;
    app::ListSearchGate gate;
    const auto runStart = Clock::now();
    app::RunListSearch(context, gate);
    const double runSeconds = std::chrono::duration<double>(Clock::now() - runStart).count();

    const double sqlRate = count / bySql.seconds, memoryRate = count / inMemory.seconds;
    const double speedup = memoryRate / sqlRate;
    lowestSpeedup = mode == 0 ? speedup : std::min(lowestSpeedup, speedup);
    std::cout << modeNames[mode] << ": SQL " << static_cast<long>(sqlRate) << " records/s, in memory "
              << static_cast<long>(memoryRate) << " records/s (lists loaded in " << loadSeconds << " s, "
              << engine.SqlCounts() << " counts by SQL), speed-up " << speedup << "; " << differing
              << " records with other counts; whole list search " << static_cast<long>(count / runSeconds)
              << " records/s, " << model.ListResultRows().size() << " records with hits\n";
  }
  std::cout << "peak memory: " << PeakMemoryMiB() << " MiB\n";
  std::cout << "speedup=" << lowestSpeedup << "\n";
  fs::remove_all(dir);
  return 0;
}
