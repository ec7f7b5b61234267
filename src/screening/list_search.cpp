#include "screening/list_search.h"

#include "screening/list_queries.h"
#include "screening/sanctions_db.h"
#include "text/cp1252.h"
#include "text/ui_texts.h"

namespace vmk::screening {
namespace {

void AddSeparator(HitReport& report, char mark, int width) {
  report.rows.push_back({std::string(10, mark), std::string(static_cast<std::size_t>(width), mark)});
}

void AddHit(const ListSchema& schema, const SearchState& state, const std::string& selection, const Row& row,
            int hitNumber, HitReport& report) {
  const auto value = [&](int position) {
    return position < static_cast<int>(row.size()) ? row[static_cast<std::size_t>(position)] : std::string();
  };
  report.rows.push_back({"Datensatz Nr.", std::to_string(hitNumber)});
  for (int position = schema.firstField; position < schema.fieldEnd; ++position) {
    if (schema.IsShown(position, selection)) {
      report.rows.push_back(
          {schema.columns[static_cast<std::size_t>(position)].reportLabel, value(position)});
    }
  }
  AddSeparator(report, '~', schema.separatorWidth);
  if (state.phoneticDisplay) {
    for (int position = schema.fieldEnd; position < schema.ColumnCount(); ++position) {
      report.rows.push_back(
          {schema.columns[static_cast<std::size_t>(position)].reportLabel, value(position)});
    }
    AddSeparator(report, '*', schema.separatorWidth);
  }
  report.markers.push_back(report.rows.size() - 1);
}

}  // namespace

std::string HitCountLabel(int count) {
  return text::UiText(text::Ui::HitCountLabel) + "     " + std::to_string(count);
}

void SearchList(ListId list, SearchState& state, const std::filesystem::path& databaseFile, HitReport& report,
                log::RunLog& runLog) {
  const ListSchema& schema = Schema(list);
  const std::string& selection = state.selection[static_cast<std::size_t>(Index(list))];
  SanctionsDatabase database(databaseFile);
  const std::optional<std::string> statement = BuildDetailQuery(list, state.mode, state);

  HitReport fresh;
  int hits = 0;
  const bool ok = statement && database.Query(*statement, [&](const Row& row) {
    AddHit(schema, state, selection, row, hits, fresh);
    ++hits;
  });
  runLog.WriteRunLog(text::Win1252("Suche in ") + schema.name +
                     text::Win1252(" Datenbank gestartet. DB öffnen Ergebnis = ") + (ok ? "1" : "0"));
  if (!ok) {
    // A failed query must not leave the previous search's hits beside the count 0.
    fresh = HitReport{};
    hits = 0;
  } else {
    runLog.WriteRunLog("Suche in " + schema.name + " Datenbank beendet mit " + std::to_string(hits) +
                       "Treffern ");
  }
  fresh.countLabel = HitCountLabel(hits);
  report = std::move(fresh);
  state.hitCounts[static_cast<std::size_t>(Index(list))] = hits;
}

void SearchAllLists(SearchState& state, const std::filesystem::path& databaseFile, HitReports& reports,
                    log::RunLog& runLog) {
  for (ListId list : kAllLists) {
    SearchList(list, state, databaseFile, reports[static_cast<std::size_t>(Index(list))], runLog);
  }
}

}  // namespace vmk::screening
