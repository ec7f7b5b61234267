// vmk-demo: a single search of sample terms in every phonetic mode against the demo database,
// printing per list the hit count and the hit report; or the settings of the batch demo.
//   vmk-demo --pack KE2DB.pak [term1;term2;term3;term4 ...]
//   vmk-demo --prepare-batch RESULTFOLDER    (with VELDMARK_ROOT of a prepared installation)
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "app/main_window_model.h"
#include "app/single_search_run.h"
#include "lists/search_history.h"
#include "log/run_log.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/folders.h"
#include "screening/database_unpack.h"
#include "screening/sanctions_db.h"
#include "screening/sanctions_schema.h"
#include "text/cp1252.h"
#include "text/date_mask.h"
#include "text/ui_texts.h"

namespace {

namespace fs = std::filesystem;
using vmk::text::Cp1252ToUtf8;

const char* const kModeNames[] = {"Klartext", "Soundex", "Double Metaphone", "Alle Phonetiken"};

std::array<std::string, 4> SplitTerms(const std::string& utf8) {
  std::array<std::string, 4> terms;
  std::size_t field = 0;
  for (char c : vmk::text::Utf8ToCp1252(utf8)) {
    if (c == ';') {
      if (++field == terms.size()) break;
    } else {
      terms[field] += c;
    }
  }
  return terms;
}

// The demo shows the name, address and programme fields of each hit, to keep its output short.
std::string CompactSelection(vmk::screening::ListId list) {
  static const std::set<std::string> kShown = {
      "Name",     "Programme", "LastName",   "FirstName", "MiddleName",    "WholeName",    "Address",
      "Country",  "AddrOther", "SecondName", "Alias",     "Name6",         "Name1",        "Name2",
      "Address1", "Address2",  "Regime",     "City",      "AlternateName", "EntityNumber", "DataId"};
  const vmk::screening::ListSchema& schema = vmk::screening::Schema(list);
  std::string selection(static_cast<std::size_t>(schema.selectionLength), '0');
  for (int position = schema.firstField; position < schema.fieldEnd; ++position) {
    if (kShown.count(schema.columns[static_cast<std::size_t>(position)].name)) {
      selection[static_cast<std::size_t>(schema.SelectionIndex(position))] = '1';
    }
  }
  return selection;
}

void PrintReports(const vmk::app::MainWindowModel& model) {
  const vmk::screening::HitReports reports = model.HitReports();
  for (vmk::screening::ListId list : vmk::screening::kAllLists) {
    const auto& report = reports[static_cast<std::size_t>(vmk::screening::Index(list))];
    std::cout << "  " << vmk::screening::Schema(list).name << "  " << Cp1252ToUtf8(report.countLabel) << "\n";
    for (const auto& row : report.rows) {
      std::cout << "      " << Cp1252ToUtf8(row.label) << " | " << Cp1252ToUtf8(row.value) << "\n";
    }
  }
}

std::string LatestReport(const std::string& folder) {
  fs::path latest;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (latest.empty() || fs::last_write_time(entry) >= fs::last_write_time(latest)) latest = entry.path();
  }
  return latest.string();
}

// The list dates of the database, as the window shows them and the reports print them.
void ShowListDates(vmk::app::AppContext& context) {
  vmk::screening::EnsureDatabaseUnpacked(context.dataDirectory, context.runLog, context.dialogs);
  vmk::screening::SanctionsDatabase database(vmk::screening::WorkingCopyPath(context.dataDirectory));
  context.model.SetListDates(vmk::screening::ReadListDates(database));
  vmk::screening::DeleteWorkingCopy(context.dataDirectory);
}

void SearchInEveryMode(vmk::app::AppContext& context, const std::array<std::string, 4>& terms) {
  std::cout << "\n=== Suchbegriffe:";
  for (const std::string& term : terms) std::cout << " [" << Cp1252ToUtf8(term) << "]";
  std::cout << "\n";
  for (int mode = 0; mode < 4; ++mode) {
    context.search.mode = mode;
    context.model.SetSearchFields(terms);
    std::cout << "\n--- Phonetik: " << kModeNames[mode] << "\n";
    vmk::app::RunSingleSearch(context);
    PrintReports(context.model);
    std::cout << "  Bericht: " << LatestReport(context.model.SavePath()) << "\n";
  }
}

