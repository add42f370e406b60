// The colours of one look of the product. The built-in look is indigo; the Data folder
// example swaps in a teal one with the same geometry.
#pragma once

#include <QColor>

namespace artwork {

struct Theme {
  QColor frameTop, frameBottom; // window surface gradient
  QColor sheen;                 // soft light across the surface
  QColor accentLight, accent, accentDark;
  QColor idleTop, idleBottom; // round buttons at rest
  QColor titleText, subtleText;
};

Theme BuiltinTheme();
Theme TealTheme();

// The outline key of the main window, never used inside the artwork.
inline const QColor kKeyColour(255, 0, 255);
// The corner colour of push-button skins.
inline const QColor kSkinCorner(192, 192, 192);

} // namespace artwork
