// The Windows-1252 form of list texts: kept where the code page has the character, romanised where it
// has not, "?" for other scripts and for malformed bytes; and the list date forms.
#include "publish/list_text.h"

#include <gtest/gtest.h>

#include "publish/list_reader.h"
#include "text/cp1252.h"

namespace vmk::publish {
namespace {

using text::Win1252;

struct TextCase {
  const char* name;
  std::string utf8;
  std::string expected;  // Windows-1252
};

TEST(ListText, KeepsRomanisesOrMarksEachCharacter) {
  const TextCase cases[] = {
      {"code page kept", "Müller Straße Šimon Žižek Œuvre €", Win1252("Müller Straße Šimon Žižek Œuvre €")},
      {"latin marks", "Łukasz Gőbel Şahin Ćosić Čapek Ąę Ğğ ıİ Řehoř Ůů Āmir Ţară Ștefan Nguyễn Ḥasan",
       "Lukasz Gobel Sahin Cosic Capek Ae Gg iI Rehor Uu Amir Tara Stefan Nguyen Hasan"},
      {"ligature", "Ĳssel", "IJssel"},
      {"russian", "Щукин Жуков Хабаров Цой Чехов Шишкин Юрий Яков Ёлкин Йошкар Крылов Мягков Подъячев",
       "Shchukin Zhukov Khabarov Tsoy Chekhov Shishkin Yuriy Yakov Yolkin Yoshkar Krylov Myagkov Podyachev"},
      {"capitals stay capitals", "ЩЕРБАКОВ ЖАННА Щ", "SHCHERBAKOV ZHANNA Shch"},
      {"ukrainian", "Євген Іван Їжак Ґанна", "Yevgen Ivan Yizhak Ganna"},
      {"greek", "Γεωργίου Θεοδωράκης ΧΑΤΖΗΣ Ψαρράς", "Georgiou Theodorakis CHATZIS Psarras"},
      {"combining mark dropped", "Jose\xCC\x81", "Jose"},
      {"dashes and blanks",
       "A\xE2\x80\x90"
       "B\xE2\x80\x83"
       "C",
       "A-B C"},
      {"other scripts", "محمد 金", "???? ?"},
      {"malformed bytes, one mark each", "A\xC3(B\xFF\xE2\x82", "A?(B???"},
      {"question mark itself", "Who?", "Who?"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(ToListText(c.utf8), c.expected) << c.name;
}

TEST(ListText, FileContentIsUtf8OnlyWhenWellFormed) {
  EXPECT_EQ(FileContentToListText("\xEF\xBB\xBFJos\xC3\xA9"), Win1252("José"));
  EXPECT_EQ(FileContentToListText("Jos\xC3\xA9 \xD0\x96"), Win1252("José Zh"));
  // A Windows-1252 file (as the UK list is published) stays byte for byte.
  EXPECT_EQ(FileContentToListText("Da\x92"
                                  "esh \x93"
                                  "A\x94"),
            "Da\x92"
            "esh \x93"
            "A\x94");
}

TEST(ListText, DatesOfTheFiles) {
  EXPECT_EQ(ListDate("2022-10-28T16:30:52.045+02:00"), "28.10.2022");
  EXPECT_EQ(ListDate("28/02/2020"), "28.02.2020");
  EXPECT_EQ(ListDate("28.02.2020"), "-");
  EXPECT_EQ(ListDate(""), "-");
}

}  // namespace
}  // namespace vmk::publish
