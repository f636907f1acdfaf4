// What the schedule widget paints: real pixels of a grab for a known month, data file and
// page. Today is Wednesday 2024/5/1; the week-rows page shows 2024/4/29 .. 5/26 in rows of
// Monday..Sunday, with the Golden Week holidays 4/29, 5/3, 5/4, 5/5 and 5/6.

#include <QApplication>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QTextItem>

#include "BitmapTesting.h"
#include "CellLooks.h"
#include "ScheduleTestSupport.h"
#include "calendar/Kyurekis.h"
#include "schedule/IniFiles.h"
#include "schedule/Pages.h"
#include "widgets/QtTextMeasurers.h"

namespace pelo::test {
namespace {

// The page with the frames of a default page: titles raised 1, the cursor raised 2, today
// sunken 2, other days none.
TScheduleSettings FramedPage() {
  TScheduleSettings page = WeekRowsPage();
  page.Title3D = 1;
  page.Cursor3D = 2;
  page.Today3D = -2;
  page.Normal3D = 0;
  return page;
}

// Pixels in rect that differ from every one of the given colours.
int Foreign(const QImage& image, const QRect& rect, std::initializer_list<int32_t> colors) {
  int count = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      bool known = false;
      for (const int32_t index : colors) known = known || pixel == Expected(index);
      if (!known) ++count;
    }
  }
  return count;
}

QImage Grab(TSchedule& schedule) {
  QApplication::processEvents();
  return schedule.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class SchedulePaint : public ScheduleFixture {};

TEST_F(SchedulePaint, CellBackgroundsFramesLabelsAndTitles) {
  auto schedule = Make(FramedPage());
  Load(*schedule,
       "2024/5/2 WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW\n"
       "2024/5/2 second line\n"
       "2024/5/8 x\n");
  schedule->SetCursorDate(TDateRec{2024, 5, 8});
  schedule->activateWindow();
  schedule->setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowActive(schedule.get()));
  ASSERT_TRUE(schedule->hasFocus());
  const QImage image = Grab(*schedule);
  const auto bottom_right = [](const QRect& cell) { return cell.bottomRight() - QPoint(4, 4); };

  struct Cell {
    const char* name;
    int col;
    int row;
    int32_t area;   // colour of the entry area
    int32_t label;  // colour of the day-number label
    int frame;      // frame style
  };
  const Cell cells[] = {
      {"holiday 5/3", 5, 1, kColorHolidayCellBack, kColorHolidayLabelBack, 0},
      {"today 5/1", 3, 1, kColorTodayCellBack, kColorWeekdayBack + 3, -2},
      {"cursor 5/8", 3, 2, kColorCursorCellBack, kColorWeekdayBack + 3, 2},
      {"Tuesday 5/14", 2, 3, kColorCellBack + 2, kColorWeekdayBack + 2, 0},
      {"Sunday 5/12", 7, 2, kColorCellBack + 0, kColorWeekdayBack + 0, 0},
      {"Saturday 5/25", 6, 4, kColorCellBack + 6, kColorWeekdayBack + 6, 0},
  };
  for (const Cell& c : cells) {
    SCOPED_TRACE(c.name);
    const QRect cell = schedule->CellRect(c.col, c.row);
    ASSERT_FALSE(cell.isEmpty());
    EXPECT_EQ(Pixel(image, bottom_right(cell)), Expected(c.area));
    // The label runs down the left side inside the frame; its middle is plain background.
    const int inset = std::abs(c.frame);
    EXPECT_EQ(Pixel(image, QPoint(cell.left() + inset + 1, cell.center().y())), Expected(c.label));
    if (c.frame > 0) {  // raised: light top-left, dark bottom-right
      EXPECT_EQ(Pixel(image, QPoint(cell.left(), cell.center().y())), Expected(kColorLightEdge));
      EXPECT_EQ(Pixel(image, QPoint(cell.right(), cell.center().y())), Expected(kColorDarkEdge));
      EXPECT_EQ(Pixel(image, QPoint(cell.center().x(), cell.top() + 1)), Expected(kColorLightEdge));
    } else if (c.frame < 0) {  // sunken: the edges swapped
      EXPECT_EQ(Pixel(image, QPoint(cell.left(), cell.center().y())), Expected(kColorDarkEdge));
      EXPECT_EQ(Pixel(image, QPoint(cell.right() - 1, cell.center().y())),
                Expected(kColorLightEdge));
    } else {
      EXPECT_EQ(Pixel(image, QPoint(cell.left(), cell.center().y())), Expected(c.label));
    }
  }

  // Text in the cell that holds lines, none in a day without: the right half of the first
  // line's band.
  const int band = LineHeight();
  const auto right_half = [band](const QRect& cell) {
    return QRect(QPoint(cell.center().x(), cell.top() + 2),
                 QPoint(cell.right() - 3, cell.top() + band - 3));
  };
  const QRect with_lines = schedule->CellRect(4, 1);  // Thursday 5/2
  EXPECT_GT(Foreign(image, right_half(with_lines), {kColorCellBack + 4}), 20);
  const QRect without = schedule->CellRect(2, 3);  // Tuesday 5/14
  EXPECT_EQ(Foreign(image, right_half(without), {kColorCellBack + 2}), 0);
  // The second line as well, a line below.
  EXPECT_GT(
      Foreign(image, QRect(with_lines.center().x() - 40, with_lines.top() + band + 2, 40, band - 4),
              {kColorCellBack + 4}),
      0);

  // The selected line of the focused cursor day: highlighted right of its short text, and
  // framed by the focus rectangle.
  const QRect cursor = schedule->CellRect(3, 2);
  EXPECT_EQ(Pixel(image, QPoint(cursor.right() - 6, cursor.top() + 2 + band / 2)),
            Expected(kColorSelectedLine));

  // The holiday name in the holiday line of 5/3, right of the label.
  const QRect holiday = schedule->CellRect(5, 1);
  const int label_end = holiday.left() + schedule->DateLabelWidth() + 4;
  EXPECT_GT(
      Foreign(image, QRect(label_end, holiday.top() + 1, 40, band - 2), {kColorHolidayCellBack}),
      10);

  // Weekday titles in row 0: Monday first, each on its weekday's background, with a name.
  struct Title {
    int col;
    int weekday;
  };
  for (const Title t : {Title{1, 1}, Title{3, 3}, Title{6, 6}, Title{7, 0}}) {
    SCOPED_TRACE(t.col);
    const QRect title = schedule->CellRect(t.col, 0);
    ASSERT_FALSE(title.isEmpty());
    EXPECT_EQ(title.height(), schedule->TitleHeight());
    EXPECT_EQ(Pixel(image, QPoint(title.left() + 3, title.center().y())),
              Expected(kColorWeekdayBack + t.weekday));
    EXPECT_EQ(Pixel(image, QPoint(title.left(), title.center().y())), Expected(kColorLightEdge));
    EXPECT_GT(Foreign(image, title.adjusted(1, 1, -1, -1),
                      {kColorWeekdayBack + t.weekday, kColorLightEdge, kColorDarkEdge}),
              5);
  }
  // Between the day cells the lines take the control's colour.
  EXPECT_EQ(Pixel(image, QPoint(without.right() + 1, without.center().y())),
            Expected(kColorControlBack));
  EXPECT_EQ(Pixel(image, QPoint(without.center().x(), without.bottom() + 1)),
            Expected(kColorControlBack));
}

