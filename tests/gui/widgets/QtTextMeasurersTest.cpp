// The Qt side of the line lists: fonts, measuring, the screen's depth, entry pictures with
// their see-through colour, and painting that stays inside its clip rectangles.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <functional>
#include <string>
#include <tuple>

#include "BitmapTesting.h"
#include "DataFileTesting.h"
#include "TestFonts.h"
#include "schedule/CellLineLists.h"
#include "widgets/Colors.h"
#include "widgets/QtTextMeasurers.h"

namespace pelo {
namespace {

using test::FontSpec;

TEST(ToQFontTest, FaceSizeAndStyle) {
  struct Case {
    TFontSpec desc;
    int32_t percent;
    const char* family;
    int point_size;
    bool bold, italic, underline, strike_out;
  };
  const Case cases[] = {
      {FontSpec("DejaVu Serif", 12, true, true), 100, "DejaVu Serif", 12, true, true, false, false},
      {FontSpec("DejaVu Sans", 10), 150, "DejaVu Sans", 15, false, false, false, false},
      {FontSpec("DejaVu Sans", 9, false, false, true, true), 100, "DejaVu Sans", 9, false, false,
       true, true},
      {FontSpec("DejaVu Sans", 11), 50, "DejaVu Sans", 5, false, false, false, false},  // 5.5 -> 5
      {FontSpec("DejaVu Sans", 10), 5, "DejaVu Sans", 1, false, false, false, false},   // never 0
      {FontSpec("DejaVu Sans", 10), 100000, "DejaVu Sans", 1000, false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.point_size);
    const QFont f = ToQFont(c.desc, c.percent);
    EXPECT_EQ(std::tuple(f.family().toStdString(), f.pointSize(), f.bold(), f.italic(),
                         f.underline(), f.strikeOut()),
              std::tuple(std::string(c.family), c.point_size, c.bold, c.italic, c.underline,
                         c.strike_out));
  }
}

TEST(QtTextMeasurerTest, MeasuresLikeTheFontMetrics) {
  QWidget widget;
  widget.setFont(QFont(QStringLiteral("DejaVu Serif"), 13));
  TQtTextMeasurer measurer(&widget);
  const TFontSpec surface = measurer.SurfaceFont();
  EXPECT_EQ(surface.Name, "DejaVu Serif");
  EXPECT_EQ(surface.Size, 13);

  const TFontSpec desc = FontSpec("DejaVu Sans", 10);
  const QFontMetrics at100(QFont(QStringLiteral("DejaVu Sans"), 10));
  const QFontMetrics at200(QFont(QStringLiteral("DejaVu Sans"), 20));
  EXPECT_EQ(measurer.CharWidth(U'W', desc, 100), at100.horizontalAdvance(QChar(u'W')));
  EXPECT_EQ(measurer.CharWidth(U'W', desc, 100), at100.horizontalAdvance(QChar(u'W')));  // cached
  EXPECT_EQ(measurer.CharWidth(U'i', desc, 200), at200.horizontalAdvance(QChar(u'i')));
  EXPECT_EQ(measurer.CharWidth(U'お', desc, 100), at100.horizontalAdvance(QString::fromUtf8("お")));
  EXPECT_EQ(measurer.TextWidth("Wide text", desc, 100),
            at100.horizontalAdvance(QStringLiteral("Wide text")));
  EXPECT_EQ(measurer.TextWidth("", desc, 100), 0);
  EXPECT_EQ(measurer.FontHeight(desc, 100), at100.height());
  EXPECT_EQ(measurer.FontHeight(desc, 200), at200.height());
}

TEST(QtTextMeasurerTest, FontsAreKeptByShapeAndOnlyTheRecentOnes) {
  // What reloads of a file with ever new colours or sizes ask for, and the fonts left behind.
  struct Case {
    const char* name;
    std::function<TFontSpec(int32_t)> font;  // the font of the i-th question
    int32_t questions;
    std::size_t kept;
  };
  const auto colored = [](int32_t i) {
    TFontSpec desc = FontSpec("DejaVu Sans", 10);
    desc.Color = static_cast<uint32_t>(i) * 0x10101u;
    return desc;
  };
  const auto sized = [](int32_t i) { return FontSpec("DejaVu Sans", 6 + i); };
  const auto styled = [](int32_t i) {
    return FontSpec("DejaVu Sans", 10, (i & 1) != 0, (i & 2) != 0, (i & 4) != 0, (i & 8) != 0);
  };
  const Case cases[] = {
      {"a thousand colours of one font", colored, 1000, 1},
      {"every style of one face and size", styled, 16, 16},
      {"more sizes than are kept", sized, 300, TQtTextMeasurer::kFontCacheSize},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TQtTextMeasurer measurer(nullptr);
    for (int32_t i = 0; i < c.questions; ++i) {
      ASSERT_EQ(measurer.Font(c.font(i), 100).pointSize(), c.font(i).Size);
    }
    EXPECT_EQ(measurer.CachedFontCount(), c.kept);
    // The first font was dropped or kept; either way it measures as before.
    const TFontSpec first = c.font(0);
    EXPECT_EQ(measurer.TextWidth("Width", first, 100),
              QFontMetrics(ToQFont(first)).horizontalAdvance(QStringLiteral("Width")));
    EXPECT_EQ(measurer.CharWidth(U'W', first, 150),
              QFontMetrics(ToQFont(first, 150)).horizontalAdvance(QChar(u'W')));
  }
}

TEST(QtTextMeasurerTest, ScreenBitsPerPixelIsThePrimaryScreensDepth) {
  ASSERT_NE(QGuiApplication::primaryScreen(), nullptr);
  EXPECT_EQ(ScreenBitsPerPixel(), QGuiApplication::primaryScreen()->depth());
}

class PaintRecorder : public QWidget {
 public:
  QRegion painted;

