// Coded message boxes and the logged execution of one SQL statement.
#pragma once

#include <string>
#include <string_view>

#include "log/run_log.h"
#include "platform/dialogs.h"

struct sqlite3;

namespace vmk::log {

// Title of a message level: "0" Warnung, "-1" FEHLER, "1" INFO, "-2" Fataler Fehler; any other level
// gives an empty title.
std::string MessageTitle(std::string_view level);

// A modal box titled by the level, showing the text, a line feed and the place code; the icon is the
// decimal text of the box flags ("16", "48", "64").
void ShowMessage(platform::Dialogs& dialogs, std::string_view text, std::string_view level,
                 std::string_view code, std::string_view icon);

// Executes one statement; on failure writes "0   ( tag ) : " and the database's error text to the run log.
// Returns whether the statement succeeded.
bool ExecuteLogged(sqlite3* database, const std::string& statement, int tag, RunLog& runLog);

}  // namespace vmk::log
