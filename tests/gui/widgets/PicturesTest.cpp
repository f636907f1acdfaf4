// The program's artwork: every resource loads at its size through the image and icon
// plugins and through our own renderer, shows something on a transparent ground, and no two
// toolbar pictures are the same. And the entry pictures: bitmaps only, within the limit.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QSvgRenderer>
#include <string>
#include <vector>

#include "BitmapTesting.h"
#include "widgets/Pictures.h"

namespace pelo {
namespace {

struct Resource {
  QString path;
  int side;
};

std::vector<Resource> AllResources() {
  std::vector<Resource> resources;
  for (int i = 0; i < kToolbarPictureCount; ++i) resources.push_back({ToolbarPicturePath(i), 19});
  for (const char* name : kSmallIconNames) resources.push_back({LineIconPath(name), 16});
  resources.push_back({QString::fromLatin1(kApplicationIconPath), 48});
  return resources;
}

// Counts of pixels that are drawn (mostly opaque) and left clear.
std::pair<int, int> Coverage(const QImage& picture) {
  const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
  int drawn = 0;
  int clear = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const int alpha = qAlpha(image.pixel(x, y));
      if (alpha >= 128) ++drawn;
      if (alpha == 0) ++clear;
    }
  }
  return {drawn, clear};
}

TEST(PicturesTest, PathsOfTheResources) {
  EXPECT_EQ(ToolbarPicturePath(0), ":/toolbar/0.svg");
  EXPECT_EQ(ToolbarPicturePath(11), ":/toolbar/11.svg");
  EXPECT_EQ(LineIconPath("RELFILES"), ":/icons/RELFILES.svg");
}

TEST(PicturesTest, EveryResourceIsAnSvgOfItsSize) {
  InitPictureResources();
  for (const Resource& resource : AllResources()) {
    SCOPED_TRACE(resource.path.toStdString());
    QSvgRenderer renderer(resource.path);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBox(), QRect(0, 0, resource.side, resource.side));
  }
}

TEST(PicturesTest, EveryResourceLoadsThroughThePlugins) {
  InitPictureResources();
  ASSERT_TRUE(QImageReader::supportedImageFormats().contains("svg"))
      << "the SVG image plugin is missing";
  for (const Resource& resource : AllResources()) {
    SCOPED_TRACE(resource.path.toStdString());
    const QImage image(resource.path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(resource.side, resource.side));
    const QIcon icon(resource.path);
    const QPixmap pixmap = icon.pixmap(QSize(resource.side, resource.side));
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_EQ(pixmap.size(), QSize(resource.side, resource.side));
  }
}

TEST(PicturesTest, RenderedPicturesShowSomethingOnAClearGround) {
  std::vector<QPixmap> pictures;
  for (int i = 0; i < kToolbarPictureCount; ++i) pictures.push_back(ToolbarPicture(i));
  for (int slot = 0; slot < kLineIconCount; ++slot) pictures.push_back(LineIconPicture(slot));
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    SCOPED_TRACE(i);
    const QPixmap& picture = pictures[i];
    ASSERT_FALSE(picture.isNull());
    const int side = i < static_cast<std::size_t>(kToolbarPictureCount) ? 19 : 16;
    EXPECT_EQ(picture.size(), QSize(side, side));
    const auto [drawn, clear] = Coverage(picture.toImage());
    EXPECT_GE(drawn, 10);
    EXPECT_GE(clear, 10);
  }
  const QPixmap sharp = ToolbarPicture(5, 2.0);
  EXPECT_EQ(sharp.size(), QSize(38, 38));
  EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
}

TEST(PicturesTest, NoTwoToolbarPicturesAlike) {
  std::vector<QImage> images;
  for (int i = 0; i < kToolbarPictureCount; ++i) images.push_back(ToolbarPicture(i).toImage());
  for (int i = 0; i < kToolbarPictureCount; ++i) {
    for (int j = i + 1; j < kToolbarPictureCount; ++j) {
      EXPECT_NE(images[i], images[j]) << i << " and " << j;
    }
  }
}

TEST(PicturesTest, OutOfRangeAndMissingGiveNothing) {
  EXPECT_TRUE(ToolbarPicture(-1).isNull());
  EXPECT_TRUE(ToolbarPicture(kToolbarPictureCount).isNull());
  EXPECT_TRUE(LineIconPicture(-1).isNull());
  EXPECT_TRUE(LineIconPicture(kLineIconCount).isNull());
  EXPECT_TRUE(RenderPicture(":/icons/NOSUCH.svg", QSize(16, 16)).isNull());
}

TEST(PicturesTest, ApplicationIconAtTheUsualSizes) {
  const QIcon icon = ApplicationIcon();
  ASSERT_FALSE(icon.isNull());
  const QList<QSize> sizes = icon.availableSizes();
  for (int side : {16, 32, 48, 256}) EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
  const auto [drawn, clear] = Coverage(icon.pixmap(QSize(48, 48)).toImage());
  EXPECT_GE(drawn, 48 * 48 / 2);
  EXPECT_GE(clear, 10);
}

QImage Decode(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  return DecodeEntryPicture(buffer);
}

QByteArray Bytes(const test::TBitmapLayout& layout) {
  const std::string bytes = test::Bitmap(layout);
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

TEST(DecodeEntryPictureTest, OnlyBitmapsWithinTheLimit) {
  QImage small(3, 2, QImage::Format_RGB32);
  small.fill(Qt::red);
  QByteArray png;
  QBuffer png_buffer(&png);
  png_buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(small.save(&png_buffer, "PNG"));
  const QSize kNone(0, 0);  // a null image's
  const struct {
    const char* label;
    QByteArray bytes;
    QSize size;
  } cases[] = {
      {"24 bits", Bytes({}), QSize(16, 16)},
      {"RLE8", Bytes({.bits = 8, .compression = 1}), QSize(16, 16)},
      {"top-down", Bytes({.width = 4, .height = -5, .bits = 32}), QSize(4, 5)},
      {"largest", Bytes({.width = 1024, .height = 2, .bits = 1}), QSize(1024, 2)},
      {"one column too wide", Bytes({.width = 1025, .height = 1, .bits = 1}), kNone},
      {"lying header", Bytes({.width = INT32_MAX, .height = INT32_MAX, .pixel_bytes = 0}), kNone},
      // A header the bitmap decoder does not read, though the format knows it.
      {"52-byte header", Bytes({.info_size = 52, .width = 4, .height = 4, .bits = 16}), kNone},
      {"PNG", png, kNone},
      {"nothing", QByteArray(), kNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const QImage image = Decode(c.bytes);
    EXPECT_EQ(image.size(), c.size);
    EXPECT_EQ(image.isNull(), c.size.isEmpty());
  }
}

}  // namespace
}  // namespace pelo
