#include "app/FontSubstitutions.h"

#include <QFont>
#include <QString>
#include <QStringList>

namespace pelo {

namespace {

struct TSubstitution {
  const char* face;
  const char* family;
};

// Full-width Japanese spellings as the files write them, and the ASCII spellings.
constexpr TSubstitution kSubstitutions[] = {
    {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"ＭＳ ゴシック", "IPAGothic"}, {"ＭＳ 明朝", "IPAMincho"},
    {"ＭＳ Ｐ明朝", "IPAPMincho"},     {"MS PGothic", "IPAPGothic"},   {"MS Gothic", "IPAGothic"},
    {"MS Mincho", "IPAMincho"},        {"MS PMincho", "IPAPMincho"},
};

}  // namespace

void InstallFontSubstitutions() {
  for (const TSubstitution& substitution : kSubstitutions) {
    const QString face = QString::fromUtf8(substitution.face);
    const QString family = QString::fromUtf8(substitution.family);
    // Installed once: a second call must not stack the same family again.
    if (!QFont::substitutes(face).contains(family, Qt::CaseInsensitive)) {
      QFont::insertSubstitution(face, family);
    }
  }
}

}  // namespace pelo
