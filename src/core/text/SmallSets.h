#pragma once

// Sets of small numbers (0..255) and the eight-set filter record, with their text forms:
// a set is written as its members joined by "," ("@" when empty), a filter set as the
// eight set texts joined as a comma list, quoted where a set text holds a comma.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace pelo {

// 256 bits: member i is bit i mod 8 of byte i div 8.
class TSmallSet {
 public:
  static constexpr int32_t kSize = 256;

  TSmallSet() = default;
  TSmallSet(std::initializer_list<int32_t> members) {
    for (const int32_t member : members) Include(member);
  }

  // Values outside 0..255 are never members; including them does nothing.
  bool Contains(int32_t value) const noexcept {
    return value >= 0 && value < kSize && (bits_[value >> 3] >> (value & 7)) & 1;
  }
  void Include(int32_t value) noexcept {
    if (value >= 0 && value < kSize) bits_[value >> 3] |= static_cast<uint8_t>(1u << (value & 7));
  }
  void Clear() noexcept { bits_.fill(0); }
  bool Empty() const noexcept;

  friend bool operator==(const TSmallSet&, const TSmallSet&) = default;

 private:
  std::array<uint8_t, kSize / 8> bits_{};
};

// The eight sets that select the entries a schedule shows.
struct TFilterSet {
  static constexpr int32_t kCount = 8;

  std::array<TSmallSet, kCount> Sets{};

  TSmallSet& operator[](std::size_t index) { return Sets[index]; }
  const TSmallSet& operator[](std::size_t index) const { return Sets[index]; }

  friend bool operator==(const TFilterSet&, const TFilterSet&) = default;
};

// Members in ascending order joined by "," (0,3,17); "@" for the empty set.
std::string SetToText(const TSmallSet& set);

// Reads a set text: "@" is the empty set, otherwise comma items, empty ones skipped, each a
// decimal number (blanks around it allowed); numbers outside 0..255 are ignored. False on an
// item that is no number; set is changed only on success.
bool TextToSet(std::string_view text, TSmallSet& set);

// The eight set texts as a comma list; a text holding a blank, a control character, a
// double quote or a comma is enclosed in double quotes with its quotes doubled.
std::string FilterSetToText(const TFilterSet& filter);

// Reads a filter-set text. Items 1 to 7 must be present, item 8 is optional (an empty set
// when missing), further items are ignored. False when fewer than seven items are present
// or an item is no set text; filter is changed only on success.
bool TextToFilterSet(std::string_view text, TFilterSet& filter);

}  // namespace pelo
