// Times the unpacking of a database pack of realistic size and a single search in each phonetic mode.
//   vmk-bench-single-search [repetitions]
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <random>

#include "log/run_log.h"
#include "platform/dialogs.h"
#include "publish/pack_writer.h"
#include "publish/sanctions_db_writer.h"
#include "screening/database_unpack.h"
#include "screening/list_search.h"
#include "screening/prepare_search.h"
#include "screening/sanctions_db.h"

namespace {

namespace fs = std::filesystem;
using namespace vmk;
using screening::ListId;
using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Names and addresses made of syllables, so the key columns look like those of real lists.
class NameMaker {
 public:
  std::string Word(int syllables) {
    static const char* const kParts[] = {"ka", "mel", "li", "bar", "os",  "tan", "vik", "dra", "gu",  "nov",
                                         "al", "fa",  "za", "ri",  "han", "del", "sch", "mi",  "ter", "berg",
                                         "ul", "ya",  "ko", "rin", "ash", "ev",  "ich", "ma",  "son", "qui"};
    std::string word;
    for (int i = 0; i < syllables; ++i) word += kParts[random_() % std::size(kParts)];
    word[0] = static_cast<char>(word[0] - 'a' + 'A');
    return word;
  }
  std::string Name() {
    return Word(2 + static_cast<int>(random_() % 2)) + " " + Word(2 + static_cast<int>(random_() % 3));
  }
  std::string Address() {
    return std::to_string(1 + random_() % 200) + " " + Word(3) + " Street, " + Word(2);
  }

 private:
  std::mt19937 random_{20261211};
};

publish::SanctionsData GenerateLists() {
  NameMaker make;
  publish::SanctionsData data;
  data.dates = {"28.01.2026", "27.02.2026", "20.02.2026", "15.01.2026"};
  const auto add = [&](ListId list, int count, auto fill) {
    for (int i = 0; i < count; ++i) {
      publish::ListEntry entry{list, {}};
      fill(entry.values, i);
      data.entries.push_back(std::move(entry));
    }
  };
  add(ListId::EU, 20000, [&](auto& v, int i) {
    const std::string last = make.Word(3), first = make.Word(2);
    v["Name"] = first + " " + last;
    v["LastName"] = last;
    v["FirstName"] = first;
    v["WholeName"] = first + " " + last;
    v["Programme"] = "PRG" + std::to_string(i % 40);
    v["Address"] = make.Address();
  });
  add(ListId::UN, 1500, [&](auto& v, int i) {
    v["DataId"] = std::to_string(100000 + i);
    v["FirstName"] = make.Word(2);
    v["SecondName"] = make.Word(3);
    v["Alias"] = make.Name();
    v["Address"] = make.Address();
  });
  add(ListId::UK, 5000, [&](auto& v, int i) {
    v["Name6"] = make.Word(3);
    v["Name1"] = make.Word(2);
    v["Address1"] = make.Address();
    v["GroupID"] = std::to_string(i);
  });
  add(ListId::US, 30000, [&](auto& v, int i) {
    v["EntityNumber"] = std::to_string(i);
    v["Name"] = make.Name();
    v["AlternateName"] = make.Name();
    v["Address"] = make.Address();
    v["City"] = make.Word(2);
  });
  return data;
}

class BenchHost : public screening::SearchHost {
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

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::string pattern = (fs::temp_directory_path() / "vmk-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path dir = pattern;

  auto start = Clock::now();
  const publish::SanctionsData data = GenerateLists();
  if (std::string error = publish::WriteSanctionsDatabase(dir / "source.sqlite", data); !error.empty()) {
    std::cerr << error << "\n";
    return 1;
  }
  publish::WritePackFromFile(dir / screening::kPackName, publish::PackSignature::V2,
                             screening::kPackEntryName, dir / "source.sqlite", true);
  std::cout << "database of 20000/1500/5000/30000 rows built and packed in " << MillisecondsSince(start)
            << " ms (database " << fs::file_size(dir / "source.sqlite") / 1024 << " KiB, pack "
            << fs::file_size(dir / screening::kPackName) / 1024 << " KiB)\n";

  log::RunLog runLog;
  platform::HeadlessDialogs dialogs(std::cerr);
  double unpackTotal = 0;
  for (int i = 0; i < repetitions; ++i) {
    screening::DeleteWorkingCopy(dir);
    start = Clock::now();
    screening::EnsureDatabaseUnpacked(dir, runLog, dialogs);
    unpackTotal += MillisecondsSince(start);
  }
  std::cout << "unpack: " << unpackTotal / repetitions << " ms\n";

  const char* const modeNames[] = {"Klartext", "Soundex", "Double Metaphone", "Alle Phonetiken"};
  for (int mode = 0; mode < 4; ++mode) {
    BenchHost host;
    screening::HitReports reports;
    double total = 0;
    int hits = 0;
    for (int i = 0; i < repetitions; ++i) {
      screening::SearchState state;
      state.mode = mode;
      state.selection = {std::string(29, '1'), std::string(20, '1'), std::string(29, '1'),
                         std::string(33, '1')};
      state.terms = {"Vikdra Melkanov", "", "Street", ""};
      start = Clock::now();
      screening::PrepareSearch(state, host);
      screening::SearchAllLists(state, screening::WorkingCopyPath(dir), reports, runLog);
      total += MillisecondsSince(start);
      hits = state.hitCounts[0] + state.hitCounts[1] + state.hitCounts[2] + state.hitCounts[3];
    }
    std::cout << "single search, " << modeNames[mode] << ": " << total / repetitions << " ms (" << hits
              << " hits)\n";
  }
  fs::remove_all(dir);
  return 0;
}
