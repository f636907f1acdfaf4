#pragma once

// Looking for a text the way a user types it: a search does not care whether a letter is
// upper or lower case, nor whether it was written in its full-width or half-width form. Both
// the text looked for and the texts looked through are folded to one form first:
// - ASCII letters become lower case;
// - full-width ASCII forms (U+FF01..U+FF5E) become ASCII, the ideographic space a space;
// - half-width katakana and their punctuation become the full-width forms, a half-width
//   voiced or semi-voiced mark joining the kana before it (ｶﾞ is ガ, ﾊﾟ is パ, ｳﾞ is ヴ).
// Everything else stays as it is.

#include <string>
#include <string_view>

namespace pelo {

// Appends the folded form of text to out.
void AppendSearchFold(std::string_view text, std::string& out);
std::string SearchFold(std::string_view text);

// A text to look for, folded once. Found folds each text it is given into a buffer of its
// own, so one search is used by one caller at a time.
class TTextSearch {
 public:
  TTextSearch() = default;
  explicit TTextSearch(std::string_view needle) : needle_(SearchFold(needle)) {}

  // Nothing to look for: Found is false for every text.
  bool Empty() const noexcept { return needle_.empty(); }
  const std::string& Folded() const noexcept { return needle_; }
  // Whether text, folded, holds the folded needle.
  bool Found(std::string_view text);

 private:
  std::string needle_;
  std::string folded_;  // the text last looked through, folded
};

}  // namespace pelo
