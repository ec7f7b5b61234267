// End-to-end runs of the installed program: every test gets its own copy of the installation folder and
// its own VELDMARK_ROOT, prepares it with vmkprep, and runs veldmark as a user or a scheduler would,
// judging the run by its exit code, its stderr and the files it leaves behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "lists/master_store.h"
#include "log/run_log.h"
#include "platform/clock.h"
#include "platform/registry.h"
#include "settings/settings_keys.h"
#include "support/http_test_server.h"
#include "support/test_support.h"
#include "text/cp1252.h"
#include "text/date_mask.h"

extern char** environ;

namespace vmk::e2e {
namespace {

namespace fs = std::filesystem;
using platform::RegistryRoot;
using screening::ListId;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
using text::Win1252;

constexpr auto kRunTimeout = std::chrono::seconds(60);
constexpr long long kEightHours = 28800;

const std::string kNoWindowNotice =
    "Veldmark findet keine Anzeige für sein Programmfenster; der interaktive Start endet hier.\n";
const std::string kNoPdf = "Keine Pdf Datei erzeugt";
const std::string kTooShort = "Fehlerhafte Suchbegriffe (zu wenig Zeichen)";
const std::string kNoTerm = "Fehlerhafte Suchbegriffe (Kein Suchbegriff vorhanden)";
const std::string kPersonaliseWarning =
    "[Warnung] Bitte personalisieren Sie Ihre Veldmark Version | Ohne die Personalisierung werden die "
    "Ausdrucke Ihrer | Prüfungen nicht korrekt ausgefüllt | MF1340";
const std::array<std::string, 4> kListDates = {"28.01.2026", "27.02.2026", "20.02.2026", "15.01.2026"};
const char* const kPersonNames[] = {"Firma", "Firma Zusatz", "Strasse", "PLZ", "Ort", "e-mail"};
const char* const kPerson[] = {"Muster Handels GmbH",    "Compliance", "Hauptstrasse 1", "10115", "Berlin",
                               "pruefung@muster.example"};

struct RunResult {
  int exitCode = -1;
  bool timedOut = false;
  std::string out, err;
};

std::vector<char*> CStrings(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Runs the program in the folder with VELDMARK_ROOT set, collecting stdout and stderr; a run that
// outlives the timeout is killed.
RunResult RunProgram(const fs::path& program, const std::vector<std::string>& arguments,
                     const fs::path& workingDirectory, const fs::path& root) {
  std::vector<std::string> argv = {program.string()};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    // No display either: the interactive starts of these tests end at once instead of opening a window.
    const std::string_view variable(*entry);
    const bool dropped = variable.starts_with("VELDMARK_ROOT=") || variable.starts_with("DISPLAY=") ||
                         variable.starts_with("WAYLAND_DISPLAY=") || variable.starts_with("QT_QPA_PLATFORM=");
    if (!dropped) environment.emplace_back(*entry);
  }
  environment.push_back("VELDMARK_ROOT=" + root.string());
  std::vector<char*> argvPointers = CStrings(argv), environmentPointers = CStrings(environment);
  const std::string folder = workingDirectory.string();

  RunResult result;
  int out[2], err[2];
  if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) return result;
  const pid_t pid = fork();
  if (pid == 0) {
    // Only async-signal-safe calls between fork and exec: the test program has threads.
    dup2(out[1], STDOUT_FILENO);
    dup2(err[1], STDERR_FILENO);
    if (chdir(folder.c_str()) != 0) _exit(126);
    execve(argvPointers[0], argvPointers.data(), environmentPointers.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  pollfd streams[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  const auto deadline = std::chrono::steady_clock::now() + kRunTimeout;
  for (int open = 2; open > 0;) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      result.timedOut = true;
      break;
    }
    if (poll(streams, 2, 100) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (streams[i].fd < 0 || streams[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t n = read(streams[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        close(streams[i].fd);
        streams[i].fd = -1;
        --open;
      }
    }
  }
  for (const pollfd& stream : streams) {
    if (stream.fd >= 0) close(stream.fd);
  }
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  return result;
}

// The lines of a CR LF text; a last line without line end counts too.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::vector<std::string> Fields(const std::string& line, std::size_t count) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t i = 0; i + 1 < count; ++i) {
    const std::size_t end = line.find(';', start);
    if (end == std::string::npos) break;
    fields.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

bool IsClockTime(const std::string& text) {
  return std::regex_match(text, std::regex("[0-2][0-9]:[0-5][0-9]:[0-5][0-9]"));
}

long long NowWallSeconds() {
  return text::WallSeconds(platform::DefaultClock().Now());
}

using HistoryRow = std::map<std::string, std::optional<std::string>>;

std::vector<HistoryRow> ReadHistory(const fs::path& file) {
  std::vector<HistoryRow> rows;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    ADD_FAILURE() << "cannot open " << file;
    return rows;
  }
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT * FROM History ORDER BY rowid", -1, &statement, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << sqlite3_errmsg(db);
  }
  while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
    HistoryRow row;
    for (int column = 0; column < sqlite3_column_count(statement); ++column) {
      const unsigned char* value = sqlite3_column_text(statement, column);
      row[sqlite3_column_name(statement, column)] =
          value == nullptr ? std::nullopt : std::optional<std::string>(reinterpret_cast<const char*>(value));
    }
    rows.push_back(row);
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return rows;
}

std::string DescriptionOf(const std::array<std::string, 4>& dates) {
  return "[Version]\r\nKESTO2=21072\r\n[Date]\r\nEUK2=" + dates[0] + "\r\nUNK2=" + dates[1] +
         "\r\nUKK2=" + dates[2] + "\r\nUSK2=" + dates[3] + "\r\n";
}

// A fresh installation: the installed folder copied, vmkprep run, a sanctions pack with one EU entry
// ("Viktor Dragunov") in the data directory, an update server of the test, a full personalisation and
// a last update "now", so that no run starts a database update unless a test asks for one.
class InstalledProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(VELDMARK_E2E_INSTALL, program_.path(), fs::copy_options::recursive);
    ASSERT_TRUE(fs::exists(program_ / "veldmark")) << "installation folder " << VELDMARK_E2E_INSTALL;
    const RunResult prepared = RunProgram(program_ / "vmkprep", {}, program_.path(), root_.path());
    ASSERT_EQ(prepared.exitCode, 0) << prepared.err;
    ASSERT_TRUE(fs::is_directory(DataDirectory()));

    server_.Serve("/kepdata/vminfo.txt", {.body = "Neuigkeiten der Listen\r\n"});
    WriteVendorConfig("");
    publish::SanctionsData data;
    data.dates = kListDates;
    data.entries = {testing::Entry(ListId::EU, {{"Name", "Viktor Dragunov"}, {"Address", "Hafenstrasse 5"}})};
    testing::WriteDatabasePack(DataDirectory(), data);

    for (std::size_t i = 0; i < std::size(kPersonNames); ++i) SetSetting(kPersonNames[i], kPerson[i]);
    SetSetting("TagesUpdate", std::to_string(NowWallSeconds()));
    fs::create_directories(root_ / "batch");
  }

