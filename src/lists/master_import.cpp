#include "lists/master_import.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>
#include <vector>

#include "lists/master_store.h"
#include "text/date_mask.h"
#include "text/sql_text.h"

namespace vmk::lists {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kReadChunk = 64 * 1024;
// Lines per transaction: few commits for speed, and a failure that rolls a transaction back costs
// at most this many records.
constexpr long long kLinesPerTransaction = 10000;
constexpr int kBusyTimeoutMs = 20000;

enum class CharRule : unsigned char { Keep, Remove, Blank };

constexpr std::array<CharRule, 256> MakeCharRules() {
  std::array<CharRule, 256> rules{};
  auto blank = [&](int from, int to) {
    for (int c = from; c <= to; ++c) rules[static_cast<std::size_t>(c)] = CharRule::Blank;
  };
  blank(33, 47);
  blank(60, 63);
  blank(91, 96);
  rules['"'] = CharRule::Remove;
  rules['\''] = CharRule::Remove;
  return rules;
}
constexpr std::array<CharRule, 256> kCharRules = MakeCharRules();

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenForReading(const fs::path& file) {
  return File(std::fopen(file.c_str(), "rb"));
}

// Reads lines in fixed chunks: memory stays at one chunk plus the longest line. A read error counts as
// the end of the file.
class LineReader {
 public:
  explicit LineReader(std::FILE* file) : file_(file), buffer_(kReadChunk) {}

  bool Next(std::string& line) {
    line.clear();
    bool any = false;
    while (true) {
      if (pos_ == end_ && !Refill()) break;
      any = true;
      const char* start = buffer_.data() + pos_;
      const auto* newline = static_cast<const char*>(std::memchr(start, '\n', end_ - pos_));
      if (newline != nullptr) {
        line.append(start, newline);
        pos_ += static_cast<std::size_t>(newline - start) + 1;
        return StripCarriageReturn(line);
      }
      line.append(start, end_ - pos_);
      pos_ = end_;
    }
    // The last line without a line end.
    return any && StripCarriageReturn(line);
  }

 private:
  bool Refill() {
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    pos_ = 0;
    return end_ > 0;
  }
  static bool StripCarriageReturn(std::string& line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  }

  std::FILE* file_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0, end_ = 0;
};

struct Closer {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Connection = std::unique_ptr<sqlite3, Closer>;

struct Finalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Finalizer>;

constexpr const char* kInsertHead =
    "INSERT INTO Stammdaten (ID,Name1,Name2,Address1,Address2,Datum) VALUES (";

// ID, Name1, Name2, Address1, Address2 of one line, viewing the cleaned line.
using FieldViews = std::array<std::string_view, 5>;

// Writes the cleaned line into `out`, whose buffer is reused from line to line.
void CleanInto(std::string_view line, std::string& out) {
  out.resize(line.size());
  char* write = out.data();
  for (char c : line) {
    switch (kCharRules[static_cast<unsigned char>(c)]) {
      case CharRule::Keep:
        *write++ = c;
        break;
      case CharRule::Blank:
        *write++ = ' ';
        break;
      case CharRule::Remove:
        break;
    }
  }
  out.resize(static_cast<std::size_t>(write - out.data()));
}

// Splits a cleaned line without copying it; the ";" inside Address2 become blanks in the line itself.
FieldViews SplitInPlace(std::string& line, bool unattended) {
  std::string_view rest = line;
  // Takes the text up to the next ";" (all of it when there is none) and moves past the ";".
  auto take = [&rest]() {
    const std::size_t semicolon = rest.find(';');
    const std::string_view field = rest.substr(0, semicolon);
    rest.remove_prefix(semicolon == std::string_view::npos ? rest.size() : semicolon + 1);
    return field;
  };
  FieldViews fields;
  if (unattended) fields[0] = take();
  for (std::size_t i = 1; i < 4; ++i) fields[i] = take();
  const std::size_t tail = line.size() - rest.size();
  std::replace(line.begin() + static_cast<std::ptrdiff_t>(tail), line.end(), ';', ' ');
  fields[4] = std::string_view(line).substr(tail);
  return fields;
}

// The insert as one statement text: the fields between quotes joined by "','", then the time.
std::string InsertStatementText(const FieldViews& fields, long long seconds) {
  std::string statement = std::string(kInsertHead) + "'";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) statement += "','";
    statement += text::EscapeSqlValue(fields[i]);
  }
  return statement + "'," + std::to_string(seconds) + ")";
}

void ReplaceStore(const fs::path& programDirectory, log::RunLog& runLog) {
  const fs::path store = programDirectory / kMasterStoreFile;
  std::error_code error;
  fs::remove(store, error);
  // A journal left behind by an aborted import must not be rolled into the new file.
  fs::remove(fs::path(store.string() + "-journal"), error);
  CreateMasterStore(programDirectory, runLog);
}

