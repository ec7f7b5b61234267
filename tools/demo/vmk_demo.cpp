// vmk-demo: a single search of sample terms in every phonetic mode against the demo database,
// printing per list the hit count and the hit report.
//   vmk-demo --pack KE2DB.pak [term1;term2;term3;term4 ...]
#include <stdlib.h>

#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "app/main_window_model.h"
#include "app/single_search_run.h"
#include "log/run_log.h"
#include "platform/dialogs.h"
#include "screening/sanctions_db.h"
#include "screening/sanctions_schema.h"
#include "text/cp1252.h"
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

void SearchInEveryMode(vmk::app::SingleSearchContext& context, const std::array<std::string, 4>& terms) {
  std::cout << "\n=== Suchbegriffe:";
  for (const std::string& term : terms) std::cout << " [" << Cp1252ToUtf8(term) << "]";
  std::cout << "\n";
  for (int mode = 0; mode < 4; ++mode) {
    context.search.mode = mode;
    context.model.SetSearchFields(terms);
    std::cout << "\n--- Phonetik: " << kModeNames[mode] << "\n";
    vmk::app::RunSingleSearch(context);
    PrintReports(context.model);
  }
}

}  // namespace

int main(int argc, char** argv) {
  fs::path pack;
  std::vector<std::string> termSets;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--pack" && i + 1 < argc) {
      pack = argv[++i];
    } else {
      termSets.push_back(arg);
    }
  }
  if (pack.empty() || !fs::exists(pack)) {
    std::cerr << "usage: vmk-demo --pack KE2DB.pak [\"term1;term2;term3;term4\" ...]\n";
    return 2;
  }
  if (termSets.empty()) termSets = {"Wiktor Dragunow;;;", "Ostmeer Handelsbank;;Hafenstrasse;"};

  // A throw-away data directory holding only the pack, as an installation would.
  std::string pattern = (fs::temp_directory_path() / "vmk-demo-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::cerr << "vmk-demo: cannot create a temporary folder\n";
    return 1;
  }
  const fs::path dataDirectory = pattern;
  fs::copy_file(pack, dataDirectory / vmk::screening::kPackName);

  vmk::text::FillUiTexts();
  vmk::app::MainWindowModel model;
  vmk::screening::SearchState search;
  search.selection = {
      CompactSelection(vmk::screening::ListId::EU), CompactSelection(vmk::screening::ListId::UN),
      CompactSelection(vmk::screening::ListId::UK), CompactSelection(vmk::screening::ListId::US)};
  vmk::log::RunLog runLog;
  vmk::platform::HeadlessDialogs dialogs(std::cerr);
  vmk::app::SingleSearchContext context(model, search, runLog, dialogs, vmk::platform::DefaultClock(),
                                        dataDirectory);

  std::cout << "Veldmark demo: single search against the demo sanctions database\n";
  for (const std::string& set : termSets) SearchInEveryMode(context, SplitTerms(set));
  fs::remove_all(dataDirectory);
  return 0;
}
