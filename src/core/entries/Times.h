#pragma once

// Time expressions: "10:00", "9:30~17:00,19:00", "9:00PM". Times are only kept and shown;
// they never decide on which days an entry falls.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/ParseErrors.h"

namespace pelo {

// One time of day as read: the hour may reach 30, or 42 with PM.
struct TTime {
  int32_t Hour = 0;
  int32_t Minute = 0;
  bool TwelveHour = false;  // written with AM or PM

  void Assign(const TTime& other) noexcept { *this = other; }
  // Reads "9:05", "9:05PM", "9:05:30". A text without its ":" in second or third place
  // reads as 0:00 without an error. On an error ("時" at the start, "分" after the ":", or
  // "空") the time is left as it was.
  TParseError ParseTime(std::string_view text);

  friend bool operator==(const TTime&, const TTime&) = default;
};

// A time or a time range.
struct TTimeSet {
  TTime Start;
  std::optional<TTime> End;

  void Assign(const TTimeSet& other) { *this = other; }
  // Reads "9:00" or "9:00~17:00"; an empty side is no error. On an error ("開始..." /
  // "終了..." or "空") the set is left as it was.
  TParseError ParseTimeSet(std::string_view text);

  friend bool operator==(const TTimeSet&, const TTimeSet&) = default;
};

class TTimeSetList {
 public:
  std::size_t Count() const noexcept { return items_.size(); }
  const TTimeSet* Item(std::size_t index) const noexcept {
    return index < items_.size() ? &items_[index] : nullptr;
  }
  const std::vector<TTimeSet>& Items() const noexcept { return items_; }
  TTimeSet& Add(TTimeSet set = {}) { return items_.emplace_back(std::move(set)); }
  void Clear() noexcept { items_.clear(); }
  void Assign(const TTimeSetList& other) { *this = other; }

  // Reads a comma list of times; on success the items are replaced by what was read. On an
  // error ("2番目の終了分" and the like, or "空") the list is unchanged.
  TParseError ParseTimeSetList(std::string_view text);

  friend bool operator==(const TTimeSetList&, const TTimeSetList&) = default;

 private:
  std::vector<TTimeSet> items_;
};

// A clock time on a day: minutes from the day's midnight, 24:00 and later on the next day.
// A twelve-hour time is read as the cell shows it (hour mod 12, pm from 12 on): "12:00pm"
// shows as "0:00pm" and is noon.
int32_t ClockMinutes(const TTime& time) noexcept;

// "9:05", "14:30", "25:00"; with the twelve-hour flag "9:05am", "2:30pm".
std::string TimeText(const TTime& time);
// TimeText with a blank in front of a one-digit hour.
std::string TimeTextPadded(const TTime& time);
// The padded start, and for a range "～" and the padded end.
std::string TimeSetText(const TTimeSet& set);
// The set texts joined by ",".
std::string TimeListText(const TTimeSetList& list);

}  // namespace pelo
