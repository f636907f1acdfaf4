#pragma once

// Looking for a text the way a user types it: a search does not care whether a letter is
// upper or lower case, nor whether it was written in its full-width or half-width form. Both
// the text looked for and the texts looked through are folded to one form first:
// - ASCII letters become lower case;
// - full-width ASCII forms (U+FF01..U+FF5E) become ASCII, the ideographic space a space;
// - half-width katakana and their punctuation become the full-width forms, a half-width
//   voiced or semi-voiced mark joining the kana before it (ｶﾞ is ガ, ﾊﾟ is パ, ｳﾞ is ヴ).
// Everything else stays as it is.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelo {

// The longest text a user may look for, in characters: longer ones are refused where they
// are typed or given.
inline constexpr int32_t kMaxSearchLength = 256;

// What is wrong with a text given to look for.
enum class TSearchTextFault {
  kNone,
  kEmpty,    // nothing to look for
  kTooLong,  // more than kMaxSearchLength characters
  kNotUtf8,  // a byte that starts no UTF-8 character (it would match what its decoding holds)
};
TSearchTextFault CheckSearchText(std::string_view text) noexcept;

// Appends the folded form of text to out.
void AppendSearchFold(std::string_view text, std::string& out);
std::string SearchFold(std::string_view text);

// A text to look for, folded once. Found folds each text it is given into a buffer of its
// own, so one search is used by one caller at a time. Its time grows with the length of the
// text looked through, never with the product of both lengths (a needle of a thousand "a"
// and a "b" over megabytes of "a" included).
class TTextSearch {
 public:
  TTextSearch() = default;
  explicit TTextSearch(std::string_view needle);

  // Nothing to look for: Found is false for every text.
  bool Empty() const noexcept { return needle_.empty(); }
  const std::string& Folded() const noexcept { return needle_; }
  // Whether text, folded, holds the folded needle.
  bool Found(std::string_view text);
  // Whether a text already folded holds the folded needle.
  bool FoundFolded(std::string_view folded) const noexcept;

 private:
  std::string needle_;
  // For each prefix of the needle, the length of its longest proper prefix that is also its
  // suffix: where a partial match goes on after a mismatch, so no byte is read twice.
  std::vector<std::size_t> borders_;
  std::string folded_;  // the text last looked through, folded
};

}  // namespace pelo
