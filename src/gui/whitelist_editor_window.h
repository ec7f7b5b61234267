// The whitelist editor window: a view of the editor model with its list, input field and three buttons,
// run over the disabled main window until "Speichern + Schließen" has stored WL.dat.
#pragma once

#include <filesystem>

#include "app/whitelist_editor.h"
#include "gui/loop_window.h"
#include "platform/dialogs.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace vmk::gui {

class WhitelistEditorWindow : public LoopWindow {
 public:
  // Opens the editor on WL.dat of the data directory; its notices go through `dialogs`.
  WhitelistEditorWindow(QWidget* mainWindow, const std::filesystem::path& dataDirectory,
                        platform::Dialogs& dialogs);

  QTreeWidget* List() const { return list_; }
  QLineEdit* Input() const { return input_; }
  QPushButton* NewButton() const { return new_; }
  QPushButton* DeleteButton() const { return delete_; }
  QPushButton* SaveButton() const { return save_; }

 private:
  void AddEntry();
  void BlankSelected();
  void SaveAndClose();
  void ShowEntries();

  app::WhitelistEditor editor_;
  QTreeWidget* list_;
  QLineEdit* input_;
  QPushButton* new_;
  QPushButton* delete_;
  QPushButton* save_;
};

// Shows the editor and returns once the person has saved the whitelist.
void ShowWhitelistEditor(QWidget* mainWindow, const std::filesystem::path& dataDirectory,
                         platform::Dialogs& dialogs);

}  // namespace vmk::gui
