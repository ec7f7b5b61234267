// Times the list search: generated master records screened against generated lists of realistic size
// (EU 20 000, UN 1 500, UK 5 000, US 30 000 rows) in each phonetic mode, records per second.
//   vmk-bench-list-search [records]       (10 000 by default)
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <iostream>

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
  for (int mode = 0; mode < 4; ++mode) {
    FillStore(program, records, runLog);
    model.ClearListResultRows();
    search.mode = mode;
    app::ListSearchGate gate;
    const auto start = Clock::now();
    app::RunListSearch(context, gate);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::cout << modeNames[mode] << ": " << seconds << " s, " << static_cast<long>(count / seconds)
              << " records/s, " << model.ListResultRows().size() << " records with hits\n";
  }
  std::cout << "peak memory: " << PeakMemoryMiB() << " MiB\n";
  fs::remove_all(dir);
  return 0;
}
