#include "app/whitelist_editor.h"

#include <fstream>
#include <system_error>

#include "screening/whitelist.h"
#include "text/ui_texts.h"

namespace vmk::app {

WhitelistEditor::WhitelistEditor(std::filesystem::path dataDirectory, platform::Dialogs& dialogs)
    : file_(std::move(dataDirectory) / screening::kWhitelistFile), dialogs_(dialogs) {}

void WhitelistEditor::Open() {
  std::error_code error;
  if (!std::filesystem::exists(file_, error) || std::filesystem::file_size(file_, error) == 0) {
    std::ofstream(file_, std::ios::binary | std::ios::trunc);
  }
  entries_ = screening::ReadWhitelistEntries(file_);
  selected = -1;
}

void WhitelistEditor::New() {
  if (input.empty()) return;
  if (input == ";") {
    dialogs_.MessageBox(text::UiText(text::Ui::TitleNotice), text::UiText(text::Ui::MsgSemicolonReserved),
                        platform::kIconWarning);
  } else {
    entries_.push_back(input);
  }
  input.clear();
}

void WhitelistEditor::Delete() {
  if (selected >= 0 && selected < static_cast<int>(entries_.size()))
    entries_[static_cast<std::size_t>(selected)].clear();
}

bool WhitelistEditor::SaveAndClose() {
  std::ofstream out(file_, std::ios::binary | std::ios::trunc);
  for (const std::string& entry : entries_) {
    if (!entry.empty()) out << entry << "\r\n";
  }
  out.close();
  return !out.fail();
}

}  // namespace vmk::app
