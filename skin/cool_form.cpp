#include "skin/cool_form.h"

#include "skin/region_data.h"
#include "skin/skin_fonts.h"
#include "skin/window_region.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace skin {

TCoolForm::TCoolForm(QWidget* parent) : QWidget(parent) {
  // Every skinned window has a surface: the first one brings in the fonts they are drawn for.
  InstallSkinFonts();
  if (parent != nullptr) {
    if (parent->isWindow())
      parent->setWindowFlag(Qt::FramelessWindowHint);
    setGeometry(parent->rect());
    parent->installEventFilter(this);
  }
}

void TCoolForm::setPicture(const QImage& picture) {
  // A picture of another kind, or none, becomes an empty bitmap.
  picture_ = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
  storedShape_.reset();
  update();
}

bool TCoolForm::loadPicture(const QString& fileName) {
  QImage loaded;
  if (!loaded.load(fileName))
    return false;
  setPicture(loaded);
  return true;
}

void TCoolForm::readMask2(QByteArrayView block) {
  storedShape_.reset();
  const std::optional<QByteArray> rgnData = RgnDataOfMask2(block);
  if (!rgnData || rgnData->isEmpty())
    return;
  storedShape_ = RegionFromRgnData(*rgnData);
  // A region of no rectangles is a window of which nothing shows, not one without a shape.
  if (storedShape_ && parentWidget() != nullptr)
    SetWindowShape(*parentWidget(), *storedShape_);
}

QByteArray TCoolForm::mask2() const {
  return Mask2Block(storedShape_ ? RegionToRgnData(*storedShape_) : QByteArray());
}

void TCoolForm::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintCoolForm(painter, picture_);
}

void TCoolForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton)
    return;
  emit windowMoveStarted();
  QWindow* handle = window()->windowHandle();
  if (handle == nullptr || !handle->startSystemMove())
    dragOffset_ = event->globalPosition().toPoint() - window()->pos();
}

void TCoolForm::mouseMoveEvent(QMouseEvent* event) {
  if (dragOffset_ && event->buttons().testFlag(Qt::LeftButton))
    window()->move(event->globalPosition().toPoint() - *dragOffset_);
}

void TCoolForm::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    dragOffset_.reset();
}

void TCoolForm::moveEvent(QMoveEvent*) {
  // The surface always sits at its parent's origin.
  if (pos() != QPoint(0, 0))
    move(0, 0);
}

bool TCoolForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize)
    setGeometry(parentWidget()->rect());
  return QWidget::eventFilter(watched, event);
}

void PaintCoolForm(QPainter& painter, const QImage& picture) {
  painter.drawImage(QPoint(0, 0), picture);
}

} // namespace skin
