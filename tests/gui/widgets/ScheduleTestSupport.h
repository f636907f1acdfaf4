#pragma once

// What the schedule widget tests share: today fixed at 2024/5/1 with the holidays of 2023 on,
// a page of known fonts and colours, data files written at run time, and mouse events sent
// straight to the widget.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "DataFileTesting.h"
#include "RecordingNotices.h"
#include "schedule/CellLineLists.h"
#include "schedule/ScheduleSettings.h"
#include "widgets/Colors.h"
#include "widgets/MeasuredDocuments.h"
#include "widgets/Schedules.h"

namespace pelo::test {

inline constexpr TDateRec kToday{2024, 5, 1};
inline constexpr const char* kTestFont = "DejaVu Sans,9";

// Colours every index apart, so a pixel tells which rule painted it. Grey 0x808080 and silver
// are avoided (the grid treats silver specially).
inline uint32_t TestColor(int32_t index) {
  return RgbColor(static_cast<uint8_t>(20 + index * 5), static_cast<uint8_t>(230 - index * 4),
                  static_cast<uint8_t>((60 + index * 37) % 256));
}

// Weeks running along rows (Monday first), titles shown, frames off: cell geometry stays
// simple for the mouse.
inline TScheduleSettings WeekRowsPage() {
  TScheduleSettings page;
  page.Vertical = true;
  page.Cycle = 7;
  page.Term = 4;
  page.FixTopWeek = 1;
  page.DispTitle = true;
  page.Title3D = 0;
  page.Cursor3D = 0;
  page.Today3D = 0;
  page.Normal3D = 0;
  page.Filter[5] = {0, 1, 2, 3};
  for (auto& font : page.Fonts) font = kTestFont;
  for (int32_t i = 0; i < kScheduleColorCount; ++i) page.Colors[i] = TestColor(i);
  return page;
}

inline QFont TestQFont() { return QFont(QStringLiteral("DejaVu Sans"), 9); }
// Height of one unwrapped entry line without icons: font height + spacing.
inline int LineHeight(int spacing = 2) { return QFontMetrics(TestQFont()).height() + spacing; }

inline QColor Pixel(const QImage& image, QPoint p) { return image.pixelColor(p); }
inline QColor Expected(int32_t index) { return ToQColor(TestColor(index)); }

// Sends a mouse event straight to the widget.
inline void SendMouse(QWidget& widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QMouseEvent event(type, QPointF(pos), QPointF(widget.mapToGlobal(pos)), button, buttons, mods);
  QApplication::sendEvent(&widget, &event);
}

inline void Press(QWidget& w, QPoint p, Qt::MouseButton b = Qt::LeftButton,
                  Qt::KeyboardModifiers m = Qt::NoModifier) {
  SendMouse(w, QEvent::MouseButtonPress, p, b, b, m);
}
inline void MoveHeld(QWidget& w, QPoint p, Qt::MouseButton b = Qt::LeftButton,
                     Qt::KeyboardModifiers m = Qt::NoModifier) {
  SendMouse(w, QEvent::MouseMove, p, Qt::NoButton, b, m);
}
inline void Release(QWidget& w, QPoint p, Qt::MouseButton b = Qt::LeftButton,
                    Qt::KeyboardModifiers m = Qt::NoModifier) {
  SendMouse(w, QEvent::MouseButtonRelease, p, b, Qt::NoButton, m);
}
inline void Click(QWidget& w, QPoint p) {
  Press(w, p);
  Release(w, p);
}
inline void DoubleClick(QWidget& w, QPoint p) {
  Press(w, p);
  Release(w, p);
  SendMouse(w, QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
  Release(w, p);
}

// A grid cell made public for tests: the base class's geometry.
class ScheduleFixture : public ::testing::Test {
 protected:
  // A shown schedule of the given page and size, made on today_.
  std::unique_ptr<TSchedule> Make(const TScheduleSettings& page, QSize size = {841, 560},
                                  std::size_t pack_budget = kDayPackBudget) {
    documents_.push_back(std::make_unique<TMeasuredDocument>(notices_, today_, pack_budget));
    auto schedule = std::make_unique<TSchedule>(*documents_.back());
    schedule->resize(size);
    schedule->ApplySettings(page);
    schedule->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(schedule.get()));
    schedule->JumpToday();
    notices_.Clear();
    return schedule;
  }

  // Loads one data file of UTF-8 text and rebuilds the table.
  std::string Load(TSchedule& schedule, std::string_view text, bool read_only = false) {
    const std::string path = folder_.WriteCp932("data.nrk", text);
    if (read_only) chmod(path.c_str(), 0444);
    const std::vector<std::string> names{path};
    schedule.EntryList().LoadFiles(names);
    schedule.RefreshData();
    return path;
  }

  // The texts of a day's lines.
  static std::vector<std::string> Lines(TSchedule& schedule, TDateRec date) {
    std::vector<std::string> out;
    if (const TCellLineList* list = schedule.DayTable().Cell(date)) {
      for (int32_t i = 0; i < list->Count(); ++i) out.push_back(list->Text(i));
    }
    return out;
  }

  TDateRec today_ = kToday;
  RecordingNotices notices_;
  TempFolder folder_;
  // The documents of the schedules made; a test's schedules go before them.
  std::vector<std::unique_ptr<TMeasuredDocument>> documents_;
};

}  // namespace pelo::test
