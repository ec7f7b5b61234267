#include "gui/list_tab.h"

#include <QPalette>

#include "app/display_selection.h"
#include "app/window_actions.h"
#include "gui/qt_text.h"

namespace vmk::gui {

namespace {

using text::Ui;

QColor TabColour(int list) {
  static const QColor kColours[] = {{223, 242, 235}, {204, 255, 255}, {255, 255, 204}, {153, 255, 204}};
  return kColours[list];
}

Ui CheckListTitle(int list) {
  static constexpr Ui kTitles[] = {Ui::DisplayItemsTitleEU, Ui::DisplayItemsTitleUN, Ui::DisplayItemsTitleUK,
                                   Ui::DisplayItemsTitleUS};
  return kTitles[list];
}

QLabel* ValueLabel(QWidget* parent, int top) {
  auto* label = new QLabel(parent);
  label->setGeometry(8, top, 225, 18);
  label->setFont(QFont("Monospace", 9));
  return label;
}

}  // namespace

ListTab::ListTab(app::AppContext& context, int list, QWidget* parent)
    : QWidget(parent), context_(context), list_(list) {
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, TabColour(list));
  setPalette(palette);

  savePath_ = new QPushButton(Caption(Ui::ButtonPdfTargetPath), this);
  savePath_->setGeometry(8, 8, 108, 26);
  selectionButton_ = new QPushButton(Caption(Ui::ButtonShowDisplaySelection), this);
  selectionButton_->setGeometry(8, 40, 225, 26);
  count_ = ValueLabel(this, 80);
  date_ = ValueLabel(this, 100);
  phonetic_ = ValueLabel(this, 120);
  whitelist_ = ValueLabel(this, 140);

  checkList_ = new QTreeWidget(this);
  checkList_->setGeometry(8, 78, 220, 0);
  checkList_->setHeaderLabel(Caption(CheckListTitle(list)));
  checkList_->setRootIsDecorated(false);
  checkList_->hide();

  connect(savePath_, &QPushButton::clicked, this, [this] { app::ChooseSaveFolder(context_); });
  connect(selectionButton_, &QPushButton::clicked, this,
          [this] { app::ToggleSelectionPanel(context_, static_cast<screening::ListId>(list_)); });
  connect(checkList_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
    app::ClickSelectionEntry(context_, static_cast<screening::ListId>(list_),
                             static_cast<std::size_t>(checkList_->indexOfTopLevelItem(item)));
  });
  slide_.setInterval(1);
  connect(&slide_, &QTimer::timeout, this, &ListTab::SlideStep);
}

void ListTab::Render(const std::string& countLabel, const std::string& dateLabel,
                     const app::SetupPagesState& pages, const app::SelectionPanel& panel) {
  count_->setText(countLabel.empty() ? Caption(Ui::HitCountLabel) : Qt1252(countLabel));
  date_->setText(Qt1252(dateLabel));
  phonetic_->setText(Qt1252(pages.phoneticLabel));
  whitelist_->setText(Qt1252(pages.whitelistLabel));
  selectionButton_->setText(
      Qt1252(panel.buttonText.empty() ? text::UiText(Ui::DisplaySelectionShow) : panel.buttonText));
  count_->setVisible(panel.countVisible);
  RenderCheckList(panel);
}

// The entries follow the model; a click already changed the model, so rebuilding blocks the signal
// that would count it twice.
void ListTab::RenderCheckList(const app::SelectionPanel& panel) {
  const QSignalBlocker blocker(checkList_);
  if (checkList_->topLevelItemCount() != static_cast<int>(panel.labels.size())) {
    checkList_->clear();
    for (const std::string& label : panel.labels) {
      auto* item = new QTreeWidgetItem(checkList_, QStringList{Qt1252(label)});
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    }
  }
  for (std::size_t i = 0; i < panel.ticked.size(); ++i) {
    checkList_->topLevelItem(static_cast<int>(i))
        ->setCheckState(0, panel.ticked[i] ? Qt::Checked : Qt::Unchecked);
  }
  if (panel.height != targetHeight_) {
    targetHeight_ = panel.height;
    if (targetHeight_ > 0) checkList_->show();
    checkList_->raise();
    slide_.start();
  }
}

// The check list grows or shrinks a few pixels per tick until it reaches its height.
void ListTab::SlideStep() {
  constexpr int kStep = 10;
  const int height = checkList_->height();
  const int next = height < targetHeight_ ? std::min(height + kStep, targetHeight_)
                                          : std::max(height - kStep, targetHeight_);
  checkList_->resize(checkList_->width(), next);
  if (next != targetHeight_) return;
  slide_.stop();
  if (next == 0) checkList_->hide();
}

}  // namespace vmk::gui