TEST_F(SchedulePaint, TheLabelShowsTheDayInformationOfItsKind) {
  // A day the old calendar's table knows, beside the cursor's, without entries.
  const TDateRec wednesday{2020, 5, 13};
  const int32_t weekday_text = kColorWeekdayText + 3;
  struct Case {
    const char* name;
    int32_t kind;
    int32_t color;  // of the information; -1: none shown
  };
  const Case cases[] = {
      {"nothing", kDayInfoNone, -1},
      {"weekday", kDayInfoWeekday, weekday_text},
      {"rokuyo", kDayInfoRokuyo,
       kColorRokuyoText + RokuyoIndex(wednesday, TCalendarKind::kClassic)},
      {"lunar date", kDayInfoLunarDate, kColorLunarDateText},
      {"entry count", kDayInfoEntryCount, weekday_text},
  };
  std::vector<QImage> shown;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TScheduleSettings page = WeekRowsPage();
    page.DayInfo = c.kind;
    // Strokes wide enough to show their colour unblended.
    page.Fonts[kFontDayNumber] = "DejaVu Sans,22,Bold";
    page.Fonts[kFontDayInfo] = "DejaVu Sans,22,Bold";
    auto schedule = Make(page);
    schedule->JumpDate(TDateRec{2020, 5, 12});
    const QRect cell = schedule->CellRect(schedule->Model().DateToCol(wednesday),
                                          schedule->Model().DateToRow(wednesday));
    ASSERT_EQ(schedule->PointToDate(cell.center().x(), cell.center().y()), wednesday);
    // The lower half of the label, where the information stands, and the area beside it.
    const QRect lower(cell.left(), cell.center().y(), 100, cell.bottom() - cell.center().y());
    shown.push_back(Grab(*schedule).copy(lower));
    const QImage& image = shown.back();
    const int pixels = image.width() * image.height();
    if (c.color < 0) {
      EXPECT_EQ(Foreign(image, image.rect(), {kColorWeekdayBack + 3, kColorCellBack + 3}), 0);
    } else {
      EXPECT_GT(pixels - Foreign(image, image.rect(), {c.color}), 3);
    }
  }
  // Each kind shows a text of its own.
  for (std::size_t a = 0; a < shown.size(); ++a) {
    for (std::size_t b = a + 1; b < shown.size(); ++b) {
      EXPECT_NE(shown[a], shown[b]) << cases[a].name << " / " << cases[b].name;
    }
  }
}