// The connection and insert statement of one import; every failure keeps the database's own text.
class StoreWriter {
 public:
  bool Open(const fs::path& storeFile) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(storeFile.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    db_.reset(raw);
    if (rc != SQLITE_OK) {
      error_ = raw != nullptr ? sqlite3_errmsg(raw) : sqlite3_errstr(rc);
      return false;
    }
    sqlite3_busy_timeout(raw, kBusyTimeoutMs);
    sqlite3_stmt* statement = nullptr;
    const std::string text = std::string(kInsertHead) + "?,?,?,?,?,?)";
    if (sqlite3_prepare_v2(raw, text.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
      error_ = sqlite3_errmsg(raw);
      return false;
    }
    insert_.reset(statement);
    return Exec("BEGIN");
  }

  // False with the database's error text when the record was refused.
  bool Insert(const FieldViews& fields, long long seconds) {
    const bool ok =
        HasNul(fields) ? Exec(InsertStatementText(fields, seconds)) : InsertBound(fields, seconds);
    // Some failures roll the whole transaction back; the following lines need a new one.
    if (!ok && sqlite3_get_autocommit(db_.get()) != 0)
      sqlite3_exec(db_.get(), "BEGIN", nullptr, nullptr, nullptr);
    return ok;
  }

  bool CommitAndBegin() { return Commit() && Exec("BEGIN"); }
  bool Commit() { return Exec("COMMIT"); }
  const std::string& Error() const { return error_; }

 private:
  static bool HasNul(const FieldViews& fields) {
    return std::any_of(fields.begin(), fields.end(),
                       [](std::string_view field) { return field.find('\0') != std::string_view::npos; });
  }

  bool InsertBound(const FieldViews& fields, long long seconds) {
    sqlite3_stmt* s = insert_.get();
    int column = 1;
    for (std::string_view field : fields) {
      // A null pointer would store NULL: an empty field must be stored as ''.
      const char* data = field.empty() ? "" : field.data();
      sqlite3_bind_text(s, column++, data, static_cast<int>(field.size()), SQLITE_STATIC);
    }
    sqlite3_bind_int64(s, column, seconds);
    const bool ok = sqlite3_step(s) == SQLITE_DONE;
    if (!ok) error_ = sqlite3_errmsg(db_.get());
    sqlite3_reset(s);
    return ok;
  }

  // Runs a statement text; a NUL byte ends it there, as it would end any statement text handed over.
  bool Exec(const std::string& statement) {
    char* message = nullptr;
    if (sqlite3_exec(db_.get(), statement.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return true;
    error_ = message != nullptr ? message : sqlite3_errmsg(db_.get());
    sqlite3_free(message);
    return false;
  }

  // The connection is declared first, so it closes only after the statement is finalised.
  Connection db_;
  Statement insert_;
  std::string error_;
};

void ReportStoreError(const StoreWriter& store, ImportResult& result, const RejectedLine& rejected) {
  result.storeError = store.Error();
  if (rejected) rejected(result.storeError);
}

}  // namespace

std::string CleanImportLine(std::string_view line) {
  std::string cleaned;
  CleanInto(line, cleaned);
  return cleaned;
}

MasterRecord SplitImportLine(std::string_view cleanedLine, bool unattended) {
  std::string line(cleanedLine);
  const FieldViews f = SplitInPlace(line, unattended);
  return {std::string(f[0]), std::string(f[1]), std::string(f[2]), std::string(f[3]), std::string(f[4])};
}

long long CountImportLines(const fs::path& file) {
  const File in = OpenForReading(file);
  if (!in) return 0;
  std::vector<char> buffer(kReadChunk);
  long long lines = 0;
  char last = '\n';
  std::size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), in.get())) > 0) {
    lines += std::count(buffer.data(), buffer.data() + got, '\n');
    last = buffer[got - 1];
  }
  return last == '\n' ? lines : lines + 1;
}

ImportResult ImportMasterFile(const fs::path& programDirectory, const fs::path& file, bool unattended,
                              const platform::Clock& clock, log::RunLog& runLog,
                              const ImportProgress& progress, const RejectedLine& rejected) {
  ImportResult result;
  result.total = CountImportLines(file);
  ReplaceStore(programDirectory, runLog);

  StoreWriter store;
  if (!store.Open(programDirectory / kMasterStoreFile)) {
    // Without a store every line would fail the same way: one report is enough.
    ReportStoreError(store, result, rejected);
    return result;
  }
  const File in = OpenForReading(file);
  result.fileOpened = static_cast<bool>(in);
  if (in) {
    LineReader reader(in.get());
    std::string line, cleaned;
    while (reader.Next(line)) {
      CleanInto(line, cleaned);
      if (!store.Insert(SplitInPlace(cleaned, unattended), text::WallSeconds(clock.Now()))) {
        ++result.rejected;
        if (rejected) rejected(store.Error());
      }
      ++result.linesRead;
      if (progress) progress(result.linesRead, result.total);
      if (result.linesRead % kLinesPerTransaction == 0 && !store.CommitAndBegin())
        ReportStoreError(store, result, rejected);
    }
  }
  if (!store.Commit()) ReportStoreError(store, result, rejected);
  return result;
}

}  // namespace vmk::lists
