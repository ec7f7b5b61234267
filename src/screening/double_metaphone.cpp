#include "screening/double_metaphone.h"

#include <initializer_list>

#include "text/cp1252.h"

namespace vmk::screening {
namespace {

constexpr char kCCedilla = '\xC7';  // Ç
constexpr char kNTilde = '\xD1';    // Ñ
constexpr std::size_t kKeyLength = 4;

bool IsVowel(char c) {
  return std::string_view("AEIOUY").find(c) != std::string_view::npos;
}

// W and K are rare in the languages Double Metaphone was built for; where they occur, the text is
// more likely Slavic or Germanic and a few letters are read differently.
bool IsSlavoGermanic(std::string_view upper) {
  return upper.find('W') != std::string_view::npos || upper.find('K') != std::string_view::npos ||
         upper.find("CZ") != std::string_view::npos;
}

// One encoding run. Each Encode* method applies the rules of the letter at p, appends to the keys
// and returns how many positions to move on.
class Encoder {
 public:
  explicit Encoder(std::string_view text)
      : word_(text::ToUpper1252(text)),
        last_(static_cast<int>(word_.size()) - 1),
        slavo_germanic_(IsSlavoGermanic(word_)) {}

  MetaphoneKeys Run();

 private:
  // Positions outside the text read as blanks, so the rules may look around freely.
  char At(int i) const { return i < 0 || i > last_ ? ' ' : word_[static_cast<std::size_t>(i)]; }
  bool VowelAt(int i) const { return IsVowel(At(i)); }
  bool OneOf(int i, std::string_view letters) const { return letters.find(At(i)) != std::string_view::npos; }
  bool Matches(int start, std::string_view pattern) const;
  bool MatchesAny(int start, std::initializer_list<std::string_view> patterns) const;
  bool BeginsWith(std::string_view prefix) const { return Matches(0, prefix); }
  bool BeginsGermanic() const { return MatchesAny(0, {"VAN ", "VON ", "SCH"}); }
  int Doubled(int p) const { return At(p + 1) == At(p) ? 2 : 1; }

  void Add(std::string_view both) { Add(both, both); }
  void Add(std::string_view primary, std::string_view alternate) {
    primary_ += primary;
    alternate_ += alternate;
  }

  void ApplyStartRules();
  int EncodeAt(int p);
  int EncodeSimple(int p, std::string_view code);
  int EncodeC(int p);
  int EncodeCh(int p);
  int EncodeCc(int p);
  int EncodeD(int p);
  int EncodeG(int p);
  int EncodeGh(int p);
  int EncodeGn(int p);
  int EncodeH(int p);
  int EncodeJ(int p);
  int EncodeL(int p);
  int EncodeM(int p);
  int EncodeN(int p);
  int EncodeP(int p);
  int EncodeR(int p);
  int EncodeS(int p);
  int EncodeSc(int p);
  int EncodeT(int p);
  int EncodeW(int p);
  int EncodeX(int p);
  int EncodeZ(int p);

