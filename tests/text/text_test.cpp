#include <gtest/gtest.h>

#include "text/codec.h"
#include "text/cp1252.h"
#include "text/date_mask.h"
#include "text/sql_text.h"

namespace vmk::text {
namespace {

TEST(CaseMapping, EverySmallLetterOfTheCodePageMapsToItsCapital) {
  struct Case {
    unsigned char small, capital;
  };
  const Case cases[] = {{'a', 'A'},           {'z', 'Z'},           {0x9A, 0x8A} /* š */,
                        {0x9C, 0x8C} /* œ */, {0x9E, 0x8E} /* ž */, {0xFF, 0x9F} /* ÿ */,
                        {0xE0, 0xC0} /* à */, {0xE4, 0xC4} /* ä */, {0xE7, 0xC7} /* ç */,
                        {0xF1, 0xD1} /* ñ */, {0xF6, 0xD6} /* ö */, {0xFC, 0xDC} /* ü */,
                        {0xFE, 0xDE} /* þ */};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.small));
    EXPECT_EQ(ToUpper1252(c.small), c.capital);
  }
}

TEST(CaseMapping, LeavesEveryOtherByteUnchanged) {
  for (int b : {0xDF /* ß */, 0xF7 /* ÷ */, 0xB5 /* µ */, 0xAA, 0xBA, 0x83 /* ƒ */, int{'1'}, int{' '},
                int{'~'}, 0xC4, int{'A'}}) {
    SCOPED_TRACE(b);
    EXPECT_EQ(ToUpper1252(static_cast<unsigned char>(b)), b);
  }
  EXPECT_EQ(ToUpper1252(Win1252("straße müller")), Win1252("STRAßE MÜLLER"));
}

TEST(AsciiCaseComparison, FoldsAToZOnly) {
  EXPECT_TRUE(EqualsIgnoringAsciiCase("GmbH", "gmbh"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase(Win1252("Müller"), Win1252("MÜLLER")));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("Bank", "Banks"));
}

TEST(Utf8Conversion, EveryByteOfTheCodePageRoundTrips) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_EQ(Utf8ToCp1252(utf8), all);
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(Cp1252ToUtf8("\xDF"), "\xC3\x9F");      // ß
}

TEST(Utf8Conversion, UnrepresentableAndMalformedInputBecomesQuestionMarks) {
  struct Case {
    const char* name;
    std::string utf8;
    std::string expected;
  };
  const Case cases[] = {
      {"cyrillic", "\xD0\x96x", "?x"},
      {"emoji",
       "a\xF0\x9F\x98\x80"
       "b",
       "a?b"},
      {"lone continuation", "\x80z", "?z"},
      {"truncated sequence", "\xC3", "?"},
      {"overlong slash", "\xC0\xAF", "??"},
      {"surrogate", "\xED\xA0\x80", "???"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToCp1252(c.utf8), c.expected);
  }
}

TEST(Trim, RemovesBlanksOnly) {
  EXPECT_EQ(TrimBlanks("  a  b  "), "a  b");
  EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
  EXPECT_EQ(TrimBlanks("   "), "");
}

TEST(DateMask, FormatsTheMasksInUse) {
  const DateTime when{2026, 3, 4, 7, 8, 9};
  struct Case {
    const char* mask;
    const char* expected;
  };
  const Case cases[] = {
      {"%dd.%mm.%yyyy", "04.03.2026"},
      {"%hh:%ii:%ss  Uhr / ", "07:08:09  Uhr / "},
      {"%YYYY-%MM-%DD-%HH-%II-%SS", "2026-03-04-07-08-09"},
      {"%dd.%mm.%yyyy | %hh:%ii:%ss ", "04.03.2026 | 07:08:09 "},
      {"%yy 100% %x", "26 100% %x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    EXPECT_EQ(FormatDate(c.mask, when), c.expected);
  }
}

TEST(DateMask, WallSecondsCountFrom1970WithoutTimeZone) {
  EXPECT_EQ(WallSeconds({1970, 1, 1, 0, 0, 0}), 0);
  EXPECT_EQ(WallSeconds({2000, 3, 1, 0, 0, 1}), 951868801);
  for (long long s : {0LL, 951868801LL, 1796000000LL, 4102444799LL}) {
    EXPECT_EQ(WallSeconds(FromWallSeconds(s)), s);
  }
}

TEST(Base64, EncodesAndDecodesWithPadding) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},        {"f", "Zg=="},          {"fo", "Zm8="},
      {"foo", "Zm9v"}, {"foobar", "Zm9vYmFy"}, {std::string("\xFF\x00\x10", 3), "/wAQ"}};
  for (const auto& [plain, encoded] : cases) {
    SCOPED_TRACE(encoded);
    EXPECT_EQ(Base64Encode(plain), encoded);
    EXPECT_EQ(Base64Decode(encoded), plain);
  }
  EXPECT_EQ(Base64Decode("Zm9v\r\nYmFy"), "foobar");
  for (const char* bad : {"Zm9", "Zm=v", "Z===", "Zm9v!A==", "=m9v"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(Base64Decode(bad).has_value());
  }
}

TEST(Hex, EncodesUpperCaseAndDecodesEitherCase) {
  EXPECT_EQ(HexEncode(std::string("\x00\xAB\x7F", 3)), "00AB7F");
  EXPECT_EQ(HexDecode("00ab7F"), std::string("\x00\xAB\x7F", 3));
  EXPECT_FALSE(HexDecode("ABC").has_value());
  EXPECT_FALSE(HexDecode("0G").has_value());
}

TEST(SqlValue, DoublesApostrophesAndNothingElse) {
  EXPECT_EQ(EscapeSqlValue("O'Brien"), "O''Brien");
  EXPECT_EQ(EscapeSqlValue("''"), "''''");
  EXPECT_EQ(EscapeSqlValue("50% _x; --"), "50% _x; --");
}

}  // namespace
}  // namespace vmk::text