 protected:
  void paintEvent(QPaintEvent* event) override { painted += event->region(); }
};

TEST(QtTextMeasurerTest, InvalidateAsksForAPaintOfTheRectangle) {
  PaintRecorder widget;
  widget.resize(200, 100);
  widget.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
  QApplication::processEvents();
  widget.painted = QRegion();
  TQtTextMeasurer measurer(&widget);
  measurer.Invalidate(TRect{10, 20, 50, 30});
  measurer.Invalidate(TRect{60, 20, 60, 30});  // empty: nothing
  for (int i = 0; i < 40 && widget.painted.isEmpty(); ++i) QTest::qWait(50);
  EXPECT_TRUE(widget.painted.contains(QRect(10, 20, 40, 10)));
  EXPECT_FALSE(widget.painted.contains(QRect(70, 50, 5, 5)));
}

TEST(QtTextMeasurerTest, PicturesLoseTheirBottomLeftColour) {
  test::TempFolder folder;
  QImage bitmap(4, 3, QImage::Format_RGB32);
  bitmap.fill(QColor(255, 0, 0));
  bitmap.setPixelColor(1, 1, QColor(0, 0, 255));
  bitmap.setPixelColor(3, 0, QColor(0, 255, 0));
  const std::string path = folder.File("pic.bmp");
  ASSERT_TRUE(bitmap.save(QString::fromStdString(path), "BMP"));

  TQtTextMeasurer measurer(nullptr);
  const TIconFile file{path, 4, 3};
  const QImage* picture = measurer.Picture(file);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->size(), QSize(4, 3));
  for (const auto& [x, y, alpha] : {std::tuple{0, 2, 0}, {0, 0, 0}, {1, 1, 255}, {3, 0, 255}}) {
    EXPECT_EQ(qAlpha(picture->pixel(x, y)), alpha) << x << "," << y;
  }
  EXPECT_EQ(QColor(picture->pixel(1, 1)), QColor(0, 0, 255));
  EXPECT_EQ(measurer.Picture(file), picture);  // decoded once
  EXPECT_EQ(measurer.Picture(TIconFile{folder.File("none.bmp"), 4, 3}), nullptr);
}

TEST(QtTextMeasurerTest, TheLoaderCheckSeesTheFileAsItIsNow) {
  test::TempFolder folder;
  TQtTextMeasurer measurer(nullptr);
  const TIconFile file{folder.File("pic.bmp"), 4, 4};
  // Each step rewrites the file (each version has its own length) and asks again.
  const struct {
    const char* label;
    test::TBitmapLayout layout;
    bool decodes;
  } steps[] = {
      {"a header the decoder cannot read",
       {.info_size = 52, .width = 4, .height = 4, .bits = 16},
       false},
      {"the same picture in a plain bitmap", {.width = 4, .height = 4}, true},
      {"another size than the line was read with", {.width = 4, .height = 3}, false},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.label);
    folder.WriteBytes("pic.bmp", test::Bitmap(step.layout));
    EXPECT_EQ(measurer.CheckPicture(file), step.decodes);
    EXPECT_EQ(measurer.Picture(file) != nullptr, step.decodes);
  }
}

