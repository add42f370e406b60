#include "skin/skin_fonts.h"

#include <QFile>
#include <QFontDatabase>

namespace skin {
namespace {

// Wine's font files lie outside fontconfig's folders.
const char* const kWineFontFiles[] = {
    "/usr/share/wine/fonts/tahoma.ttf",
    "/usr/share/wine/fonts/tahomabd.ttf",
    "/usr/share/wine/fonts/ms_sans_serif.ttf",
};

} // namespace

void InstallSkinFonts() {
  static bool installed = false;
  if (installed)
    return;
  installed = true;
  for (const char* file : kWineFontFiles)
    if (QFile::exists(QString::fromLatin1(file)))
      QFontDatabase::addApplicationFont(QString::fromLatin1(file));
  // Fall-backs when Wine's fonts are missing: DejaVu Sans is cut like Tahoma, Liberation
  // Sans has the widths of Arial, the nearest to MS Sans Serif.
  QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                             {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

QFont WindowsFont(const QString& family, int points, bool bold) {
  QFont font(family);
  // Windows sizes a font of p points at 96 dpi as MulDiv(p, 96, 72) pixels, rounded.
  font.setPixelSize((points * 96 + 36) / 72);
  font.setBold(bold);
  return font;
}

} // namespace skin
