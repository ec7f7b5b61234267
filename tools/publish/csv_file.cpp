#include "publish/csv_file.h"

#include <fstream>
#include <sstream>

#include "publish/list_text.h"
#include "text/cp1252.h"

namespace vmk::publish {
namespace {

std::string Normalised(std::string_view name) {
  std::string out = text::ToUpper1252(text::TrimBlanks(name));
  while (!out.empty() && (out.back() == '\t' || out.back() == '\r')) out.pop_back();
  return out;
}

// Splits the text into rows; cells keep their content, quotes removed and doubled quotes undone.
class CsvParser {
 public:
  CsvParser(std::string_view text, const std::string& file, const CsvOptions& options)
      : text_(text), file_(file), options_(options) {}

  CsvContent Run() {
    CsvContent content;
    while (pos_ < text_.size()) {
      CsvRow row{line_, {}};
      if (!ReadRow(row.cells)) {
        if (options_.cutLastRowDropped) {
          content.lastRowCut = true;
        } else {
          content.error =
              ListFileError(file_, quoteLine_, "quoted field not closed before the end of the file");
        }
        break;
      }
      if (row.cells.size() > 1 || !row.cells.front().empty()) content.rows.push_back(std::move(row));
    }
    return content;
  }

 private:
  // Reads one row up to and including its line break; false when a quoted field is not closed.
  bool ReadRow(std::vector<std::string>& cells) {
    cells.emplace_back();
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '"' && OpensQuotedCell(cells.back())) {
        if (!ReadQuoted(cells.back())) return false;
      } else if (c == options_.separator) {
        ++pos_;
        cells.emplace_back();
      } else if (c == '\n' || (c == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')) {
        pos_ += c == '\r' ? 2 : 1;
        ++line_;
        return true;
      } else {
        AppendPlainRun(cells.back());
      }
    }
    return true;
  }

  // Appends the characters up to the next separator, quote or line end in one go.
  void AppendPlainRun(std::string& cell) {
    const char stops[] = {options_.separator, '"', '\r', '\n'};
    std::size_t end = text_.find_first_of(std::string_view(stops, sizeof stops), pos_ + 1);
    if (end == std::string_view::npos) end = text_.size();
    cell.append(text_.substr(pos_, end - pos_));
    pos_ = end;
  }

  // A quote opens a quoted field only as the first character of a cell; blanks before it are dropped.
  static bool OpensQuotedCell(std::string& cell) {
    if (cell.find_first_not_of(' ') != std::string::npos) return false;
    cell.clear();
    return true;
  }

  bool ReadQuoted(std::string& cell) {
    quoteLine_ = line_;
    ++pos_;
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (c == '"') {
        if (pos_ < text_.size() && text_[pos_] == '"') {
          cell += '"';
          ++pos_;
        } else {
          return true;
        }
      } else if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n') {
        continue;  // a line break inside a value is kept as LF alone
      } else {
        if (c == '\n') ++line_;
        cell += c;
      }
    }
    return false;
  }

  std::string_view text_;
  const std::string& file_;
  const CsvOptions& options_;
  std::size_t pos_ = 0;
  int line_ = 1, quoteLine_ = 1;
};

}  // namespace

std::string ListFileError(const std::filesystem::path& file, int line, std::string_view what) {
  return file.string() + ":" + std::to_string(line) + ": " + std::string(what);
}

CsvContent ParseCsvText(std::string_view text, const std::string& file, const CsvOptions& options) {
  if (!text.empty() && text.back() == '\x1A') text.remove_suffix(1);
  CsvContent content = CsvParser(text, file, options).Run();
  if (content.error.empty() && content.rows.empty())
    content.error = ListFileError(file, 1, "the file is empty");
  return content;
}

CsvContent ReadCsvFile(const std::filesystem::path& file, const CsvOptions& options) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return {{}, ListFileError(file, 1, "the file cannot be read"), false};
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return ParseCsvText(FileContentToListText(bytes.str()), file.string(), options);
}

CsvHeader::CsvHeader(const std::vector<std::string>& names) {
  for (const std::string& name : names) names_.push_back(Normalised(name));
}

int CsvHeader::IndexOf(std::string_view name) const {
  const std::string wanted = Normalised(name);
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == wanted) return static_cast<int>(i);
  }
  return -1;
}

std::string CsvHeader::FirstMissing(const std::vector<std::string_view>& required) const {
  for (std::string_view name : required) {
    if (!Has(name)) return std::string(name);
  }
  return "";
}

std::string CsvHeader::Cell(const CsvRow& row, std::string_view name) const {
  const int index = IndexOf(name);
  if (index < 0 || static_cast<std::size_t>(index) >= row.cells.size()) return "";
  return text::TrimBlanks(row.cells[static_cast<std::size_t>(index)]);
}

bool CsvHeader::IsRepeatedBy(const CsvRow& row) const {
  if (row.cells.size() != names_.size()) return false;
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (Normalised(row.cells[i]) != names_[i]) return false;
  }
  return true;
}

}  // namespace vmk::publish
