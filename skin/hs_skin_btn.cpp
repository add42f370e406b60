#include "skin/hs_skin_btn.h"

#include "skin/focus_mark.h"
#include "skin/skin_error.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace skin {
namespace {

const QColor kBtnHighlight(255, 255, 255);
const QColor kBtnShadow(160, 160, 160);

QPainterPath ClipFor(ButtonShape shape, QSize size, bool pressed) {
  QPainterPath path;
  const int w = size.width();
  const int h = size.height();
  if (shape == ButtonShape::RoundedBar) {
    // Corner ellipses of 14 x 14 while pressed, 15 x 12 otherwise.
    if (pressed)
      path.addRoundedRect(QRectF(2, 1, w - 3, h - 2), 7, 7);
    else
      path.addRoundedRect(QRectF(1, 1, w - 2, h - 1), 7.5, 6);
  } else if (shape == ButtonShape::Ellipse) {
    path.addEllipse(QRectF(0, 0, w + 1, h + 1));
  }
  return path;
}

void DrawCaption(QPainter& painter, QRect rect, const QString& caption, const QColor& color) {
  painter.setPen(color);
  painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, caption);
}

} // namespace

int FaceOffset(int faceHeight, bool enabled, bool hovering, bool pressed) {
  if (!enabled)
    return -(3 * faceHeight / 4);
  if (hovering)
    return pressed ? -(faceHeight / 2) : -(faceHeight / 4);
  return 0;
}

void PaintSkinButton(QPainter& painter, const QImage& face, QSize size, ButtonShape shape,
                     bool enabled, bool hovering, bool pressed, const QString& caption,
                     const QFont& font, const QColor& textColor) {
  painter.save();
  if (shape != ButtonShape::Bar)
    painter.setClipPath(ClipFor(shape, size, pressed));
  painter.drawImage(QPoint(0, FaceOffset(face.height(), enabled, hovering, pressed)), face);
  painter.restore();

  const QRect textRect = QRect(QPoint(0, 0), size).adjusted(0, 1, 0, -2);
  painter.setFont(font);
  if (enabled) {
    DrawCaption(painter, textRect, caption, textColor);
  } else {
    DrawCaption(painter, textRect.translated(1, 1), caption, kBtnHighlight);
    DrawCaption(painter, textRect, caption, kBtnShadow);
  }
}

THSSkinBtn::THSSkinBtn(QWidget* parent)
    : QAbstractButton(parent), buttonSkin_(this), skinSource_(DefaultSkin()) {
  setMouseTracking(true);
  if (parent != nullptr)
    parent->installEventFilter(this);
  resize(50, 16);
  applySizeRule();
}

void THSSkinBtn::reloadSkin() {
  const QString fileName = buttonSkin_.skinBitmap();
  QImage loaded = fileName.isEmpty() ? DefaultSkin() : QImage(fileName);
  if (loaded.isNull())
    throw SkinError(("Cannot open file " + fileName).toStdString());
  skinSource_ = loaded.convertToFormat(QImage::Format_RGB32);
  applySizeRule();
}

void THSSkinBtn::applySizeRule() {
  const QSize ruled = ButtonSizeFor(buttonSkin_.buttonShape(), skinSource_.size(), size());
  // Fixing the height (and for an ellipse the width) keeps every later resize to the rule.
  if (buttonSkin_.buttonShape() == ButtonShape::Ellipse) {
    setFixedSize(ruled);
  } else {
    setMinimumWidth(0);
    setMaximumWidth(QWIDGETSIZE_MAX);
    setFixedHeight(ruled.height());
  }
  resize(ruled);
  buildFace();
}

QSize THSSkinBtn::sizeHint() const {
  return ButtonSizeFor(buttonSkin_.buttonShape(), skinSource_.size(), size());
}

const QImage& THSSkinBtn::skinImage() const {
  if (skinImage_.width() != width() && canBuildFace())
    skinImage_ = makeFace();
  return skinImage_;
}

bool THSSkinBtn::canBuildFace() const {
  return width() > 0 && height() > 0 && parentWidget() != nullptr;
}

QImage THSSkinBtn::makeFace() const {
  return BuildFace(skinSource_, width(), buttonSkin_.buttonShape(),
                   !buttonSkin_.skinBitmap().isEmpty(), parentColor());
}

void THSSkinBtn::buildFace() {
  if (!canBuildFace())
    return;
  skinImage_ = makeFace();
  update();
}

QColor THSSkinBtn::parentColor() const {
  const QWidget* parent = parentWidget();
  if (parent == nullptr)
    return kBtnFace;
  return parent->palette().color(parent->backgroundRole());
}

void THSSkinBtn::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintSkinButton(painter, skinImage(), size(), buttonSkin_.buttonShape(), isEnabled(), hovering_,
                  pressed_, text(), font(), palette().color(QPalette::ButtonText));
  if (ShowsFocusMark(*this))
    PaintFocusMark(painter, rect());
}

void THSSkinBtn::keyPressEvent(QKeyEvent* event) {
  // Space is the base class's (pressed on the key going down, clicked on its release); Enter
  // presses the button as on Windows.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
    click();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}

void THSSkinBtn::resizeEvent(QResizeEvent* event) {
  QAbstractButton::resizeEvent(event);
  buildFace();
}

void THSSkinBtn::changeEvent(QEvent* event) {
  QAbstractButton::changeEvent(event);
  if (event->type() == QEvent::ParentChange) {
    if (parentWidget() != nullptr)
      parentWidget()->installEventFilter(this);
    buildFace();
  }
}

bool THSSkinBtn::event(QEvent* event) {
  switch (event->type()) {
  case QEvent::Enter:
    setHovering(true);
    break;
  case QEvent::Leave:
    setHovering(false);
    break;
  default:
    break;
  }
  return QAbstractButton::event(event);
}

bool THSSkinBtn::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::PaletteChange)
    buildFace();
  return QAbstractButton::eventFilter(watched, event);
}

void THSSkinBtn::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressed_ = true;
    update();
  }
  QAbstractButton::mousePressEvent(event);
}

void THSSkinBtn::mouseMoveEvent(QMouseEvent* event) {
  if (pressed_)
    setHovering(rect().contains(event->position().toPoint()));
  QAbstractButton::mouseMoveEvent(event);
}

void THSSkinBtn::mouseReleaseEvent(QMouseEvent* event) {
  // The click (emitted by the base class) comes before the pressed state ends.
  QAbstractButton::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) {
    pressed_ = false;
    update();
  }
}

void THSSkinBtn::setHovering(bool hovering) {
  if (hovering == hovering_)
    return;
  hovering_ = hovering;
  update();
}

} // namespace skin
