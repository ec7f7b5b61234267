#include "gui/whitelist_editor_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "gui/qt_text.h"

namespace vmk::gui {

using text::Ui;

WhitelistEditorWindow::WhitelistEditorWindow(QWidget* mainWindow, const std::filesystem::path& dataDirectory,
                                             platform::Dialogs& dialogs)
    : LoopWindow(mainWindow),
      editor_(dataDirectory, dialogs),
      list_(new QTreeWidget(this)),
      input_(new QLineEdit(this)),
      new_(new QPushButton(Caption(Ui::ButtonWhitelistNew), this)),
      delete_(new QPushButton(Caption(Ui::ButtonWhitelistDelete), this)),
      save_(new QPushButton(Caption(Ui::ButtonWhitelistSaveClose), this)) {
  setObjectName("whitelistEditor");
  setWindowTitle(Caption(Ui::WhitelistEditorTitle));
  setFixedSize(300, 330);
  list_->setGeometry(8, 8, 284, 218);
  list_->setColumnCount(1);
  list_->setHeaderLabels({Caption(Ui::WhitelistColumnTerm)});
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  input_->setGeometry(8, 232, 284, 24);
  new_->setGeometry(8, 262, 138, 26);
  delete_->setGeometry(154, 262, 138, 26);
  save_->setGeometry(8, 296, 284, 26);
  connect(new_, &QPushButton::clicked, this, &WhitelistEditorWindow::AddEntry);
  connect(delete_, &QPushButton::clicked, this, &WhitelistEditorWindow::BlankSelected);
  connect(save_, &QPushButton::clicked, this, &WhitelistEditorWindow::SaveAndClose);
  editor_.Open();
  ShowEntries();
}

void WhitelistEditorWindow::AddEntry() {
  editor_.input = To1252(input_->text());
  editor_.New();
  input_->setText(Qt1252(editor_.input));
  ShowEntries();
}

void WhitelistEditorWindow::BlankSelected() {
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  editor_.selected = selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.first());
  editor_.Delete();
  ShowEntries();
}

// A file that cannot be written keeps the window open, so no entry is lost.
void WhitelistEditorWindow::SaveAndClose() {
  if (editor_.SaveAndClose()) EndLoop();
}

// Brings the rows up to the model's entries in place, so the selection stays where it was.
void WhitelistEditorWindow::ShowEntries() {
  const auto& entries = editor_.Entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const int row = static_cast<int>(i);
    if (row < list_->topLevelItemCount()) {
      list_->topLevelItem(row)->setText(0, Qt1252(entries[i]));
    } else {
      list_->addTopLevelItem(new QTreeWidgetItem({Qt1252(entries[i])}));
    }
  }
}

void ShowWhitelistEditor(QWidget* mainWindow, const std::filesystem::path& dataDirectory,
                         platform::Dialogs& dialogs) {
  WhitelistEditorWindow window(mainWindow, dataDirectory, dialogs);
  window.RunOverMainWindow();
}

}  // namespace vmk::gui