// In the calendar of today 2026/2/23 is a holiday and the days of 2026 have their rokuyo;
// back in the classic calendar the picture is what it was, pixel for pixel.
TEST_F(SchedulePaint, TheCalendarOfTodayAndBack) {
  TScheduleSettings page = WeekRowsPage();
  page.DayInfo = kDayInfoRokuyo;
  page.Fonts[kFontDayInfo] = "DejaVu Sans,22,Bold";
  auto schedule = Make(page);
  const TDateRec birthday{2026, 2, 23};
  const TDateRec wednesday{2026, 2, 25};
  schedule->JumpDate(wednesday);
  const auto cell_of = [&schedule](TDateRec date) {
    return schedule->CellRect(schedule->Model().DateToCol(date), schedule->Model().DateToRow(date));
  };
  const QPoint birthday_area = cell_of(birthday).bottomRight() - QPoint(4, 4);
  const QRect cell = cell_of(wednesday);
  const QRect label_lower(cell.left(), cell.center().y(), 100, cell.bottom() - cell.center().y());
  const int32_t rokuyo = kColorRokuyoText + RokuyoIndex(wednesday, TCalendarKind::kCurrent);

  const QImage classic = Grab(*schedule);
  EXPECT_EQ(Pixel(classic, birthday_area), Expected(kColorCellBack + 1));
  EXPECT_EQ(Foreign(classic, label_lower, {kColorWeekdayBack + 3, kColorCursorCellBack}), 0);

  schedule->SetCalendarKind(TCalendarKind::kCurrent);
  const QImage current = Grab(*schedule);
  EXPECT_EQ(schedule->CursorDate(), wednesday);
  EXPECT_EQ(Pixel(current, birthday_area), Expected(kColorHolidayCellBack));
  const QImage info = current.copy(label_lower);
  EXPECT_GT(info.width() * info.height() - Foreign(info, info.rect(), {rokuyo}), 3);

  schedule->SetCalendarKind(TCalendarKind::kClassic);
  EXPECT_EQ(Grab(*schedule), classic);
}

TEST_F(SchedulePaint, EmptyCellsAndMonthTitles) {
  TScheduleSettings page = FramedPage();
  page.Vertical = false;
  page.Cycle = 31;
  page.Term = 2;
  page.FixTopDay = 1;
  page.FixTopWeek = -1;
  auto schedule = Make(page);
  // Columns May and June 2024: June has no 31st.
  ASSERT_EQ(schedule->TopDate(), (TDateRec{2024, 5, 1}));
  const QImage image = Grab(*schedule);
  const QRect empty = schedule->CellRect(2, 31);
  ASSERT_FALSE(empty.isEmpty());
  EXPECT_EQ(Foreign(image, empty, {kColorEmptyCell}), 0);
  const QRect may31 = schedule->CellRect(1, 31);  // a Friday
  EXPECT_EQ(Pixel(image, may31.bottomRight() - QPoint(2, 2)), Expected(kColorCellBack + 5));
  // The cycle titles of row 0 carry text on the title background.
  const QRect title = schedule->CellRect(1, 0);
  ASSERT_FALSE(title.isEmpty());
  EXPECT_EQ(Pixel(image, QPoint(title.center().x(), title.center().y())),
            Expected(kColorTitleBack));
  EXPECT_GT(Foreign(image, title.adjusted(1, 1, -1, -1),
                    {kColorTitleBack, kColorLightEdge, kColorDarkEdge}),
            10);
}