  fs::path DataDirectory() const { return root_ / "appdata" / "{3A91F2C4-58D0-4E7B-9C16-2F4B8E07D5A3}"; }
  fs::path WorkFile(const std::string& name) const { return program_ / name; }
  fs::path ResultFile() const { return root_ / "batch" / "Ergebnis.txt"; }
  std::string SaveFolder() const { return ReadSetting("Speicherpfad"); }

  void WriteVendorConfig(const std::string& extraLines) {
    fs::create_directories(root_ / "config");
    WriteFile(root_ / "config" / "veldmark.conf",
              "[Vendor]\nUpdateServer = " + server_.BaseUrl() + "\n" + extraLines);
  }

  platform::Registry Store() const { return platform::Registry(root_ / "config" / "registry.sqlite"); }
  void SetSetting(const std::string& name, const std::string& value) {
    ASSERT_TRUE(Store().WriteString(RegistryRoot::CurrentUser, settings::SettingsKey(), name, value)) << name;
  }
  std::string ReadSetting(const std::string& name) const {
    return Store().ReadString(RegistryRoot::CurrentUser, settings::SettingsKey(), name);
  }

  // The result file in the batch folder, with the given batch PDF option.
  void PresetBatch(const std::string& pdfOption) {
    SetSetting("Batch Pfad", (root_ / "batch").string() + "/");
    SetSetting("Batch Datei", "Ergebnis.txt");
    SetSetting("Batch PDF Option", pdfOption);
  }

