// Sanctions lists of realistic size made of generated names, and names and addresses in the same style,
// for the benchmarks.
#pragma once

#include <random>
#include <string>

#include "publish/sanctions_db_writer.h"

namespace vmk::bench {

// Names and addresses made of syllables, so the key columns look like those of real lists.
class NameMaker {
 public:
  explicit NameMaker(unsigned seed = 20261211) : random_(seed) {}
  std::string Word(int syllables);
  std::string Name();
  std::string Address();

 private:
  std::mt19937 random_;
};

// EU 20 000, UN 1 500, UK 5 000 and US 30 000 rows.
publish::SanctionsData GenerateLists();

}  // namespace vmk::bench
