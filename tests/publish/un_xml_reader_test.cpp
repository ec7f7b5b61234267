// The UN consolidated-list reader: the rows and columns of a small list, the errors of files it
// cannot read, and the real published list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "publish/list_reader.h"
#include "support/test_support.h"

namespace vmk::publish {
namespace {

namespace fs = std::filesystem;
using Row = std::map<std::string, std::string>;

// One individual with two aliases (one written empty, as the list does), two addresses, a birth
// date and a document; one entity with an alias. Entities, CDATA, a character reference and a
// comment show that the text arrives decoded.
constexpr const char* kSmallList = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<!-- generated for the reader test -->
<CONSOLIDATED_LIST dateGenerated="2026-02-27T00:00:09.554Z">
  <INDIVIDUALS>
    <INDIVIDUAL>
      <DATAID>6908001</DATAID>
      <VERSIONNUM>2</VERSIONNUM>
      <FIRST_NAME>J&#252;RGEN</FIRST_NAME>
      <SECOND_NAME>AL</SECOND_NAME>
      <THIRD_NAME>MASRI</THIRD_NAME>
      <UN_LIST_TYPE>Al-Qaida</UN_LIST_TYPE>
      <REFERENCE_NUMBER>QDi.001</REFERENCE_NUMBER>
      <LISTED_ON>2001-01-25</LISTED_ON>
      <NAME_ORIGINAL_SCRIPT>JURGEN</NAME_ORIGINAL_SCRIPT>
      <COMMENTS1><![CDATA[Father's name <unknown>.]]>
 Lives   in Hamburg.</COMMENTS1>
      <DESIGNATION><VALUE>Financier</VALUE></DESIGNATION>
      <NATIONALITY><VALUE>Germany</VALUE><VALUE>Egypt</VALUE></NATIONALITY>
      <LIST_TYPE><VALUE>UN List</VALUE></LIST_TYPE>
      <LAST_DAY_UPDATED><VALUE>2010-05-01</VALUE><VALUE>2019-02-12</VALUE></LAST_DAY_UPDATED>
      <INDIVIDUAL_ALIAS><QUALITY>Good</QUALITY><ALIAS_NAME>Abu Bakr</ALIAS_NAME></INDIVIDUAL_ALIAS>
      <INDIVIDUAL_ALIAS><QUALITY/><ALIAS_NAME/></INDIVIDUAL_ALIAS>
      <INDIVIDUAL_ALIAS><QUALITY>Low</QUALITY><ALIAS_NAME>Al Hamburgi</ALIAS_NAME></INDIVIDUAL_ALIAS>
      <INDIVIDUAL_ADDRESS>
        <STREET>Steindamm 5</STREET><CITY>Hamburg</CITY><ZIP_CODE>20099</ZIP_CODE><COUNTRY>Germany</COUNTRY>
        <NOTE>as of 2009</NOTE>
      </INDIVIDUAL_ADDRESS>
      <INDIVIDUAL_ADDRESS><COUNTRY>Egypt</COUNTRY></INDIVIDUAL_ADDRESS>
      <INDIVIDUAL_DATE_OF_BIRTH><TYPE_OF_DATE>APPROXIMATELY</TYPE_OF_DATE><YEAR>1966</YEAR></INDIVIDUAL_DATE_OF_BIRTH>
      <INDIVIDUAL_DATE_OF_BIRTH><TYPE_OF_DATE>BETWEEN</TYPE_OF_DATE><FROM_YEAR>1960</FROM_YEAR><TO_YEAR>1962</TO_YEAR></INDIVIDUAL_DATE_OF_BIRTH>
      <INDIVIDUAL_PLACE_OF_BIRTH><CITY>Cairo</CITY><COUNTRY>Egypt</COUNTRY></INDIVIDUAL_PLACE_OF_BIRTH>
      <INDIVIDUAL_DOCUMENT>
        <TYPE_OF_DOCUMENT>Passport</TYPE_OF_DOCUMENT><NUMBER>C1234567</NUMBER>
        <ISSUING_COUNTRY>Germany</ISSUING_COUNTRY><NOTE>expired</NOTE>
      </INDIVIDUAL_DOCUMENT>
      <SORT_KEY/>
      <SORT_KEY_LAST_MOD/>
    </INDIVIDUAL>
  </INDIVIDUALS>
  <ENTITIES>
    <ENTITY>
      <DATAID>6908402</DATAID>
      <VERSIONNUM>1</VERSIONNUM>
      <FIRST_NAME>SHIPPING &amp; TRADE CO.</FIRST_NAME>
      <UN_LIST_TYPE>DPRK</UN_LIST_TYPE>
      <REFERENCE_NUMBER>KPe.001</REFERENCE_NUMBER>
      <LISTED_ON>2016-03-02</LISTED_ON>
      <COMMENTS1/>
      <LIST_TYPE><VALUE>UN List</VALUE></LIST_TYPE>
      <ENTITY_ALIAS><QUALITY>a.k.a.</QUALITY><ALIAS_NAME>STC</ALIAS_NAME></ENTITY_ALIAS>
      <ENTITY_ADDRESS><STREET>Sungri Street</STREET><CITY>Pyongyang</CITY></ENTITY_ADDRESS>
      <SORT_KEY/>
      <SORT_KEY_LAST_MOD/>
    </ENTITY>
  </ENTITIES>
</CONSOLIDATED_LIST>
)";

fs::path WriteFile(const testing::TempDir& dir, const std::string& name, const std::string& content) {
  const fs::path file = dir / name;
  std::ofstream(file, std::ios::binary) << content;
  return file;
}

Row Values(const ListEntry& entry) {
  Row row;
  for (const auto& [column, value] : entry.values) row[column] = value.value_or("<NULL>");
  return row;
}

TEST(UnXmlReader, SmallListGivesOneRowPerNameVariantWithEveryColumn) {
  testing::TempDir dir;
  const ListRead read = ReadUnConsolidatedXml(WriteFile(dir, "consolidated.xml", kSmallList));
  ASSERT_TRUE(read.Ok()) << read.error;
  EXPECT_EQ(read.date, "27.02.2026");
  ASSERT_EQ(read.entries.size(), 5u);  // individual: main name and two aliases; entity: main and one

  const Row individual = {
      {"RowId", "1"},
      {"DataId", "6908001"},
      {"Version", "2"},
      {"FirstName", "J\xFCRGEN"},
      {"SecondName", "AL MASRI"},
      {"UNListType", "Al-Qaida"},
      {"ReferenceNumber", "QDi.001"},
      {"ListedOn", "2001-01-25"},
      {"OriginalName", "JURGEN"},
      {"Comments1", "Father's name <unknown>. Lives in Hamburg."},
      {"Nationality", "Germany; Egypt"},
      {"ListType", "UN List"},
      {"LastUpdate", "2010-05-01; 2019-02-12"},
      {"Alias", ""},
      {"Address", "Steindamm 5, Hamburg, 20099, Germany (as of 2009); Egypt"},
      {"BirthDate", "APPROXIMATELY 1966; 1960-1962"},
      {"BirthPlace", "Cairo, Egypt"},
      {"Document", "Passport, C1234567, Germany (expired)"},
      {"SortKey", ""},
      {"SortDate", ""},
  };
  EXPECT_EQ(Values(read.entries[0]), individual);
  Row alias = individual;
  alias["RowId"] = "2";
  alias["Alias"] = "Abu Bakr";
  EXPECT_EQ(Values(read.entries[1]), alias);
  alias["RowId"] = "3";
  alias["Alias"] = "Al Hamburgi";
  EXPECT_EQ(Values(read.entries[2]), alias);

  Row entity = {
      {"RowId", "4"},
      {"DataId", "6908402"},
      {"Version", "1"},
      {"FirstName", "SHIPPING & TRADE CO."},
      {"SecondName", ""},
      {"UNListType", "DPRK"},
      {"ReferenceNumber", "KPe.001"},
      {"ListedOn", "2016-03-02"},
      {"OriginalName", ""},
      {"Comments1", ""},
      {"Nationality", ""},
      {"ListType", "UN List"},
      {"LastUpdate", ""},
      {"Alias", ""},
      {"Address", "Sungri Street, Pyongyang"},
      {"BirthDate", ""},
      {"BirthPlace", ""},
      {"Document", ""},
      {"SortKey", ""},
      {"SortDate", ""},
  };
  EXPECT_EQ(Values(read.entries[3]), entity);
  entity["RowId"] = "5";
  entity["Alias"] = "STC";
  EXPECT_EQ(Values(read.entries[4]), entity);
  for (const ListEntry& row : read.entries) EXPECT_EQ(row.list, screening::ListId::UN);
}

TEST(UnXmlReader, RowsFitTheUnTableOfTheDatabase) {
  testing::TempDir dir;
  const ListRead read = ReadUnConsolidatedXml(WriteFile(dir, "consolidated.xml", kSmallList));
  ASSERT_TRUE(read.Ok()) << read.error;
  SanctionsData data;
  data.entries = read.entries;
  data.dates[1] = read.date;
  EXPECT_EQ(WriteSanctionsDatabase(dir / "KESTO.adb", data), "");
}

TEST(UnXmlReader, ListWithoutDateOrEntriesReadsEmpty) {
  testing::TempDir dir;
  const ListRead read = ReadUnConsolidatedXml(
      WriteFile(dir, "consolidated.xml", "<CONSOLIDATED_LIST><INDIVIDUALS/><ENTITIES/></CONSOLIDATED_LIST>"));
  ASSERT_TRUE(read.Ok()) << read.error;
  EXPECT_EQ(read.date, "-");
  EXPECT_TRUE(read.entries.empty());
}

TEST(UnXmlReader, UnreadableFilesGiveTheFileAndLine) {
  const std::string small = kSmallList;
  const std::string truncated = small.substr(0, small.find("<ENTITY_ALIAS>") + 20);
  const std::string truncatedLine =
      ":" + std::to_string(std::count(truncated.begin(), truncated.end(), '\n') + 1) + ": ";
  struct Case {
    const char* name;
    std::string content;  // the case "missing" writes no file
    std::string where;    // ":<line>: " the error names
    const char* reason;   // a part of the reason that follows
  };
  const Case cases[] = {
      {"truncated", truncated, truncatedLine, "ends inside element ENTITY_ALIAS (truncated)"},
      {"mismatched tag", "<CONSOLIDATED_LIST>\n<INDIVIDUALS>\n</ENTITIES>\n</CONSOLIDATED_LIST>\n",
       ":3: ", "mismatched tag"},
      {"csv", "Name,Address\nJohn Smith,London\n", ":1: ", "not an XML file"},
      {"empty", "", ":1: ", "empty file"},
      {"other root", "<?xml version=\"1.0\"?>\n<sdnList/>\n", ":2: ", "sdnList is not CONSOLIDATED_LIST"},
      {"missing", "", ":0: ", "cannot open"},
  };
  testing::TempDir dir;
  for (const Case& c : cases) {
    const std::string name = std::string(c.name) + ".xml";
    const fs::path file = std::string(c.name) == "missing" ? dir / name : WriteFile(dir, name, c.content);
    const ListRead read = ReadUnConsolidatedXml(file);
    EXPECT_EQ(read.error.rfind(file.string() + c.where, 0), 0u) << c.name << ": " << read.error;
    EXPECT_NE(read.error.find(c.reason), std::string::npos) << c.name << ": " << read.error;
    EXPECT_TRUE(read.entries.empty()) << c.name;
  }
}

fs::path RealList() {
  const char* source = std::getenv("VELDMARK_SOURCE_DIR");
  return fs::path(source != nullptr ? source : ".") / ".." / "shared" / "data" / "lists" / "un" /
         "consolidated.xml";
}

TEST(UnXmlReader, RealListReadsEveryEntryAndAlias) {
  const fs::path file = RealList();
  if (!fs::exists(file)) GTEST_SKIP() << "the real UN list is not at " << file;
  const ListRead read = ReadUnConsolidatedXml(file);
  ASSERT_TRUE(read.Ok()) << read.error;
  EXPECT_EQ(read.date, "27.02.2026");
  // 730 individuals and 273 entities, each with its main name and every alias that has a name.
  EXPECT_EQ(read.entries.size(), 2869u + 886u);
  std::map<std::string, int> rowsPerReference;
  for (const ListEntry& row : read.entries) ++rowsPerReference[*row.values.at("ReferenceNumber")];
  EXPECT_EQ(rowsPerReference.size(), 730u + 273u);

  bool aliasFound = false;
  for (const ListEntry& row : read.entries) {
    if (*row.values.at("Alias") != "AIGLE BLANC") continue;
    aliasFound = true;
    EXPECT_EQ(*row.values.at("FirstName"), "FRANK KAKOLELE");
    EXPECT_EQ(*row.values.at("SecondName"), "BWAMBALE");
    EXPECT_EQ(*row.values.at("ReferenceNumber"), "CDi.002");
    EXPECT_NE(row.values.at("Address")->find("Kinshasa"), std::string::npos);
  }
  EXPECT_TRUE(aliasFound);
}

}  // namespace
}  // namespace vmk::publish
