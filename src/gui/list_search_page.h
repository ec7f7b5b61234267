// The work page "Listensuche": the result list of the list search, its buttons and switches, and the
// list-file and progress labels.
#pragma once

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QWidget>
#include <vector>

#include "app/app_context.h"

namespace vmk::gui {

// The result rows as the model holds them; new rows are appended, never re-read.
class ListResultModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ListResultModel(QObject* parent);
  // Takes the rows the window model has beyond those shown; a cleared list starts over.
  void Follow(const app::MainWindowModel& model);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<std::array<QString, 9>> rows_;
  QStringList headers_;
};

class ListSearchPage : public QWidget {
  Q_OBJECT
 public:
  ListSearchPage(app::AppContext& context, QWidget* parent);

  void RenderRows();
  void RenderPage();
  void RenderStatus();
  void RenderSwitch();

  QTableView* Table() const { return table_; }
  QPushButton* LoadButton() const { return load_; }
  QPushButton* StartButton() const { return start_; }
  QPushButton* StopButton() const { return stop_; }
  QPushButton* PdfFolderButton() const { return pdfFolder_; }
  QCheckBox* OnlyHitsSwitch() const { return onlyHits_; }
  QLabel* ListFileLabel() const { return listFile_; }
  QLabel* ProcessedLabel() const { return processed_; }
  QLabel* StatusLabel() const { return status_; }

 signals:
  void LoadRequested();
  void StartRequested();
  void StopRequested();

 private:
  app::AppContext& context_;
  ListResultModel* rows_;
  QTableView* table_;
  QPushButton *load_, *start_, *stop_, *pdfFolder_;
  QCheckBox* onlyHits_;
  QLabel *listFile_, *processed_, *status_;
};

}  // namespace vmk::gui
