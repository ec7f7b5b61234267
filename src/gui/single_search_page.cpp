#include "gui/single_search_page.h"

#include "app/window_actions.h"
#include "gui/qt_text.h"
#include "gui/work_page_parts.h"

namespace vmk::gui {

namespace {

using text::Ui;

// A dark red or white status text, as the runs colour it.
void ShowStatus(QLabel* label, const std::string& text, screening::Rgb colour) {
  label->setText(Qt1252(text));
  label->setStyleSheet(QString("QLabel { color: %1; font-weight: bold; }").arg(ToQColor(colour).name()));
}

}  // namespace

SingleSearchPage::SingleSearchPage(app::AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
  static constexpr Ui kLabels[] = {Ui::SearchTerm1Label, Ui::SearchTerm2Label, Ui::SearchTerm3Label,
                                   Ui::SearchTerm4Label};
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const int top = 10 + static_cast<int>(i) * 28;
    auto* label = new QLabel(Caption(kLabels[i]), this);
    label->setGeometry(10, top, 150, 24);
    fields_[i] = new QLineEdit(this);
    fields_[i]->setGeometry(165, top, 320, 24);
    connect(fields_[i], &QLineEdit::textEdited, this, [this] {
      std::array<std::string, 4> terms;
      for (std::size_t f = 0; f < terms.size(); ++f) terms[f] = To1252(fields_[f]->text());
      context_.model.SetSearchFields(terms);
    });
    connect(fields_[i], &QLineEdit::returnPressed, this, [this] {
      if (start_->isEnabled()) emit StartRequested();
    });
  }
  start_ = new QPushButton(Caption(Ui::ButtonStartSearch), this);
  start_->setGeometry(500, 10, 125, 26);
  connect(start_, &QPushButton::clicked, this, &SingleSearchPage::StartRequested);
  pdfFolder_ = new QPushButton(Caption(Ui::ButtonPdfFolder), this);
  pdfFolder_->setGeometry(500, 42, 125, 26);
  connect(pdfFolder_, &QPushButton::clicked, this, [this] { app::OpenReportFromSaveFolder(context_); });
  status_ = new QLabel(this);
  status_->setGeometry(500, 74, 240, 20);
  AddLogo(this, QRect(640, 6, 95, 62), context.programDirectory);
  AddVersionLabel(this, QRect(500, 96, 235, 18));

  frame_ = new QGroupBox(Qt1252("  " + text::UiText(Ui::ReportListEU) + "  "), this);
  frame_->setGeometry(5, 122, 735, 318);
  for (std::size_t list = 0; list < tables_.size(); ++list) {
    tables_[list] = new HitReportTable(static_cast<int>(list), frame_);
    tables_[list]->setGeometry(6, 20, 723, 292);
    tables_[list]->setVisible(list == 0);
  }
}

void SingleSearchPage::RenderSearchFields() {
  const std::array<std::string, 4> terms = context_.model.SearchFields();
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const QString text = Qt1252(terms[i]);
    if (fields_[i]->text() != text) fields_[i]->setText(text);
  }
}

void SingleSearchPage::RenderHitReports() {
  const screening::HitReports reports = context_.model.HitReports();
  for (std::size_t list = 0; list < tables_.size(); ++list) tables_[list]->Render(reports[list]);
}

void SingleSearchPage::RenderStatus() {
  ShowStatus(status_, context_.model.PageStatusText(), context_.model.PageStatusColour());
  start_->setVisible(context_.model.StartButtonVisible());
  start_->setEnabled(context_.model.StartButtonEnabled());
}

void SingleSearchPage::RenderPanels(const app::PanelState& panels) {
  frame_->setTitle(Qt1252(panels.hitFrameCaption));
  for (std::size_t list = 0; list < tables_.size(); ++list) {
    tables_[list]->setVisible(static_cast<int>(list) == panels.shownHitReport);
  }
}

}  // namespace vmk::gui
