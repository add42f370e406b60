// The face of a skinned push button, built from a skin of four stacked state slices
// (normal, pointer over, pressed, disabled) cut into a left cap, a middle slice and a right
// cap of a third of the skin's width each.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

namespace skin {

enum class ButtonShape : quint8 { Bar = 0, Ellipse = 1, RoundedBar = 2 };

// The colour used where nothing else decides: the face behind a skin, a parent without a
// colour.
inline const QColor kBtnFace(240, 240, 240);

// The built-in skin, DEFAULT_SKIN, as a 24-bit picture.
QImage DefaultSkin();

// True when `fileName` loads as a non-empty picture whose height is a multiple of 4.
bool IsValidSkin(const QString& fileName);

// The size a button of `shape` takes when `asked` is asked for: an ellipse takes the skin's
// width and a quarter of its height plus one; bars keep the width and take
// (skin height - 4) / 4 + 1 rows.
QSize ButtonSizeFor(ButtonShape shape, QSize skinSize, QSize asked);

// The face of a button `width` pixels wide: the skin's middle slice tiled across, the left
// cap at 0, the right cap last at width - cap (so on a narrow button it wins). The corner
// areas, of the colour of pixel (0, 0), are flood-filled with `parentColor` unless a custom
// skin is drawn as a plain bar. Null when width or the skin is empty.
QImage BuildFace(const QImage& skinSource, int width, ButtonShape shape, bool customSkin,
                 const QColor& parentColor);

// Replaces the 4-connected area of the colour at `start` by `fill`.
void FloodFillSurface(QImage& image, QPoint start, const QColor& fill);

} // namespace skin
