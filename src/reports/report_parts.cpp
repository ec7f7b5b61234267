#include "reports/report_parts.h"

#include <system_error>

#include "platform/unique_file.h"
#include "reports/pdf_document.h"
#include "text/date_mask.h"
#include "text/ui_texts.h"

namespace vmk::reports {

using text::Ui;
using text::UiText;

std::filesystem::path ClaimReportPath(const std::filesystem::path& folder, const std::string& stem) {
  return platform::ClaimUniqueFile(folder, stem, ".pdf");
}

std::string PhoneticModeText(int mode) {
  switch (mode) {
    case 1:
      return UiText(Ui::ModeSoundex);
    case 2:
      return UiText(Ui::ModeDoubleMetaphone);
    case 3:
      return UiText(Ui::ModePlainText) + " + " + UiText(Ui::ModeSoundex) + " + " +
             UiText(Ui::ModeDoubleMetaphone);
    default:
      return UiText(Ui::ModePlainText);
  }
}

ReportParts::ReportParts(PdfDocument& pdf, const platform::Clock& clock,
                         const std::function<void(const std::string&)>& log)
    : pdf_(pdf), clock_(clock), log_(log) {}

void ReportParts::Log(const std::string& text) const {
  if (log_) log_(text);
}

void ReportParts::Begin(const std::filesystem::path& logoFile) {
  logoFile_ = logoFile;
  pdf_.SetFooter([this] { Footer(); });
  pdf_.SetHeader([this] { Header(); });
  pdf_.AliasNumberOfPages("{nb}");
  pdf_.AddPage();
}

void ReportParts::Header() {
  Log("Schreibe PDF Header");
  pdf_.Image(logoFile_, 10, 10, 35);
  pdf_.SetFont("Arial", "B", 15);
  pdf_.Cell(35, 0);
  pdf_.Cell(242, 10, "Erstellt mit dem Veldmark", 0, 0, "C");
  pdf_.LineBreak(8);
  pdf_.Cell(35, 0);
  pdf_.LineBreak(20);
}

void ReportParts::Footer() {
  Log("Schreibe PDF Footer");
  pdf_.SetY(-15);
  pdf_.SetFont("Arial", "I", 8);
  pdf_.Cell(135, 10);
  pdf_.Cell(141, 10, UiText(Ui::ReportPage) + " " + std::to_string(pdf_.PageNumber()) + "/{nb}", 0, 0, "R");
}

void ReportParts::Chapter(int number, const std::string& title) {
  Log("Schreibe PDF Title");
  pdf_.SetFont("Sans", "", 10);
  pdf_.SetFillColour(200, 220, 255);
  pdf_.Cell(0, 6, std::to_string(number) + ".  " + title, 0, 1, "L", true);
  pdf_.LineBreak(4);
  Log("Schreibe PDF Chapter " + std::to_string(number));
  pdf_.SetFont("Sans", "", 10);
}

void ReportParts::LabelAndValue(double labelWidth, const std::string& label, const std::string& value,
                                double lineBreak) {
  pdf_.Cell(labelWidth, 10, label);
  pdf_.Cell(0, 10, value);
  pdf_.LineBreak(lineBreak);
}

void ReportParts::CreatedFor(int number, const std::array<std::string, 6>& person) {
  Chapter(number, UiText(Ui::ReportCreatedFor));
  pdf_.Bookmark(UiText(Ui::ReportCreatedFor));
  pdf_.Cell(0, 10, UiText(Ui::ReportPrintDate) + " " + text::FormatDate("%DD.%MM.%YYYY", clock_.Now()));
  pdf_.LineBreak(8);
  LabelAndValue(30, UiText(Ui::ReportCompany), person[0], 4);
  LabelAndValue(30, "", person[1], 4);
  LabelAndValue(30, UiText(Ui::ReportStreet) + "  ", person[2], 4);
  LabelAndValue(30, UiText(Ui::ReportPostcodeCity), person[3] + "   " + person[4], 10);
}

void ReportParts::Phonetics(int number, int mode) {
  Chapter(number, UiText(Ui::PhoneticLabel));
  LabelAndValue(40, UiText(Ui::PhoneticLabel), PhoneticModeText(mode), 10);
}

void ReportParts::DatabaseInformation(int number, const std::array<std::string, 4>& listDateLabels,
                                      const std::array<int, 4>* hitCounts) {
  Chapter(number, UiText(Ui::ReportDatabaseInfo));
  pdf_.Bookmark(UiText(Ui::ReportListDatesBookmark));
  const std::array<Ui, 4> labels = {Ui::ReportListDateEU, Ui::ReportListDateUN, Ui::ReportListDateBoE,
                                    Ui::ReportListDateUS};
  for (std::size_t i = 0; i < 4; ++i) {
    pdf_.Cell(120, 10, UiText(labels[i]) + "      " + listDateLabels[i]);
    if (hitCounts)
      pdf_.Cell(130, 10, UiText(Ui::ReportSingleSearchHits) + " " + std::to_string((*hitCounts)[i]));
    pdf_.LineBreak(i == 3 ? 10 : 4);
  }
}

WrittenReport ReportParts::Save(const std::filesystem::path& folder, const std::string& prefix) {
  const std::string stem = prefix + text::FormatDate("%YYYY-%MM-%DD-%HH-%II-%SS", clock_.Now());
  WrittenReport written{ClaimReportPath(folder, stem), false};
  Log("Schreibe PDF Datei");
  written.saved = pdf_.Save(written.path);
  std::error_code ignored;
  if (!written.saved && std::filesystem::file_size(written.path, ignored) == 0) {
    std::filesystem::remove(written.path, ignored);  // the claimed name stays free
  }
  return written;
}

}  // namespace vmk::reports
