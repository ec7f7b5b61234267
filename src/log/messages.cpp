#include "log/messages.h"

#include <sqlite3.h>

#include <charconv>

namespace vmk::log {

std::string MessageTitle(std::string_view level) {
  if (level == "0") return "Warnung";
  if (level == "-1") return "FEHLER";
  if (level == "1") return "INFO";
  if (level == "-2") return "Fataler Fehler";
  return "";
}

void ShowMessage(platform::Dialogs& dialogs, std::string_view text, std::string_view level,
                 std::string_view code, std::string_view icon) {
  int flags = 0;
  std::from_chars(icon.data(), icon.data() + icon.size(), flags);
  dialogs.MessageBox(MessageTitle(level), std::string(text) + "\n" + std::string(code), flags);
}

bool ExecuteLogged(sqlite3* database, const std::string& statement, int tag, RunLog& runLog) {
  if (database == nullptr) {
    runLog.WriteRunLog("0   ( " + std::to_string(tag) + " ) : out of memory");
    return false;
  }
  char* error = nullptr;
  const int rc = sqlite3_exec(database, statement.c_str(), nullptr, nullptr, &error);
  if (rc == SQLITE_OK) return true;
  const std::string detail = error != nullptr ? error : sqlite3_errstr(rc);
  sqlite3_free(error);
  runLog.WriteRunLog("0   ( " + std::to_string(tag) + " ) : " + detail);
  return false;
}

}  // namespace vmk::log
