#include "skin/gauge.h"

#include "skin/skin_error.h"

#include <QPainter>
#include <algorithm>
#include <limits>

namespace skin {
namespace {

[[noreturn]] void ThrowOutOfRange(qint64 low, qint64 high) {
  throw SkinError(
      QString::asprintf("Value must be between %lld and %lld", low, high).toStdString());
}

} // namespace

TGauge::TGauge(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

template <typename T> void TGauge::setLook(T GaugeLook::*member, const T& value) {
  if (look_.*member == value)
    return;
  look_.*member = value;
  repaint();
}

void TGauge::setKind(TGaugeKind kind) {
  setLook(&GaugeLook::kind, kind);
}

void TGauge::setShowText(bool showText) {
  setLook(&GaugeLook::showText, showText);
}

void TGauge::setBorderStyle(GaugeBorder borderStyle) {
  setLook(&GaugeLook::borderStyle, borderStyle);
}

void TGauge::setForeColor(const QColor& color) {
  setLook(&GaugeLook::foreColor, color);
}

void TGauge::setBackColor(const QColor& color) {
  setLook(&GaugeLook::backColor, color);
}

void TGauge::setMinValue(qint32 value) {
  if (value == minValue_)
    return;
  if (value > maxValue_)
    ThrowOutOfRange(-std::numeric_limits<qint32>::max(), qint64{maxValue_} - 1);
  minValue_ = value;
  progress_ = std::max(progress_, minValue_);
  repaint();
}

void TGauge::setMaxValue(qint32 value) {
  if (value == maxValue_)
    return;
  if (value < minValue_)
    ThrowOutOfRange(qint64{minValue_} + 1, std::numeric_limits<qint32>::max());
  maxValue_ = value;
  progress_ = std::min(progress_, maxValue_);
  repaint();
}

void TGauge::setProgress(qint32 value) {
  const qint32 clamped = std::clamp(value, minValue_, maxValue_);
  if (clamped == progress_)
    return;
  const int before = percent();
  progress_ = clamped;
  // Repainted at once: the scan run sets the progress between units of work.
  if (percent() != before)
    repaint();
}

void TGauge::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), PaintGaugeImage(look_, size(), percent(), font()));
}

} // namespace skin
