// Shared test helpers: a temporary folder per test, a clock the test sets, dialogs that record what
// they were asked, and a sanctions-database pack built from entries.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "publish/pack_writer.h"
#include "publish/sanctions_db_writer.h"
#include "screening/hit_report.h"
#include "screening/prepare_search.h"
#include "text/cp1252.h"

namespace vmk::testing {

// A fresh folder removed again when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

class FakeClock : public platform::Clock {
 public:
  text::DateTime now{2026, 12, 11, 9, 5, 7};
  long long elapsed = 1000;
  mutable long long pausedMilliseconds = 0;

  text::DateTime Now() const override { return now; }
  long long ElapsedSeconds() const override { return elapsed; }
  void Pause(std::chrono::milliseconds duration) const override { pausedMilliseconds += duration.count(); }
};

struct RecordedBox {
  std::string title, text;
  int icon = 0;
};

class RecordingDialogs : public platform::Dialogs {
 public:
  std::vector<RecordedBox> boxes;
  bool answer = true;

  void MessageBox(const std::string& title, const std::string& text, int iconFlags) override {
    boxes.push_back({title, text, iconFlags});
  }
  bool AskYesNo(const std::string& title, const std::string& text, bool) override {
    boxes.push_back({title, text, platform::kIconQuestion});
    return answer;
  }
  // The chooser's answer the test set, and what each chooser was asked with (title, default, filter,
  // start folder).
  std::optional<std::string> chosenFile, chosenFolder;
  std::vector<std::array<std::string, 4>> choosers;
  std::optional<std::string> ChooseOpenFile(const std::string& title, const std::string& defaultName,
                                            const std::string& filter, const std::string& start) override {
    choosers.push_back({title, defaultName, filter, start});
    return chosenFile;
  }
  std::optional<std::string> ChooseFolder(const std::string& title, const std::string& start) override {
    choosers.push_back({title, "", "", start});
    return chosenFolder;
  }
};

class RecordingDesktop : public platform::Desktop {
 public:
  std::vector<std::filesystem::path> opened;
  void Open(const std::filesystem::path& file) override { opened.push_back(file); }
};

// A socket listening on an ephemeral port of 127.0.0.1 (-1 on failure), and that port.
int ListenOnLoopback(int backlog, int& port);
// A port on 127.0.0.1 that nobody listens on.
int ClosedLoopbackPort();

// A file beside the test programs (the build's program directory).
std::filesystem::path ProgramDirectoryFile(const std::string& name);

// Reads a whole file as bytes ("" when missing).
std::string ReadFile(const std::filesystem::path& file);
void WriteFile(const std::filesystem::path& file, const std::string& bytes);

// Writes the database of the entries as the pack KE2DB.pak into the folder.
void WriteDatabasePack(const std::filesystem::path& dataDirectory, const publish::SanctionsData& data,
                       publish::PackSignature signature = publish::PackSignature::V2, bool compress = true);

// An entry of a list from column/value pairs given as UTF-8.
publish::ListEntry Entry(screening::ListId list,
                         std::initializer_list<std::pair<std::string, std::string>> utf8Values);

// A search host that only lets the preparation make the keys: no whitelist, no messages.
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

// The real public list files beside the project (they may be missing).
std::filesystem::path RealListsFolder();
// The publisher's release of the real UN, OFAC and UK files built into the folder; its KESTO.adb, or
// nothing when the files are missing.
std::optional<std::filesystem::path> BuildRealListRelease(const std::filesystem::path& folder);

}  // namespace vmk::testing

namespace vmk::screening {
// Readable hit rows in test failures.
inline void PrintTo(const HitRow& row, std::ostream* out) {
  *out << "{\"" << text::Cp1252ToUtf8(row.label) << "\", \"" << text::Cp1252ToUtf8(row.value) << "\"}";
}
}  // namespace vmk::screening
