#include "skin/button_skin.h"

#include "skin/hs_skin_btn.h"
#include "skin/skin_error.h"

namespace skin {

void TButtonSkin::setButtonShape(ButtonShape shape) {
  if (shape == shape_)
    return;
  shape_ = shape;
  // The size rule and the face depend on the shape.
  if (owner_ != nullptr)
    owner_->applySizeRule();
}

void TButtonSkin::setSkinBitmap(const QString& fileName) {
  if (!fileName.isEmpty() && !IsValidSkin(fileName))
    throw SkinError("Bitmap is not valid skin bitmap");
  skinBitmap_ = fileName;
  if (owner_ != nullptr)
    owner_->reloadSkin();
}

} // namespace skin
