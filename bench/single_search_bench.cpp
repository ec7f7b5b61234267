// Times the unpacking of a database pack of realistic size and a single search in each phonetic mode.
//   vmk-bench-single-search [repetitions]
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <random>

#include "generated_lists.h"
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
  const publish::SanctionsData data = bench::GenerateLists();
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
