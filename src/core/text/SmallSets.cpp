#include "text/SmallSets.h"

#include <algorithm>
#include <vector>

#include "text/Texts.h"

namespace pelo {

bool TSmallSet::Empty() const noexcept {
  return std::all_of(bits_.begin(), bits_.end(), [](uint8_t byte) { return byte == 0; });
}

std::string SetToText(const TSmallSet& set) {
  std::string text;
  for (int32_t value = 0; value < TSmallSet::kSize; ++value) {
    if (!set.Contains(value)) continue;
    if (!text.empty()) text.push_back(',');
    text += std::to_string(value);
  }
  return text.empty() ? "@" : text;
}

bool TextToSet(std::string_view text, TSmallSet& set) {
  TSmallSet result;
  if (text != "@") {
    std::string rest(text);
    std::string item;
    while (NextCommaItem(rest, item)) {
      // Blanks around a number are allowed: a set written by hand as "1, 2" still reads.
      const std::string_view trimmed = TrimControl(item);
      if (trimmed.empty()) continue;
      int32_t value = 0;
      if (!ParseInt32(trimmed, value)) return false;
      result.Include(value);
    }
  }
  set = result;
  return true;
}

std::string FilterSetToText(const TFilterSet& filter) {
  std::string text;
  for (int32_t i = 0; i < TFilterSet::kCount; ++i) {
    if (i > 0) text.push_back(',');
    const std::string item = SetToText(filter.Sets[i]);
    const bool quote = std::any_of(item.begin(), item.end(), [](char c) {
      return static_cast<unsigned char>(c) <= 32 || c == '"' || c == ',';
    });
    if (!quote) {
      text += item;
      continue;
    }
    text.push_back('"');
    for (const char c : item) {
      if (c == '"') text.push_back('"');
      text.push_back(c);
    }
    text.push_back('"');
  }
  return text;
}

bool TextToFilterSet(std::string_view text, TFilterSet& filter) {
  const std::vector<std::string> items = SplitCommaList(text);
  if (items.size() < TFilterSet::kCount - 1) return false;
  TFilterSet result;
  const std::size_t count = std::min<std::size_t>(items.size(), TFilterSet::kCount);
  for (std::size_t i = 0; i < count; ++i) {
    if (!TextToSet(items[i], result.Sets[i])) return false;
  }
  filter = result;
  return true;
}

}  // namespace pelo
