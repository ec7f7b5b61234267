// The readers of the CSV list formats (EU financial sanctions file, UK consolidated list, OFAC SDN
// files, US consolidated screening list) on small files: which field lands in which column, one row per
// name variant, and the errors of files they cannot read.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "publish/list_reader.h"
#include "support/test_support.h"

namespace vmk::publish {
namespace {

namespace fs = std::filesystem;
using screening::ListId;
using text::Win1252;

std::string Value(const ListEntry& entry, const std::string& column) {
  const auto it = entry.values.find(column);
  if (it == entry.values.end()) return "<absent>";
  return it->second ? *it->second : "<NULL>";
}

// Every own field of the table is stored, none as NULL.
void ExpectEveryFieldStored(const ListRead& read, ListId list) {
  const screening::ListSchema& schema = screening::Schema(list);
  for (const ListEntry& entry : read.entries) {
    for (int position = 0; position < schema.fieldEnd; ++position) {
      const std::string& column = schema.columns[static_cast<std::size_t>(position)].name;
      ASSERT_NE(Value(entry, column), "<absent>") << column;
      ASSERT_NE(Value(entry, column), "<NULL>") << column;
    }
  }
}

// An EU file line from column/value pairs (UTF-8); the columns not given stay empty.
const std::vector<std::string> kEuColumns = {"fileGenerationDate",
                                             "Entity_LogicalId",
                                             "Entity_EU_ReferenceNumber",
                                             "Entity_Remark",
                                             "Entity_SubjectType",
                                             "Entity_Regulation_NumberTitle",
                                             "Entity_Regulation_PublicationDate",
                                             "Entity_Regulation_PublicationUrl",
                                             "Entity_Regulation_Programme",
                                             "NameAlias_LastName",
                                             "NameAlias_FirstName",
                                             "NameAlias_MiddleName",
                                             "NameAlias_WholeName",
                                             "NameAlias_NameLanguage",
                                             "NameAlias_Gender",
                                             "NameAlias_Title",
                                             "NameAlias_Function",
                                             "NameAlias_LogicalId",
                                             "Address_City",
                                             "Address_Street",
                                             "Address_PoBox",
                                             "Address_ZipCode",
                                             "Address_CountryDescription",
                                             "Address_LogicalId",
                                             "BirthDate_BirthDate",
                                             "BirthDate_City",
                                             "BirthDate_CountryDescription",
                                             "BirthDate_LogicalId",
                                             "Identification_Number",
                                             "Identification_TypeDescription",
                                             "Identification_CountryDescription",
                                             "Identification_LogicalId",
                                             "Citizenship_CountryDescription",
                                             "Some_Future_Column"};

std::string EuLine(std::map<std::string, std::string> values) {
  std::string line;
  for (const std::string& column : kEuColumns) {
    const std::string value = values[column];
    line += (line.empty() ? "" : ";") + (value.find(';') != std::string::npos ? "\"" + value + "\"" : value);
  }
  return line + "\r\n";
}

std::string EuHeader() {
  std::string line;
  for (const std::string& column : kEuColumns) line += (line.empty() ? "" : ";") + column;
  return line + "\r\n";
}

// A person with two aliases, two addresses, a birth date and a passport, each on a row of its own; an
// enterprise whose one alias is repeated on the rows of its two addresses.
std::string EuFile() {
  const std::map<std::string, std::string> person = {
      {"fileGenerationDate", "28/10/2022"},
      {"Entity_LogicalId", "13"},
      {"Entity_EU_ReferenceNumber", "EU.27.28"},
      {"Entity_Remark", "Former head; of state"},
      {"Entity_SubjectType", "person"},
      {"Entity_Regulation_NumberTitle", "2003/1210 (OJ L169)"},
      {"Entity_Regulation_PublicationDate", "2003-07-08"},
      {"Entity_Regulation_PublicationUrl", "http://eur-lex.europa.eu/l169.pdf"},
      {"Entity_Regulation_Programme", "IRQ"},
      {"Citizenship_CountryDescription", "Iraq"}};
  auto with = [](std::map<std::string, std::string> row, const std::map<std::string, std::string>& more) {
    for (const auto& [column, value] : more) row[column] = value;
    return row;
  };
  const std::map<std::string, std::string> bank = {
      {"fileGenerationDate", "28/10/2022"},       {"Entity_LogicalId", "20"},
      {"Entity_SubjectType", "enterprise"},       {"Entity_Regulation_Programme", "IRN"},
      {"NameAlias_WholeName", "Bank Melli Iran"}, {"NameAlias_LogicalId", "40"}};
  return EuHeader() +
         EuLine(with(person, {{"NameAlias_LastName", "Al-Tikriti"},
                              {"NameAlias_FirstName", "Saddam"},
                              {"NameAlias_MiddleName", "Hussein"},
                              {"NameAlias_WholeName", "Saddam Hussein Al-Tikriti"},
                              {"NameAlias_NameLanguage", "EN"},
                              {"NameAlias_Gender", "M"},
                              {"NameAlias_Function", "President"},
                              {"NameAlias_LogicalId", "17"}})) +
         EuLine(with(person, {{"NameAlias_WholeName", "Саддам Хусейн"}, {"NameAlias_LogicalId", "18"}})) +
         EuLine(with(person, {{"Address_Street", "Palace Road 1"},
                              {"Address_ZipCode", "10001"},
                              {"Address_City", "Baghdad"},
                              {"Address_CountryDescription", "Iraq"},
                              {"Address_LogicalId", "101"}})) +
         EuLine(with(person, {{"Address_Street", "Main Street"},
                              {"Address_City", "Tikrit"},
                              {"Address_PoBox", "PO Box 7"},
                              {"Address_CountryDescription", "Iraq"},
                              {"Address_LogicalId", "102"}})) +
         EuLine(with(person, {{"BirthDate_BirthDate", "1937-04-28"},
                              {"BirthDate_City", "Al-Awja"},
                              {"BirthDate_CountryDescription", "Iraq"},
                              {"BirthDate_LogicalId", "201"}})) +
         EuLine(with(person, {{"Identification_Number", "12345"},
                              {"Identification_TypeDescription", "National passport"},
                              {"Identification_CountryDescription", "Iraq"},
                              {"Identification_LogicalId", "301"}})) +
         EuLine(with(bank, {{"Address_Street", "Ferdowsi Ave"}, {"Address_City", "Tehran"}})) +
         EuLine(with(bank, {{"Address_Street", "Kish Island"}, {"Address_City", "Kish"}}));
}

TEST(EuCsvReader, OneRowPerAliasCarryingAllTheEntitysData) {
  testing::TempDir dir;
  testing::WriteFile(dir / "eu.csv", EuFile());
  const ListRead read = ReadEuFinancialSanctionsCsv(dir / "eu.csv");
  ASSERT_TRUE(read.Ok()) << read.error;
  EXPECT_EQ(read.date, "28.10.2022");
  ASSERT_EQ(read.entries.size(), 3u);
  ExpectEveryFieldStored(read, ListId::EU);

  const std::map<std::string, std::string> expected = {
      {"Name", "Saddam Hussein Al-Tikriti"},
      {"EntityType", "person"},
      {"LegalBasis", "2003/1210 (OJ L169)"},
      {"RegDate", "2003-07-08"},
      {"PdfLink", "http://eur-lex.europa.eu/l169.pdf"},
      {"Programme", "IRQ"},
      {"Remark", "Former head; of state"},
      {"OfficialDocument", "EU.27.28"},
      {"LastName", "Al-Tikriti"},
      {"FirstName", "Saddam"},
      {"MiddleName", "Hussein"},
      {"WholeName", "Saddam Hussein Al-Tikriti"},
      {"Gender", "M"},
      {"Function", "President"},
      {"Language", "EN"},
      {"BirthValue", "201"},
      {"BirthDate", "1937-04-28"},
      {"BirthPlace", "Al-Awja"},
      {"BirthCountry", "Iraq"},
      {"AddressValue", "101; 102"},
      {"Address", "Palace Road 1, 10001 Baghdad; Main Street, Tikrit"},
      {"Country", "Iraq"},
      {"AddrOther", "PO Box 7"},
      {"PassportValue", "National passport"},
      {"PassportNumber", "12345"},
      {"PassportCountry", "Iraq"}};
  for (const auto& [column, value] : expected) EXPECT_EQ(Value(read.entries[0], column), value) << column;

  // The second alias, romanised, with the entity's name and every address of the entity.
  EXPECT_EQ(Value(read.entries[1], "WholeName"), "Saddam Khuseyn");
  EXPECT_EQ(Value(read.entries[1], "LastName"), "");
  EXPECT_EQ(Value(read.entries[1], "Name"), "Saddam Hussein Al-Tikriti");
  EXPECT_EQ(Value(read.entries[1], "Address"), Value(read.entries[0], "Address"));

  // An alias repeated on the rows of several addresses is one row holding both addresses.
  EXPECT_EQ(Value(read.entries[2], "WholeName"), "Bank Melli Iran");
  EXPECT_EQ(Value(read.entries[2], "Address"), "Ferdowsi Ave, Tehran; Kish Island, Kish");
  EXPECT_EQ(Value(read.entries[2], "EntityType"), "enterprise");
}

constexpr const char* kUkHeader =
    "Name 6,Name 1,Name 2,Name 3,Name 4,Name 5,Title,DOB,Town of Birth,Country of Birth,Nationality,"
    "Passport Details,NI Number,Position,Address 1,Address 2,Address 3,Address 4,Address 5,Address 6,"
    "Post/Zip Code,Country,Other Information,Group Type,Alias Type,Regime,Listed On,Last Updated,Group ID";

TEST(UkCsvReader, FieldsLandInTheColumnsOfTheSameOrder) {
  testing::TempDir dir;
  testing::WriteFile(
      dir / "uk.csv",
      std::string("Last Updated,15/02/2024\r\n") + kUkHeader + ",Name Non-Latin Script\r\n" +
          "DRAGUNOV,Viktor,Ivanovich,N3,N4,N5,Mr,01/02/1960,Moscow,Russia,Russia,"
          "\"Passport 123, issued 2010\",NI9,Director,Hafenstrasse 5,Altona,A3,A4,A5,A6,20457,"
          "Germany,\"Line one\r\nLine two\",Individual,Primary name,Russia,01/03/2022,02/03/2022,"
          "15000,ДРАГУНОВ\r\n" +
          "DRAGUNOFF,Viktor,,,,,,,,,,,,,,,,,,,,,,Individual,AKA,Russia,01/03/2022,02/03/2022,15000,"
          "\r\n");
  const ListRead read = ReadUkConsolidatedCsv(dir / "uk.csv");
  ASSERT_TRUE(read.Ok()) << read.error;
  EXPECT_EQ(read.date, "15.02.2024");
  ASSERT_EQ(read.entries.size(), 2u);
  ExpectEveryFieldStored(read, ListId::UK);
  const std::vector<std::string> values = {"DRAGUNOV",
                                           "Viktor",
                                           "Ivanovich",
                                           "N3",
                                           "N4",
                                           "N5",
                                           "Mr",
                                           "01/02/1960",
                                           "Moscow",
                                           "Russia",
                                           "Russia",
                                           "Passport 123, issued 2010",
                                           "NI9",
                                           "Director",
                                           "Hafenstrasse 5",
                                           "Altona",
                                           "A3",
                                           "A4",
                                           "A5",
                                           "A6",
                                           "20457",
                                           "Germany",
                                           "Line one\nLine two",
                                           "Individual",
                                           "Primary name",
                                           "Russia",
                                           "01/03/2022",
                                           "02/03/2022",
                                           "15000"};
  const screening::ListSchema& uk = screening::Schema(ListId::UK);
  for (std::size_t position = 0; position < values.size(); ++position) {
    EXPECT_EQ(Value(read.entries[0], uk.columns[position].name), values[position])
        << uk.columns[position].name;
  }
  EXPECT_EQ(Value(read.entries[1], "Name6"), "DRAGUNOFF");
  EXPECT_EQ(Value(read.entries[1], "AliasType"), "AKA");
}

TEST(UkCsvReader, CopyWithoutDateLineAndWithAnUnnamedFirstColumn) {
  testing::TempDir dir;
  testing::WriteFile(dir / "uk.csv", std::string(",") + kUkHeader +
                                         "\nSMITH,John,,,,,,,,,,,,,,,,,,,,,,"
                                         "Individual,Primary name,Libya,,,42\n");
  const ListRead read = ReadUkConsolidatedCsv(dir / "uk.csv");
  ASSERT_TRUE(read.Ok()) << read.error;
  EXPECT_EQ(read.date, "-");
  ASSERT_EQ(read.entries.size(), 1u);
  EXPECT_EQ(Value(read.entries[0], "Name6"), "SMITH");
  EXPECT_EQ(Value(read.entries[0], "Name1"), "John");
  EXPECT_EQ(Value(read.entries[0], "Regime"), "Libya");
  EXPECT_EQ(Value(read.entries[0], "GroupID"), "42");
}

void WriteOfacFiles(const testing::TempDir& dir) {
  testing::WriteFile(
      dir / "sdn.csv",
      "36,\"AEROCARIBBEAN AIRLINES\",-0- ,\"CUBA\",-0- ,-0- ,-0- ,-0- ,-0- ,-0- ,-0- ,-0- \r\n"
      "306,\"BANCO NACIONAL DE CUBA\",-0- ,\"CUBA\",-0- ,-0- ,-0- ,-0- ,-0- ,-0- ,-0- ,"
      "\"a.k.a. 'BNC'.\"\r\n"
      "7000,\"SEA STAR\",\"vessel\",\"IRAN\",\"Capt.\",\"9HA1234\",\"Crude Oil Tanker\",\"1000\","
      "\"2000\",\"Malta\",\"NITC\",-0- \r\n\x1A");
  testing::WriteFile(dir / "alt.csv",
                     "306,220,\"aka\",\"NATIONAL BANK OF CUBA\",-0- \r\n"
                     "306,221,\"fka\",\"BNC\",\"old name\"\r\n\x1A");
  testing::WriteFile(dir / "add.csv",
                     "36,25,-0- ,\"Havana\",\"Cuba\",-0- \r\n"
                     "306,199,\"Zweierstrasse 35\",\"Zurich CH-8022\",\"Switzerland\",-0- \r\n"
                     "306,200,\"Dai-Ichi Bldg\",\"Tokyo\",\"Japan\",\"branch\"\r\n\x1A");
}

TEST(OfacSdnReader, OneRowPerNameWithEveryAddress) {
  testing::TempDir dir;
  WriteOfacFiles(dir);
  const ListRead read = ReadOfacSdnCsv(dir / "sdn.csv", dir / "alt.csv", dir / "add.csv");
  ASSERT_TRUE(read.Ok()) << read.error;
  EXPECT_EQ(read.date, "-");
  ASSERT_EQ(read.entries.size(), 5u);
  ExpectEveryFieldStored(read, ListId::US);

  const ListEntry& airline = read.entries[0];
  EXPECT_EQ(Value(airline, "Name"), "AEROCARIBBEAN AIRLINES");
  EXPECT_EQ(Value(airline, "SDNType"), "") << "-0- is empty";
  EXPECT_EQ(Value(airline, "Address"), "");
  EXPECT_EQ(Value(airline, "City"), "Havana");
  EXPECT_EQ(Value(airline, "Source"), "Specially Designated Nationals (SDN) - Treasury Department");

  const std::map<std::string, std::string> bank = {{"EntityNumber", "306"},
                                                   {"Name", "BANCO NACIONAL DE CUBA"},
                                                   {"Programs", "CUBA"},
                                                   {"Remarks", "a.k.a. 'BNC'."},
                                                   {"AddressNumber", "199; 200"},
                                                   {"Address", "Zweierstrasse 35; Dai-Ichi Bldg"},
                                                   {"City", "Zurich CH-8022; Tokyo"},
                                                   {"Country", "Switzerland; Japan"},
                                                   {"AddressRemarks", "branch"},
                                                   {"AlternateName", ""}};
  for (const auto& [column, value] : bank) EXPECT_EQ(Value(read.entries[1], column), value) << column;
  for (std::size_t row : {2u, 3u}) {
    EXPECT_EQ(Value(read.entries[row], "Name"), "BANCO NACIONAL DE CUBA");
    EXPECT_EQ(Value(read.entries[row], "Address"), "Zweierstrasse 35; Dai-Ichi Bldg");
  }
  EXPECT_EQ(Value(read.entries[2], "AlternateNumber"), "220");
  EXPECT_EQ(Value(read.entries[2], "AlternateType"), "aka");
  EXPECT_EQ(Value(read.entries[2], "AlternateName"), "NATIONAL BANK OF CUBA");
  EXPECT_EQ(Value(read.entries[3], "AlternateName"), "BNC");
  EXPECT_EQ(Value(read.entries[3], "AlternateRemarks"), "old name");

  const std::map<std::string, std::string> vessel = {
      {"SDNType", "vessel"},   {"Title", "Capt."},
      {"CallSign", "9HA1234"}, {"VesselType", "Crude Oil Tanker"},
      {"Tonnage", "1000"},     {"RegisteredTonnage", "2000"},
      {"VesselFlag", "Malta"}, {"VesselOwner", "NITC"}};
  for (const auto& [column, value] : vessel) EXPECT_EQ(Value(read.entries[4], column), value) << column;
}

constexpr const char* kCslColumns =
    "source,entity_number,type,programs,name,title,addresses,federal_register_notice,start_date,end_date,"
    "standard_order,license_requirement,license_policy,call_sign,vessel_type,gross_tonnage,"
    "gross_registered_tonnage,vessel_flag,vessel_owner,remarks,source_list_url,alt_names,citizenships,"
    "dates_of_birth,nationalities,places_of_birth,source_information_url,ids";

TEST(UsConsolidatedScreeningReader, NewFormatWithRepeatedHeaderAndCutLastRow) {
  testing::TempDir dir;
  const std::string header = std::string("_id,") + kCslColumns + "\n";
  testing::WriteFile(
      dir / "csl.csv",
      header + header +
          "\"a1\",\"Entity List (EL) - Bureau of Industry and Security\",\"\",\"Entity\",\"\","
          "\"Abdul Satar Ghoura\",\"\",\"501 Market, Kabul, AF; House 32, Peshawar, PK\",\"76 FR 71867\","
          "\"2011-11-21\",\"2021-01-01\",\"Y\",\"For all items\",\"Presumption of "
          "denial.\",\"\",\"\",\"\",\"\","
          "\"\",\"\",\"\",\"https://list\",\"GHOURA, Abdul; Abdul Sattar "
          ";\",\"AF\",\"1970\",\"AF\",\"Kabul\","
          "\"https://info\",\"\"\n"
          "\"a2\",\"Specially Designated Nationals (SDN) - Treasury "
          "Department\",\"8124\",\"Vessel\",\"IRAN\","
          "\"SEA "
          "STAR\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"9HA1\",\"Tanker\",\"100\",\"200\",\"Malta\","
          "\"NITC\",\"seized\",\"https://list2\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
          "\"a3\",\"Specially Designated Nationals (SDN) - Treasury Department\",\"11476\",\"Individual\","
          "\"SDNT\",\"CUT OFF\",\"\",\"c/o ASES, Medell");
  const ListRead read = ReadUsConsolidatedScreeningCsv(dir / "csl.csv");
  ASSERT_TRUE(read.Ok()) << read.error;
  ASSERT_EQ(read.entries.size(), 4u);
  ExpectEveryFieldStored(read, ListId::US);
  const std::map<std::string, std::string> person = {
      {"Source", "Entity List (EL) - Bureau of Industry and Security"},
      {"SDNType", "Entity"},
      {"Name", "Abdul Satar Ghoura"},
      {"Address", "501 Market, Kabul, AF; House 32, Peshawar, PK"},
      {"FRNotice", "76 FR 71867"},
      {"EffectiveDate", "2011-11-21"},
      {"Expired", "2021-01-01"},
      {"StandardOrder", "Y"},
      {"LicenseRequired", "For all items"},
      {"LicensePolicy", "Presumption of denial."},
      {"WebLink", "https://info"},
      {"AlternateName", ""}};
  for (const auto& [column, value] : person) EXPECT_EQ(Value(read.entries[0], column), value) << column;
  EXPECT_EQ(Value(read.entries[1], "AlternateName"), "GHOURA, Abdul");
  EXPECT_EQ(Value(read.entries[2], "AlternateName"), "Abdul Sattar");
  EXPECT_EQ(Value(read.entries[2], "Name"), "Abdul Satar Ghoura");
  EXPECT_EQ(Value(read.entries[2], "Address"), "501 Market, Kabul, AF; House 32, Peshawar, PK");

  const std::map<std::string, std::string> vessel = {{"EntityNumber", "8124"}, {"Programs", "IRAN"},
                                                     {"CallSign", "9HA1"},     {"VesselType", "Tanker"},
                                                     {"Tonnage", "100"},       {"RegisteredTonnage", "200"},
                                                     {"VesselFlag", "Malta"},  {"VesselOwner", "NITC"},
                                                     {"Remarks", "seized"},    {"WebLink", "https://list2"}};
  for (const auto& [column, value] : vessel) EXPECT_EQ(Value(read.entries[3], column), value) << column;
}

TEST(UsConsolidatedScreeningReader, OldFormatWithoutIdColumn) {
  testing::TempDir dir;
  testing::WriteFile(dir / "csl.csv",
                     std::string(kCslColumns) +
                         "\nDenied Persons List (DPL) - Bureau of Industry and Security,,,, "
                         "ADRIAN MANUEL HERNANDEZ,,\"3037 S. 69TH DRIVE, PHONEIX, AZ, 85043\","
                         "82 F.R. 48792,2017-10-16,2020-10-13,Y,,,,,,,,,FR NOTICE ADDED,"
                         "http://bit.ly/1Qi5heF,,,,,,http://bit.ly/1iwxiF0,\n");
  const ListRead read = ReadUsConsolidatedScreeningCsv(dir / "csl.csv");
  ASSERT_TRUE(read.Ok()) << read.error;
  ASSERT_EQ(read.entries.size(), 1u);
  EXPECT_EQ(Value(read.entries[0], "Name"), "ADRIAN MANUEL HERNANDEZ");
  EXPECT_EQ(Value(read.entries[0], "Address"), "3037 S. 69TH DRIVE, PHONEIX, AZ, 85043");
  EXPECT_EQ(Value(read.entries[0], "Remarks"), "FR NOTICE ADDED");
  EXPECT_EQ(Value(read.entries[0], "WebLink"), "http://bit.ly/1iwxiF0");
}

TEST(CsvListReaders, RowsFitTheTablesOfTheDatabase) {
  testing::TempDir dir;
  testing::WriteFile(dir / "eu.csv", EuFile());
  WriteOfacFiles(dir);
  SanctionsData data;
  for (ListRead read : {ReadEuFinancialSanctionsCsv(dir / "eu.csv"),
                        ReadOfacSdnCsv(dir / "sdn.csv", dir / "alt.csv", dir / "add.csv")}) {
    ASSERT_TRUE(read.Ok()) << read.error;
    for (ListEntry& entry : read.entries) data.entries.push_back(std::move(entry));
  }
  EXPECT_EQ(WriteSanctionsDatabase(dir / "KESTO.adb", data), "");
}

TEST(CsvListReaders, FilesTheyCannotReadGiveFileAndLine) {
  testing::TempDir dir;
  WriteOfacFiles(dir);
  testing::WriteFile(dir / "empty.csv", "");
  testing::WriteFile(dir / "uk_no_regime.csv",
                     std::string("Last Updated,15/02/2024\n") +
                         "Name 6,Name 1,Name 2,Name 3,Name 4,Name 5,Group ID\nX,,,,,,1\n");
  testing::WriteFile(dir / "uk_open_quote.csv", std::string(kUkHeader) + "\nA,\"B\nC\n");
  testing::WriteFile(dir / "eu_no_wholename.csv",
                     "fileGenerationDate;Entity_LogicalId;NameAlias_LastName;"
                     "NameAlias_FirstName;NameAlias_MiddleName\n28/10/2022;1;A;B;C\n");
  testing::WriteFile(dir / "csl_no_alt_names.csv", "source,entity_number,name\nSDN,1,X\n");
  const std::string d = dir.path().string() + "/";
  struct Case {
    const char* name;
    ListRead read;
    std::string error;
  } cases[] = {
      {"EU empty", ReadEuFinancialSanctionsCsv(dir / "empty.csv"), d + "empty.csv:1: the file is empty"},
      {"UK empty", ReadUkConsolidatedCsv(dir / "empty.csv"), d + "empty.csv:1: the file is empty"},
      {"US empty", ReadUsConsolidatedScreeningCsv(dir / "empty.csv"), d + "empty.csv:1: the file is empty"},
      {"OFAC empty add", ReadOfacSdnCsv(dir / "sdn.csv", dir / "alt.csv", dir / "empty.csv"),
       d + "empty.csv:1: the file is empty"},
      {"UK missing column", ReadUkConsolidatedCsv(dir / "uk_no_regime.csv"),
       d + "uk_no_regime.csv:2: column \"Title\" missing"},
      {"UK open quote", ReadUkConsolidatedCsv(dir / "uk_open_quote.csv"),
       d + "uk_open_quote.csv:2: quoted field not closed before the end of the file"},
      {"EU missing column", ReadEuFinancialSanctionsCsv(dir / "eu_no_wholename.csv"),
       d + "eu_no_wholename.csv:1: column \"NameAlias_WholeName\" missing"},
      {"US missing column", ReadUsConsolidatedScreeningCsv(dir / "csl_no_alt_names.csv"),
       d + "csl_no_alt_names.csv:1: column \"alt_names\" missing"},
      {"UK reader on an OFAC file", ReadUkConsolidatedCsv(dir / "sdn.csv"),
       d + "sdn.csv:1: not a UK consolidated list (columns \"Name 6\" to \"Group ID\" expected)"},
      {"EU reader on a UK file", ReadEuFinancialSanctionsCsv(dir / "uk_no_regime.csv"),
       d + "uk_no_regime.csv:1: not an EU financial sanctions file (columns "
           "\"fileGenerationDate;Entity_LogicalId;...\" expected)"},
      {"US reader on an OFAC file", ReadUsConsolidatedScreeningCsv(dir / "sdn.csv"),
       d + "sdn.csv:1: not a consolidated screening list (columns \"source,entity_number,...\" expected)"},
      {"OFAC alternates swapped with addresses",
       ReadOfacSdnCsv(dir / "sdn.csv", dir / "uk_no_regime.csv", dir / "add.csv"),
       d + "uk_no_regime.csv:1: not an OFAC SDN file (5 fields starting with the entity number expected)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.read.error, c.error) << c.name;
    EXPECT_TRUE(c.read.entries.empty()) << c.name;
  }
}

}  // namespace
}  // namespace vmk::publish
