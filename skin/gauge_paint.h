// The picture of a progress gauge: the bar, and the percentage drawn by exclusive-or so
// that every text pixel shows the inverse of the colour beneath it.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>

namespace skin {

enum TGaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };
enum class GaugeBorder { None, Single };

struct GaugeLook {
  TGaugeKind kind = gkHorizontalBar;
  bool showText = true;
  GaugeBorder borderStyle = GaugeBorder::Single;
  QColor foreColor = Qt::black;
  QColor backColor = Qt::white;
};

// The share of MinValue..MaxValue that progress has reached, in whole percent truncated
// toward zero; 0 for an empty range.
int GaugePercent(qint32 minValue, qint32 maxValue, qint32 progress);

// The gauge as the screen shows it, `size` pixels large, at `percent`.
QImage PaintGaugeImage(const GaugeLook& look, QSize size, int percent, const QFont& font);

} // namespace skin
