#include "screening/double_metaphone.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "text/cp1252.h"

namespace vmk::screening {
namespace {

using text::Win1252;

struct DmCase {
  const char* name;
  std::string text;
  const char* primary;
  const char* alternate;
};

// Failure messages show the case by name instead of as raw bytes.
void PrintTo(const DmCase& c, std::ostream* os) {
  *os << c.name;
}

std::string CaseName(const testing::TestParamInfo<DmCase>& info) {
  return info.param.name;
}

class DoubleMetaphoneTest : public testing::TestWithParam<DmCase> {};

TEST_P(DoubleMetaphoneTest, GivesKeys) {
  const DmCase& c = GetParam();
  const MetaphoneKeys keys = DoubleMetaphone(c.text);
  EXPECT_EQ(keys.primary, c.primary);
  EXPECT_EQ(keys.alternate, c.alternate);
}

const std::vector<DmCase> kNothingToEncode = {
    {"Empty", "", "", ""},
    {"Blanks", "   ", "", ""},
    {"Digits", "1234", "", ""},
    {"UmlautsOnly", Win1252("ÄÖÜ"), "", ""},
};
INSTANTIATE_TEST_SUITE_P(NothingToEncode, DoubleMetaphoneTest, testing::ValuesIn(kNothingToEncode), CaseName);

const std::vector<DmCase> kCommonNames = {
    {"Smith", "SMITH", "SMO", "XMT"},
    {"Thomas", "THOMAS", "TMS", "TMS"},
    {"Thumb", "THUMB", "OM", "TM"},
    {"Schmidt", "SCHMIDT", "XMT", "SMT"},
    {"Schneider", "SCHNEIDER", "XNTR", "SNTR"},
    {"MuellerWithUmlaut", Win1252("MÜLLER"), "MLR", "MLR"},
    {"Agnes", "AGNES", "AKNS", "ANS"},
    {"Gnome", "GNOME", "NM", "NM"},
    {"Knight", "KNIGHT", "NT", "NT"},
    {"Wright", "WRIGHT", "RT", "RT"},
    {"Xavier", "XAVIER", "SF", "SFR"},
    {"Olivier", "OLIVIER", "ALF", "ALFR"},
    {"Meier", "MEIER", "MR", "MR"},
    {"Caesar", "CAESAR", "SSR", "SSR"},
    {"Felix", "FELIX", "FLKS", "FLKS"},
    {"Max", "MAX", "MKS", "MKS"},
    {"Alexander", "ALEXANDER", "ALKS", "ALKS"},
    {"Breaux", "BREAUX", "PR", "PR"},
    {"Abbott", "ABBOTT", "APT", "APT"},
    {"Philip", "PHILIP", "FLP", "FLP"},
    {"Campbell", "CAMPBELL", "KMPL", "KMPL"},
    {"Cabrillo", "CABRILLO", "KPRL", "KPR"},
    {"Edgar", "EDGAR", "ATKR", "ATKR"},
    {"Edge", "EDGE", "AJ", "AJ"},
    {"Ahola", "AHOLA", "AHL", "AHL"},
    {"Zhao", "ZHAO", "J", "J"},
    {"ApostropheSteppedOver", "O'BRIEN", "APRN", "APRN"},
    {"SharpSStaysCodeless", Win1252("Straße"), "STR", "STR"},
    {"LeadingBlankIsNotTrimmed", " SMITH", "SMO", "SMT"},
    {"LowerCase", "smith", "SMO", "XMT"},
};
INSTANTIATE_TEST_SUITE_P(CommonNames, DoubleMetaphoneTest, testing::ValuesIn(kCommonNames), CaseName);

const std::vector<DmCase> kLetterC = {
    {"GermanicAchBeforeE", "BACHER", "PKR", "PKR"},
    {"GermanicAchBeforeO", "MACHO", "MK", "MK"},
    {"Chia", "CHIANTI", "KNT", "KNT"},
    {"ChaeInside", "MICHAEL", "MKL", "MXL"},
    {"GreekInitialCh", "CHARACTER", "KRKT", "KRKT"},
    {"ChoreIsNotGreek", "CHORE", "XR", "XR"},
    {"Orches", "ORCHESTRA", "ARKS", "ARKS"},
    {"InitialChBeforeConsonant", "CHRIST", "KRST", "KRST"},
    {"PlainCh", "CHURCH", "XRX", "XRK"},
    {"ChAfterMc", "MCHUGH", "MK", "MK"},
    {"Cz", "CZERNY", "SRN", "XRN"},
    {"Ccia", "FOCACCIA", "FKX", "FKX"},
    {"CcAfterInitialA", "ACCIDENT", "AKST", "AKST"},
    {"Ucces", "SUCCESS", "SKSS", "SKSS"},
    {"CcBeforeHu", "BACCHUS", "PKS", "PKS"},
    {"CcBeforeE", "BOCCE", "PX", "PX"},
    {"NoCcRuleAnywhereAfterMcc", "MCCOY ACCENT", "MKKS", "MKKS"},
    {"Ck", "DICKSON", "TKSN", "TKSN"},
    {"Cio", "CIOFFI", "SF", "XF"},
    {"CAcrossBlank", "MAC CAFFREY", "MKFR", "MKFR"},
};
INSTANTIATE_TEST_SUITE_P(LetterC, DoubleMetaphoneTest, testing::ValuesIn(kLetterC), CaseName);

const std::vector<DmCase> kLetterG = {
    {"GhAfterU", "LAUGH", "LF", "LF"},
    {"GhSilentAfterH", "HUGH", "H", "H"},
    {"GhSilentFourAfterB", "BROUGHTON", "PRTN", "PRTN"},
    {"GhSoundsFourAfterD", "DRAUGHT", "TRFT", "TRFT"},
    {"InitialGhi", "GHISLAINE", "JLN", "JLN"},
    {"GnBeforeEy", "CAGNEY", "KKN", "KKN"},
    {"GnInside", "DIGNITY", "TNT", "TKNT"},
    {"Gli", "TAGLIA", "TKL", "TL"},
    {"InitialGer", "GERALD", "KRLT", "JRLT"},
    {"GerInside", "ROGER", "RKR", "RJR"},
    {"Danger", "DANGER", "TNJR", "TNKR"},
    {"Get", "GETTY", "KT", "KT"},
    {"FinalGier", "ROGIER", "RJ", "RJR"},
    {"GiTwice", "GIORGIO", "JRJ", "KRK"},
    {"Aggi", "MAGGIO", "MJ", "MK"},
};
INSTANTIATE_TEST_SUITE_P(LetterG, DoubleMetaphoneTest, testing::ValuesIn(kLetterG), CaseName);

const std::vector<DmCase> kLettersJSTW = {
    {"FinalJ", "RAJ", "RJ", "R"},
    {"DoubleJ", "HAJJI", "HJ", "HJ"},
    {"JoseAlone", "JOSE", "HS", "HS"},
    {"JoseInLongerWord", "JOSEPH", "JSF", "HSF"},
    {"SanJoseAsOneText", "SAN JOSE", "SNHS", "SNHS"},
    {"JBetweenVowels", "MAJA", "MJ", "MH"},
    {"SilentIsl", "CARLISLE", "KRLL", "KRLL"},
    {"Sugar", "SUGAR", "XKR", "SKR"},
    {"ShHeim", "SHEIMAN", "SMN", "SMN"},
    {"Sia", "ASIA", "AS", "AX"},
    {"InitialSn", "SNIDER", "SNTR", "XNTR"},
    {"FinalFrenchS", "DUBOIS", "TP", "TPS"},
    {"DutchSchoo", "SCHOOL", "SKL", "SKL"},
    {"Scher", "SCHERZO", "XRS", "SKRS"},
    {"SchBeforeW", "SCHWARZ", "XRS", "XFRT"},
    {"Sci", "SCIENCE", "SNS", "SNS"},
    {"Sco", "SCOTT", "SKT", "SKT"},
    {"ThBeforeVowel", "ARTHUR", "AROR", "ARTR"},
    {"TthAndFinalW", "MATTHEW", "MO", "MTF"},
    {"Tion", "NATION", "NXN", "NXN"},
    {"Tch", "BUTCHER", "PXR", "PXR"},
    {"InitialWh", "WHITE", "AT", "AT"},
    {"FinalWAfterVowel", "SHAW", "X", "XF"},
};
INSTANTIATE_TEST_SUITE_P(LettersJSTW, DoubleMetaphoneTest, testing::ValuesIn(kLettersJSTW), CaseName);

// W, K or CZ anywhere marks a Slavic or Germanic text.
const std::vector<DmCase> kSlavoGermanic = {
    {"ZAfterVowelWithK", "KOZAK", "KSK", "KTSK"},
    {"ZWithoutFlag", "LAZAR", "LSR", "LSR"},
    {"ZAfterT", "KATZ", "KTS", "KTS"},
    {"DoubleZ", "PIZZA", "PS", "PS"},
    {"Witz", "WITZEL", "ATSL", "FFXL"},
    {"GnWithW", "WAGNER", "AKNR", "FKNR"},
    {"JBetweenVowelsWithK", "KAJA", "KJ", "KJ"},
    {"JBetweenVowelsWithCz", "CZAJA", "SJ", "XJ"},
    {"SiaWithK", "KASIA", "KS", "KS"},
};
INSTANTIATE_TEST_SUITE_P(SlavoGermanic, DoubleMetaphoneTest, testing::ValuesIn(kSlavoGermanic), CaseName);

const std::vector<DmCase> kCedillaAndTilde = {
    {"LowerCaseCedilla", Win1252("çelik"), "SLK", "SLK"},
    {"DoubleCedilla", Win1252("AÇÇA"), "AS", "AS"},
    {"DoubleN", "PENNA", "PN", "PN"},
    {"Tilde", Win1252("PEÑA"), "PN", "PN"},
    {"TildeThenN", Win1252("PEÑNA"), "PN", "PN"},
    {"NThenTilde", Win1252("PENÑA"), "PN", "PN"},
    {"DoubleTilde", Win1252("PEÑÑA"), "PN", "PN"},
    {"LowerCaseTilde", Win1252("peña"), "PN", "PN"},
};
INSTANTIATE_TEST_SUITE_P(CedillaAndTilde, DoubleMetaphoneTest, testing::ValuesIn(kCedillaAndTilde), CaseName);

// The loop ends when the primary key is full; both keys are cut to four.
const std::vector<DmCase> kKeyLength = {
    {"SecondWordCutShort", "JOHN SMITH", "JNSM", "ANSM"},
    {"AlternateStopsWithPrimary", "VALLEJOSTA", "FLJS", "FHS"},
    {"AlternateCutToFour", "JANKOWSKI", "JNKS", "ANKF"},
    {"BothCutAfterTwoLetterCodes", "FILIPOWICZ", "FLPT", "FLPF"},
};
INSTANTIATE_TEST_SUITE_P(KeyLength, DoubleMetaphoneTest, testing::ValuesIn(kKeyLength), CaseName);

}  // namespace
}  // namespace vmk::screening
