#pragma once

// A schedule document whose day cells measure their lines with Qt's fonts: what the main
// window, the headless export and the tests make before the views that show it. The measurer
// also decodes the entry pictures the loader checks, and whichever schedule widget shows the
// document receives the cells' update requests through it.

#include <cstddef>

#include "calendar/Dates.h"
#include "datafiles/Notices.h"
#include "entries/PackBudgets.h"
#include "schedule/ScheduleDocuments.h"
#include "widgets/QtTextMeasurers.h"

namespace pelo {

struct TMeasuredDocument {
  // The highlight of the selected line follows the primary screen's colour depth.
  TMeasuredDocument(TUserNotices& notices, TDateRec today,
                    std::size_t pack_budget = kDayPackBudget);
  TMeasuredDocument(const TMeasuredDocument&) = delete;
  TMeasuredDocument& operator=(const TMeasuredDocument&) = delete;

  // Before the document: its cells point at it.
  TQtTextMeasurer Measurer{nullptr};
  TScheduleDocument Document;
};

}  // namespace pelo
