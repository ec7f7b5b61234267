#include "generated_lists.h"

namespace vmk::bench {

using screening::ListId;

std::string NameMaker::Word(int syllables) {
  static const char* const kParts[] = {"ka", "mel", "li", "bar", "os",  "tan", "vik", "dra", "gu",  "nov",
                                       "al", "fa",  "za", "ri",  "han", "del", "sch", "mi",  "ter", "berg",
                                       "ul", "ya",  "ko", "rin", "ash", "ev",  "ich", "ma",  "son", "qui"};
  std::string word;
  for (int i = 0; i < syllables; ++i) word += kParts[random_() % std::size(kParts)];
  word[0] = static_cast<char>(word[0] - 'a' + 'A');
  return word;
}

std::string NameMaker::Name() {
  return Word(2 + static_cast<int>(random_() % 2)) + " " + Word(2 + static_cast<int>(random_() % 3));
}

std::string NameMaker::Address() {
  return std::to_string(1 + random_() % 200) + " " + Word(3) + " Street, " + Word(2);
}

publish::SanctionsData GenerateLists() {
  NameMaker make;
  publish::SanctionsData data;
  data.dates = {"28.01.2026", "27.02.2026", "20.02.2026", "15.01.2026"};
  const auto add = [&](ListId list, int count, auto fill) {
    for (int i = 0; i < count; ++i) {
      publish::ListEntry entry{list, {}};
      fill(entry.values, i);
      data.entries.push_back(std::move(entry));
    }
  };
  add(ListId::EU, 20000, [&](auto& v, int i) {
    const std::string last = make.Word(3), first = make.Word(2);
    v["Name"] = first + " " + last;
    v["LastName"] = last;
    v["FirstName"] = first;
    v["WholeName"] = first + " " + last;
    v["Programme"] = "PRG" + std::to_string(i % 40);
    v["Address"] = make.Address();
  });
  add(ListId::UN, 1500, [&](auto& v, int i) {
    v["DataId"] = std::to_string(100000 + i);
    v["FirstName"] = make.Word(2);
    v["SecondName"] = make.Word(3);
    v["Alias"] = make.Name();
    v["Address"] = make.Address();
  });
  add(ListId::UK, 5000, [&](auto& v, int i) {
    v["Name6"] = make.Word(3);
    v["Name1"] = make.Word(2);
    v["Address1"] = make.Address();
    v["GroupID"] = std::to_string(i);
  });
  add(ListId::US, 30000, [&](auto& v, int i) {
    v["EntityNumber"] = std::to_string(i);
    v["Name"] = make.Name();
    v["AlternateName"] = make.Name();
    v["Address"] = make.Address();
    v["City"] = make.Word(2);
  });
  return data;
}

}  // namespace vmk::bench