  // One run of veldmark from its folder; every way out of the program ends with exit code 0.
  RunResult Veldmark(const std::vector<std::string>& arguments) {
    const RunResult run = RunProgram(program_ / "veldmark", arguments, program_.path(), root_.path());
    EXPECT_FALSE(run.timedOut) << "veldmark hangs; stderr so far: " << run.err;
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return run;
  }

  std::vector<std::string> PdfReports() const {
    std::vector<std::string> reports;
    for (const auto& entry : fs::directory_iterator(SaveFolder())) {
      if (entry.path().extension() == ".pdf") reports.push_back(entry.path().string());
    }
    return reports;
  }

  std::vector<HistoryRow> History() const { return ReadHistory(WorkFile("Historie.sqlite")); }

  TempDir root_, program_;
  testing::HttpServer server_;
};

// ---------------------------------------------------------------- single-search batch "/s"

using SingleSearchBatch = InstalledProgramTest;

// One installation for all cases, so the cases also show that each run replaces the result file and
// appends its start time, result line and end time to the batch log.
TEST_F(SingleSearchBatch, ResultLineFollowsTheBatchPdfOptionAndTheHits) {
  struct Case {
    const char* terms;
    const char* option;
    bool pdf;
    const char* hitFlag;
  };
  const Case cases[] = {
      {"Dragunov;;;", "2", true, "1"}, {"Niemand;;;", "2", true, "0"},   {"Dragunov;;;", "1", true, "1"},
      {"Niemand;;;", "1", false, "0"}, {"Dragunov;;;", "0", false, "1"}, {"Dragunov;;;", "", false, "1"},
  };
  std::size_t runs = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.terms) + " with option \"" + c.option + "\"");
    PresetBatch(c.option);
    const std::size_t reportsBefore = PdfReports().size();
    const long long before = NowWallSeconds();
    const RunResult run = Veldmark({"/s", c.terms});
    const long long after = NowWallSeconds();
    ++runs;
    EXPECT_EQ(run.err, "");

    const std::string line = ReadFile(ResultFile());
    const std::vector<std::string> fields = Fields(line, 4);
    ASSERT_EQ(fields.size(), 4u) << line;
    EXPECT_EQ(fields[0], "0") << "no update was due";
    EXPECT_EQ(fields[1], "0");
    EXPECT_EQ(fields[3], c.hitFlag);
    EXPECT_EQ(PdfReports().size(), reportsBefore + (c.pdf ? 1 : 0));
    if (c.pdf) {
      EXPECT_TRUE(fields[2].starts_with(SaveFolder())) << fields[2];
      EXPECT_EQ(ReadFile(fields[2]).substr(0, 5), "%PDF-");
    } else {
      EXPECT_EQ(fields[2], kNoPdf);
    }

    const std::vector<std::string> batchLog = Lines(ReadFile(WorkFile("EBatchLog.txt")));
    ASSERT_EQ(batchLog.size(), 3 * runs);
    EXPECT_TRUE(IsClockTime(batchLog[3 * runs - 3])) << batchLog[3 * runs - 3];
    EXPECT_EQ(batchLog[3 * runs - 2], line);
    EXPECT_TRUE(IsClockTime(batchLog[3 * runs - 1])) << batchLog[3 * runs - 1];

    const std::vector<HistoryRow> history = History();
    ASSERT_EQ(history.size(), runs);
    const HistoryRow& row = history.back();
    EXPECT_EQ(row.at("Suche1"), Fields(c.terms, 2)[0]);
    EXPECT_EQ(row.at("Treffer1"), c.hitFlag);
    EXPECT_EQ(row.at("Treffer2"), "0");
    EXPECT_EQ(row.at("Listendatum1"), "Datenbank vom   : " + kListDates[0]);
    EXPECT_EQ(row.at("Listendatum4"), "Datenbank vom   : " + kListDates[3]);
    EXPECT_EQ(row.at("PDFLink"), c.pdf ? fields[2] : "");
    const long long datum = std::stoll(row.at("Datum").value_or("0"));
    EXPECT_GE(datum, before);
    EXPECT_LE(datum, after);
  }
  EXPECT_FALSE(fs::exists(WorkFile("RunLog.txt"))) << "no log mode without /l";
}

