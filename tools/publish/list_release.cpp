#include "publish/list_release.h"

#include <unistd.h>

#include <fstream>
#include <system_error>

#include "publish/list_reader.h"
#include "publish/pack_writer.h"
#include "update/program_version.h"

namespace vmk::publish {

namespace {

namespace fs = std::filesystem;
using screening::ListId;

constexpr const char* kDatabaseFile = "KESTO.adb";
constexpr const char* kPackFile = "KE2DB.pak";
constexpr const char* kPackEntry = "Kesto.pak";

bool WriteText(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out.flush());
}

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Adds one list file's rows; the first date a list's files give is the list's date.
std::string Take(ListRead read, ListId list, SanctionsData& data, ReleaseSummary& summary) {
  if (!read.Ok()) return read.error;
  const auto index = static_cast<std::size_t>(list);
  for (ListEntry& entry : read.entries) {
    entry.list = list;
    data.entries.push_back(std::move(entry));
  }
  summary.rows[index] += read.entries.size();
  if (data.dates[index] == "-") data.dates[index] = read.date;
  return "";
}

std::string ReadLists(const ListSources& sources, SanctionsData& data, ReleaseSummary& summary) {
  std::string error;
  if (sources.eu && error.empty())
    error = Take(ReadEuFinancialSanctionsCsv(*sources.eu), ListId::EU, data, summary);
  if (sources.un && error.empty())
    error = Take(ReadUnConsolidatedXml(*sources.un), ListId::UN, data, summary);
  if (sources.uk && error.empty())
    error = Take(ReadUkConsolidatedCsv(*sources.uk), ListId::UK, data, summary);
  if (sources.usCsl && error.empty()) {
    error = Take(ReadUsConsolidatedScreeningCsv(*sources.usCsl), ListId::US, data, summary);
  }
  if (sources.ofac && error.empty()) {
    const auto& [sdn, alt, add] = *sources.ofac;
    error = Take(ReadOfacSdnCsv(sdn, alt, add), ListId::US, data, summary);
  }
  summary.dates = data.dates;
  return error;
}

std::string WriteRelease(const ListSources& sources, const SanctionsData& data, const fs::path& folder) {
  const fs::path database = folder / kDatabaseFile, pack = folder / kPackFile, server = folder / "kepdata";
  if (std::string error = WriteSanctionsDatabase(database, data); !error.empty()) return error;
  if (!WritePackFromFile(pack, PackSignature::V2, kPackEntry, database, true))
    return pack.string() + ": not written";
  std::error_code failed;
  fs::create_directories(server, failed);
  fs::copy_file(pack, server / "KE2DBpak.bin", failed);
  if (failed) return (server / "KE2DBpak.bin").string() + ": " + failed.message();
  const std::string info = sources.info ? ReadText(*sources.info) : DefaultInformationText(data.dates);
  if (!WriteText(server / "download.me", UpdateDescription(data.dates)) ||
      !WriteText(server / "vminfo.txt", info)) {
    return server.string() + ": not written";
  }
  return "";
}

// The finished release takes the place of an older one only once it is complete.
std::string Publish(const fs::path& built, const fs::path& out) {
  std::error_code failed;
  const fs::path old = out.string() + ".old-" + std::to_string(::getpid());
  const bool replacing = fs::exists(out);
  if (replacing) fs::rename(out, old, failed);
  if (!failed) fs::rename(built, out, failed);
  if (failed) return out.string() + ": " + failed.message();
  if (replacing) fs::remove_all(old, failed);
  return "";
}

}  // namespace

std::string UpdateDescription(const std::array<std::string, 4>& dates) {
  return "[Version]\r\nKESTO2=" + std::to_string(update::kProgramVersionNumber) + "\r\nKE2UInfo=Version 2." +
         update::kBuildNumberText + "\r\n[Date]\r\nEUK2=" + dates[0] + "\r\nUNK2=" + dates[1] +
         "\r\nUKK2=" + dates[2] + "\r\nUSK2=" + dates[3] + "\r\n";
}

std::string DefaultInformationText(const std::array<std::string, 4>& dates) {
  return "Aktueller Stand der Sanktionslisten\r\n\r\nEU Liste: " + dates[0] + "\r\nUN Liste: " + dates[1] +
         "\r\nUK Liste: " + dates[2] + "\r\nUS Listen: " + dates[3] + "\r\n";
}

std::string BuildListRelease(const ListSources& sources, const fs::path& out, ReleaseSummary& summary) {
  SanctionsData data;
  if (std::string error = ReadLists(sources, data, summary); !error.empty()) return error;
  const fs::path target = fs::absolute(out);
  const fs::path built = target.string() + ".building-" + std::to_string(::getpid());
  std::error_code failed;
  fs::remove_all(built, failed);
  fs::create_directories(built, failed);
  if (failed) return built.string() + ": " + failed.message();
  std::string error = WriteRelease(sources, data, built);
  if (error.empty()) error = Publish(built, target);
  if (!error.empty()) fs::remove_all(built, failed);
  return error;
}

}  // namespace vmk::publish
