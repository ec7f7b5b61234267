#include <gtest/gtest.h>
#include <sqlite3.h>

#include "log/line_file.h"
#include "log/messages.h"
#include "log/run_log.h"
#include "log/update_log.h"
#include "support/test_support.h"
#include "text/cp1252.h"

namespace vmk::log {
namespace {

using testing::FakeClock;
using testing::ReadFile;
using testing::RecordingDialogs;
using testing::TempDir;
using text::Win1252;

struct StatusRecorder : StatusSink {
  std::vector<std::string> texts;
  void SetStatusText(const std::string& text) override { texts.push_back(text); }
};

TEST(RunLog, OutsideLogModeWritesNothingAndLeavesTheStatusAlone) {
  FakeClock clock;
  StatusRecorder status;
  RunLog runLog(clock);
  runLog.SetStatusSink(&status);
  runLog.WriteRunLog("Entpacke KE2DB.pak");
  runLog.WriteRaw("[ReadRegContent]");
  EXPECT_FALSE(runLog.IsOn());
  EXPECT_TRUE(status.texts.empty());
}

TEST(RunLog, WritesTimePrefixedUtf8LinesAndRawStartUpLines) {
  TempDir dir;
  FakeClock clock;
  clock.now = {2026, 12, 11, 9, 5, 7};
  StatusRecorder status;
  RunLog runLog(clock);
  ASSERT_TRUE(runLog.Open(dir / "RunLog.txt"));
  runLog.SetStatusSink(&status);
  runLog.WriteRaw("");
  runLog.WriteRaw(Win1252("Startup = 0 Ä"));
  runLog.WriteRunLog("");
  runLog.WriteRunLog(Win1252("Übernehme Suchworte"));
  runLog.Close();
  runLog.WriteRunLog("after close");

  EXPECT_EQ(ReadFile(dir / "RunLog.txt"),
            "\r\nStartup = 0 \xC4\r\n09:05:07  Uhr / \r\n09:05:07  Uhr / \xC3\x9C"
            "bernehme Suchworte\r\n");
  ASSERT_EQ(status.texts.size(), 2u);
  EXPECT_EQ(status.texts[1], Win1252("Übernehme Suchworte"));
}

TEST(UpdateLog, AppendsDatedLinesToVmkLog) {
  TempDir dir;
  FakeClock clock;
  clock.now = {2026, 1, 2, 3, 4, 5};
  WriteUpdateLog(dir.path(), " : Daten sind auf dem aktuellen Stand", clock);
  WriteUpdateLog(dir.path(), Win1252("| Datenbank Update (290) | ä"), clock);
  EXPECT_EQ(ReadFile(dir / "VMK.log"),
            "02.01.2026 | 03:04:05  : Daten sind auf dem aktuellen Stand\r\n"
            "02.01.2026 | 03:04:05 | Datenbank Update (290) | \xE4\r\n");
}

TEST(UpdateLog, MissingFolderIsSkippedSilently) {
  TempDir dir;
  WriteUpdateLog(dir / "missing", "text");
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST(LineFile, ParameterAndBatchLogsKeepEightBitText) {
  TempDir dir;
  LineFile parameters;
  ASSERT_TRUE(parameters.OpenEmpty(dir / "Parameter.txt"));
  WriteParameterLog(parameters, "/s");
  WriteParameterLog(parameters, Win1252("Müller;;;"));
  parameters.Close();
  WriteParameterLog(parameters, "ignored once closed");
  EXPECT_EQ(ReadFile(dir / "Parameter.txt"), "/s\r\nM\xFCller;;;\r\n");

  LineFile batch;
  ASSERT_TRUE(batch.OpenAppend(dir / "EBatchLog.txt"));
  WriteBatchLog(batch, "09:00:00");
  batch.Close();
  ASSERT_TRUE(batch.OpenAppend(dir / "EBatchLog.txt"));
  WriteBatchLog(batch, "0;0;Keine Pdf Datei erzeugt;0");
  batch.Close();
  EXPECT_EQ(ReadFile(dir / "EBatchLog.txt"), "09:00:00\r\n0;0;Keine Pdf Datei erzeugt;0\r\n");
}

TEST(ShowMessage, TitleComesFromTheLevelAndTheCodeFollowsOnItsOwnLine) {
  struct Case {
    const char* level;
    const char* title;
  };
  const Case cases[] = {
      {"0", "Warnung"}, {"-1", "FEHLER"}, {"1", "INFO"}, {"-2", "Fataler Fehler"}, {"7", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    RecordingDialogs dialogs;
    ShowMessage(dialogs, "Text", c.level, "MF688", "48");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, c.title);
    EXPECT_EQ(dialogs.boxes[0].text, "Text\nMF688");
    EXPECT_EQ(dialogs.boxes[0].icon, 48);
  }
}

TEST(ExecuteLogged, LogsTheFailureWithTagAndDatabaseError) {
  TempDir dir;
  FakeClock clock;
  RunLog runLog(clock);
  ASSERT_TRUE(runLog.Open(dir / "RunLog.txt"));
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
  EXPECT_TRUE(ExecuteLogged(db, "CREATE TABLE History (Datum)", 0, runLog));
  EXPECT_FALSE(ExecuteLogged(db, "INSERT INTO Missing VALUES (1)", 0, runLog));
  sqlite3_close(db);
  runLog.Close();
  EXPECT_EQ(ReadFile(dir / "RunLog.txt"), "09:05:07  Uhr / 0   ( 0 ) : no such table: Missing\r\n");
}

TEST(HeadlessDialogs, AnswersWithTheDefaultAndRecordsTheBox) {
  std::ostringstream out;
  std::vector<std::string> lines;
  platform::HeadlessDialogs dialogs(out, [&](const std::string& line) { lines.push_back(line); });
  dialogs.MessageBox("Fehler", Win1252("Entpack Fehler\rZeile ä"), platform::kIconStop);
  EXPECT_FALSE(dialogs.AskYesNo("Frage", "Weiter?", false));
  EXPECT_EQ(out.str(), "[Fehler] Entpack Fehler | Zeile \xC3\xA4\n[Frage] Weiter? -> Nein\n");
  ASSERT_EQ(lines.size(), 2u);
}

}  // namespace
}  // namespace vmk::log
