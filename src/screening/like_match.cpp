#include "screening/like_match.h"

#include <cstring>

namespace vmk::screening {

namespace {

// The value bits a lead byte from 0xC0 up brings into SQLite's UTF-8 reader.
constexpr unsigned char kLeadBits[64] = {
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f,
    0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x1b, 0x1c, 0x1d, 0x1e, 0x1f,
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f,
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x00, 0x01, 0x02, 0x03, 0x00, 0x01, 0x00, 0x00,
};

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// One character as SQLite's reader takes it from text[at], moving at past it.
std::uint32_t ReadSqliteChar(std::string_view text, std::size_t& at) {
  std::uint32_t c = static_cast<unsigned char>(text[at++]);
  if (c < 0xC0) return c;
  c = kLeadBits[c - 0xC0];
  while (at < text.size() && IsContinuation(static_cast<unsigned char>(text[at]))) {
    c = (c << 6) + (0x3F & static_cast<unsigned char>(text[at++]));
  }
  if (c < 0x80 || (c & 0xFFFFF800) == 0xD800 || (c & 0xFFFFFFFE) == 0xFFFE) c = 0xFFFD;
  return c;
}

// A character from 0x80 up: a lead byte giving the length, then six value bits per byte.
void AppendWideChar(std::string& out, std::uint32_t c) {
  int continuation = 0;
  unsigned char lead = 0;
  if (c < 0x800) {
    continuation = 1, lead = 0xC0;
  } else if (c < 0x10000) {
    continuation = 2, lead = 0xE0;
  } else if (c < 0x200000) {
    continuation = 3, lead = 0xF0;
  } else if (c < 0x4000000) {
    continuation = 4, lead = 0xF8;
  } else if (c < 0x80000000) {
    continuation = 5, lead = 0xFC;
  } else {
    continuation = 6, lead = 0xFE;
  }
  const std::uint64_t value = c;
  out += static_cast<char>(lead | (continuation == 6 ? 0 : value >> (6 * continuation)));
  for (int i = continuation - 1; i >= 0; --i) out += static_cast<char>(0x80 | ((value >> (6 * i)) & 0x3F));
}

}  // namespace

std::string LikeText(std::string_view text) {
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (std::size_t at = 0; at < text.size();) {
    const std::uint32_t c = ReadSqliteChar(text, at);
    if (c < 0x80) {
      out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    } else {
      AppendWideChar(out, c);
    }
  }
  return out;
}

int LikeCharLength(unsigned char lead) {
  if (lead < 0xC0) return 1;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  if (lead < 0xF8) return 4;
  if (lead < 0xFC) return 5;
  if (lead < 0xFE) return 6;
  return 7;
}

LikePattern::LikePattern(std::string_view pattern) {
  // "%" and "_" are ASCII, so they stay single bytes of the LikeText; inside a segment "_" marks a
  // wildcard, since a pattern has no other "_".
  const std::string text = LikeText(pattern);
  anchoredStart_ = text.empty() || text.front() != '%';
  anchoredEnd_ = text.empty() || text.back() != '%';
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '%') continue;
    Segment segment{text.substr(start, i - start)};
    segment.hasOneChar = segment.bytes.find('_') != std::string::npos;
    // An empty stretch matters only as an anchored first or last one ("" and "a%" end there).
    const bool anchored = (start == 0 && anchoredStart_) || (i == text.size() && anchoredEnd_);
    if (!segment.bytes.empty() || anchored) segments_.push_back(std::move(segment));
    start = i + 1;
  }
  for (const Segment& segment : segments_) {
    std::size_t from = 0;
    for (std::size_t i = 0; i <= segment.bytes.size(); ++i) {
      if (i < segment.bytes.size() && segment.bytes[i] != '_') continue;
      if (i > from) literals_.push_back(segment.bytes.substr(from, i - from));
      from = i + 1;
    }
  }
}

namespace {

std::size_t NextChar(std::string_view text, std::size_t at) {
  return at + static_cast<std::size_t>(LikeCharLength(static_cast<unsigned char>(text[at])));
}

}  // namespace

// The end of the segment matched at the character start `at`, or npos. A LikeText has whole
// characters only, so stepping by lead bytes never leaves it.
std::size_t LikePattern::MatchAt(const Segment& segment, std::string_view text, std::size_t at) const {
  if (!segment.hasOneChar) {
    return text.substr(at, segment.bytes.size()) == segment.bytes ? at + segment.bytes.size()
                                                                  : std::string_view::npos;
  }
  for (const char p : segment.bytes) {
    if (at >= text.size()) return std::string_view::npos;
    if (p == '_') {
      at = NextChar(text, at);
    } else if (text[at] == p) {
      ++at;
    } else {
      return std::string_view::npos;
    }
  }
  return at;
}

// The end of the leftmost match at a character start from `from` on, or npos. A byte search finds
// character starts only, since the first byte of a segment is never a continuation byte.
std::size_t LikePattern::FindFrom(const Segment& segment, std::string_view text, std::size_t from) const {
  if (!segment.hasOneChar) {
    const std::size_t found = text.find(segment.bytes, from);
    return found == std::string_view::npos ? found : found + segment.bytes.size();
  }
  for (std::size_t at = from; at < text.size(); at = NextChar(text, at)) {
    if (const std::size_t end = MatchAt(segment, text, at); end != std::string_view::npos) return end;
  }
  return std::string_view::npos;
}

// Whether the segment matches a stretch that starts at a character from `from` on and ends the text.
bool LikePattern::EndsWithAt(const Segment& segment, std::string_view text, std::size_t from) const {
  if (!segment.hasOneChar) {
    return text.size() >= from + segment.bytes.size() &&
           text.substr(text.size() - segment.bytes.size()) == segment.bytes;
  }
  for (std::size_t at = from;; at = NextChar(text, at)) {
    if (MatchAt(segment, text, at) == text.size()) return true;
    if (at >= text.size()) return false;
  }
}

bool LikePattern::Matches(std::string_view text) const {
  std::size_t first = 0, last = segments_.size();
  std::size_t at = 0;
  if (anchoredStart_) {
    // No "%" at all: the one segment is the whole text.
    if (segments_.size() == 1 && anchoredEnd_) return MatchAt(segments_[0], text, 0) == text.size();
    at = MatchAt(segments_[first++], text, 0);
    if (at == std::string_view::npos) return false;
  }
  if (anchoredEnd_) --last;
  for (std::size_t i = first; i < last; ++i) {
    at = FindFrom(segments_[i], text, at);
    if (at == std::string_view::npos) return false;
  }
  return !anchoredEnd_ || EndsWithAt(segments_[last], text, at);
}

}  // namespace vmk::screening