// An image that keeps the texts drawn on it, each with where it lies and the clip it was drawn
// in, and paints nothing.
class TTextRecorder : public QImage, QPaintEngine {
 public:
  struct TDrawnText {
    QString Text;
    QRectF Rect;  // from the pen position over the text's advance, ascent and descent
    QRectF Clip;
    QRectF Shown() const { return Rect & Clip; }
  };
  TTextRecorder(QSize size, qreal ratio)
      : QImage(size * ratio, Format_ARGB32_Premultiplied), QPaintEngine(AllFeatures) {
    setDevicePixelRatio(ratio);
  }
  std::vector<TDrawnText> texts;

  QPaintEngine* paintEngine() const override { return const_cast<TTextRecorder*>(this); }
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  Type type() const override { return User; }
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  void drawPath(const QPainterPath&) override {}
  void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
  void drawTextItem(const QPointF& p, const QTextItem& item) override {
    const QRectF rect(p.x(), p.y() - item.ascent(), item.width(), item.ascent() + item.descent());
    const QRectF clip =
        painter()->hasClipping() ? painter()->clipBoundingRect() : QRectF(0, 0, 1e6, 1e6);
    texts.push_back(
        {item.text(), painter()->transform().mapRect(rect), painter()->transform().mapRect(clip)});
  }
};

TEST_F(SchedulePaint, TitleTextsNeverOverlapAndTheCellsReachTheEdges) {
  // December 2026 gives the longest week titles ("12月 2w" and "'26 50週"), in a small window,
  // at double scale (two thirds of 1280 x 800 in pixels of half the size) and in a large one.
  // The month titles down the rows have a column as narrow as a title row is high: "12月" is cut.
  struct Case {
    bool vertical;
    int32_t cycle;
    QSize size;
    bool whole;        // every title text shows whole
    bool right_shown;  // every title shows its right text too
  };
  const Case cases[] = {
      {false, 7, {500, 400}, true, false},  {false, 7, {426, 266}, true, false},
      {false, 7, {1200, 800}, true, true},  {false, 31, {500, 400}, true, false},
      {false, 31, {1200, 800}, true, true}, {true, 31, {426, 266}, false, false},
  };
  today_ = TDateRec{2026, 12, 10};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size.width() << " cycle " << c.cycle << c.vertical);
    TScheduleSettings page = FramedPage();
    page.Vertical = c.vertical;
    page.Cycle = c.cycle;
    page.Term = c.cycle == 31 ? 12 : 5;
    page.FixTopDay = c.cycle == 31 ? 1 : 0;
    auto schedule = Make(page, c.size);
    // What the division among the cells leaves over goes to the last ones, a pixel each.
    const int cols = schedule->ColCount() - 1;
    const int rows = schedule->RowCount() - 1;
    EXPECT_EQ(schedule->CellRect(cols, rows).bottomRight(),
              QPoint(c.size.width() - 1, c.size.height() - 1));
    EXPECT_LE(std::abs(schedule->ColWidth(cols) - schedule->ColWidth(1)), 1);
    EXPECT_LE(std::abs(schedule->RowHeight(rows) - schedule->RowHeight(1)), 1);
    TTextRecorder recorder(schedule->size(), schedule->devicePixelRatioF());
    schedule->render(&recorder);
    int titles = 0;
    int rights = 0;
    for (int i = 1; i <= std::max(cols, rows); ++i) {
      const QRect title = c.vertical ? schedule->CellRect(0, i) : schedule->CellRect(i, 0);
      if (title.isEmpty()) continue;
      // Qt draws a text in runs of one script ("12", "月").
      std::vector<TTextRecorder::TDrawnText> runs;
      QString shown;
      for (const auto& run : recorder.texts) {
        if (!title.contains(run.Clip.toAlignedRect())) continue;
        runs.push_back(run);
        shown += run.Text;
      }
      if (runs.empty()) continue;
      SCOPED_TRACE(shown.toStdString());
      ++titles;
      rights += shown.contains(u'\'') ? 1 : 0;
      for (std::size_t a = 0; a < runs.size(); ++a) {
        const bool cut = runs[a].Shown() != runs[a].Rect;
        EXPECT_FALSE(cut && c.whole) << runs[a].Text.toStdString();
        // Nothing follows a text that was cut, nothing is drawn over anything else.
        EXPECT_FALSE(cut && a + 1 < runs.size() && !runs[a + 1].Shown().isEmpty());
        for (std::size_t b = a + 1; b < runs.size(); ++b) {
          EXPECT_FALSE(runs[a].Shown().intersects(runs[b].Shown()))
              << runs[a].Text.toStdString() << " over " << runs[b].Text.toStdString();
        }
      }
    }
    EXPECT_GT(titles, 3);
    EXPECT_TRUE(!c.right_shown || rights == titles);
  }
}

