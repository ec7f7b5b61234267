#include "platform/registry.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "platform/folders.h"
#include "text/cp1252.h"

namespace vmk::platform {
namespace {

// The registry's own type numbers (REG_SZ, REG_DWORD).
constexpr int kTypeString = 1;
constexpr int kTypeDword = 4;

// How long one process waits for another's write; a loaded machine can hold writers back for seconds.
constexpr int kBusyTimeoutMilliseconds = 30000;

// Kept in the environment, not in a static: the settings library that links this code is loaded and
// unloaded around every call, which would reset a static each time.
constexpr const char* kWarnedVariable = "VELDMARK_REGISTRY_WARNED";

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS keys("
    " root INTEGER NOT NULL, path TEXT NOT NULL COLLATE NOCASE,"
    " PRIMARY KEY(root, path));"
    "CREATE TABLE IF NOT EXISTS vals("
    " root INTEGER NOT NULL, path TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE,"
    " type INTEGER NOT NULL, text BLOB, number INTEGER,"
    " PRIMARY KEY(root, path, name));";

struct SystemKey {
  RegistryRoot root;
  std::string_view path;
};
constexpr std::array<SystemKey, 3> kSystemKeys{{{RegistryRoot::CurrentUser, kInternetSettingsKey},
                                                {RegistryRoot::CurrentUser, kRunKey},
                                                {RegistryRoot::LocalMachine, kComputerNameKey}}};

std::string NormalizedKey(std::string_view key) {
  if (key.starts_with('\\')) key.remove_prefix(1);
  if (key.ends_with('\\')) key.remove_suffix(1);
  return std::string(key);
}

// True when `descendant` lies below `key` (strictly); the empty key is the root.
bool IsBelow(std::string_view descendant, std::string_view key) {
  if (key.empty()) return !descendant.empty();
  return descendant.size() > key.size() && descendant[key.size()] == '\\' &&
         text::EqualsIgnoringAsciiCase(descendant.substr(0, key.size()), key);
}

// The root itself, the system keys and their parents exist without being stored.
bool AlwaysExists(RegistryRoot root, std::string_view key) {
  if (key.empty()) return true;
  for (const SystemKey& system : kSystemKeys) {
    if (system.root != root) continue;
    if (text::EqualsIgnoringAsciiCase(system.path, key) || IsBelow(system.path, key)) return true;
  }
  return false;
}

bool HasSystemSubkey(RegistryRoot root, std::string_view key) {
  for (const SystemKey& system : kSystemKeys) {
    if (system.root == root && IsBelow(system.path, key)) return true;
  }
  return false;
}

// "a\b\c" gives "a", "a\b", "a\b\c".
std::vector<std::string> KeyWithParents(const std::string& key) {
  std::vector<std::string> keys;
  for (std::size_t slash = key.find('\\'); slash != std::string::npos; slash = key.find('\\', slash + 1)) {
    if (slash > 0) keys.push_back(key.substr(0, slash));
  }
  if (!key.empty()) keys.push_back(key);
  return keys;
}

bool IsComputerNameValue(RegistryRoot root, std::string_view key, std::string_view name) {
  return root == RegistryRoot::LocalMachine && text::EqualsIgnoringAsciiCase(key, kComputerNameKey) &&
         text::EqualsIgnoringAsciiCase(name, "ComputerName");
}

std::string HostName() {
  std::array<char, 256> name{};
  if (gethostname(name.data(), name.size() - 1) != 0) return "";
  return name.data();
}

void WarnOnce(const std::filesystem::path& file, const std::string& problem) {
  if (std::getenv(kWarnedVariable) != nullptr) return;
  setenv(kWarnedVariable, "1", 1);
  std::fprintf(stderr, "veldmark: settings store %s %s\n", file.c_str(), problem.c_str());
  std::fflush(stderr);
}

bool IsUnreadable(int code) {
  switch (code & 0xFF) {
    case SQLITE_CANTOPEN:
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_PERM:
    case SQLITE_IOERR:
    case SQLITE_AUTH:
      return true;
    default:
      return false;
  }
}

bool FileIsMissing(const std::filesystem::path& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) != 0 && errno == ENOENT;
}

bool MakeFolders(const std::filesystem::path& folder) {
  std::filesystem::path partial;
  for (const auto& part : folder) {
    partial /= part;
    struct stat info {};
    if (::stat(partial.c_str(), &info) == 0) continue;
    if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

// Creates the folder and an empty store file (readable by the user only) when they are missing.
bool EnsureStoreFile(const std::filesystem::path& file) {
  if (file.has_parent_path() && !MakeFolders(file.parent_path())) return false;
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return errno == EEXIST;
  const bool ok = ::fchmod(fd, 0600) == 0;
  ::close(fd);
  return ok;
}

struct DatabaseCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;

enum class Access { Read, Write };

// One open of the store around one transaction. Every failure is reported once per process and turns
// the session unusable; closing without Commit rolls the transaction back.
class Session {
 public:
  Session(const std::filesystem::path& file, Access access) : file_(file), access_(access) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    db_.reset(raw);
    if (rc != SQLITE_OK) {
      if (!FileIsMissing(file)) Fail(rc);
      ok_ = false;
      return;
    }
    sqlite3_busy_timeout(raw, kBusyTimeoutMilliseconds);
    ok_ = true;
    if (access == Access::Write) {
      if (Exec("BEGIN IMMEDIATE")) Exec(kSchema);
    } else if (Exec("BEGIN") && !CheckSchema()) {
      ok_ = false;
    }
  }

  bool ok() const { return ok_; }
  sqlite3* db() const { return db_.get(); }

  bool Exec(const char* sql) {
    const int rc = sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) Fail(rc);
    return rc == SQLITE_OK;
  }

  bool Commit() { return ok_ && Exec("COMMIT"); }

  void Fail(int rc) {
    ok_ = false;
    std::string reason;
    if ((rc & 0xFF) == SQLITE_CANTOPEN && db_ != nullptr && sqlite3_system_errno(db_.get()) != 0) {
      reason = std::strerror(sqlite3_system_errno(db_.get()));
    } else {
      reason = sqlite3_errstr(rc);
    }
    if (IsUnreadable(rc) || access_ == Access::Read) {
      WarnOnce(file_, "cannot be read (" + reason + "); settings read as empty");
    } else {
      WarnOnce(file_, "cannot be written (" + reason + "); settings are not saved");
    }
  }

 private:
  // A store file that another process has just created may not hold the tables yet: it reads as empty.
  bool CheckSchema();

  std::filesystem::path file_;
  Access access_;
  Database db_;
  bool ok_ = false;
};

class Statement {
 public:
  Statement(Session& session, const char* sql) : session_(session) {
    if (!session.ok()) return;
    const int rc = sqlite3_prepare_v2(session.db(), sql, -1, &statement_, nullptr);
    if (rc != SQLITE_OK) session.Fail(rc);
  }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, std::int64_t value) {
    return Check(statement_ != nullptr ? sqlite3_bind_int64(statement_, index, value) : SQLITE_OK);
  }
  Statement& Bind(int index, std::string_view text) {
    return Check(statement_ != nullptr ? sqlite3_bind_text(statement_, index, text.data(),
                                                           static_cast<int>(text.size()), SQLITE_TRANSIENT)
                                       : SQLITE_OK);
  }
  Statement& Bind(int index, RegistryRoot root) { return Bind(index, static_cast<std::int64_t>(root)); }
  // Bytes unchanged (Windows-1252 text is no UTF-8); a non-null pointer keeps "" an empty value, not NULL.
  Statement& BindBytes(int index, std::string_view bytes) {
    const char* data = bytes.empty() ? "" : bytes.data();
    return Check(statement_ != nullptr ? sqlite3_bind_blob(statement_, index, data,
                                                           static_cast<int>(bytes.size()), SQLITE_TRANSIENT)
                                       : SQLITE_OK);
  }

