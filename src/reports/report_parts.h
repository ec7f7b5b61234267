// The pieces both PDF reports share: the page frame (header, footer), the numbered chapter titles,
// the "Erstellt für", "Phonetik:" and list-date chapters, and saving under a name no other report holds.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/clock.h"

namespace vmk::reports {

class PdfDocument;

struct WrittenReport {
  std::filesystem::path path;  // the path built for the report, also when saving failed
  bool saved = false;
};

// The first free name of the stem in the folder, claimed by creating it empty, so that no other report
// can take it meanwhile. When the folder cannot be written, the plain name.
std::filesystem::path ClaimReportPath(const std::filesystem::path& folder, const std::string& stem);

// Writes the shared parts into a report document. The document, clock and log outlive the object.
class ReportParts {
 public:
  ReportParts(PdfDocument& pdf, const platform::Clock& clock,
              const std::function<void(const std::string&)>& log);
  // The header and footer registered by Begin hold this object.
  ReportParts(const ReportParts&) = delete;
  ReportParts& operator=(const ReportParts&) = delete;

  // Registers footer and header (with the logo), sets the page-count alias and adds the first page.
  void Begin(const std::filesystem::path& logoFile);
  // The numbered title bar of a chapter; the body starts in the regular "Sans" face.
  void Chapter(int number, const std::string& title);
  // Print date and the personalisation: company, addition, street, postcode, town (the e-mail is not shown).
  void CreatedFor(int number, const std::array<std::string, 6>& person);
  void Phonetics(int number, int mode);
  // The date of every list; with hit counts, each list's count of the single search beside it.
  void DatabaseInformation(int number, const std::array<std::string, 4>& listDateLabels,
                           const std::array<int, 4>* hitCounts = nullptr);
  // Saves as prefix + the moment of saving + ".pdf" in the folder, made unique through ClaimReportPath.
  WrittenReport Save(const std::filesystem::path& folder, const std::string& prefix);

  // A label cell of the width and a value cell to the right margin, both 10 high, then the line break.
  void LabelAndValue(double labelWidth, const std::string& label, const std::string& value, double lineBreak);
  void Log(const std::string& text) const;

 private:
  void Header();
  void Footer();

  PdfDocument& pdf_;
  const platform::Clock& clock_;
  const std::function<void(const std::string&)>& log_;
  std::filesystem::path logoFile_;
};

// The name of a phonetic mode 0..3 as the reports show it.
std::string PhoneticModeText(int mode);

}  // namespace vmk::reports
