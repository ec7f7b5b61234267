// The work page "Einzelsuche": the four search fields, the start button, the report folder, the status
// label and the frame with the four hit-report tables, of which one is visible.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>

#include "app/app_context.h"
#include "gui/hit_report_table.h"

namespace vmk::gui {

class SingleSearchPage : public QWidget {
  Q_OBJECT
 public:
  SingleSearchPage(app::AppContext& context, QWidget* parent);

  void RenderSearchFields();
  void RenderHitReports();
  void RenderStatus();
  void RenderPanels(const app::PanelState& panels);

  QLineEdit* Field(std::size_t i) const { return fields_[i]; }
  QPushButton* StartButton() const { return start_; }
  QPushButton* PdfFolderButton() const { return pdfFolder_; }
  QLabel* StatusLabel() const { return status_; }
  QGroupBox* HitFrame() const { return frame_; }
  HitReportTable* Table(std::size_t list) const { return tables_[list]; }

 signals:
  void StartRequested();

 private:
  app::AppContext& context_;
  std::array<QLineEdit*, 4> fields_{};
  QPushButton* start_;
  QPushButton* pdfFolder_;
  QLabel* status_;
  QGroupBox* frame_;
  std::array<HitReportTable*, 4> tables_{};
};

}  // namespace vmk::gui
