// A flat progress gauge that fills from the left and prints its percentage in the middle.
#pragma once

#include "skin/gauge_paint.h"

#include <QWidget>

namespace skin {

class TGauge : public QWidget {
  Q_OBJECT

public:
  explicit TGauge(QWidget* parent = nullptr);

  TGaugeKind kind() const { return look_.kind; }
  bool showText() const { return look_.showText; }
  GaugeBorder borderStyle() const { return look_.borderStyle; }
  QColor foreColor() const { return look_.foreColor; }
  QColor backColor() const { return look_.backColor; }
  void setKind(TGaugeKind kind);
  void setShowText(bool showText);
  void setBorderStyle(GaugeBorder borderStyle);
  void setForeColor(const QColor& color);
  void setBackColor(const QColor& color);

  qint32 minValue() const { return minValue_; }
  qint32 maxValue() const { return maxValue_; }
  qint32 progress() const { return progress_; }
  // Throws SkinError("Value must be between -2147483647 and <MaxValue - 1>") above MaxValue.
  void setMinValue(qint32 value);
  // Throws SkinError("Value must be between <MinValue + 1> and 2147483647") below MinValue.
  void setMaxValue(qint32 value);
  // Clamped to MinValue..MaxValue; repaints at once only when the percentage changes.
  void setProgress(qint32 value);

  int percent() const { return GaugePercent(minValue_, maxValue_, progress_); }

  const GaugeLook& look() const { return look_; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  template <typename T> void setLook(T GaugeLook::*member, const T& value);

  GaugeLook look_;
  qint32 minValue_ = 0;
  qint32 maxValue_ = 100;
  qint32 progress_ = 0;
};

} // namespace skin