TEST_F(SchedulePaint, NothingIsPaintedOutsideACell) {
  // Long lines, many lines, a big font and a holiday line in two cells; everything outside
  // those two cells must look exactly as without any data.
  std::string data;
  for (int i = 0; i < 12; ++i) {
    data += "2024/5/9 overflowing line number " + std::to_string(i) +
            " WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW\n";
    data += "2024/5/6 holiday overflow " + std::to_string(i) + " MMMMMMMMMMMMMMMMMMMMMMMMMMMMMM\n";
  }
  data += "2024/5/9 BIG TEXT GOES NOWHERE &f(DejaVu Sans,60)\n";
  data += "2024/5/6 BIG HOLIDAY TEXT &f(DejaVu Sans,60)\n";
  struct Case {
    const char* name;
    bool day_upper;
    bool wrap;
    int32_t percent;
  };
  for (const Case& c : {Case{"label left", false, false, 100}, Case{"wrapped", false, true, 100},
                        Case{"label on top, large", true, true, 250}}) {
    SCOPED_TRACE(c.name);
    TScheduleSettings page = FramedPage();
    page.DayUpper = c.day_upper;
    page.Wrap = c.wrap;
    page.Percent = c.percent;
    auto schedule = Make(page);
    Load(*schedule, data);
    ASSERT_EQ(Lines(*schedule, TDateRec{2024, 5, 9}).size(), 13u);
    const QImage with_data = Grab(*schedule);
    schedule->EntryList().Clear();
    schedule->RefreshData();
    const QImage without_data = Grab(*schedule);
    ASSERT_EQ(with_data.size(), without_data.size());
    const QRect thursday = schedule->CellRect(4, 2);
    const QRect monday = schedule->CellRect(1, 2);
    int outside = 0;
    int inside = 0;
    for (int y = 0; y < with_data.height(); ++y) {
      for (int x = 0; x < with_data.width(); ++x) {
        if (with_data.pixel(x, y) == without_data.pixel(x, y)) continue;
        (thursday.contains(x, y) || monday.contains(x, y) ? inside : outside)++;
      }
    }
    EXPECT_GT(inside, 100);  // the lines were drawn
    EXPECT_EQ(outside, 0);
  }
}

TEST_F(SchedulePaint, AbsurdPageValuesStillPaint) {
  // Values no sensible page holds: the widget must still paint, quickly, inside its cells.
  TScheduleSettings page = FramedPage();
  SetCellLook(page, {.title_3d = 100000,
                     .cursor_3d = -100000,
                     .today_3d = page.Today3D,
                     .normal_3d = 7,
                     .line_width = 40,
                     .spacing = -50,
                     .percent = 100000});
  page.DayInfo = 4;
  auto schedule = Make(page);
  Load(*schedule, "2024/5/3 holiday entry\n2024/5/8 an entry\n2024/5/9 another\n");
  const QImage image = Grab(*schedule);
  EXPECT_EQ(image.size(), schedule->size());
  // Forty-pixel lines between the day cells, in the control's colour.
  const QRect first = schedule->CellRect(1, 1);
  ASSERT_FALSE(first.isEmpty());
  EXPECT_EQ(Pixel(image, QPoint(first.right() + 20, first.center().y())),
            Expected(kColorControlBack));
  TScheduleSettings small = FramedPage();
  small.Percent = 0;
  schedule->ApplySettings(small);
  EXPECT_FALSE(Grab(*schedule).isNull());
}