TEST_F(SingleSearchBatch, RejectedTermsEndWithoutEndTimeHistoryOrPdf) {
  struct Case {
    std::string argument, cleaned, reason;
  };
  const Case cases[] = {
      {"X;\"Dragunov\";;", "X;Dragunov;;", kTooShort},
      {"Dragunov", "Dragunov", kNoTerm},  // no ";": all four terms stay empty
  };
  PresetBatch("2");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.argument);
    fs::remove(WorkFile("EBatchLog.txt"));
    const RunResult run = Veldmark({"/s", c.argument});
    EXPECT_EQ(run.err, "");
    const std::string line = "0;-1;" + c.reason + ";-1";
    EXPECT_EQ(ReadFile(ResultFile()), line);
    const std::vector<std::string> batchLog = Lines(ReadFile(WorkFile("EBatchLog.txt")));
    ASSERT_EQ(batchLog.size(), 2u);
    EXPECT_TRUE(IsClockTime(batchLog[0])) << batchLog[0];
    EXPECT_EQ(batchLog[1], line);
    EXPECT_EQ(ReadFile(WorkFile("Parameter.txt")),
              "/s\r\n" + c.argument + "\r\n** bereinigt **: " + c.cleaned + "\r\n");
    EXPECT_TRUE(History().empty());
    EXPECT_TRUE(PdfReports().empty());
  }
}

TEST_F(SingleSearchBatch, ArgumentIsSplitIntoFourTermsAndRecordedAsWindows1252) {
  struct Case {
    std::string argument;
    std::array<std::string, 4> terms;
  };
  const Case cases[] = {
      {"Aa;Bb;Cc;Dd", {"Aa", "Bb", "Cc", "Dd"}},
      {"Aa;Bb;Cc;Dd;Ee", {"Aa", "Bb", "Cc", "Dd;Ee"}},
      {"Aa;Bb", {"Aa", "", "", ""}},
      {"Aa;Bb;Cc", {"Aa", "Bb", "", ""}},
      {" Aa ;  Bb;;", {"Aa", "Bb", "", ""}},
      {"Müller;Straße;;", {Win1252("Müller"), Win1252("Straße"), "", ""}},
  };
  PresetBatch("0");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.argument);
    Veldmark({"/s", c.argument});
    const std::string received = text::Utf8ToCp1252(c.argument);
    EXPECT_EQ(ReadFile(WorkFile("Parameter.txt")),
              "/s\r\n" + received + "\r\n** bereinigt **: " + received + "\r\n");
    const std::vector<HistoryRow> history = History();
    ASSERT_FALSE(history.empty());
    const HistoryRow& row = history.back();
    EXPECT_EQ(row.at("Suche1"), c.terms[0]);
    EXPECT_EQ(row.at("Suche2"), c.terms[1]);
    EXPECT_EQ(row.at("Suche3"), c.terms[2]);
    EXPECT_EQ(row.at("Suche4"), c.terms[3]);
  }
}

TEST_F(SingleSearchBatch, UnwritableBatchPathStillLeavesTheResultInTheBatchLog) {
  PresetBatch("0");
  WriteFile(root_ / "kein-ordner", "a file where the batch folder should be");
  SetSetting("Batch Pfad", (root_ / "kein-ordner").string() + "/");
  const RunResult run = Veldmark({"/s", "Dragunov;;;"});
  EXPECT_EQ(run.err, "");
  const std::vector<std::string> batchLog = Lines(ReadFile(WorkFile("EBatchLog.txt")));
  ASSERT_EQ(batchLog.size(), 3u);
  EXPECT_EQ(batchLog[1], "0;0;" + kNoPdf + ";1");
  EXPECT_FALSE(fs::exists(ResultFile()));
  EXPECT_EQ(History().size(), 1u);
}

// ---------------------------------------------------------------- the eight-hour rule

class DatabaseUpdateAtStart : public InstalledProgramTest {
 protected:
  void SetUp() override {
    InstalledProgramTest::SetUp();
    // The server announces the installed dates: an update that runs finds nothing to download.
    server_.Serve("/kepdata/download.me", {.body = DescriptionOf(kListDates)});
  }

