#include "entries/DatePacks.h"

#include "entries/AnnotationCodes.h"
#include "entries/Entries.h"
#include "entries/Times.h"

namespace pelo {

// The day table holds hundreds of thousands of packs: the kind shares the date's last word,
// the dates of the occurrence are compact, and nothing is owned apart.
static_assert(sizeof(TPackDate) == 8);
static_assert(sizeof(void*) != 8 || sizeof(TDatePack) == 64);

// What the walk may hand over survives the compact form.
static_assert(TDateRec(TPackDate(TDateRec{-2147483647 - 1, 12, 31})) ==
              TDateRec{-2147483647 - 1, 12, 31});
static_assert(TDateRec(TPackDate(TDateRec{2147483647, 1, 1})) == TDateRec{2147483647, 1, 1});
static_assert(TDateRec(TPackDate(TDateRec{})) == TDateRec{});

bool HasFixedLineText(const TEntry& entry) noexcept {
  return entry.Annotation.empty() && entry.Text.find('%') == std::string::npos;
}

std::string LineText(const TDatePack& pack, TCalendarKind kind) {
  if (pack.Entry == nullptr) return {};
  const TEntry& entry = *pack.Entry;
  const TDateRec base = pack.BaseDate;

  if (pack.Kind == kPackDerived) {
    return DerivedLineText(entry.Text, entry.Annotation, pack.Date(),
                           pack.ProgressRange.PeriodStart, pack.ProgressRange.PeriodEnd, base,
                           kind);
  }

  // Most lines are plain text: no code to expand, nothing to combine.
  const bool plain = HasFixedLineText(entry);
  const bool timed = entry.Times && entry.Times->Count() > 0;
  if (plain && !timed) return std::string(CutLineText(entry.Text));
  std::string line;
  if (timed) {
    line = TimeListText(*entry.Times);
    line += ' ';
  }
  if (plain) {
    line += CutLineText(entry.Text);
  } else {
    line += PlainLineText(entry.Text, entry.Annotation, pack.Date(), pack.Period.PeriodStart,
                          pack.Period.PeriodEnd, base, kind);
  }
  // A time word of megabytes makes a line as long as any text.
  line.resize(CutLineText(line).size());
  return line;
}

}  // namespace pelo
