// The Windows fonts the windows are designed for, on systems without them: Wine's
// metric-compatible Tahoma and MS Sans Serif when installed, else the closest sans serif.
#pragma once

#include <QFont>
#include <QString>

namespace skin {

// Makes "Tahoma" and "MS Sans Serif" available to the application; call once after the
// QGuiApplication exists. Safe to call again.
void InstallSkinFonts();

// `family` at `points` as Windows shows it on a 96 dpi screen (8 points are 11 pixels).
QFont WindowsFont(const QString& family, int points, bool bold = false);

} // namespace skin
