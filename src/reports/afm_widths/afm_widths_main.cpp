// Build-time tool: reads the character widths of the fourteen standard faces from AFM files and writes
// them as C++ tables indexed by the byte a PDF string holds for each face.
//
// Usage: afm_widths OUTPUT.cpp BaseName:winansi|builtin:FILE.afm ...
// "winansi" indexes the widths by Windows-1252 code through the glyph names of WinAnsiEncoding,
// "builtin" by the code the AFM file gives (Symbol and ZapfDingbats use their own encoding).

#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Glyph names of WinAnsiEncoding for the codes 32 to 255. Codes the code page leaves unassigned show
// the bullet, as PDF readers draw them.
// clang-format off
const std::array<const char*, 224> kWinAnsiNames = {
    "space", "exclam", "quotedbl", "numbersign", "dollar", "percent", "ampersand", "quotesingle",  // 32
    "parenleft", "parenright", "asterisk", "plus", "comma", "hyphen", "period", "slash",  // 40
    "zero", "one", "two", "three", "four", "five", "six", "seven",  // 48
    "eight", "nine", "colon", "semicolon", "less", "equal", "greater", "question",  // 56
    "at", "A", "B", "C", "D", "E", "F", "G",  // 64
    "H", "I", "J", "K", "L", "M", "N", "O",  // 72
    "P", "Q", "R", "S", "T", "U", "V", "W",  // 80
    "X", "Y", "Z", "bracketleft", "backslash", "bracketright", "asciicircum", "underscore",  // 88
    "grave", "a", "b", "c", "d", "e", "f", "g",  // 96
    "h", "i", "j", "k", "l", "m", "n", "o",  // 104
    "p", "q", "r", "s", "t", "u", "v", "w",  // 112
    "x", "y", "z", "braceleft", "bar", "braceright", "asciitilde", "bullet",  // 120
    "Euro", "bullet", "quotesinglbase", "florin", "quotedblbase", "ellipsis", "dagger",  // 128
    "daggerdbl", "circumflex", "perthousand", "Scaron", "guilsinglleft", "OE", "bullet",  // 135
    "Zcaron", "bullet", "bullet", "quoteleft", "quoteright", "quotedblleft", "quotedblright",  // 142
    "bullet", "endash", "emdash", "tilde", "trademark", "scaron", "guilsinglright", "oe",  // 149
    "bullet", "zcaron", "Ydieresis", "space", "exclamdown", "cent", "sterling", "currency",  // 157
    "yen", "brokenbar", "section", "dieresis", "copyright", "ordfeminine", "guillemotleft",  // 165
    "logicalnot", "hyphen", "registered", "macron", "degree", "plusminus", "twosuperior",  // 172
    "threesuperior", "acute", "mu", "paragraph", "periodcentered", "cedilla", "onesuperior",  // 179
    "ordmasculine", "guillemotright", "onequarter", "onehalf", "threequarters", "questiondown",  // 186
    "Agrave", "Aacute", "Acircumflex", "Atilde", "Adieresis", "Aring", "AE", "Ccedilla",  // 192
    "Egrave", "Eacute", "Ecircumflex", "Edieresis", "Igrave", "Iacute", "Icircumflex",  // 200
    "Idieresis", "Eth", "Ntilde", "Ograve", "Oacute", "Ocircumflex", "Otilde", "Odieresis",  // 207
    "multiply", "Oslash", "Ugrave", "Uacute", "Ucircumflex", "Udieresis", "Yacute", "Thorn",  // 215
    "germandbls", "agrave", "aacute", "acircumflex", "atilde", "adieresis", "aring", "ae",  // 223
    "ccedilla", "egrave", "eacute", "ecircumflex", "edieresis", "igrave", "iacute",  // 231
    "icircumflex", "idieresis", "eth", "ntilde", "ograve", "oacute", "ocircumflex", "otilde",  // 238
    "odieresis", "divide", "oslash", "ugrave", "uacute", "ucircumflex", "udieresis", "yacute",  // 246
    "thorn", "ydieresis",  // 254
};
// clang-format on