TEST_F(SchedulePaint, HostilePageNumbersStillShowEveryDay) {
  // The test page written as a page file, so that every number goes through the reading.
  std::string base = "[NerikaPage1]\nPageName=P\n";
  for (int32_t i = 0; i < kScheduleFontCount; ++i) {
    base += "ScheduleFont" + std::to_string(i) + "=" + kTestFont + "\n";
  }
  for (int32_t i = 0; i < kScheduleColorCount; ++i) {
    base += "ScheduleColor" + std::to_string(i) + "=" + std::to_string(TestColor(i)) + "\n";
  }
  const char* const keys[] = {"ScheduleCycle",     "ScheduleTerm",      "ScheduleFixTopMonth",
                              "ScheduleFixTopDay", "ScheduleTopWeek",   "ScheduleDayInfo",
                              "ScheduleTitle3D",   "ScheduleCursor3D",  "ScheduleToday3D",
                              "ScheduleNormal3D",  "ScheduleLineWidth", "ScheduleSpace",
                              "SchedulePersent"};
  const std::initializer_list<int32_t> area_colors = {
      kColorSelectedLine,       kColorTodayCellBack, kColorCursorCellBack, kColorHolidayCellBack,
      kColorOtherMonthCellBack, kColorCellBack + 0,  kColorCellBack + 1,   kColorCellBack + 2,
      kColorCellBack + 3,       kColorCellBack + 4,  kColorCellBack + 5,   kColorCellBack + 6};
  auto schedule = Make(WeekRowsPage());
  Load(*schedule, "2024/5/1 today's entry\n2024/5/3 holiday entry\n2024/5/8 an entry\n");
  for (const char* key : keys) {
    for (const char* value : {"-2147483648", "2147483647"}) {
      const std::string line = std::string(key) + "=" + value;
      SCOPED_TRACE(line);
      TPage page(768);
      ASSERT_TRUE(page.Read(TIniFile::FromText(base + line + "\n"), kPageSection));
      schedule->ApplySettings(page.Schedule);
      schedule->JumpToday();
      const QImage image = Grab(*schedule);
      // Every day cell keeps a good part of its entry area, whatever its frame, label and lines.
      int days = 0;
      for (int col = 1; col < schedule->ColCount(); ++col) {
        for (int row = 1; row < schedule->RowCount(); ++row) {
          const QRect cell = schedule->CellRect(col, row);
          if (cell.isEmpty() || !schedule->PointToDate(cell.center().x(), cell.center().y())) {
            continue;
          }
          ++days;
          const int pixels = cell.width() * cell.height();
          EXPECT_GE(pixels - Foreign(image, cell, area_colors), pixels / 10)
              << "cell " << col << "," << row;
        }
      }
      EXPECT_GT(days, 0);
    }
  }
}

TEST_F(SchedulePaint, APictureThatDoesNotDecodeIsReportedAndTakesNoRoom) {
  folder_.WriteBytes("lying.bmp",
                     Bitmap({.width = INT32_MAX, .height = INT32_MAX, .pixel_bytes = 0}));
  // Its header is a bitmap's, but the decoder does not read it.
  folder_.WriteBytes("v3.bmp", Bitmap({.info_size = 52, .width = 4, .height = 4, .bits = 16}));
  folder_.WriteBytes("real.bmp", Bitmap({.width = 12, .height = 12}));
  auto schedule = Make(WeekRowsPage());
  const std::vector<std::string> lines = {"2024/5/8 first", "2024/5/8 lying &i(lying.bmp)",
                                          "2024/5/8 v3 &i(v3.bmp)", "2024/5/8 real &i(real.bmp)",
                                          "2024/5/8 last"};
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  Load(*schedule, text);

  const std::vector<TLoadErrorReport> reports = notices_.Reports();
  ASSERT_EQ(reports.size(), 1u);
  const std::string missing = " … ｱｲｺﾝﾌｧｲﾙが見つかりませんでした。";
  EXPECT_EQ(reports[0].lines, (std::vector<std::string>{lines[1] + missing, lines[2] + missing}));

  const TDateRec day{2024, 5, 8};
  ASSERT_EQ(Lines(*schedule, day), (std::vector<std::string>{"first", "real", "last"}));
  Grab(*schedule);
  const TCellLineList* list = schedule->DayTable().Cell(day);
  ASSERT_NE(list, nullptr);
  // Every line of the day lies inside the cell's entry area.
  const QRect area = ToQRect(list->CellRect());
  for (int32_t i = 0; i < list->Count(); ++i) {
    EXPECT_FALSE(ToQRect(list->LineRect(i)).isEmpty()) << i;
    EXPECT_TRUE(area.contains(ToQRect(list->LineRect(i)))) << i;
  }
  // Icons give a line at least their own height and the spacing; the picture is lower.
  EXPECT_EQ(list->LineHeight(1), std::max(LineHeight(), 2 + kSmallIconSize));
}

}  // namespace
}  // namespace pelo::test
