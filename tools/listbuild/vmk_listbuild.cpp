// vmk-listbuild: the publisher's build of a list release from the official list files.
//   vmk-listbuild [--eu FILE] [--un FILE] [--uk FILE] [--us-csl FILE]
//                 [--ofac-sdn FILE --ofac-alt FILE --ofac-add FILE] [--info FILE] --out DIR
#include <cstring>
#include <iostream>
#include <map>
#include <string>

#include "publish/list_release.h"

namespace {

using vmk::publish::ListSources;

constexpr const char* kUsage =
    "Aufruf: vmk-listbuild [--eu DATEI] [--un DATEI] [--uk DATEI] [--us-csl DATEI]\n"
    "                      [--ofac-sdn DATEI --ofac-alt DATEI --ofac-add DATEI] [--info DATEI] --out "
    "ORDNER\n";

int Fail(const std::string& text) {
  std::cerr << "vmk-listbuild: " << text << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, std::string> options;
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    static const char* const kKnown[] = {"--eu",       "--un",       "--uk",   "--us-csl", "--ofac-sdn",
                                         "--ofac-alt", "--ofac-add", "--info", "--out"};
    bool known = false;
    for (const char* option : kKnown) known |= name == option;
    if (!known || i + 1 >= argc)
      return Fail(known ? name + " ohne Wert\n" + kUsage : "unbekannt: " + name + "\n" + kUsage);
    options[name] = argv[++i];
  }
  if (!options.contains("--out")) return Fail(std::string("--out fehlt\n") + kUsage);
  ListSources sources;
  const auto path = [&](const char* name) -> std::optional<std::filesystem::path> {
    if (!options.contains(name)) return std::nullopt;
    return std::filesystem::path(options[name]);
  };
  sources.eu = path("--eu");
  sources.un = path("--un");
  sources.uk = path("--uk");
  sources.usCsl = path("--us-csl");
  sources.info = path("--info");
  const int ofacParts =
      options.count("--ofac-sdn") + options.count("--ofac-alt") + options.count("--ofac-add");
  if (ofacParts != 0 && ofacParts != 3) return Fail("--ofac-sdn, --ofac-alt und --ofac-add gehören zusammen");
  if (ofacParts == 3) sources.ofac = {{*path("--ofac-sdn"), *path("--ofac-alt"), *path("--ofac-add")}};

  vmk::publish::ReleaseSummary summary;
  const std::string error = vmk::publish::BuildListRelease(sources, options["--out"], summary);
  if (!error.empty()) return Fail(error);
  static const char* const kTables[] = {"EUGlobal", "UNGlobalINDIV", "Boe", "USConsolidated"};
  std::cout << "Listenstand in " << options["--out"] << ":\n";
  for (std::size_t list = 0; list < 4; ++list) {
    std::cout << "  " << kTables[list] << ": " << summary.rows[list] << " Zeilen, Stand "
              << summary.dates[list] << "\n";
  }
  return 0;
}
