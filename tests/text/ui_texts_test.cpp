#include "text/ui_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "text/cp1252.h"

namespace vmk::text {
namespace {

std::vector<Ui> AllEntries() {
  std::vector<Ui> all;
  for (std::size_t i = 0; i < UiTextCount(); ++i) all.push_back(static_cast<Ui>(i));
  return all;
}

// Runs first in its own process under ctest: the first lookups, from several threads at once and
// without FillUiTexts, must all see the filled table.
TEST(UiTexts, ConcurrentFirstLookupsSeeTheFilledTable) {
  std::vector<std::string> seen(8);
  std::vector<std::thread> threads;
  for (auto& text : seen) threads.emplace_back([&text] { text = UiText(Ui::HitCountLabel); });
  for (auto& thread : threads) thread.join();
  for (const auto& text : seen) EXPECT_EQ(text, "Anzahl Treffer  :");
}

TEST(UiTexts, FillingAgainKeepsTheSameTexts) {
  const std::string* before = &UiText(Ui::StreetLabel);
  FillUiTexts();
  FillUiTexts();
  EXPECT_EQ(&UiText(Ui::StreetLabel), before);
  EXPECT_EQ(UiText(Ui::StreetLabel), "Stra\337e");
}

TEST(UiTexts, TrickyEntriesHoldTheirExactWording) {
  const std::map<Ui, std::string> expected_utf8 = {
      {Ui::HitCountLabel, "Anzahl Treffer  :"},
      {Ui::DatabaseDateLabel, "Datenbank vom   :"},
      {Ui::PhoneticPaddedLabel, "Phonetik        :"},
      {Ui::WhitelistPaddedLabel, "White List      :"},
      {Ui::PhoneticLabel, "Phonetik:"},
      {Ui::SavePathInitialLabel, "Speicherpfad :"},
      {Ui::SavePathLabel, "Speicherpfad:"},
      {Ui::ProcessedLabel, "Bearbeitet:"},
      {Ui::ProgressProcessed, "Bearbeitet :"},
      {Ui::SearchTerm1Label, "Suchbgriff1 (Name)"},
      {Ui::FramePdfStorage, "Speicherung der PDF Date"},
      {Ui::MsgNewDatabaseDefectiveOrMissing,
       "Die neue Datanbank ist fehlerhaft bzw. konnte vom Server nicht heruntergeladen werden"},
      {Ui::MsgSemicolonReserved,
       "Das eingegebenen Zeichen ';' ist ein Steuerzeichen und darf nicht gelöscht werden"},
      {Ui::CheckListHitsOnly, "Nur Listentreffer anzeigen (Vor Start der Listensuche einschalten!"},
      {Ui::PdfFileFilter, "Veldmark pdf Dateien (*.pdf)|*.pdf|Alle Dateien (*.*)|*.*"},
      {Ui::MsgSettingsLibraryMissing,
       "Die Datei 'KES2.DLL' fehlt oder ist defekt. Bitte Programm erneut installieren"},
      {Ui::ErrorCodeMF9, "Fehler Code (MF9)"},
      {Ui::MsgCheckFirewallAllowsMail, "Bitte prüfen Sie ob Ihre Firewall auch e-mail Verkehr zulässt !"},
      {Ui::MsgSetupDownloadFailed,
       "Die Datei konnte nicht geladen werden, bitte prüfen Sie die Internetverbindung oder die "
       "Einstellung der Firewall"},
      {Ui::MsgAtLeastOneTerm, "Bitte geben Sie mindestens 1 Suchbegriff ein"},
      {Ui::MsgTermTooShort, "Bitte geben Sie einen Suchbegriff mit mindestens 2 Buchstaben ein"},
      {Ui::BatchNoTerm, "Fehlerhafte Suchbegriffe (Kein Suchbegriff vorhanden)"},
      {Ui::BatchTermTooShort, "Fehlerhafte Suchbegriffe (zu wenig Zeichen)"},
      {Ui::NoPdfCreated, "Keine Pdf Datei erzeugt"},
      {Ui::UnpackError, "Entpack Fehler"},
      {Ui::SearchActive, "Suche ist aktiv"},
      {Ui::TitleError, "Fehler"},
      {Ui::TitleNotice, "Hinweis"},
      {Ui::TitleInformation, "Information"},
      {Ui::ModePlainText, "Klartext"},
      {Ui::ModeSoundex, "Soundex"},
      {Ui::ModeDoubleMetaphone, "Double Metaphone"},
      {Ui::ModeAllPhonetics, "Alle Phonetiken"},
      {Ui::ReportListEU, "EU Liste"},
      {Ui::ReportListUN, "UN Liste"},
      {Ui::ReportListBoE, "BoE Liste"},
      {Ui::ReportListUS, "US Listen"},
      {Ui::MsgLoginAsAdministrator,
       "Bitte melden Sie sich zum Download und zur Installation als Administrator an."},
  };
  for (const auto& [id, utf8] : expected_utf8) {
    EXPECT_EQ(UiText(id), Utf8ToCp1252(utf8)) << utf8;
  }
}

// Each umlaut and the sharp s must be one Windows-1252 byte, not the two bytes of UTF-8.
// Octal escapes: \337 is the sharp s, \344 a-umlaut, \366 o-umlaut, \374 u-umlaut.
TEST(UiTexts, UmlautsAreSingleWindows1252Bytes) {
  const std::map<Ui, std::string> expected_bytes = {
      {Ui::StreetLabel, "Stra\337e"},
      {Ui::ReportStreet, "Stra\337e :"},
      {Ui::TitleConfirmation, "Best\344tigung"},
      {Ui::ButtonConfirmPersonalisation, "Personalisierung best\344tigen"},
      {Ui::StatusCheckingProgramUpdate, "Pr\374fe auf Programmupdate"},
      {Ui::StatusNextDatabaseUpdate, "N\344chstes Datenbank Update nach Programmneustart in"},
      {Ui::ButtonApplyMailSettings, "Werte \374bernehmen"},
      {Ui::MsgPasswordsDiffer, "Die eingegebenen Passw\366rter sind nicht identisch"},
      {Ui::ReportCreatedFor, "Erstellt f\374r"},
  };
  for (const auto& [id, bytes] : expected_bytes) EXPECT_EQ(UiText(id), bytes) << Cp1252ToUtf8(bytes);
}

TEST(UiTexts, EveryEntryIsNonEmptyWindows1252) {
  // The only entry whose wording has a question mark; any other "?" is a character the conversion lost.
  const std::set<Ui> with_question_mark = {Ui::MsgContinueListSearch};
  for (Ui id : AllEntries()) {
    const std::string& text = UiText(id);
    const auto index = static_cast<int>(id);
    ASSERT_FALSE(text.empty()) << "entry " << index;
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(text)), text) << "entry " << index;
    EXPECT_EQ(text.find('?') != std::string::npos, with_question_mark.count(id) == 1) << "entry " << index;
    // 0xC3 leads every UTF-8 umlaut; a German text in Windows-1252 never holds it.
    EXPECT_EQ(text.find('\xC3'), std::string::npos) << "entry " << index;
    EXPECT_TRUE(
        std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        << "entry " << index;
  }
}

// Only the wordings that stand in several places may repeat, and each of them exactly twice.
TEST(UiTexts, OnlyTheSharedWordingsRepeat) {
  std::map<std::string, int> uses;
  for (Ui id : AllEntries()) ++uses[Cp1252ToUtf8(UiText(id))];
  std::set<std::string> repeated;
  for (const auto& [text, count] : uses) {
    if (count > 1) {
      repeated.insert(text);
      EXPECT_EQ(count, 2) << text;
    }
  }
  const std::set<std::string> expected = {"EU",
                                          "UN",
                                          "UK",
                                          "US",
                                          "Klartext",
                                          "Soundex",
                                          "Anzeigeauswahl einblenden",
                                          "Lade Listendatei",
                                          "Bitte prüfen Sie die Internetverbindung oder die",
                                          "Einstellungen Ihrer Firewall"};
  EXPECT_EQ(repeated, expected);
}

TEST(UiTexts, CountMatchesTheRows) {
  EXPECT_EQ(UiTextCount(), 252u);
  EXPECT_EQ(UiTextCount(), static_cast<std::size_t>(kLastUiText) + 1);
  EXPECT_EQ(UiText(static_cast<Ui>(UiTextCount())), "");
}

}  // namespace
}  // namespace vmk::text
