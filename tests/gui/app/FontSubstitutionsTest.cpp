// The Windows font names of data and page files reach the IPA fonts.

#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>
#include <string>
#include <vector>

#include "app/FontSubstitutions.h"

namespace pelo {
namespace {

struct Case {
  const char* face;
  const char* family;
};

const std::vector<Case> kCases = {
    {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"ＭＳ ゴシック", "IPAGothic"}, {"ＭＳ 明朝", "IPAMincho"},
    {"ＭＳ Ｐ明朝", "IPAPMincho"},     {"MS PGothic", "IPAPGothic"},   {"MS Gothic", "IPAGothic"},
    {"MS Mincho", "IPAMincho"},        {"MS PMincho", "IPAPMincho"},
};

TEST(FontSubstitutionsTest, EveryFaceHasItsIpaFamilyOnce) {
  InstallFontSubstitutions();
  InstallFontSubstitutions();  // a second call adds nothing
  for (const Case& c : kCases) {
    const QString face = QString::fromUtf8(c.face);
    // Qt keeps the names in lower case.
    EXPECT_EQ(QFont::substitutes(face), QStringList{QString::fromLatin1(c.family).toLower()})
        << c.face;
  }
}

TEST(FontSubstitutionsTest, FontsByTheWindowsNamesUseTheIpaFonts) {
  InstallFontSubstitutions();
  for (const Case& c : kCases) {
    if (!QFontDatabase::families().contains(QString::fromLatin1(c.family))) {
      GTEST_SKIP() << c.family << " is not installed";
    }
    QFont font(QString::fromUtf8(c.face));
    font.setPixelSize(12);
    EXPECT_EQ(QFontInfo(font).family(), QString::fromLatin1(c.family)) << c.face;
  }
}

}  // namespace
}  // namespace pelo
