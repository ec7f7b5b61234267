#include "gui/hit_report_table.h"

#include <QHeaderView>

#include "gui/qt_text.h"

namespace vmk::gui {

namespace {

using text::Ui;

struct ListTable {
  Ui value, content, extended;
  int extendedColumns;
  int firstWidth;
  QColor marker;
};

ListTable TableOf(int list) {
  switch (list) {
    case 0:
      return {Ui::HitTableValueEU,  Ui::HitTableContentEU, Ui::HitTableExtendedEU, 39, 150,
              QColor(204, 255, 204)};
    case 1:
      return {Ui::HitTableValueUN,  Ui::HitTableContentUN, Ui::HitTableExtendedUN, 19, 150,
              QColor(204, 255, 255)};
    case 2:
      return {Ui::HitTableValueBoE, Ui::HitTableContentBoE, Ui::HitTableContentBoE, 0, 150,
              QColor(255, 255, 204)};
    default:
      return {Ui::HitTableValueUS,  Ui::HitTableContentUS, Ui::HitTableContentUS, 0, 100,
              QColor(255, 255, 204)};
  }
}

QStringList HeadersOf(const ListTable& table) {
  QStringList headers{Caption(table.value), Caption(table.content)};
  for (int i = 0; i < table.extendedColumns; ++i) headers << Caption(table.extended);
  return headers;
}

}  // namespace

HitReportModel::HitReportModel(QStringList headers, QColor markerColour, QObject* parent)
    : QAbstractTableModel(parent), headers_(std::move(headers)), markerColour_(markerColour) {}

void HitReportModel::SetReport(const screening::HitReport& report) {
  beginResetModel();
  rows_.clear();
  rows_.reserve(report.rows.size());
  for (const screening::HitRow& row : report.rows) rows_.emplace_back(Qt1252(row.label), Qt1252(row.value));
  markers_ = {report.markers.begin(), report.markers.end()};
  endResetModel();
}

int HitReportModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int HitReportModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant HitReportModel::data(const QModelIndex& index, int role) const {
  const auto row = static_cast<std::size_t>(index.row());
  if (!index.isValid() || row >= rows_.size()) return {};
  if (role == Qt::DisplayRole) {
    if (index.column() == 0) return rows_[row].first;
    if (index.column() == 1) return rows_[row].second;
    return {};
  }
  if (role == Qt::BackgroundRole && markers_.contains(row)) return markerColour_;
  return {};
}

QVariant HitReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section >= headers_.size()) return {};
  return headers_[section];
}

HitReportTable::HitReportTable(int list, QWidget* parent) : QTableView(parent) {
  const ListTable table = TableOf(list);
  model_ = new HitReportModel(HeadersOf(table), table.marker, this);
  setModel(model_);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(18);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setColumnWidth(0, table.firstWidth);
  setColumnWidth(1, 500);
  for (int i = 2; i < model_->columnCount(); ++i) setColumnWidth(i, 200);
}

}  // namespace vmk::gui
