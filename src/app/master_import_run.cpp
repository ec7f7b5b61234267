#include "app/master_import_run.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <mutex>

#include "lists/master_import.h"
#include "log/messages.h"
#include "text/cp1252.h"
#include "text/ui_texts.h"

namespace vmk::app {
namespace {

using text::Ui;
using text::UiText;

constexpr std::size_t kListFileFieldLength = 55;
constexpr std::size_t kShortenedHead = 15;
constexpr std::size_t kShortenedTail = 30;
constexpr const char* kDefaultFileName = "*.csv";
constexpr const char* kFileFilter = " CSV Dateien (*.csv)|*.csv|Text Dateien (*.txt)|*.txt|(*.*)|*.*";

double Percentage(long long line, long long total) {
  return total > 0 ? 100.0 * static_cast<double>(line) / static_cast<double>(total) : 100.0;
}

// The searches and the loading of another file wait until the import has finished.
void EnableSearchButtons(AppContext& context, bool enabled) {
  context.model.SetStartButton(context.model.StartButtonVisible(), enabled);
  context.model.EditListSearchPage([enabled](ListSearchPageState& page) {
    page.loadButtonEnabled = enabled;
    page.startButtonEnabled = enabled;
  });
}

std::optional<std::string> ChooseListFile(AppContext& context) {
  return context.dialogs.ChooseOpenFile(UiText(Ui::TitleLoadListFile), kDefaultFileName, kFileFilter, "");
}

void ShowImportWindow(AppContext& context, bool visible) {
  context.model.EditImportWindow([visible](ImportWindowState& window) {
    window = ImportWindowState{};
    window.visible = visible;
  });
}

void ShowProgress(AppContext& context, long long line, long long total) {
  const int percent = static_cast<int>(std::clamp(std::lround(Percentage(line, total)), 0L, 100L));
  context.model.EditImportWindow([&](ImportWindowState& window) {
    window.statusText = ImportStatusText(line, total);
    window.percent = percent;
  });
}

void Import(AppContext& context, const std::string& file1252, bool unattended) {
  if (!unattended) {
    context.model.EditListSearchPage(
        [&](ListSearchPageState& page) { page.listFileText = ShortenedListFilePath(file1252); });
  }
  ShowImportWindow(context, true);
  context.model.SetPageStatusColour(kStatusDarkRed);
  context.model.SetPageStatus(UiText(Ui::StatusImportingMasterData));
  lists::ImportMasterFile(
      context.programDirectory, std::filesystem::path(text::Cp1252ToUtf8(file1252)), unattended,
      context.clock, context.runLog,
      [&](long long line, long long total) { ShowProgress(context, line, total); },
      [&](const std::string& error) { log::ShowMessage(context.dialogs, error, "-1", "MF1072", "16"); });
  ShowImportWindow(context, false);
}

}  // namespace

std::string ShortenedListFilePath(const std::string& path1252) {
  if (path1252.size() <= kListFileFieldLength) return path1252;
  return path1252.substr(0, kShortenedHead) + " ... " + path1252.substr(path1252.size() - kShortenedTail);
}

std::string ImportStatusText(long long line, long long total) {
  char percent[32];
  // to_chars ignores the locale, so the decimal point stays a point.
  const auto end =
      std::to_chars(percent, percent + sizeof percent, Percentage(line, total), std::chars_format::fixed, 1)
          .ptr;
  return "Import Status: " + std::to_string(line) + " / " + std::to_string(total) + "     ( " +
         std::string(percent, end) + " % )";
}

void ImportMasterData(AppContext& context, const std::optional<std::string>& unattendedFile) {
  const std::lock_guard lock(context.importLock);
  EnableSearchButtons(context, false);
  const bool unattended = unattendedFile.has_value();
  const std::optional<std::string> file = unattended ? unattendedFile : ChooseListFile(context);
  if (file && !file->empty()) Import(context, *file, unattended);
  context.model.SetPageStatus("");
  EnableSearchButtons(context, true);
}

}  // namespace vmk::app
