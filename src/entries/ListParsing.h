#pragma once

// What the date and time parsers share: the message pieces of their sides and lists, and the
// reading of a list (items split by the comma-list rule, each parsed in turn, the first error
// prefixed with its item number).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calendar/Texts.h"

namespace pelo {

inline constexpr std::string_view kEmptyError = "空";
inline constexpr std::string_view kStartPrefix = "開始";
inline constexpr std::string_view kEndPrefix = "終了";
inline constexpr std::string_view kItemSuffix = "番目の";

// Reads every item of a comma list into a new T with parse(T&, item) -> error text. On
// success items holds them all; on an error (or "空" for an empty text) items is untouched and
// the error reads "<n>番目の<error>".
template <typename T, typename Parse>
std::string ParseListItems(std::string_view text, std::vector<T>& items, Parse parse) {
  if (text.empty()) return std::string(kEmptyError);
  const std::vector<std::string> texts = SplitCommaList(text);
  std::vector<T> parsed(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::string error = parse(parsed[i], texts[i]);
    if (!error.empty()) {
      return Concat({NumberText(static_cast<int32_t>(i + 1)), kItemSuffix, error});
    }
  }
  items = std::move(parsed);
  return {};
}

}  // namespace pelo
