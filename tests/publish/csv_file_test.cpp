// The CSV reading under the list readers: quoting, separators, line ends, the line numbers of rows and
// errors, and header lookup by name.
#include "publish/csv_file.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace vmk::publish {
namespace {

using Cells = std::vector<std::string>;

std::vector<Cells> CellsOf(const CsvContent& content) {
  std::vector<Cells> rows;
  for (const CsvRow& row : content.rows) rows.push_back(row.cells);
  return rows;
}

TEST(CsvFile, SplitsQuotedFieldsAndLineEnds) {
  struct Case {
    const char* name;
    std::string text;
    char separator;
    std::vector<Cells> rows;
  } cases[] = {
      {"plain, LF", "a,b\nc,d\n", ',', {{"a", "b"}, {"c", "d"}}},
      {"CR LF, no final break", "a,b\r\nc,d", ',', {{"a", "b"}, {"c", "d"}}},
      {"separator and quotes inside quotes", "\"x, y\",\"say \"\"hi\"\"\"\n", ',', {{"x, y", "say \"hi\""}}},
      {"line breaks inside quotes", "\"one\r\ntwo\nthree\",z\n", ',', {{"one\ntwo\nthree", "z"}}},
      {"semicolons", "a;\"b;c\";,d\n", ';', {{"a", "b;c", ",d"}}},
      {"empty cells and blank lines", ",,\n\n\"\",x\n", ',', {{"", "", ""}, {"", "x"}}},
      {"quote inside an unquoted cell", "5\" disk,x\n", ',', {{"5\" disk", "x"}}},
      {"DOS end-of-file mark", "a,b\r\n\x1A", ',', {{"a", "b"}}},
  };
  for (const Case& c : cases) {
    const CsvContent content = ParseCsvText(c.text, "t.csv", {c.separator});
    EXPECT_EQ(content.error, "") << c.name;
    EXPECT_EQ(CellsOf(content), c.rows) << c.name;
  }
}

TEST(CsvFile, RowsKnowTheLineTheyStartOn) {
  const CsvContent content = ParseCsvText("h\n\"a\nb\"\n\nc\n", "t.csv", {','});
  ASSERT_EQ(content.rows.size(), 3u);
  EXPECT_EQ(content.rows[0].line, 1);
  EXPECT_EQ(content.rows[1].line, 2);
  EXPECT_EQ(content.rows[2].line, 5);
}

TEST(CsvFile, ErrorsNameFileAndLine) {
  EXPECT_EQ(ParseCsvText("a,b\nc,\"open\nd,e\n", "list.csv", {','}).error,
            "list.csv:2: quoted field not closed before the end of the file");
  EXPECT_EQ(ParseCsvText("", "list.csv", {','}).error, "list.csv:1: the file is empty");
  EXPECT_EQ(ParseCsvText("\n\r\n", "list.csv", {','}).error, "list.csv:1: the file is empty");
  const CsvContent missing = ReadCsvFile("/nonexistent/list.csv", {','});
  EXPECT_EQ(missing.error, "/nonexistent/list.csv:1: the file cannot be read");
}

TEST(CsvFile, CutLastRowIsDroppedOnlyWhenAllowed) {
  CsvOptions options;
  options.cutLastRowDropped = true;
  const CsvContent content = ParseCsvText("a,b\n\"c\",\"cut off he", "t.csv", options);
  EXPECT_EQ(content.error, "");
  EXPECT_TRUE(content.lastRowCut);
  EXPECT_EQ(CellsOf(content), (std::vector<Cells>{{"a", "b"}}));
}

TEST(CsvFile, Utf8FileWithByteOrderMarkBecomesWindows1252) {
  testing::TempDir dir;
  testing::WriteFile(dir / "bom.csv", "\xEF\xBB\xBFname\r\nJos\xC3\xA9 \xD0\x96\r\n");
  const CsvContent content = ReadCsvFile(dir / "bom.csv", {','});
  EXPECT_EQ(CellsOf(content), (std::vector<Cells>{{"name"}, {text::Win1252("José Zh")}}));
}

TEST(CsvFile, HeaderFindsColumnsByName) {
  const CsvHeader header(Cells{"Added", " Name 6 ", "group id"});
  const CsvRow row{2, {"x", "  SMITH  ", "17"}};
  EXPECT_EQ(header.Cell(row, "Name 6"), "SMITH");
  EXPECT_EQ(header.Cell(row, "Group ID"), "17");
  EXPECT_EQ(header.Cell(CsvRow{3, {"x"}}, "Group ID"), "") << "short row";
  EXPECT_EQ(header.Cell(row, "Regime"), "") << "absent column";
  EXPECT_EQ(header.FirstMissing({"Name 6", "Regime", "Title"}), "Regime");
  EXPECT_EQ(header.FirstMissing({"Name 6", "Group ID"}), "");
  EXPECT_TRUE(header.IsRepeatedBy(CsvRow{4, {"Added", "Name 6", "Group ID"}}));
  EXPECT_FALSE(header.IsRepeatedBy(row));
}

}  // namespace
}  // namespace vmk::publish
