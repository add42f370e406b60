// A text push button drawn from a skin: each paint shows the quarter of its face that
// belongs to its state, with the caption over it, and the focus mark while it has the focus.
// Space and Enter press it.
#pragma once

#include "skin/button_skin.h"

#include <QAbstractButton>
#include <QImage>

namespace skin {

// Vertical offset of the face for a state: the disabled, pressed, pointer-over or normal
// slice of a face `faceHeight` rows high.
int FaceOffset(int faceHeight, bool enabled, bool hovering, bool pressed);

class THSSkinBtn : public QAbstractButton {
  Q_OBJECT

public:
  explicit THSSkinBtn(QWidget* parent = nullptr);

  TButtonSkin& buttonSkin() { return buttonSkin_; }
  const QImage& skinSource() const { return skinSource_; }
  // The face: as wide as the button, as high as the skin.
  const QImage& skinImage() const;

  bool isHovering() const { return hovering_; }
  bool isPressed() const { return pressed_; }

  // Replaces the skin by the file of buttonSkin(), or DEFAULT_SKIN when it names none.
  // Throws SkinError("Cannot open file ...") when the file cannot be read.
  void reloadSkin();
  // Re-applies the size rule of the skin and shape and rebuilds the face.
  void applySizeRule();

  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  bool canBuildFace() const;
  QImage makeFace() const;
  void buildFace();
  void setHovering(bool hovering);
  QColor parentColor() const;

  TButtonSkin buttonSkin_;
  QImage skinSource_;
  // Rebuilt whenever the width, the skin or the parent's colour changes; also on demand, as a
  // hidden widget learns of its new size only when shown.
  mutable QImage skinImage_;
  bool hovering_ = false;
  bool pressed_ = false;
};

// Paints a button: its state's slice of `face`, clipped for the rounded and elliptic shapes,
// and the caption centred, engraved when disabled.
void PaintSkinButton(QPainter& painter, const QImage& face, QSize size, ButtonShape shape,
                     bool enabled, bool hovering, bool pressed, const QString& caption,
                     const QFont& font, const QColor& textColor);

} // namespace skin