struct GlyphMetric {
  int code = -1;
  int width = 0;
};

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The "C code ; WX width ; N name ; ..." lines of the character metrics section, by glyph name.
bool ReadGlyphMetrics(const std::string& file, std::map<std::string, GlyphMetric>& glyphs) {
  std::ifstream in(file);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("C ", 0) != 0) continue;
    std::istringstream fields(line);
    std::string field, name;
    GlyphMetric metric;
    while (std::getline(fields, field, ';')) {
      std::istringstream parts(Trim(field));
      std::string key;
      parts >> key;
      if (key == "C") parts >> metric.code;
      if (key == "WX") parts >> metric.width;
      if (key == "N") parts >> name;
    }
    if (!name.empty()) glyphs[name] = metric;
  }
  return !glyphs.empty();
}

bool WidthsByWinAnsi(const std::map<std::string, GlyphMetric>& glyphs, std::array<int, 256>& widths,
                     const std::string& file) {
  for (std::size_t i = 0; i < kWinAnsiNames.size(); ++i) {
    const auto found = glyphs.find(kWinAnsiNames[i]);
    if (found == glyphs.end()) {
      std::cerr << file << ": no glyph " << kWinAnsiNames[i] << "\n";
      return false;
    }
    widths[32 + i] = found->second.width;
  }
  return true;
}

void WidthsByBuiltinCode(const std::map<std::string, GlyphMetric>& glyphs, std::array<int, 256>& widths) {
  for (const auto& [name, metric] : glyphs) {
    if (metric.code >= 0 && metric.code < 256) widths[metric.code] = metric.width;
  }
}

struct FaceTable {
  std::string baseName;
  bool winAnsi = true;
  std::array<int, 256> widths{};
};

bool ReadFace(const std::string& argument, FaceTable& face) {
  const auto first = argument.find(':');
  const auto second = first == std::string::npos ? first : argument.find(':', first + 1);
  if (second == std::string::npos) {
    std::cerr << "bad face argument " << argument << "\n";
    return false;
  }
  face.baseName = argument.substr(0, first);
  face.winAnsi = argument.substr(first + 1, second - first - 1) == "winansi";
  const std::string file = argument.substr(second + 1);
  std::map<std::string, GlyphMetric> glyphs;
  if (!ReadGlyphMetrics(file, glyphs)) {
    std::cerr << file << ": no character metrics\n";
    return false;
  }
  if (!face.winAnsi) {
    WidthsByBuiltinCode(glyphs, face.widths);
    return true;
  }
  return WidthsByWinAnsi(glyphs, face.widths, file);
}

void WriteTables(std::ostream& out, const std::vector<FaceTable>& faces) {
  out << "// Generated at build time by afm_widths from the URW base-35 AFM files. Do not edit.\n"
         "#include \"reports/core_font_tables.h\"\n\n"
         "namespace vmk::reports {\nnamespace {\n\n"
         "constexpr CoreFontTable kTables[] = {\n";
  for (const FaceTable& face : faces) {
    out << "    {\"" << face.baseName << "\", " << (face.winAnsi ? "true" : "false") << ", {";
    for (std::size_t code = 0; code < face.widths.size(); ++code) {
      out << (code % 16 == 0 ? "\n        " : " ") << face.widths[code] << ",";
    }
    out << "}},\n";
  }
  out << "};\n\n}  // namespace\n\n"
         "std::span<const CoreFontTable> CoreFontTables() {\n  return kTables;\n}\n\n"
         "}  // namespace vmk::reports\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: afm_widths OUTPUT.cpp BaseName:winansi|builtin:FILE.afm ...\n";
    return 2;
  }
  std::vector<FaceTable> faces(static_cast<std::size_t>(argc - 2));
  for (int i = 2; i < argc; ++i) {
    if (!ReadFace(argv[i], faces[static_cast<std::size_t>(i - 2)])) return 1;
  }
  const std::string output = argv[1];
  const std::string temporary = output + ".tmp";
  {
    std::ofstream out(temporary, std::ios::trunc);
    WriteTables(out, faces);
    if (!out) {
      std::cerr << "cannot write " << temporary << "\n";
      return 1;
    }
  }
  return std::rename(temporary.c_str(), output.c_str()) == 0 ? 0 : 1;
}
