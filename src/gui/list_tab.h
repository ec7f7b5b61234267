// One list's tab of the side panel: its buttons, the four value labels and the display-item check list
// that slides open and closed below them.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

#include "app/app_context.h"

namespace vmk::gui {

class ListTab : public QWidget {
  Q_OBJECT
 public:
  ListTab(app::AppContext& context, int list, QWidget* parent);
  // The hit count and date labels of this list, the settings labels, and its check list.
  void Render(const std::string& countLabel, const std::string& dateLabel, const app::SetupPagesState& pages,
              const app::SelectionPanel& panel);

  QPushButton* SavePathButton() const { return savePath_; }
  QPushButton* SelectionButton() const { return selectionButton_; }
  QTreeWidget* CheckList() const { return checkList_; }
  QLabel* CountLabel() const { return count_; }
  QLabel* DateLabel() const { return date_; }
  QLabel* PhoneticLabel() const { return phonetic_; }
  QLabel* WhitelistLabel() const { return whitelist_; }

 private:
  void RenderCheckList(const app::SelectionPanel& panel);
  void SlideStep();

  app::AppContext& context_;
  int list_;
  QPushButton* savePath_;
  QPushButton* selectionButton_;
  QLabel *count_, *date_, *phonetic_, *whitelist_;
  QTreeWidget* checkList_;
  QTimer slide_;
  int targetHeight_ = 0;
};

}  // namespace vmk::gui
