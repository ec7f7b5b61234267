// One list's hit report as a table: the label and value of every row, the marker rows in the list's
// colour, and the extended-content columns the list's table carries.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <QTableView>
#include <unordered_set>
#include <vector>

#include "screening/hit_report.h"

namespace vmk::gui {

class HitReportModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  HitReportModel(QStringList headers, QColor markerColour, QObject* parent);
  void SetReport(const screening::HitReport& report);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QStringList headers_;
  QColor markerColour_;
  std::vector<std::pair<QString, QString>> rows_;
  std::unordered_set<std::size_t> markers_;
};

// The table of one list: "Wert", "Inhalt" and the extended columns with their widths.
class HitReportTable : public QTableView {
  Q_OBJECT
 public:
  // list: 0 EU, 1 UN, 2 UK, 3 US.
  HitReportTable(int list, QWidget* parent);
  void Render(const screening::HitReport& report) { model_->SetReport(report); }
  HitReportModel* Model() const { return model_; }

 private:
  HitReportModel* model_;
};

}  // namespace vmk::gui
