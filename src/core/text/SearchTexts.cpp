#include "text/SearchTexts.h"

#include <array>
#include <cstdint>

#include "text/Texts.h"

namespace pelo {

namespace {

constexpr char32_t kHalfWidthFirst = 0xFF61;  // ｡
constexpr char32_t kHalfWidthLast = 0xFF9F;   // ﾟ
constexpr char32_t kHalfVoicedMark = 0xFF9E;  // ﾞ
constexpr char32_t kHalfSemiVoicedMark = 0xFF9F;
constexpr char32_t kFullWidthAsciiFirst = 0xFF01;  // ！
constexpr char32_t kFullWidthAsciiLast = 0xFF5E;   // ～
constexpr char32_t kFullWidthOffset = 0xFEE0;      // ！ - !
constexpr char32_t kIdeographicSpace = 0x3000;

// The full-width forms of U+FF61..U+FF9F, in order.
constexpr std::array<char16_t, kHalfWidthLast - kHalfWidthFirst + 1> kFullWidthKana = {
    u'。', u'「', u'」', u'、', u'・', u'ヲ', u'ァ', u'ィ', u'ゥ', u'ェ', u'ォ', u'ャ', u'ュ',
    u'ョ', u'ッ', u'ー', u'ア', u'イ', u'ウ', u'エ', u'オ', u'カ', u'キ', u'ク', u'ケ', u'コ',
    u'サ', u'シ', u'ス', u'セ', u'ソ', u'タ', u'チ', u'ツ', u'テ', u'ト', u'ナ', u'ニ', u'ヌ',
    u'ネ', u'ノ', u'ハ', u'ヒ', u'フ', u'ヘ', u'ホ', u'マ', u'ミ', u'ム', u'メ', u'モ', u'ヤ',
    u'ユ', u'ヨ', u'ラ', u'リ', u'ル', u'レ', u'ロ', u'ワ', u'ン', u'゛', u'゜'};
static_assert(kFullWidthKana[0x76 - 0x61] == u'カ' && kFullWidthKana.back() == u'゜');

bool InRange(char32_t c, char32_t first, char32_t last) noexcept { return c >= first && c <= last; }

// The full-width kana a half-width kana makes with the mark after it; 0 when they do not join.
// In the full-width block the voiced kana follow their plain ones (カ ガ, ハ バ パ).
char32_t JoinedKana(char32_t half, char32_t mark) noexcept {
  const char32_t full = kFullWidthKana[half - kHalfWidthFirst];
  if (mark == kHalfVoicedMark) {
    if (half == 0xFF73) return u'ヴ';                    // ｳ
    if (InRange(half, 0xFF76, 0xFF84)) return full + 1;  // ｶ .. ﾄ
    if (InRange(half, 0xFF8A, 0xFF8E)) return full + 1;  // ﾊ .. ﾎ
  } else if (mark == kHalfSemiVoicedMark && InRange(half, 0xFF8A, 0xFF8E)) {
    return full + 2;
  }
  return 0;
}

char AsciiLower(char32_t c) noexcept {
  return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

}  // namespace

void AppendSearchFold(std::string_view text, std::string& out) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80) {
      out += AsciiLower(byte);
      ++pos;
      continue;
    }
    const std::size_t start = pos;
    const char32_t c = NextCodePoint(text, pos);
    if (InRange(c, kFullWidthAsciiFirst, kFullWidthAsciiLast)) {
      out += AsciiLower(c - kFullWidthOffset);
    } else if (c == kIdeographicSpace) {
      out += ' ';
    } else if (InRange(c, kHalfWidthFirst, kHalfWidthLast)) {
      std::size_t after = pos;
      const char32_t joined = JoinedKana(c, NextCodePoint(text, after));
      if (joined != 0) pos = after;
      AppendUtf8(out, joined != 0 ? joined : kFullWidthKana[c - kHalfWidthFirst]);
    } else {
      // Anything else is kept byte for byte (an undecodable byte too).
      out.append(text.substr(start, pos - start));
    }
  }
}

std::string SearchFold(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendSearchFold(text, out);
  return out;
}

TSearchTextFault CheckSearchText(std::string_view text) noexcept {
  if (text.empty()) return TSearchTextFault::kEmpty;
  int32_t length = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = pos;
    // A replacement character written out takes three bytes; one undecodable byte takes one.
    if (NextCodePoint(text, pos) == kReplacementChar && pos - start == 1) {
      return TSearchTextFault::kNotUtf8;
    }
    if (++length > kMaxSearchLength) return TSearchTextFault::kTooLong;
  }
  return TSearchTextFault::kNone;
}

TTextSearch::TTextSearch(std::string_view needle)
    : needle_(SearchFold(needle)), borders_(needle_.size(), 0) {
  std::size_t border = 0;
  for (std::size_t i = 1; i < needle_.size(); ++i) {
    while (border > 0 && needle_[i] != needle_[border]) border = borders_[border - 1];
    if (needle_[i] == needle_[border]) ++border;
    borders_[i] = border;
  }
}

bool TTextSearch::Found(std::string_view text) {
  // Folding never makes a text longer.
  if (needle_.empty() || text.size() < needle_.size()) return false;
  folded_.clear();
  AppendSearchFold(text, folded_);
  return FoundFolded(folded_);
}

bool TTextSearch::FoundFolded(std::string_view folded) const noexcept {
  if (needle_.empty()) return false;
  std::size_t matched = 0;  // [0, needle size)
  for (std::size_t pos = 0; pos < folded.size(); ++pos) {
    if (matched == 0) {
      // Nothing matched yet: skip to the needle's first byte at library speed.
      pos = folded.find(needle_[0], pos);
      if (pos == std::string_view::npos) return false;
    }
    while (matched > 0 && folded[pos] != needle_[matched]) matched = borders_[matched - 1];
    if (folded[pos] == needle_[matched] && ++matched == needle_.size()) return true;
  }
  return false;
}

}  // namespace pelo