  std::vector<std::string> PathsRequestedBy(const std::vector<std::string>& arguments) {
    const std::size_t before = server_.RequestedPaths().size();
    Veldmark(arguments);
    const std::vector<std::string> paths = server_.RequestedPaths();
    return {paths.begin() + static_cast<std::ptrdiff_t>(before), paths.end()};
  }
};

bool Contains(const std::vector<std::string>& paths, const std::string& path) {
  return std::find(paths.begin(), paths.end(), path) != paths.end();
}

// The program takes its own "now" some hundred milliseconds after the test has taken its own, so an
// age of exactly 28 800 s cannot be set from outside; the not-due case keeps five seconds of margin.
TEST_F(DatabaseUpdateAtStart, RunsWhenTheLastUpdateIsMoreThanEightHoursAgo) {
  struct Case {
    const char* name;
    std::optional<long long> age;
    bool due;
  };
  const Case cases[] = {
      {"eight hours less five seconds", kEightHours - 5, false},
      {"eight hours and one second", kEightHours + 1, true},
      {"never updated", std::nullopt, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const long long before = NowWallSeconds();
    if (c.age) {
      SetSetting("TagesUpdate", std::to_string(before - *c.age));
    } else {
      Store().DeleteValue(RegistryRoot::CurrentUser, settings::SettingsKey(), "TagesUpdate");
    }
    const std::string stored = ReadSetting("TagesUpdate");
    const std::vector<std::string> paths = PathsRequestedBy({});
    const long long after = NowWallSeconds();
    EXPECT_EQ(Contains(paths, "/kepdata/download.me"), c.due);
    if (c.due) {
      const long long rewritten = std::stoll("0" + ReadSetting("TagesUpdate"));
      EXPECT_GE(rewritten, before);
      EXPECT_LE(rewritten, after);
    } else {
      EXPECT_EQ(ReadSetting("TagesUpdate"), stored);
    }
  }
}

TEST_F(DatabaseUpdateAtStart, DbUpdateRunsTheUpdateWhenNotDueAndKeepsTheLastUpdateTime) {
  const std::string stored = std::to_string(NowWallSeconds() - 60);
  SetSetting("TagesUpdate", stored);
  EXPECT_TRUE(Contains(PathsRequestedBy({"/dbupdate"}), "/kepdata/download.me"));
  EXPECT_EQ(ReadSetting("TagesUpdate"), stored);
}

// ---------------------------------------------------------------- command line

using CommandLine = InstalledProgramTest;

TEST_F(CommandLine, LogModeStartsTheRunLogWithTheRegistryGroupWithoutTimePrefix) {
  WriteFile(root_ / "liste.csv", "Kunde;Strasse\r\n");
  const std::vector<std::string> cases[] = {{"/l"}, {"/l", "/b", (root_ / "liste.csv").string()}};
  for (const auto& arguments : cases) {
    SCOPED_TRACE(arguments.size());
    const RunResult run = Veldmark(arguments);
    EXPECT_EQ(run.err, kNoWindowNotice) << "only log mode, then the interactive start";
    const std::vector<std::string> log = Lines(ReadFile(WorkFile("RunLog.txt")));
    ASSERT_GE(log.size(), 6u);
    EXPECT_EQ(log[0], "");
    EXPECT_EQ(log[1], "[ReadRegContent]");
    EXPECT_EQ(log[2], "Startup = 0");
    EXPECT_EQ(log[3], "ReadPath = " + DataDirectory().string() + "/");
    // Then only time-prefixed lines; the settings block opens with the prefix alone and
    // "[Initialisierung]" (the list dates read before it may log the unpacking first).
    const std::regex timePrefixed("[0-2][0-9]:[0-5][0-9]:[0-5][0-9]  Uhr / .*");
    for (std::size_t i = 4; i < log.size(); ++i)
      EXPECT_TRUE(std::regex_match(log[i], timePrefixed)) << log[i];
    const auto opening = std::find_if(log.begin() + 4, log.end(), [](const std::string& line) {
      return line.ends_with(" / [Initialisierung]");
    });
    ASSERT_NE(opening, log.end());
    EXPECT_TRUE((opening - 1)->ends_with("  Uhr / ")) << *(opening - 1);
  }
}

// A switch whose condition fails starts interactively, without a message; Parameter.txt is emptied
// at every start and then holds only the records of "/e" and "/s".
TEST_F(CommandLine, FailedBatchConditionsStartInteractively) {
  const std::string empty = (root_ / "leer.csv").string();
  WriteFile(empty, "");
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    std::string parameters;
  };
  const Case cases[] = {
      {"no argument", {}, ""},
      {"/B with a missing file", {"/B", (root_ / "fehlt.csv").string()}, ""},
      {"/e with an empty file",
       {"/e", "\"" + empty + "\""},
       "/e\r\n\"" + empty + "\"\r\n** bereinigt **: " + empty + "\r\n"},
      {"/s with a blank argument", {"/s", " \"\" "}, "/s\r\n \"\" \r\n** bereinigt **:   \r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(WorkFile("Parameter.txt"), "aus dem letzten Lauf\r\n");
    const RunResult run = Veldmark(c.arguments);
    EXPECT_EQ(run.err, kNoWindowNotice);
    EXPECT_EQ(ReadFile(WorkFile("Parameter.txt")), c.parameters);
    EXPECT_TRUE(fs::exists(WorkFile("Parameter.txt")));
    EXPECT_FALSE(fs::exists(WorkFile("EBatchLog.txt")));
  }
}

TEST_F(CommandLine, TimeInMixedCaseIsTheScheduledListSearchAndEndsOnAnEmptyStore) {
  const RunResult run = Veldmark({"/tIMe"});
  EXPECT_EQ(run.err, "") << "no interactive start";
}

TEST_F(CommandLine, OnlyLowerCaseExtmailStoresTheOwnMailServer) {
  const std::string key = settings::CommunicationKey();
  EXPECT_EQ(Veldmark({"/EXTMAIL", "mail.example", "2525", "benutzer", "geheim"}).err, kNoWindowNotice);
  EXPECT_FALSE(Store().KeyExists(RegistryRoot::CurrentUser, key));

  EXPECT_EQ(Veldmark({"/extmail", "mail.example", "2525", "benutzer", "geheim"}).err, kNoWindowNotice);
  EXPECT_EQ(Store().ReadString(RegistryRoot::CurrentUser, key, "SMTPServer"), "mail.example");
  EXPECT_EQ(Store().ReadString(RegistryRoot::CurrentUser, key, "Port"), "2525");
  EXPECT_EQ(Store().ReadString(RegistryRoot::CurrentUser, key, "User"), "benutzer");
  // Base64 of the password ("Z2VoZWlt"), each character as two hex digits.
  EXPECT_EQ(Store().ReadString(RegistryRoot::CurrentUser, key, "PW"), "5A32566F5A576C74");
}

TEST_F(CommandLine, HelpShowsTheSwitchesThenStartsInteractively) {
  const std::string help =
      "[Information] Programm Übergabeparameter |  | /l  = Startet im Logmodus. |  | /b  = Startet im "
      "Batchmodus für Listensuche (erfordert weiteren Übergabeparameter mit csv Datei) |  | /s  = Startet im "
      "Batchmodus für Einzelsuche (erfordert weiteren Übergabeparameter mit csv Datei) |  | /ic = Prüft "
      "Installation und erzeugt eine Kontrolldatei |  | /?;/help = zeigt diese Information an | \n";
  EXPECT_EQ(Veldmark({"/help"}).err, help + kNoWindowNotice);
}

TEST_F(CommandLine, InstallationCheckWritesTheFileItNames) {
  WriteVendorConfig("SupportAddress = hilfe@vendor.example\n");
  const RunResult run = Veldmark({"/IC"});
  EXPECT_EQ(run.err,
            "[INFO] Der Installationscheck wurde beendet. | Bitte senden Sie die erzeugte Kontrolldatei | "
            "\"VMK_Installation_Check.txt\" | an die e-mail Adresse: hilfe@vendor.example  | Vielen Dank für "
            "Ihre Unterstützung | D153\n" +
                kNoWindowNotice);
  const std::string report = ReadFile(WorkFile("VMK_Installation_Check.txt"));
  EXPECT_NE(report.find("Reg20 =1\r\n"), std::string::npos) << report;
}

TEST_F(CommandLine, ResetWLDeletesTheWhitelistOnlyInItsExactSpelling) {
  const std::pair<const char*, bool> cases[] = {{"/resetwl", true}, {"/ResetWL", false}};
  for (const auto& [argument, kept] : cases) {
    SCOPED_TRACE(argument);
    WriteFile(DataDirectory() / "WL.dat", "GMBH\r\n");
    EXPECT_EQ(Veldmark({argument}).err, kNoWindowNotice);
    EXPECT_EQ(fs::exists(DataDirectory() / "WL.dat"), kept);
  }
}

TEST_F(CommandLine, PersonalisationWarningNeedsEveryFieldButTheDepartment) {
  SetSetting("Firma Zusatz", "");
  EXPECT_EQ(Veldmark({}).err, kNoWindowNotice);

  SetSetting("Firma", "");
  EXPECT_EQ(Veldmark({}).err, kPersonaliseWarning + "\n" + kNoWindowNotice);

  // A batch run reports the warning in its batch log and goes on.
  PresetBatch("0");
  EXPECT_EQ(Veldmark({"/s", "Dragunov;;;"}).err, kPersonaliseWarning + "\n");
  const std::vector<std::string> batchLog = Lines(ReadFile(WorkFile("EBatchLog.txt")));
  ASSERT_EQ(batchLog.size(), 4u);
  EXPECT_EQ(text::Cp1252ToUtf8(batchLog[1]), kPersonaliseWarning);
  EXPECT_EQ(batchLog[2], "0;0;" + kNoPdf + ";1");
  EXPECT_EQ(ReadFile(ResultFile()), batchLog[2]);
}

TEST_F(CommandLine, MissingSettingsLibraryEndsWithTheMF9Message) {
  fs::remove(program_ / "VMK21.so");
  EXPECT_EQ(
      Veldmark({}).err,
      "[FEHLER] Die Datei 'KES2.DLL' fehlt oder ist defekt. Bitte Programm erneut installieren | Fehler "
      "Code (MF9) | MF9\n");
}

// ---------------------------------------------------------------- list runs "/e", "/b", "/TIME"

class ListRuns : public InstalledProgramTest {
 protected:
  void SetUp() override {
    InstalledProgramTest::SetUp();
    SetSetting("CSV Export", "1");
    SetSetting("PdfAnzeige", "0");  // no viewer started by a test
  }
  long long StoredRecords() const { return lists::CountMasterRecords(program_.path()).count.value_or(-1); }
  std::vector<fs::path> Saved(const std::string& prefix) const {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(SaveFolder()))
      if (entry.path().filename().string().starts_with(prefix)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
  }
  static std::string PdfText(const fs::path& pdf) {
    std::string text;
    FILE* pipe = ::popen(("pdftotext -layout '" + pdf.string() + "' -").c_str(), "r");
    if (pipe == nullptr) return text;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, got);
    ::pclose(pipe);
    return text;
  }
};

