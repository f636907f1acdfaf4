#pragma once

// TScheduleDocument: the schedule apart from any view of it. It owns the calendar, the entry
// list (the loaded files, their entries, the clipboard and the undo history) and the day table
// of the four years around what a view shows, and it carries out the edits. Views (the grid
// on screen, a printed or exported picture, a day pane) read it and are told what changed
// through TScheduleObserver; they decide which years are shown and where the cursor is.
//
// An edit answers with the entry a view should put its cursor on, when there is one; the view
// finds its day with NearestDayOfEntry.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "calendar/CalendarKinds.h"
#include "calendar/Calendars.h"
#include "calendar/Dates.h"
#include "datafiles/EntryLists.h"
#include "datafiles/Notices.h"
#include "schedule/DayTables.h"

namespace pelo {

class TScheduleDocument;

// What a view hears of the document. Both are called on the thread that changes it.
class TScheduleObserver {
 public:
  enum class TChange {
    kEntries,  // the day table was built again (entries, span, calendar or filter)
    kLines,    // only the lines of the days changed (their order)
    kToday,    // the calendar's today moved on
  };
  virtual ~TScheduleObserver() = default;
  // Before the day table is built again: whatever holds a line list lets go of it.
  virtual void BeforeRebuild(TScheduleDocument& /*document*/) {}
  virtual void Changed(TScheduleDocument& document, TChange change) = 0;
};

class TScheduleDocument {
 public:
  // The calendar starts on today, the day table's window at the year before it. measurer and
  // select_color are the surface the cells measure their lines on (see TDayTable).
  TScheduleDocument(TUserNotices& notices, TDateRec today, TTextMeasurer* measurer = nullptr,
                    uint32_t select_color = kSelectColorDeep,
                    std::size_t pack_budget = kDayPackBudget);
  TScheduleDocument(const TScheduleDocument&) = delete;
  TScheduleDocument& operator=(const TScheduleDocument&) = delete;

  // Observers are not owned; one must be removed before it goes.
  void AddObserver(TScheduleObserver& observer);
  void RemoveObserver(TScheduleObserver& observer);

  const TCalendar& Calendar() const noexcept { return calendar_; }
  TEntryList& EntryList() noexcept { return entry_list_; }
  const TEntryList& EntryList() const noexcept { return entry_list_; }
  TDayTable& DayTable() noexcept { return day_table_; }
  const TDayTable& DayTable() const noexcept { return day_table_; }
  TUserNotices& Notices() const noexcept { return notices_; }

  // ---- What the day table holds ----
  // The four years from first_year; the table is built again only when they moved.
  void ShowYearsFrom(int32_t first_year);
  // Builds the day table again from the entries as they are.
  void Rebuild();
  // The classic tables or the calendar of today; every entry is evaluated again.
  void SetCalendarKind(TCalendarKind kind);
  // The entries shown; takes effect with the next build.
  void SetFilter(const TFilterSet& filter) noexcept { day_table_.SetFilter(filter); }
  // Each day's lines by their first time, or in file order; takes effect with the next build
  // or RefillLines.
  void SetSortByTime(bool sort) noexcept { day_table_.SetSortByTime(sort); }
  // Makes the days' lines again from the packs as they are (their order or look changed).
  void RefillLines();
  // Today moved on: the calendar follows, and the table is built again (lines may count from
  // today). Nothing when it is the same day.
  void SetToday(TDateRec today);

  // ---- Loading ----
  // Starts afresh with the files in order and builds the table.
  void LoadFiles(const std::vector<std::string>& names);

  // ---- Editing: each answers the entry to put the cursor on ----
  std::optional<int32_t> ToggleChecked(int32_t entry);
  void Copy(int32_t entry);
  std::optional<int32_t> Cut(int32_t entry);
  std::optional<int32_t> Delete(int32_t entry);
  // The newest copy of the clipboard, pinned to date; none when there is none or it was
  // refused.
  std::optional<int32_t> Paste(TDateRec date);
  std::optional<int32_t> MoveTo(int32_t entry, TDateRec date);
  std::optional<int32_t> CopyTo(int32_t entry, TDateRec date);
  void Undo();
  void Redo();

  // The day nearest to near that shows a line of the entry (TDayTable::FindEntryDate).
  std::optional<TDateRec> NearestDayOfEntry(int32_t entry, TDateRec near) const;

 private:
  bool HasEntry(int32_t entry) const { return entry_list_.Entry(entry) != nullptr; }
  // Builds the table again and answers entry.
  std::optional<int32_t> RebuildFocusing(int32_t entry);
  void Tell(TScheduleObserver::TChange change);

  TUserNotices& notices_;
  TCalendar calendar_;
  TEntryList entry_list_;
  TDayTable day_table_;
  std::vector<TScheduleObserver*> observers_;
};

}  // namespace pelo