  // True with a row; false when the rows are done or the step failed.
  bool Next() {
    if (statement_ == nullptr || !session_.ok()) return false;
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) session_.Fail(rc);
    return false;
  }
  // Runs a statement without rows; the number of rows it changed, or nothing when it failed.
  std::optional<int> Run() {
    Next();
    if (!session_.ok()) return std::nullopt;
    return sqlite3_changes(session_.db());
  }

  std::int64_t Integer(int column) const { return sqlite3_column_int64(statement_, column); }
  std::string Bytes(int column) const {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(statement_, column));
    return data != nullptr
               ? std::string(data, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
               : "";
  }

 private:
  Statement& Check(int rc) {
    if (rc != SQLITE_OK) session_.Fail(rc);
    return *this;
  }

  Session& session_;
  sqlite3_stmt* statement_ = nullptr;
};

bool Session::CheckSchema() {
  if (!ok_) return false;
  Statement tables(*this,
                   "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('keys', 'vals')");
  if (!tables.Next()) return false;
  return tables.Integer(0) == 2;
}

bool StoredKeyExists(Session& session, RegistryRoot root, const std::string& key) {
  Statement query(session, "SELECT 1 FROM keys WHERE root = ? AND path = ?");
  query.Bind(1, root).Bind(2, key);
  return query.Next();
}

bool InsertKeyWithParents(Session& session, RegistryRoot root, const std::string& key) {
  for (const std::string& level : KeyWithParents(key)) {
    Statement insert(session, "INSERT OR IGNORE INTO keys(root, path) VALUES(?, ?)");
    insert.Bind(1, root).Bind(2, level);
    if (!insert.Run()) return false;
  }
  return true;
}

struct StoredValue {
  int type = 0;
  std::string text;
  std::uint32_t number = 0;
};

std::optional<StoredValue> LookUp(const std::filesystem::path& file, RegistryRoot root,
                                  const std::string& key, std::string_view name) {
  Session session(file, Access::Read);
  if (!session.ok()) return std::nullopt;
  Statement query(session, "SELECT type, text, number FROM vals WHERE root = ? AND path = ? AND name = ?");
  query.Bind(1, root).Bind(2, key).Bind(3, name);
  if (!query.Next()) return std::nullopt;
  return StoredValue{static_cast<int>(query.Integer(0)), query.Bytes(1),
                     static_cast<std::uint32_t>(query.Integer(2))};
}