TEST_F(ListRuns, ImportBatchScreensEveryRecordExportsReportsAndEmptiesTheStore) {
  WriteFile(program_ / "kunden.csv",
            "K1;Viktor Dragunov;;Hafenstrasse 5;\r\nK2;Muster GmbH;;Hauptstr. 1;Berlin\r\nK3;;;;\r\n");
  const RunResult run = Veldmark({"/e", (program_ / "kunden.csv").string()});
  EXPECT_NE(run.err.find("Bearbeitet: 3 / 3"), std::string::npos) << run.err;

  const auto all = Saved("VMK_LS_All_"), hits = Saved("VMK_LS_Hits_"), reports = Saved("KESTO_LS_");
  ASSERT_EQ(all.size(), 1u);
  ASSERT_EQ(hits.size(), 1u);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(Lines(ReadFile(all[0])), (std::vector<std::string>{"Viktor Dragunov;;Hafenstrasse 5;;1;0;0;0",
                                                               "Muster GmbH;;Hauptstr  1;Berlin;0;0;0;0"}));
  const std::vector<std::string> hitLines = Lines(ReadFile(hits[0]));
  ASSERT_EQ(hitLines.size(), 1u);
  EXPECT_TRUE(hitLines[0].starts_with("Viktor Dragunov;;Hafenstrasse 5;;1;0;0;0;")) << hitLines[0];
  const std::string report = PdfText(reports[0]);
  EXPECT_NE(report.find("Ergebnis Listensuch Treffer"), std::string::npos);
  EXPECT_NE(report.find("Muster GmbH"), std::string::npos);
  const auto history = History();
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history[0].at("Suche1"), "Listensuche");
  EXPECT_EQ(history[0].at("PDFLink"), reports[0].string());
  EXPECT_EQ(StoredRecords(), 0);
  EXPECT_FALSE(fs::exists(DataDirectory() / "KESTO.adb"));

  // Right after, "/b" finds the store empty: a report without records, no file read.
  WriteFile(program_ / "egal.csv", "ignored;;;\r\n");
  Veldmark({"/b", (program_ / "egal.csv").string()});
  EXPECT_EQ(Saved("KESTO_LS_").size(), 2u);
  // Within the same second the second export is named "...-2.csv"; pick it by being the new one.
  std::vector<fs::path> newAll = Saved("VMK_LS_All_");
  std::erase(newAll, all[0]);
  ASSERT_EQ(newAll.size(), 1u);
  EXPECT_EQ(Lines(ReadFile(newAll[0])), std::vector<std::string>{});
}