  std::string word_;
  int last_;
  bool slavo_germanic_;
  int p_ = 0;
  std::string primary_;
  std::string alternate_;
};

bool Encoder::Matches(int start, std::string_view pattern) const {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (At(start + static_cast<int>(i)) != pattern[i]) return false;
  }
  return true;
}

bool Encoder::MatchesAny(int start, std::initializer_list<std::string_view> patterns) const {
  for (std::string_view pattern : patterns) {
    if (Matches(start, pattern)) return true;
  }
  return false;
}

MetaphoneKeys Encoder::Run() {
  ApplyStartRules();
  // Only the primary key's length ends the loop; the alternate keeps whatever it holds by then.
  while (p_ <= last_ && primary_.size() < kKeyLength) p_ += EncodeAt(p_);
  if (primary_.size() > kKeyLength) primary_.resize(kKeyLength);
  if (alternate_.size() > kKeyLength) alternate_.resize(kKeyLength);
  return {primary_, alternate_};
}

void Encoder::ApplyStartRules() {
  if (MatchesAny(0, {"GN", "KN", "PN", "WR", "PS"})) {
    p_ = 1;  // silent first letter
  } else if (At(0) == 'X') {
    Add("S");
    p_ = 1;
  } else if (VowelAt(0)) {
    Add("A");
    p_ = 1;
  } else if (BeginsWith("CAESAR")) {
    Add("S");
    p_ = 2;
  }
}

int Encoder::EncodeAt(int p) {
  switch (At(p)) {
    case 'B':
      return EncodeSimple(p, "P");
    case kCCedilla:
      return EncodeSimple(p, "S");
    case 'C':
      return EncodeC(p);
    case 'D':
      return EncodeD(p);
    case 'F':
      return EncodeSimple(p, "F");
    case 'G':
      return EncodeG(p);
    case 'H':
      return EncodeH(p);
    case 'J':
      return EncodeJ(p);
    case 'K':
      return EncodeSimple(p, "K");
    case 'L':
      return EncodeL(p);
    case 'M':
      return EncodeM(p);
    case 'N':
    case kNTilde:
      return EncodeN(p);
    case 'P':
      return EncodeP(p);
    case 'Q':
      return EncodeSimple(p, "K");
    case 'R':
      return EncodeR(p);
    case 'S':
      return EncodeS(p);
    case 'T':
      return EncodeT(p);
    case 'V':
      return EncodeSimple(p, "F");
    case 'W':
      return EncodeW(p);
    case 'X':
      return EncodeX(p);
    case 'Z':
      return EncodeZ(p);
    default:
      return 1;  // vowels after the start, blanks, digits, umlauts, punctuation
  }
}

// A letter with one code whose doubling is read as one letter.
int Encoder::EncodeSimple(int p, std::string_view code) {
  Add(code);
  return Doubled(p);
}

int Encoder::EncodeC(int p) {
  // Germanic "ACH" as in BACHER, but not the Italian ACHI / ACHE.
  if (p > 1 && !VowelAt(p - 2) && Matches(p - 1, "ACH") && At(p + 2) != 'I' &&
      (At(p + 2) != 'E' || MatchesAny(p - 2, {"BACHER", "MACHER"}))) {
    Add("K");
    return 2;
  }
  if (Matches(p, "CHIA")) {
    Add("K");
    return 2;
  }
  if (Matches(p, "CH")) return EncodeCh(p);
  if (Matches(p, "CZ") && !Matches(p - 2, "WICZ")) {
    Add("S", "X");
    return 2;
  }
  if (Matches(p + 1, "CIA")) {
    Add("X");
    return 3;
  }
  if (Matches(p, "CC") && !BeginsWith("MCC")) return EncodeCc(p);
  if (MatchesAny(p, {"CK", "CG", "CQ"})) {
    Add("K");
    return 2;
  }
  if (MatchesAny(p, {"CI", "CE", "CY"})) {
    if (MatchesAny(p, {"CIO", "CIE", "CIA"})) {
      Add("S", "X");
    } else {
      Add("S");
    }
    return 2;
  }
  Add("K");
  if (MatchesAny(p + 1, {" C", " Q", " G"})) return 3;  // MAC CAFFREY: the second C goes with the first
  if (OneOf(p + 1, "CKQ") && !MatchesAny(p + 1, {"CE", "CI"})) return 2;
  return 1;
}

int Encoder::EncodeCh(int p) {
  if (p > 0 && Matches(p, "CHAE")) {
    Add("K", "X");
    return 2;
  }
  // Greek roots: CHARACTER, CHORUS, CHYMIST.
  if (p == 0 && (MatchesAny(p + 1, {"HARAC", "HARIS"}) || MatchesAny(p + 1, {"HOR", "HYM", "HIA", "HEM"})) &&
      !BeginsWith("CHORE")) {
    Add("K");
    return 2;
  }
  if (BeginsGermanic() || MatchesAny(p - 2, {"ORCHES", "ARCHIT", "ORCHID"}) || OneOf(p + 2, "TS") ||
      ((OneOf(p - 1, "AOUE") || p == 0) && OneOf(p + 2, "LRNMBHFVW "))) {
    Add("K");
    return 2;
  }
  if (p == 0) {
    Add("X");
  } else if (BeginsWith("MC")) {
    Add("K");
  } else {
    Add("X", "K");
  }
  return 2;
}

int Encoder::EncodeCc(int p) {
  if (OneOf(p + 2, "IEH") && !Matches(p + 2, "HU")) {
    // ACCIDENT and SUCCESS say KS; BELLOCCHIO and BOCCE say X.
    if ((p == 1 && At(p - 1) == 'A') || MatchesAny(p - 1, {"UCCEE", "UCCES"})) {
      Add("KS");
    } else {
      Add("X");
    }
    return 3;
  }
  Add("K");
  return 2;
}

int Encoder::EncodeD(int p) {
  if (Matches(p, "DG")) {
    if (OneOf(p + 2, "IEY")) {
      Add("J");
      return 3;
    }
    Add("TK");
    return 2;
  }
  Add("T");
  return MatchesAny(p, {"DT", "DD"}) ? 2 : 1;
}

int Encoder::EncodeG(int p) {
  if (At(p + 1) == 'H') return EncodeGh(p);
  if (At(p + 1) == 'N') return EncodeGn(p);
  if (Matches(p + 1, "LI") && !slavo_germanic_) {
    Add("KL", "L");
    return 2;
  }
  if (p == 0 && (At(p + 1) == 'Y' ||
                 MatchesAny(p + 1, {"ES", "EP", "EB", "EL", "EY", "IB", "IL", "IN", "IE", "EI", "ER"}))) {
    Add("K", "J");
    return 2;
  }
  if ((Matches(p + 1, "ER") || At(p + 1) == 'Y') && !MatchesAny(0, {"DANGER", "RANGER", "MANGER"}) &&
      !OneOf(p - 1, "EI") && !MatchesAny(p - 1, {"RGY", "OGY"})) {
    Add("K", "J");
    return 2;
  }
  if (OneOf(p + 1, "EIY") || MatchesAny(p - 1, {"AGGI", "OGGI"})) {
    if (BeginsGermanic() || Matches(p + 1, "ET")) {
      Add("K");
    } else if (Matches(p + 1, "IER ")) {
      Add("J");
    } else {
      Add("J", "K");
    }
    return 2;
  }
  Add("K");
  return Doubled(p);
}

int Encoder::EncodeGh(int p) {
  if (p > 0 && !VowelAt(p - 1)) {
    Add("K");
    return 2;
  }
  if (p == 0) {
    Add(At(p + 2) == 'I' ? "J" : "K");
    return 2;
  }
  // Silent after B, H or D a few letters back: HUGH, BOUGH, BROUGHTON.
  if ((p > 1 && OneOf(p - 2, "BHD")) || (p > 2 && OneOf(p - 3, "BHD")) || (p > 3 && OneOf(p - 4, "BH"))) {
    return 2;
  }
  if (p > 2 && At(p - 1) == 'U' && OneOf(p - 3, "CGLRT")) {
    Add("F");  // LAUGH, COUGH
  } else if (At(p - 1) != 'I') {
    Add("K");
  }
  return 2;
}

int Encoder::EncodeGn(int p) {
  if (p == 1 && VowelAt(0) && !slavo_germanic_) {
    Add("KN", "N");
  } else if (!Matches(p + 2, "EY") && !slavo_germanic_) {
    Add("N", "KN");
  } else {
    Add("KN");
  }
  return 2;
}

int Encoder::EncodeH(int p) {
  if ((p == 0 || VowelAt(p - 1)) && VowelAt(p + 1)) {
    Add("H");
    return 2;
  }
  return 1;
}

int Encoder::EncodeJ(int p) {
  if (Matches(p, "JOSE") || BeginsWith("SAN ")) {
    if ((p == 0 && At(p + 4) == ' ') || BeginsWith("SAN ")) {
      Add("H");
    } else {
      Add("J", "H");
    }
    return 1;
  }
  if (p == 0) {
    Add("J", "A");
  } else if (VowelAt(p - 1) && !slavo_germanic_ && OneOf(p + 1, "AO")) {
    Add("J", "H");
  } else if (p == last_) {
    Add("J", "");
  } else if (!OneOf(p + 1, "LTKSNMBZ") && !OneOf(p - 1, "SKL")) {
    Add("J");
  }
  return Doubled(p);
}

int Encoder::EncodeL(int p) {
  if (At(p + 1) != 'L') {
    Add("L");
    return 1;
  }
  // Spanish LL (CABRILLO, GALLEGOS) is a sound of its own, kept out of the alternate.
  const bool spanish =
      (p == last_ - 2 && MatchesAny(p - 1, {"ILLO", "ILLA", "ALLE"})) ||
      ((MatchesAny(last_ - 1, {"AS", "OS"}) || OneOf(last_, "AO")) && Matches(p - 1, "ALLE"));
  if (spanish) {
    Add("L", "");
  } else {
    Add("L");
  }
  return 2;
}

int Encoder::EncodeM(int p) {
  Add("M");
  const bool silent_b = Matches(p - 1, "UMB") && (p + 1 == last_ || Matches(p + 2, "ER"));
  return silent_b || At(p + 1) == 'M' ? 2 : 1;
}

int Encoder::EncodeN(int p) {
  Add("N");
  return At(p + 1) == 'N' || At(p + 1) == kNTilde ? 2 : 1;
}

int Encoder::EncodeP(int p) {
  if (At(p + 1) == 'H') {
    Add("F");
    return 2;
  }
  Add("P");
  return OneOf(p + 1, "PB") ? 2 : 1;
}

int Encoder::EncodeR(int p) {
  // French final R after IE (XAVIER), but not in German MEIER or MAIER.
  const bool french =
      p == last_ && !slavo_germanic_ && Matches(p - 2, "IE") && !MatchesAny(p - 4, {"ME", "MA"});
  if (french) {
    Add("", "R");
  } else {
    Add("R");
  }
  return Doubled(p);
}

int Encoder::EncodeS(int p) {
  if (MatchesAny(p - 1, {"ISL", "YSL"})) return 1;  // ISLAND, CARLYSLE
  if (p == 0 && Matches(p, "SUGAR")) {
    Add("X", "S");
    return 1;
  }
  if (Matches(p, "SH")) {
    Add(MatchesAny(p + 1, {"HEIM", "HOEK", "HOLM", "HOLZ"}) ? "S" : "X");
    return 2;
  }
  if (MatchesAny(p, {"SIO", "SIA"})) {
    if (slavo_germanic_) {
      Add("S");
    } else {
      Add("S", "X");
    }
    return 3;
  }
  if ((p == 0 && OneOf(p + 1, "MNLW")) || At(p + 1) == 'Z') {
    Add("S", "X");
    return At(p + 1) == 'Z' ? 2 : 1;
  }
  if (Matches(p, "SC")) return EncodeSc(p);
  if (p == last_ && MatchesAny(p - 2, {"AI", "OI"})) {
    Add("", "S");  // French final S: DUBOIS
  } else {
    Add("S");
  }
  return OneOf(p + 1, "SZ") ? 2 : 1;
}

int Encoder::EncodeSc(int p) {
  if (At(p + 2) == 'H') {
    if (MatchesAny(p + 3, {"OO", "ER", "EN", "UY", "ED", "EM"})) {
      // Dutch SCH (SCHOOL, SCHENKER).
      if (MatchesAny(p + 3, {"ER", "EN"})) {
        Add("X", "SK");
      } else {
        Add("SK");
      }
    } else if (p == 0 && !VowelAt(3) && At(3) != 'W') {
      Add("X", "S");
    } else {
      Add("X");
    }
    return 3;
  }
  if (OneOf(p + 2, "IEY")) {
    Add("S");
  } else {
    Add("SK");
  }
  return 3;
}

int Encoder::EncodeT(int p) {
  if (MatchesAny(p, {"TION", "TIA", "TCH"})) {
    Add("X");
    return 3;
  }
  if (Matches(p, "TH") || Matches(p, "TTH")) {
    if (MatchesAny(p + 2, {"OM", "AM"}) || BeginsGermanic()) {
      Add("T");  // THOMAS, and TH in Germanic names
    } else {
      Add("O", "T");
    }
    return 2;
  }
  Add("T");
  return OneOf(p + 1, "TD") ? 2 : 1;
}

int Encoder::EncodeW(int p) {
  if (Matches(p, "WR")) {
    Add("R");
    return 2;
  }
  if (p == 0 && (VowelAt(p + 1) || Matches(p, "WH"))) {
    if (VowelAt(p + 1)) {
      Add("A", "F");
    } else {
      Add("A");
    }
  }
  // Polish and German W said as V: KOWALEWSKI, SCHWARZ; and a final W after a vowel (MATTHEW).
  if ((p == last_ && VowelAt(p - 1)) || MatchesAny(p - 1, {"EWSKI", "EWSKY", "OWSKI", "OWSKY"}) ||
      BeginsWith("SCH")) {
    Add("", "F");
    return 1;
  }
  if (MatchesAny(p, {"WICZ", "WITZ"})) {
    Add("TS", "FX");
    return 4;
  }
  return 1;
}

int Encoder::EncodeX(int p) {
  // French final X is silent: BREAUX, MARTEAUX.
  const bool silent = p == last_ && (MatchesAny(p - 3, {"IAU", "EAU"}) || MatchesAny(p - 2, {"AU", "OU"}));
  if (!silent) Add("KS");
  return OneOf(p + 1, "CX") ? 2 : 1;
}

int Encoder::EncodeZ(int p) {
  if (At(p + 1) == 'Z') {
    Add("S");
    return 2;
  }
  if (At(p + 1) == 'H') {
    Add("J");  // Chinese ZH: ZHAO
    return 2;
  }
  if (slavo_germanic_ && p > 0 && At(p - 1) != 'T') {
    Add("S", "TS");
  } else {
    Add("S");
  }
  return 1;
}

}  // namespace

MetaphoneKeys DoubleMetaphone(std::string_view text) {
  return Encoder(text).Run();
}

}  // namespace vmk::screening
