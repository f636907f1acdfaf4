#pragma once

// What the date and time parsers share: the message pieces of their sides and lists, and the
// reading of a list (items split by the comma-list rule, each parsed in turn, the first error
// prefixed with its item number).

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/ParseErrors.h"
#include "text/Texts.h"

namespace pelo {

inline constexpr std::string_view kEmptyError = "空";
inline constexpr std::string_view kStartPrefix = "開始";
inline constexpr std::string_view kEndPrefix = "終了";
inline constexpr std::string_view kItemSuffix = "番目の";

// Whether another item may be read; the default lets every item in.
struct TEveryItem {
  constexpr bool operator()() const noexcept { return true; }
};

// Reads the items of a comma list, one at a time, each into a new T with
// parse(T&, item) -> TParseError. may_add is asked before each item: when it refuses, the list
// ends there with the items read so far. On success items holds them; on an error (or "空"
// for an empty text) items is untouched and the error reads "<n>番目の<error>", placed in text.
template <typename T, typename Parse, typename MayAdd = TEveryItem>
TParseError ParseListItems(std::string_view text, std::vector<T>& items, Parse parse,
                           MayAdd may_add = {}) {
  if (text.empty()) return {kEmptyError, 0};
  std::vector<T> parsed;
  TCommaListReader reader(text);
  for (std::string item; reader.Next(item) && may_add();) {
    if (const TParseError error = parse(parsed.emplace_back(), item); error.Failed()) {
      const std::string number = NumberText(static_cast<int32_t>(parsed.size()));
      return {Concat({number, kItemSuffix, error.Message()}), reader.TextOffset(error.Position())};
    }
  }
  items = std::move(parsed);
  return {};
}

}  // namespace pelo
