#include "gui/list_search_page.h"

#include <QHeaderView>
#include <QItemSelectionModel>

#include "app/window_actions.h"
#include "gui/qt_text.h"
#include "gui/work_page_parts.h"

namespace vmk::gui {

namespace {

using text::Ui;

constexpr int kColumnWidths[] = {100, 100, 100, 100, 40, 40, 40, 40, 80};

}  // namespace

ListResultModel::ListResultModel(QObject* parent) : QAbstractTableModel(parent) {
  for (Ui header : {Ui::ColumnName1, Ui::ColumnName2, Ui::ColumnAddress1, Ui::ColumnAddress2, Ui::ColumnEU,
                    Ui::ColumnUN, Ui::ColumnUK, Ui::ColumnUS, Ui::ColumnSearchDate}) {
    headers_ << Caption(header);
  }
}

void ListResultModel::Follow(const app::MainWindowModel& model) {
  const std::size_t count = model.ListResultRowCount();
  if (count < rows_.size()) {
    beginResetModel();
    rows_.clear();
    endResetModel();
  }
  const std::vector<app::ListResultRow> added = model.ListResultRowsFrom(rows_.size());
  if (added.empty()) return;
  const int first = static_cast<int>(rows_.size());
  beginInsertRows({}, first, first + static_cast<int>(added.size()) - 1);
  for (const app::ListResultRow& row : added) {
    std::array<QString, 9> cells;
    for (std::size_t i = 0; i < cells.size(); ++i) cells[i] = Qt1252(row[i]);
    rows_.push_back(std::move(cells));
  }
  endInsertRows();
}

int ListResultModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ListResultModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 9;
}

QVariant ListResultModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  return rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
}

QVariant ListResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  return headers_.value(section);
}

ListSearchPage::ListSearchPage(app::AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
  rows_ = new ListResultModel(this);
  table_ = new QTableView(this);
  table_->setModel(rows_);
  table_->setGeometry(5, 5, 735, 300);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(18);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  for (int i = 0; i < 9; ++i) table_->setColumnWidth(i, kColumnWidths[i]);
  connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid())
              app::SelectListResultRow(context_, static_cast<std::size_t>(current.row()));
          });

  load_ = new QPushButton(Caption(Ui::ButtonLoadListFile), this);
  load_->setGeometry(5, 310, 125, 26);
  start_ = new QPushButton(Caption(Ui::ButtonStartListSearch), this);
  start_->setGeometry(135, 310, 125, 26);
  stop_ = new QPushButton(Caption(Ui::ButtonStopListSearch), this);
  stop_->setGeometry(135, 310, 125, 26);
  stop_->hide();
  pdfFolder_ = new QPushButton(Caption(Ui::ButtonPdfFolder), this);
  pdfFolder_->setGeometry(265, 310, 125, 26);
  connect(load_, &QPushButton::clicked, this, &ListSearchPage::LoadRequested);
  connect(start_, &QPushButton::clicked, this, &ListSearchPage::StartRequested);
  connect(stop_, &QPushButton::clicked, this, &ListSearchPage::StopRequested);
  connect(pdfFolder_, &QPushButton::clicked, this, [this] { app::OpenReportFromSaveFolder(context_); });
  AddLogo(this, QRect(615, 310, 125, 50), context.programDirectory);

  onlyHits_ = new QCheckBox(Caption(Ui::CheckListHitsOnly), this);
  onlyHits_->setGeometry(5, 342, 600, 22);
  connect(onlyHits_, &QCheckBox::clicked, this,
          [this](bool on) { app::SetOnlyListHitsSwitch(context_, on); });
  listFile_ = new QLabel(this);
  listFile_->setGeometry(5, 366, 600, 20);
  processed_ = new QLabel(this);
  processed_->setGeometry(5, 388, 600, 20);
  status_ = new QLabel(this);
  status_->setGeometry(5, 412, 400, 20);
  AddVersionLabel(this, QRect(505, 420, 235, 18));
}

void ListSearchPage::RenderRows() {
  rows_->Follow(context_.model);
}

void ListSearchPage::RenderPage() {
  const app::ListSearchPageState page = context_.model.ListSearchPage();
  listFile_->setText(Caption(Ui::ListFileLabel) + " " + Qt1252(page.listFileText));
  processed_->setText(page.processedText.empty() ? Caption(Ui::ProcessedLabel) + " "
                                                 : Qt1252(page.processedText));
  load_->setEnabled(page.loadButtonEnabled);
  start_->setEnabled(page.startButtonEnabled);
  start_->setVisible(!page.stopButtonVisible);
  stop_->setVisible(page.stopButtonVisible);
}

void ListSearchPage::RenderStatus() {
  status_->setText(Qt1252(context_.model.PageStatusText()));
  status_->setStyleSheet(QString("QLabel { color: %1; font-weight: bold; }")
                             .arg(ToQColor(context_.model.PageStatusColour()).name()));
}

void ListSearchPage::RenderSwitch() {
  onlyHits_->setChecked(context_.model.SetupPages().onlyListHits);
}

}  // namespace vmk::gui
