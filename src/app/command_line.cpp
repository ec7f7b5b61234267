#include "app/command_line.h"

#include <algorithm>
#include <system_error>

#include "log/messages.h"
#include "platform/vendor_config.h"
#include "text/cp1252.h"
#include "text/date_mask.h"

namespace vmk::app {

namespace {

namespace fs = std::filesystem;
using screening::RunMode;

bool Is(const std::string& argument, std::initializer_list<const char*> spellings) {
  return std::any_of(spellings.begin(), spellings.end(), [&](const char* s) { return argument == s; });
}

// A file name of the command line (Windows-1252) as the file system spells it.
bool IsNonEmptyFile(const std::string& path1252) {
  std::error_code error;
  const fs::path path(text::Cp1252ToUtf8(path1252));
  const auto size = fs::file_size(path, error);
  return !error && size > 0;
}

void RecordSwitch(ProgramShell& shell) {
  log::LineFile parameters;
  parameters.OpenAppend(shell.context.workingDirectory / kParameterFile);
  log::WriteParameterLog(parameters, shell.Argument(0));
  log::WriteParameterLog(parameters, shell.Argument(1));
  log::WriteParameterLog(parameters, "** bereinigt **: " + RemoveQuotes(shell.Argument(1)));
}

void StartLogMode(ProgramShell& shell) {
  shell.context.runLog.Open(shell.context.workingDirectory / kRunLogFile);
}

void SelectListFile(ProgramShell& shell, RunMode mode) {
  const std::string file = RemoveQuotes(shell.Argument(1));
  if (!IsNonEmptyFile(file)) return;
  shell.listFile = file;
  shell.context.runMode = mode;
}

void SelectSingleSearch(ProgramShell& shell) {
  RecordSwitch(shell);
  if (text::TrimBlanks(RemoveQuotes(shell.Argument(1))).empty()) return;
  shell.context.runMode = RunMode::SingleSearchBatch;
  shell.batchLog.OpenAppend(shell.context.workingDirectory / kBatchLogFile);
  log::WriteBatchLog(shell.batchLog, text::FormatDate("%HH:%II:%SS", shell.context.clock.Now()));
}

void CheckInstallation(ProgramShell& shell) {
  shell.context.settings.CheckInstallation();
  log::ShowMessage(shell.context.dialogs, InstallationCheckText(platform::ReadVendorConfig().supportAddress),
                   "1", "D153", "64");
}

bool IsTimeSwitch(const std::string& argument) {
  std::string lower = argument;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower == "/time";
}

}  // namespace

std::string RemoveQuotes(const std::string& text) {
  std::string cleaned;
  std::copy_if(text.begin(), text.end(), std::back_inserter(cleaned), [](char c) { return c != '"'; });
  return cleaned;
}

void EvaluateCommandLine(ProgramShell& shell) {
  const std::string& first = shell.Argument(0);
  AppContext& context = shell.context;
  if (Is(first, {"/l", "/L"})) {
    StartLogMode(shell);
  } else if (Is(first, {"/b", "/B"})) {
    SelectListFile(shell, RunMode::ListBatch);
  } else if (Is(first, {"/e", "/E"})) {
    RecordSwitch(shell);
    SelectListFile(shell, RunMode::ImportBatch);
  } else if (Is(first, {"/s", "/S"})) {
    SelectSingleSearch(shell);
  } else if (Is(first, {"/IC", "/ic"})) {
    CheckInstallation(shell);
  } else if (Is(first, {"/extmail"})) {
    context.settings.ExtMail(shell.Argument(1), shell.Argument(2), shell.Argument(3), shell.Argument(4));
  } else if (Is(first, {"/dbupdate", "/DBUPDATE"})) {
    context.runMode = RunMode::DatabaseUpdate;
  } else if (Is(first, {"/h", "/H", "/?", "/help", "/Help"})) {
    context.dialogs.MessageBox("Information", HelpText(), platform::kIconInformation);
  } else if (IsTimeSwitch(first)) {
    context.runMode = RunMode::ScheduledListSearch;
  }
}

std::array<std::string, 4> SplitSearchArgument(const std::string& argument) {
  std::array<std::string, 4> terms;
  std::size_t position = 0;
  for (std::size_t field = 0;; ++field) {
    const std::size_t separator = argument.find(';', position);
    if (separator == std::string::npos) break;
    if (field < 3) terms[field] = argument.substr(position, separator - position);
    if (field == 2) terms[3] = argument.substr(separator + 1);
    position = separator + 1;
  }
  return terms;
}

std::string HelpText() {
  const char* lines[] = {
      "Programm Übergabeparameter",
      "/l  = Startet im Logmodus.",
      "/b  = Startet im Batchmodus für Listensuche (erfordert weiteren Übergabeparameter mit csv Datei)",
      "/s  = Startet im Batchmodus für Einzelsuche (erfordert weiteren Übergabeparameter mit csv Datei)",
      "/ic = Prüft Installation und erzeugt eine Kontrolldatei",
      "/?;/help = zeigt diese Information an",
  };
  std::string help;
  for (const char* line : lines) help += text::Win1252(line) + (line == lines[5] ? "\r" : "\r\r");
  return help;
}

std::string InstallationCheckText(const std::string& supportAddress) {
  return "Der Installationscheck wurde beendet.\rBitte senden Sie die erzeugte Kontrolldatei\r"
         "\"VMK_Installation_Check.txt\"\ran die e-mail Adresse: " +
         supportAddress + " \r" + text::Win1252("Vielen Dank für Ihre Unterstützung");
}

}  // namespace vmk::app