// Stores what the single-search batch of the demo needs, through the settings library as the program
// reads it: result folder and file, a PDF for every search, a personalisation, and a database check
// just done, so the demo makes no update attempt.
int PrepareBatch(const fs::path& resultFolder) {
  fs::create_directories(resultFolder);
  vmk::app::SettingsBinding settings(vmk::platform::ProgramDirectory());
  vmk::app::SettingsBinding::Group group(settings);
  settings.SetBatchPath(vmk::text::Utf8ToCp1252(fs::absolute(resultFolder).string()) + "/");
  settings.SetBatchFile("BatchResult.txt");
  settings.SetBatchPDFOption("2");
  const std::array<std::string, 6> person = {
      "Muster Handels GmbH",      "Compliance", vmk::text::Win1252("Hauptstraße 1"), "10115", "Berlin",
      "compliance@muster.example"};
  for (int n = 1; n <= 6; ++n) settings.WritePerson(n, person[static_cast<std::size_t>(n - 1)]);
  settings.WriteLastUpdate(std::to_string(vmk::text::WallSeconds(vmk::platform::DefaultClock().Now())));
  if (settings.Failed()) {
    std::cerr << "vmk-demo: " << settings.Error() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--prepare-batch") return PrepareBatch(argv[2]);
  fs::path pack, root = "demo-run";
  std::vector<std::string> termSets;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--pack" && i + 1 < argc) {
      pack = argv[++i];
    } else if (arg == "--root" && i + 1 < argc) {
      root = argv[++i];
    } else {
      termSets.push_back(arg);
    }
  }
  if (pack.empty() || !fs::exists(pack)) {
    std::cerr << "usage: vmk-demo --pack KE2DB.pak [--root FOLDER] [\"term1;term2;term3;term4\" ...]\n";
    return 2;
  }
  if (termSets.empty()) termSets = {"Wiktor Dragunow;;;", "Ostmeer Handelsbank;;Hafenstrasse;"};

  // A fresh installation of its own below the output folder: data directory, save folder, working
  // directory with the history and the report logo.
  fs::remove_all(root);
  const fs::path dataDirectory = root / "data", saveFolder = root / "reports", work = root / "work";
  for (const fs::path& folder : {dataDirectory, saveFolder, work}) fs::create_directories(folder);
  fs::copy_file(pack, dataDirectory / vmk::screening::kPackName);
  std::error_code noLogo;
  fs::copy_file(fs::path(vmk::platform::ProgramDirectory()) / "Tamberlogo.jpg", work / "Tamberlogo.jpg",
                noLogo);

  vmk::text::FillUiTexts();
  vmk::app::MainWindowModel model;
  model.SetSavePath(saveFolder.string() + "/");
  model.SetPersonalisation({"Muster Handels GmbH", "Compliance", vmk::text::Win1252("Hauptstraße 1"), "10115",
                            "Berlin", "compliance@muster.example"});
  vmk::screening::SearchState search;
  search.selection = {
      CompactSelection(vmk::screening::ListId::EU), CompactSelection(vmk::screening::ListId::UN),
      CompactSelection(vmk::screening::ListId::UK), CompactSelection(vmk::screening::ListId::US)};
  vmk::log::RunLog runLog;
  vmk::platform::HeadlessDialogs dialogs(std::cerr);
  vmk::platform::SystemDesktop desktop;
  vmk::app::SettingsBinding settings(vmk::platform::ProgramDirectory());
  vmk::app::AppContext context(model, search, runLog, dialogs, desktop, settings,
                               vmk::platform::DefaultClock(), dataDirectory, work);
  vmk::lists::CreateHistoryDatabase(context.HistoryFile(), runLog);
  ShowListDates(context);

  std::cout << "Veldmark demo: single search against the demo sanctions database\n";
  for (const std::string& set : termSets) SearchInEveryMode(context, SplitTerms(set));
  std::cout << "\nBerichte in " << saveFolder.string() << ", Suchhistorie " << context.HistoryFile().string()
            << "\n";
  return 0;
}
