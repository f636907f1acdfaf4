#include "AgendaOutputs.h"

#include "calendar/DateInfos.h"
#include "calendar/DateTexts.h"
#include "calendar/Kyurekis.h"
#include "calendar/Texts.h"

namespace pelo::agenda {

std::string AgendaDateText(TDateRec date) {
  return Concat({NumberText(date.Year, 4, kPadZero), "/", NumberText(date.Month, 2, kPadZero), "/",
                 NumberText(date.Day, 2, kPadZero)});
}

std::string DaysTable(TDateRec from, TDateRec to) {
  const TDateInfo& info = DateInfo();
  std::string out;
  const int32_t last = DayNumber(to);
  for (TDateRec day = from; DayNumber(day) <= last; day = AddDays(day, 1)) {
    const int32_t code = info.HolidayCode(day);
    const TEraYear era = EraOf(day);
    out += AgendaDateText(day);
    out += '\t';
    out += WeekdayKanji(WeekdayOf(day));
    out += '\t';
    out += std::to_string(code);
    out += '\t';
    if (code >= 0) out += info.HolidayName(day);
    out += '\t';
    out += RokuyoName(day);
    out += '\t';
    out += LunarDateText(day);
    out += '\t';
    if (era.Era >= 0) {
      out += EraName(era.Era);
      out += std::to_string(era.Year);
    }
    out += '\t';
    out += ZodiacAnimal(day.Year);
    out += '\t';
    out += ZodiacSign(day.Month, day.Day);
    out += '\n';
    if (day == kLastCalendarDate) break;
  }
  return out;
}

}  // namespace pelo::agenda
