#include "skin/ez_rgn_btn.h"

#include "skin/focus_mark.h"
#include "skin/window_region.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <cmath>

namespace skin {
namespace {

constexpr int kRepeatIntervalMs = 300;

QImage WithKeyColourCleared(const QImage& picture) {
  QImage out = picture.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = out.pixel(0, 0) & RGB_MASK;
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if ((row[x] & RGB_MASK) == key)
        row[x] = 0;
  }
  return out;
}

// Half of an extent, to the nearest integer with halves going to the even neighbour.
int HalfRoundedToEven(int extent) {
  return static_cast<int>(std::nearbyint(extent / 2.0));
}

} // namespace

ButtonPicture ChoosePicture(bool enabled, bool hovering, bool pressed) {
  if (enabled && hovering)
    return pressed ? ButtonPicture::Down : ButtonPicture::Up;
  return enabled ? ButtonPicture::Idle : ButtonPicture::Disabled;
}

void PaintRegionButton(QPainter& painter, const QImage& picture, TPaintMode mode,
                       const QString& caption, const QFont& font, const QColor& textColor) {
  if (picture.isNull())
    return;
  painter.drawImage(QPoint(0, 0), mode == pmTransparent ? WithKeyColourCleared(picture) : picture);
  if (caption.isEmpty())
    return;
  const QFontMetrics metrics(font);
  const int x =
      HalfRoundedToEven(picture.width()) - HalfRoundedToEven(metrics.horizontalAdvance(caption));
  const int y = HalfRoundedToEven(picture.height()) - HalfRoundedToEven(metrics.height());
  painter.setFont(font);
  painter.setPen(textColor);
  painter.drawText(QPoint(x, y + metrics.ascent()), caption);
}

TEzRgnBtn::TEzRgnBtn(QWidget* parent) : QWidget(parent), repeatTimer_(new QTimer(this)) {
  resize(15, 15);
  setMouseTracking(true);
  setFocusPolicy(Qt::TabFocus); // reached with Tab; a click leaves the focus where it is
  repeatTimer_->setObjectName(QStringLiteral("RepeatTimer"));
  repeatTimer_->setInterval(kRepeatIntervalMs);
  connect(repeatTimer_, &QTimer::timeout, this, &TEzRgnBtn::click);
}

void TEzRgnBtn::setCaption(const QString& caption) {
  if (caption == caption_)
    return;
  caption_ = caption;
  stateChanged();
}

void TEzRgnBtn::setButtonEnabled(bool enabled) {
  if (enabled == enabled_)
    return;
  enabled_ = enabled;
  stateChanged();
}

void TEzRgnBtn::setAutoRepeat(bool autoRepeat) {
  autoRepeat_ = autoRepeat;
  updateRepeatTimer();
}

void TEzRgnBtn::setPicIdle(const QImage& picture) {
  picIdle_ = picture;
  if (cropped_) {
    resetShape();
    crop();
  }
  stateChanged();
}

void TEzRgnBtn::setPicUp(const QImage& picture) {
  picUp_ = picture;
  stateChanged();
}

void TEzRgnBtn::setPicDown(const QImage& picture) {
  picDown_ = picture;
  stateChanged();
}

void TEzRgnBtn::setPicDsbld(const QImage& picture) {
  picDsbld_ = picture;
  stateChanged();
}

void TEzRgnBtn::setImageList(const QList<QImage>& images) {
  if (images.size() > 0)
    setPicIdle(images[0]);
  if (images.size() > 1)
    setPicUp(images[1]);
  if (images.size() > 2)
    setPicDown(images[2]);
  if (images.size() > 3)
    setPicDsbld(images[3]);
}

void TEzRgnBtn::setPaintMode(TPaintMode mode) {
  if (mode == paintMode_)
    return;
  if (paintMode_ == pmCrop)
    resetShape();
  paintMode_ = mode;
  crop();
  stateChanged();
}

