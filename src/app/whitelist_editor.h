// The whitelist editor window as a model: the list of entries, the input field and the selection, with
// the rules of "Neu", "Löschen" and "Speichern + Schließen". The window shows it and calls these.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace vmk::app {

class WhitelistEditor {
 public:
  WhitelistEditor(std::filesystem::path dataDirectory, platform::Dialogs& dialogs);

  // Creates WL.dat when it is missing or empty and lists its non-empty lines.
  void Open();
  const std::vector<std::string>& Entries() const { return entries_; }

  std::string input;  // the field below the list (Windows-1252)
  int selected = -1;  // index of the selected entry, -1 for none

  // "Neu": appends the input as an entry (untrimmed, duplicates allowed) and clears the field; an empty
  // input does nothing; ";" alone is refused with a notice.
  void New();
  // "Löschen": blanks the selected entry, which stays as an empty row.
  void Delete();
  // "Speichern + Schließen": writes every non-empty entry as one line and closes. False when the file
  // could not be written; the editor then stays open so no entry is lost.
  bool SaveAndClose();
  // Closing by the window frame does nothing: the editor has one way out.
  bool CloseByFrame() const { return false; }

 private:
  std::filesystem::path file_;
  platform::Dialogs& dialogs_;
  std::vector<std::string> entries_;
};

}  // namespace vmk::app
