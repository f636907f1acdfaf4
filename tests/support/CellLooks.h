#pragma once

// The numbers of a schedule setting that shape every day cell, set in one step: the raised
// (positive) or sunken depths of the title, cursor, today and other cells, the grid line, the
// extra pixels per entry row and the entry text size.

#include <cstdint>

#include "schedule/ScheduleSettings.h"

namespace pelo::test {

struct TCellLook {
  int32_t title_3d;
  int32_t cursor_3d;
  int32_t today_3d;
  int32_t normal_3d;
  int32_t line_width;
  int32_t spacing;
  int32_t percent;
};

inline void SetCellLook(TScheduleSettings& settings, const TCellLook& look) {
  settings.Title3D = look.title_3d;
  settings.Cursor3D = look.cursor_3d;
  settings.Today3D = look.today_3d;
  settings.Normal3D = look.normal_3d;
  settings.LineWidth = look.line_width;
  settings.Spacing = look.spacing;
  settings.Percent = look.percent;
}

}  // namespace pelo::test