// Sets a value of an existing key; the always-existing keys get their row (and the store its file) first.
bool Store(const std::filesystem::path& file, RegistryRoot root, std::string_view rawKey,
           std::string_view name, int type, std::string_view text, std::uint32_t number) {
  const std::string key = NormalizedKey(rawKey);
  const bool system = AlwaysExists(root, key);
  if (system) {
    if (!EnsureStoreFile(file)) {
      WarnOnce(file, std::string("cannot be created (") + std::strerror(errno) + "); settings are not saved");
      return false;
    }
  } else if (FileIsMissing(file)) {
    return false;
  }
  Session session(file, Access::Write);
  if (system ? !InsertKeyWithParents(session, root, key) : !StoredKeyExists(session, root, key)) return false;
  Statement upsert(session,
                   "INSERT INTO vals(root, path, name, type, text, number) VALUES(?, ?, ?, ?, ?, ?)"
                   " ON CONFLICT(root, path, name) DO UPDATE"
                   " SET type = excluded.type, text = excluded.text, number = excluded.number");
  upsert.Bind(1, root).Bind(2, key).Bind(3, name).Bind(4, std::int64_t{type});
  if (type == kTypeString) {
    upsert.BindBytes(5, text);
  } else {
    upsert.Bind(6, std::int64_t{number});
  }
  return upsert.Run() && session.Commit();
}

}  // namespace

Registry::Registry() : file_(ConfigFolder() + "registry.sqlite") {}

Registry::Registry(std::filesystem::path file) : file_(std::move(file)) {}

bool Registry::KeyExists(RegistryRoot root, std::string_view rawKey) const {
  const std::string key = NormalizedKey(rawKey);
  if (AlwaysExists(root, key)) return true;
  Session session(file_, Access::Read);
  return session.ok() && StoredKeyExists(session, root, key);
}

bool Registry::CreateKey(RegistryRoot root, std::string_view rawKey) const {
  const std::string key = NormalizedKey(rawKey);
  if (!EnsureStoreFile(file_)) {
    WarnOnce(file_, std::string("cannot be created (") + std::strerror(errno) + "); settings are not saved");
    return false;
  }
  Session session(file_, Access::Write);
  return InsertKeyWithParents(session, root, key) && session.Commit();
}

std::string Registry::ReadString(RegistryRoot root, std::string_view rawKey, std::string_view name) const {
  const std::string key = NormalizedKey(rawKey);
  const std::optional<StoredValue> value = LookUp(file_, root, key, name);
  if (!value) return IsComputerNameValue(root, key, name) ? HostName() : "";
  return value->type == kTypeString ? value->text : "";
}

std::uint32_t Registry::ReadDword(RegistryRoot root, std::string_view rawKey, std::string_view name) const {
  const std::optional<StoredValue> value = LookUp(file_, root, NormalizedKey(rawKey), name);
  return value && value->type == kTypeDword ? value->number : 0;
}

bool Registry::WriteString(RegistryRoot root, std::string_view key, std::string_view name,
                           std::string_view value) const {
  return Store(file_, root, key, name, kTypeString, value, 0);
}

bool Registry::WriteDword(RegistryRoot root, std::string_view key, std::string_view name,
                          std::uint32_t value) const {
  return Store(file_, root, key, name, kTypeDword, "", value);
}

bool Registry::DeleteValue(RegistryRoot root, std::string_view rawKey, std::string_view name) const {
  if (FileIsMissing(file_)) return false;
  Session session(file_, Access::Write);
  Statement remove(session, "DELETE FROM vals WHERE root = ? AND path = ? AND name = ?");
  remove.Bind(1, root).Bind(2, NormalizedKey(rawKey)).Bind(3, name);
  const std::optional<int> removed = remove.Run();
  return removed && *removed > 0 && session.Commit();
}

bool Registry::DeleteKey(RegistryRoot root, std::string_view rawKey) const {
  const std::string key = NormalizedKey(rawKey);
  if (key.empty() || HasSystemSubkey(root, key) || FileIsMissing(file_)) return false;
  Session session(file_, Access::Write);
  Statement subkeys(session,
                    "SELECT 1 FROM keys WHERE root = ? AND substr(path, 1, ?) = ? COLLATE NOCASE LIMIT 1");
  subkeys.Bind(1, root).Bind(2, static_cast<std::int64_t>(key.size() + 1)).Bind(3, key + "\\");
  if (subkeys.Next() || !session.ok()) return false;
  Statement removeValues(session, "DELETE FROM vals WHERE root = ? AND path = ?");
  removeValues.Bind(1, root).Bind(2, key);
  const std::optional<int> values = removeValues.Run();
  Statement removeKey(session, "DELETE FROM keys WHERE root = ? AND path = ?");
  removeKey.Bind(1, root).Bind(2, key);
  const std::optional<int> keys = removeKey.Run();
  return values && keys && *values + *keys > 0 && session.Commit();
}

}  // namespace vmk::platform
