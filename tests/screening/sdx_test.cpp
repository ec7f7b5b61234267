#include "screening/sdx.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "text/cp1252.h"

namespace vmk::screening {
namespace {

using text::Win1252;

struct SdxCase {
  const char* name;
  std::string word;
  std::string key;
};

// Failure messages show the case by name instead of as raw bytes.
void PrintTo(const SdxCase& c, std::ostream* os) {
  *os << c.name;
}

std::string CaseName(const testing::TestParamInfo<SdxCase>& info) {
  return info.param.name;
}

class SdxKeyTest : public testing::TestWithParam<SdxCase> {};

TEST_P(SdxKeyTest, GivesKey) {
  EXPECT_EQ(SdxKey(GetParam().word), GetParam().key);
}

// The length limit counts the word as given, before anything is filtered out.
const std::vector<SdxCase> kLengthAndFilter = {
    {"OneLetter", "A", ""},
    {"LetterPair", "AL", ""},
    {"LetterAndSign", "A-", ""},
    {"ThreeCharsOneDropped", "A.B", "A1000000"},
    {"NothingAbove64", "123", "00000000"},
    {"AtSignDropped", "A@B", "A1000000"},
    {"BracketKept", "A[B", "A[100000"},
    {"ApostropheDroppedBeforeClusters", "K'NIGHT", "M6000000"},
    {"HyphenDroppedBeforePrefix", "P-SALM", "S7800000"},
};
INSTANTIATE_TEST_SUITE_P(LengthAndFilter, SdxKeyTest, testing::ValuesIn(kLengthAndFilter), CaseName);

const std::vector<SdxCase> kSoundAlikes = {
    {"Smith", "SMITH", "S8600000"},     {"Schmidt", "SCHMIDT", "S8600000"},
    {"Meyer", "MEYER", "M9000000"},     {"Maier", "MAIER", "M9000000"},
    {"Philipp", "PHILIPP", "F7100000"}, {"Filip", "FILIP", "F7100000"},
    {"Claus", "CLAUS", "G7300000"},     {"Klaus", "KLAUS", "G7300000"},
    {"Josef", "JOSEF", "I3200000"},     {"Yusuf", "YUSUF", "I3200000"},
    {"Mueller", "MUELLER", "M7900000"}, {"UmlautStaysInKey", Win1252("MÜLLER"), Win1252("MÜ790000")},
    {"LowerCase", "smith", "S8600000"}, {"LowerCaseUmlaut", Win1252("müller"), Win1252("MÜ790000")},
};
INSTANTIATE_TEST_SUITE_P(SoundAlikes, SdxKeyTest, testing::ValuesIn(kSoundAlikes), CaseName);

const std::vector<SdxCase> kFirstLetter = {
    {"PBecomesB", "PETER", "B6900000"}, {"TBecomesD", "TOM", "D8000000"},
    {"VBecomesF", "VAN", "F8000000"},   {"WBecomesF", "WAN", "F8000000"},
    {"QBecomesG", "QUINN", "G8000000"}, {"XBecomesG", "XENA", "G8000000"},
    {"NBecomesM", "NINA", "M8000000"},  {"UBecomesO", "UWE", "O0000000"},
    {"ZBecomesS", "ZOE", "S0000000"},   {"AccentedKept", Win1252("ÉMILE"), Win1252("É8700000")},
};
INSTANTIATE_TEST_SUITE_P(FirstLetter, SdxKeyTest, testing::ValuesIn(kFirstLetter), CaseName);

// A deleted letter stays a marker until all reductions have run, so it still separates its neighbours.
const std::vector<SdxCase> kClusters = {
    {"KnAndGh", "KNIGHT", "M6000000"},
    {"KnMarkerBlocksGn", "GKNOT", "G8600000"},
    {"DgThenGh", "DGH", "H0000000"},
    {"MbMarkerBlocksMps", "AMBPS", "A8130000"},
    {"InputTildeBlocksKn", "K~NOT", "G8600000"},
    {"PrefixPs", "PSALM", "S7800000"},
    {"PrefixPf", "PFEIFFER", "F2900000"},
    {"InputTildeHidesPrefix", "~PSALM", "B3780000"},
    {"Dg", "EDGAR", "E4900000"},
    {"Gn", "GNOME", "M8000000"},
    {"Mb", "LAMB", "L8000000"},
    {"PhInside", "STEPHAN", "S6280000"},
    {"Tch", "KETCHUP", "G3100000"},
    {"Mps", "THOMPSON", "D8380000"},
    {"Mpt", "TEMPT", "D8600000"},
    {"Mpz", "LEMPZ", "L8500000"},
};
INSTANTIATE_TEST_SUITE_P(Clusters, SdxKeyTest, testing::ValuesIn(kClusters), CaseName);

// Runs fold before the zeros go, and the first letter's run goes with it.
const std::vector<SdxCase> kFolding = {
    {"RunsOfEqualCodes", "ZIMMERMANN", "S8988000"},
    {"VowelKeepsEqualCodesApart", "BOB", "B1000000"},
    {"RunJoinedToFirstLetter", "LLOYD", "L6000000"},
    {"CutToEightAfterZerosGo", "SZCZEPANKIEWICZ", "S5351833"},
};
INSTANTIATE_TEST_SUITE_P(Folding, SdxKeyTest, testing::ValuesIn(kFolding), CaseName);

}  // namespace
}  // namespace vmk::screening
