#include "theme.h"

namespace artwork {

Theme BuiltinTheme() {
  return {QColor(30, 41, 92),    QColor(15, 20, 48),   QColor(120, 150, 255, 40),
          QColor(129, 161, 255), QColor(79, 110, 247), QColor(49, 70, 190),
          QColor(88, 120, 250),  QColor(56, 84, 214),  QColor(255, 255, 255),
          QColor(170, 182, 222)};
}

Theme TealTheme() {
  return {QColor(16, 72, 78),   QColor(8, 34, 40),    QColor(110, 230, 210, 40),
          QColor(94, 234, 212), QColor(20, 184, 166), QColor(15, 118, 110),
          QColor(45, 200, 180), QColor(17, 150, 136), QColor(255, 255, 255),
          QColor(160, 214, 208)};
}

} // namespace artwork