bool TEzRgnBtn::isRepeating() const {
  return repeatTimer_->isActive();
}

bool TEzRgnBtn::isUsable() const {
  return enabled_ && isEnabled();
}

const QImage& TEzRgnBtn::pictureForState() const {
  switch (ChoosePicture(isUsable(), hovering_, pressed_)) {
  case ButtonPicture::Down:
    if (!picDown_.isNull())
      return picDown_;
    break;
  case ButtonPicture::Up:
    if (!picUp_.isNull())
      return picUp_;
    break;
  case ButtonPicture::Disabled:
    if (!picDsbld_.isNull())
      return picDsbld_;
    break;
  case ButtonPicture::Idle:
    break;
  }
  return picIdle_;
}

QSize TEzRgnBtn::sizeHint() const {
  const QImage& picture = pictureForState();
  return picture.isNull() ? size() : picture.size();
}

void TEzRgnBtn::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintRegionButton(painter, pictureForState(), paintMode_, caption_, font(),
                    palette().color(QPalette::WindowText));
  if (ShowsFocusMark(*this))
    PaintFocusMark(painter, rect());
}

void TEzRgnBtn::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::EnabledChange)
    stateChanged();
}

void TEzRgnBtn::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
  case Qt::Key_Space:
  case Qt::Key_Return:
  case Qt::Key_Enter:
    if (!event->isAutoRepeat())
      click();
    return;
  default:
    QWidget::keyPressEvent(event);
  }
}

void TEzRgnBtn::enterEvent(QEnterEvent*) {
  if (hovering_)
    return;
  setHovering(true);
}

void TEzRgnBtn::leaveEvent(QEvent*) {
  setHovering(false);
}

void TEzRgnBtn::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressed_ = true;
    stateChanged();
  }
  emit mouseDown(event);
  updateRepeatTimer();
}

void TEzRgnBtn::mouseMoveEvent(QMouseEvent* event) {
  // While the mouse is held the button keeps the mouse, so whether the pointer is over it
  // follows from the position.
  if (pressed_)
    setHovering(isOverButton(event->position().toPoint()));
}

void TEzRgnBtn::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    // The click comes first, so its handler still sees the pressed picture.
    if (pressed_ && isOverButton(event->position().toPoint()))
      click();
    pressed_ = false;
    stateChanged();
  }
  emit mouseUp(event);
  updateRepeatTimer();
}

void TEzRgnBtn::mouseDoubleClickEvent(QMouseEvent*) {
  // Ignored: the second press of a double click neither presses nor clicks.
}

void TEzRgnBtn::click() {
  if (isUsable())
    emit clicked();
}

void TEzRgnBtn::setHovering(bool hovering) {
  if (hovering == hovering_)
    return;
  hovering_ = hovering;
  stateChanged();
  if (hovering)
    emit mouseEntered();
  else
    emit mouseLeft();
  updateRepeatTimer();
}

void TEzRgnBtn::stateChanged() {
  const QImage& picture = pictureForState();
  if (!picture.isNull() && picture.size() != size())
    resize(picture.size());
  // Painted at once, so long work in a click handler still shows the state.
  repaint();
}

void TEzRgnBtn::crop() {
  if (paintMode_ != pmCrop || cropped_ || picIdle_.isNull())
    return;
  CropWindowToPicture(*this, picIdle_);
  cropped_ = true;
}

void TEzRgnBtn::resetShape() {
  ResetWindowRegion(*this, width(), height());
  cropped_ = false;
}

void TEzRgnBtn::updateRepeatTimer() {
  const bool repeat = autoRepeat_ && hovering_ && pressed_;
  if (repeat && !repeatTimer_->isActive())
    repeatTimer_->start();
  else if (!repeat)
    repeatTimer_->stop();
}

bool TEzRgnBtn::isOverButton(const QPoint& pos) const {
  return VisibleRegion(*this).contains(pos);
}

} // namespace skin