// A white image of that size with paint done on it through a line paint sink.
QImage Painted(QSize size, TQtTextMeasurer& measurer,
               const std::function<void(TLinePaintSink&)>& paint) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  TQtLinePaintSink sink(painter, measurer);
  paint(sink);
  return image;
}

// The pixels of a painted white image that changed outside and inside clip.
struct Changes {
  int outside = 0;
  int inside = 0;
};
Changes Count(const QImage& image, const QRect& clip) {
  Changes changes;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) == QColor(Qt::white)) continue;
      (clip.contains(x, y) ? changes.inside : changes.outside)++;
    }
  }
  return changes;
}

TEST(QtLinePaintSinkTest, EveryCallStaysInsideItsClip) {
  TQtTextMeasurer measurer(nullptr);
  const TFontSpec font = FontSpec("DejaVu Sans", 14);
  const TRect clip{10, 5, 50, 25};
  const QRect qclip = ToQRect(clip);
  EXPECT_EQ(qclip, QRect(10, 5, 40, 20));
  EXPECT_EQ(ToTRect(qclip), clip);
  struct Case {
    const char* name;
    std::function<void(TLinePaintSink&)> paint;
  };
  const Case cases[] = {
      {"text",
       [&](TLinePaintSink& sink) {
         sink.DrawText(clip, 0, 0, "WWWWWWWWWWWWWWWWWW", font, 200, false, false);
       }},
      {"marked text",
       [&](TLinePaintSink& sink) {
         sink.DrawText(clip, 12, 8, "WWWWWWWWWWWWWWWWWW", font, 100, true, true);
       }},
      {"icon", [&](TLinePaintSink& sink) { sink.DrawIcon(clip, 0, 40, 15); }},
      {"focus rectangle",
       [&](TLinePaintSink& sink) {
         sink.DrawFocusRect(TRect{0, 0, 30, 15}, clip);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Changes changes = Count(Painted({80, 40}, measurer, c.paint), qclip);
    EXPECT_EQ(changes.outside, 0);
    EXPECT_GT(changes.inside, 0);
  }
}

TEST(QtLinePaintSinkTest, FillsAndMarks) {
  TQtTextMeasurer measurer(nullptr);
  TFontSpec font = FontSpec("DejaVu Sans", 12);
  font.Color = RgbColor(0, 0, 160);
  const QImage plain = Painted({120, 30}, measurer, [&](TLinePaintSink& sink) {
    sink.FillRect(TRect{0, 0, 5, 30}, RgbColor(10, 20, 30));
    sink.DrawText(TRect{0, 0, 120, 30}, 8, 2, "text", font, 100, false, false);
  });
  const QImage marked = Painted({120, 30}, measurer, [&](TLinePaintSink& sink) {
    sink.DrawText(TRect{0, 0, 120, 30}, 8, 2, "text", font, 100, true, true);
  });
  EXPECT_EQ(plain.pixelColor(0, 0), QColor(10, 20, 30));
  EXPECT_EQ(plain.pixelColor(4, 29), QColor(10, 20, 30));
  EXPECT_EQ(plain.pixelColor(5, 0), QColor(Qt::white));
  // Strike-out and underline add pixels the plain text does not have, in the font's colour.
  int extra = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 8; x < 120; ++x) {
      extra += plain.pixelColor(x, y) == Qt::white && marked.pixelColor(x, y) == QColor(0, 0, 160);
    }
  }
  EXPECT_GT(extra, 10);
}

}  // namespace
}  // namespace pelo
