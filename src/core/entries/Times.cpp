#include "entries/Times.h"

#include "entries/ListParsing.h"
#include "text/Texts.h"

namespace pelo {

namespace {

constexpr std::string_view kHourError = "時";
constexpr std::string_view kMinuteError = "分";
constexpr int32_t kEndTextWidth = 255;
constexpr int32_t kMaxHour = 30;

int32_t ShownHour(const TTime& time) noexcept {
  return time.TwelveHour ? time.Hour % 12 : time.Hour;
}

}  // namespace

TParseError TTime::ParseTime(std::string_view text) {
  if (text.empty()) return {kEmptyError, 0};
  std::string upper = AsciiUpper(text);
  TTime time;
  bool pm = false;
  if (const std::size_t am_pos = upper.find("AM"); am_pos != std::string::npos) {
    upper.erase(am_pos, 2);
    time.TwelveHour = true;
  }
  if (const std::size_t pm_pos = upper.find("PM"); pm_pos != std::string::npos) {
    upper.erase(pm_pos, 2);
    time.TwelveHour = true;
    pm = true;
  }
  const std::size_t colon = upper.find(':');
  if (colon == 1 || colon == 2) {
    int32_t hour = 0;
    if (!ParseInt32(std::string_view(upper).substr(0, colon), hour) || hour < 0 ||
        hour > kMaxHour) {
      return {kHourError, 0};
    }
    // Seconds after a second ":" are not kept.
    std::string_view minute_text = std::string_view(upper).substr(colon + 1);
    minute_text = minute_text.substr(0, minute_text.find(':'));
    int32_t minute = 0;
    if (!ParseInt32(minute_text, minute) || minute < 0 || minute > 59) {
      // Only letters were taken out of upper: its first ":" is the text's first.
      return {kMinuteError, text.find(':') + 1};
    }
    time.Hour = pm ? hour + 12 : hour;
    time.Minute = minute;
  }
  *this = time;
  return {};
}

TParseError TTimeSet::ParseTimeSet(std::string_view text) {
  if (text.empty()) return {kEmptyError, 0};
  std::string_view start_text = text;
  std::string_view end_text;
  const std::size_t tilde = text.find('~');
  if (tilde != std::string_view::npos) {
    start_text = text.substr(0, tilde);
    end_text = CutToSjisWidth(text.substr(tilde + 1), kEndTextWidth);
  }
  TTimeSet set;
  if (!start_text.empty()) {
    if (TParseError error = set.Start.ParseTime(start_text); error.Failed()) {
      return std::move(error).InContext(kStartPrefix, 0);
    }
  }
  if (!end_text.empty()) {
    if (TParseError error = set.End.emplace().ParseTime(end_text); error.Failed()) {
      return std::move(error).InContext(kEndPrefix, tilde + 1);
    }
  }
  *this = std::move(set);
  return {};
}

TParseError TTimeSetList::ParseTimeSetList(std::string_view text) {
  return ParseListItems(
      text, items_, [](TTimeSet& set, std::string_view item) { return set.ParseTimeSet(item); });
}

int32_t ClockMinutes(const TTime& time) noexcept {
  int32_t hour = time.Hour < 0 ? 0 : time.Hour;
  if (time.TwelveHour) hour = hour % 12 + (hour >= 12 ? 12 : 0);
  const int32_t minute = time.Minute < 0 ? 0 : time.Minute;
  return hour * 60 + minute;
}

std::string TimeText(const TTime& time) {
  std::string text = NumberText(ShownHour(time));
  text += ':';
  text += NumberText(time.Minute, 2, kPadZero);
  if (time.TwelveHour) text += time.Hour < 12 ? "am" : "pm";
  return text;
}

std::string TimeTextPadded(const TTime& time) {
  std::string text = TimeText(time);
  if (ShownHour(time) < 10) text.insert(0, 1, ' ');
  return text;
}

std::string TimeSetText(const TTimeSet& set) {
  std::string text = TimeTextPadded(set.Start);
  if (set.End) {
    text += "～";
    text += TimeTextPadded(*set.End);
  }
  return text;
}

std::string TimeListText(const TTimeSetList& list) {
  std::string text;
  for (std::size_t i = 0; i < list.Count(); ++i) {
    if (i > 0) text += ',';
    text += TimeSetText(*list.Item(i));
  }
  return text;
}

}  // namespace pelo
