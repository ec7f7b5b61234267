#include "platform/folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

namespace vmk::platform {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

std::string HomeFolder() {
  std::string home = Environment("HOME");
  if (home.empty()) {
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
      home = entry->pw_dir;
    }
  }
  return WithSlash(home);
}

// An XDG base folder: the variable when it holds an absolute path (relative ones are invalid and
// ignored), otherwise the default below the home folder.
std::string XdgFolder(const char* variable, std::string_view belowHome) {
  const std::string value = Environment(variable);
  if (!value.empty() && value.front() == '/') return WithSlash(value);
  const std::string home = HomeFolder();
  return home.empty() ? "" : home + std::string(belowHome);
}

std::string XdgConfigHome() {
  return XdgFolder("XDG_CONFIG_HOME", ".config/");
}
std::string XdgDataHome() {
  return XdgFolder("XDG_DATA_HOME", ".local/share/");
}

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return "";
  const auto last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

// The value of a user-dirs.dirs assignment: quotes removed, backslash escapes resolved, a leading
// $HOME expanded; nothing for a value that is neither absolute nor below $HOME.
std::optional<std::string> UserDirValue(std::string_view raw) {
  std::string value;
  bool quoted = !raw.empty() && raw.front() == '"';
  if (quoted) raw.remove_prefix(1);
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (quoted && raw[i] == '"') break;
    if (raw[i] == '\\' && i + 1 < raw.size()) ++i;
    value += raw[i];
  }
  if (value.starts_with("$HOME")) {
    const std::string rest = value.substr(5);
    if (!rest.empty() && rest.front() != '/') return std::nullopt;
    const std::string home = HomeFolder();
    if (home.empty()) return std::nullopt;
    return WithSlash(home + (rest.empty() ? "" : rest.substr(1)));
  }
  if (value.empty() || value.front() != '/') return std::nullopt;
  return WithSlash(value);
}

// XDG_DOCUMENTS_DIR from user-dirs.dirs (the last valid assignment wins, as in the shell that the
// file is written for), else ~/Documents/.
std::string DocumentsFolder() {
  constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR";
  std::optional<std::string> documents;
  const std::string config = XdgConfigHome();
  if (!config.empty()) {
    std::ifstream in(config + "user-dirs.dirs");
    for (std::string line; std::getline(in, line);) {
      std::string assignment = Trim(line);
      if (assignment.starts_with("export ")) assignment = Trim(std::string_view(assignment).substr(7));
      if (!assignment.starts_with(kKey) || assignment.size() <= kKey.size() ||
          assignment[kKey.size()] != '=') {
        continue;
      }
      if (auto value = UserDirValue(std::string_view(assignment).substr(kKey.size() + 1))) documents = value;
    }
  }
  if (documents) return *documents;
  const std::string home = HomeFolder();
  return home.empty() ? "" : home + "Documents/";
}

std::string InstallationRoot() {
  return WithSlash(Environment("VELDMARK_ROOT"));
}

}  // namespace

std::string ConfigFolder() {
  if (const std::string root = InstallationRoot(); !root.empty()) return root + "config/";
  const std::string config = XdgConfigHome();
  return config.empty() ? "" : config + "veldmark/";
}

std::string SpecialFolder(int number) {
  const std::string root = InstallationRoot();
  switch (number) {
    case kFolderPersonalDocuments:
    case kFolderCommonDocuments:
      return root.empty() ? DocumentsFolder() : root + "documents/";
    case kFolderAppData:
      return root.empty() ? XdgConfigHome() : root + "config/";
    case kFolderLocalAppData:
    case kFolderCommonAppData: {
      if (!root.empty()) return root + "appdata/";
      const std::string data = XdgDataHome();
      return data.empty() ? "" : data + "veldmark/";
    }
    default:
      return "";
  }
}

namespace {

std::string CommonAppDataFolder(const char* name) {
  const std::string appData = SpecialFolder(kFolderCommonAppData);
  return appData.empty() ? "" : appData + name + "/";
}

}  // namespace

std::string DataDirectory() {
  return CommonAppDataFolder(kDataDirectoryName);
}

std::string SecondPackDirectory() {
  return CommonAppDataFolder(kSecondPackDirectoryName);
}

std::string ProgramFile() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return "";
    if (static_cast<std::size_t>(length) < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

std::string ProgramDirectory() {
  const std::string file = ProgramFile();
  const auto slash = file.rfind('/');
  return slash == std::string::npos ? "" : file.substr(0, slash + 1);
}

}  // namespace vmk::platform
