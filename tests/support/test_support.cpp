#include "support/test_support.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "publish/list_release.h"
#include "screening/sanctions_db.h"
#include "text/cp1252.h"

namespace vmk::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vmk-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot create a temporary folder";
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

int ListenOnLoopback(int backlog, int& port) {
  const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener, backlog) != 0 ||
      ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (listener >= 0) ::close(listener);
    return -1;
  }
  port = ntohs(address.sin_port);
  return listener;
}

int ClosedLoopbackPort() {
  int port = 0;
  const int probe = ListenOnLoopback(1, port);
  if (probe >= 0) ::close(probe);
  return port;
}

std::filesystem::path ProgramDirectoryFile(const std::string& name) {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
}

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

void WriteDatabasePack(const std::filesystem::path& dataDirectory, const publish::SanctionsData& data,
                       publish::PackSignature signature, bool compress) {
  const std::filesystem::path database = dataDirectory / "fixture.sqlite";
  const std::string error = publish::WriteSanctionsDatabase(database, data);
  ASSERT_EQ(error, "");
  ASSERT_TRUE(publish::WritePackFromFile(dataDirectory / screening::kPackName, signature,
                                         screening::kPackEntryName, database, compress));
  std::filesystem::remove(database);
}

publish::ListEntry Entry(screening::ListId list,
                         std::initializer_list<std::pair<std::string, std::string>> utf8Values) {
  publish::ListEntry entry{list, {}};
  for (const auto& [column, value] : utf8Values) entry.values[column] = text::Utf8ToCp1252(value);
  return entry;
}

std::filesystem::path RealListsFolder() {
  const char* source = std::getenv("VELDMARK_SOURCE_DIR");
  return std::filesystem::path(source != nullptr ? source : ".") / ".." / "shared" / "data" / "lists";
}

std::optional<std::filesystem::path> BuildRealListRelease(const std::filesystem::path& folder) {
  const std::filesystem::path lists = RealListsFolder();
  if (!std::filesystem::exists(lists / "us" / "ofac_sdn.csv")) return std::nullopt;
  publish::ListSources sources;
  sources.un = lists / "un" / "consolidated.xml";
  sources.uk = lists / "uk" / "conlist_2020_excerpt.csv";
  sources.ofac = {
      {lists / "us" / "ofac_sdn.csv", lists / "us" / "ofac_alt.csv", lists / "us" / "ofac_add.csv"}};
  publish::ReleaseSummary summary;
  const std::string error = publish::BuildListRelease(sources, folder, summary);
  EXPECT_EQ(error, "");
  if (!error.empty()) return std::nullopt;
  return folder / "KESTO.adb";
}

}  // namespace vmk::testing
