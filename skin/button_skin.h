// Which skin a push button wears: its shape and the skin file (empty for the built-in one).
#pragma once

#include "skin/button_face.h"

#include <QString>

namespace skin {

class THSSkinBtn;

class TButtonSkin {
public:
  explicit TButtonSkin(THSSkinBtn* owner = nullptr) : owner_(owner) {}

  ButtonShape buttonShape() const { return shape_; }
  void setButtonShape(ButtonShape shape);

  QString skinBitmap() const { return skinBitmap_; }
  // Throws SkinError("Bitmap is not valid skin bitmap"), keeping the old value, when the
  // file is not a valid skin; otherwise the owner reloads its skin.
  void setSkinBitmap(const QString& fileName);

private:
  THSSkinBtn* owner_;
  ButtonShape shape_ = ButtonShape::Bar;
  QString skinBitmap_;
};

} // namespace skin
