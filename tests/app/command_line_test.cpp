#include "app/command_line.h"

#include <gtest/gtest.h>

#include "app/startup.h"
#include "text/cp1252.h"

namespace vmk::app {
namespace {

TEST(SplitSearchArgument, FieldsFollowTheSeparators) {
  struct Case {
    const char* argument;
    std::array<std::string, 4> terms;
  };
  const Case cases[] = {
      {"A;B;C;D", {"A", "B", "C", "D"}},
      {"A;B;C;D;E", {"A", "B", "C", "D;E"}},
      {"A;B", {"A", "", "", ""}},
      {"A;B;C", {"A", "B", "", ""}},
      {"Bank Melli", {"", "", "", ""}},
      {"\"Bank\";;;", {"\"Bank\"", "", "", ""}},
      {";;;Teheran", {"", "", "", "Teheran"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitSearchArgument(c.argument), c.terms) << c.argument;
}

TEST(ParseProxyText, FourNumbersAndThePort) {
  struct Case {
    const char* proxy;
    std::array<std::string, 2> fields;
  };
  const Case cases[] = {
      {"-1", {"", ""}},
      {"", {"", ""}},
      {"192.168.10.5:8080", {"192.168.10.5", "8080"}},
      {"10.0.x.7:3128", {"10.0.0.7", "3128"}},
      {"10.1:80", {"10.1.0.0", "80"}},
      {"proxy.example:80", {"0.0.0.0", "80"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseProxyText(c.proxy), c.fields) << c.proxy;
}

TEST(UpdateCountdown, HoursAndTwoDigitMinutesUntilTheNextStartWouldUpdate) {
  EXPECT_EQ(text::Cp1252ToUtf8(UpdateCountdownText(1000, 1000)),
            "Nächstes Datenbank Update nach Programmneustart in 8:00 h");
  EXPECT_EQ(text::Cp1252ToUtf8(UpdateCountdownText(1000 + 2 * 3600 + 53 * 60, 1000)),
            "Nächstes Datenbank Update nach Programmneustart in 5:07 h");
  EXPECT_EQ(UpdateCountdownText(1000 + 28800, 1000), "");
}

TEST(CommandLineTexts, HelpAndInstallationCheck) {
  const std::string help = text::Cp1252ToUtf8(HelpText());
  EXPECT_TRUE(help.starts_with("Programm Übergabeparameter\r\r/l  = Startet im Logmodus.\r\r"));
  EXPECT_TRUE(help.ends_with("\r\r/?;/help = zeigt diese Information an\r"));
  EXPECT_EQ(RemoveQuotes("\"C:\\Liste \"a\".csv\""), "C:\\Liste a.csv");
  EXPECT_EQ(text::Cp1252ToUtf8(InstallationCheckText("support@veldmark.example")),
            "Der Installationscheck wurde beendet.\rBitte senden Sie die erzeugte Kontrolldatei\r"
            "\"VMK_Installation_Check.txt\"\ran die e-mail Adresse: support@veldmark.example \r"
            "Vielen Dank für Ihre Unterstützung");
}

}  // namespace
}  // namespace vmk::app