TEST_F(ListRuns, ScheduledSearchScreensTheStoredRecordsAndEnds) {
  log::RunLog runLog;
  lists::CreateMasterStore(program_.path(), runLog);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((program_ / "KSD.adb").c_str(), &db), SQLITE_OK);
  EXPECT_EQ(
      sqlite3_exec(db, "INSERT INTO Stammdaten VALUES ('','Dragunov','','','',0)", nullptr, nullptr, nullptr),
      SQLITE_OK);
  sqlite3_close(db);
  const RunResult run = Veldmark({"/Time"});
  EXPECT_NE(run.err.find("Bearbeitet: 1 / 1"), std::string::npos) << run.err;
  EXPECT_EQ(Saved("KESTO_LS_").size(), 1u);
  EXPECT_EQ(StoredRecords(), 0);
}

// ---------------------------------------------------------------- a list release from the real lists

// The publisher's tool builds a release from the real UN and OFAC files; the test's update server hands
// it out, and a fresh installation takes it at its first start and finds listed names with it.
using ListRelease = InstalledProgramTest;

TEST_F(ListRelease, BuiltFromTheRealListsItReachesTheInstallationThroughTheUpdate) {
  const fs::path lists = VELDMARK_REAL_LISTS;
  if (!fs::exists(lists / "un" / "consolidated.xml")) GTEST_SKIP() << "no real list files in " << lists;
  TempDir work;
  const fs::path release = work / "release";
  const RunResult built = RunProgram(
      VELDMARK_LISTBUILD,
      {"--un", (lists / "un" / "consolidated.xml").string(), "--ofac-sdn",
       (lists / "us" / "ofac_sdn.csv").string(), "--ofac-alt", (lists / "us" / "ofac_alt.csv").string(),
       "--ofac-add", (lists / "us" / "ofac_add.csv").string(), "--out", release.string()},
      work.path(), root_.path());
  ASSERT_EQ(built.exitCode, 0) << built.err;
  EXPECT_NE(built.out.find("UNGlobalINDIV"), std::string::npos) << built.out;
  for (const char* file : {"download.me", "KE2DBpak.bin", "vminfo.txt"}) {
    server_.Serve(std::string("/kepdata/") + file, {.body = ReadFile(release / "kepdata" / file)});
  }
  SetSetting("TagesUpdate", std::to_string(NowWallSeconds() - kEightHours - 60));
  PresetBatch("0");

  struct Case {
    const char* terms;
    const char* hitFlag;
  };
  for (const Case& c : {Case{"Gaston Iyamuremye;;;", "1"}, Case{"Aerocaribbean Airlines;;;", "1"},
                        Case{"Niemand Unbekannt;;;", "0"}}) {
    SCOPED_TRACE(c.terms);
    Veldmark({"/s", c.terms});
    const std::vector<std::string> fields = Fields(ReadFile(ResultFile()), 4);
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields[3], c.hitFlag);
  }
  EXPECT_EQ(ReadFile(DataDirectory() / "KE2DB.pak"), ReadFile(release / "KE2DB.pak"));
}

}  // namespace
}  // namespace vmk::e2e
