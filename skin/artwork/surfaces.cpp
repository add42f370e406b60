#include "canvas.h"
#include "pictures.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace artwork {
namespace {

const QColor kRingOrange(249, 115, 22);

void FillBackdrop(QPainter& painter, const QRectF& area, const Theme& theme) {
  QLinearGradient base(area.topLeft(), area.bottomRight());
  base.setColorAt(0, theme.frameTop);
  base.setColorAt(1, theme.frameBottom);
  painter.fillRect(area, base);
  QRadialGradient sheen(area.topLeft() + QPointF(area.width() * 0.2, -area.height() * 0.1),
                        area.width() * 0.7);
  sheen.setColorAt(0, theme.sheen);
  sheen.setColorAt(1, Qt::transparent);
  painter.fillRect(area, sheen);
  QColor glow = theme.accent;
  glow.setAlpha(34);
  QRadialGradient corner(area.bottomRight(), area.width() * 0.55);
  corner.setColorAt(0, glow);
  corner.setColorAt(1, Qt::transparent);
  painter.fillRect(area, corner);
}

void DrawText(QPainter& painter, QPointF baseline, const QString& text, int pixelSize, bool bold,
              const QColor& colour) {
  painter.setFont(ArtFont(pixelSize, bold));
  painter.setPen(colour);
  painter.drawText(baseline, text);
}

} // namespace

void DrawEmblem(QPainter& painter, const QRectF& box, const Theme& theme) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const double s = box.width() / 28.0;
  painter.translate(box.topLeft());
  painter.scale(s, s);
  // Envelope.
  const QRectF envelope(1, 5, 21, 15);
  painter.setPen(QPen(theme.accentDark, 1.2));
  painter.setBrush(QColor(250, 251, 255));
  painter.drawRoundedRect(envelope, 2, 2);
  QPainterPath flap;
  flap.moveTo(envelope.left() + 1, envelope.top() + 1);
  flap.lineTo(envelope.center().x(), envelope.top() + 9);
  flap.lineTo(envelope.right() - 1, envelope.top() + 1);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(theme.accent, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(flap);
  // Life ring over the lower right corner: four orange quarters on white.
  const QPointF centre(20.5, 19.5);
  const double outer = 7.0, inner = 3.6;
  QPainterPath ring;
  ring.addEllipse(centre, outer, outer);
  ring.addEllipse(centre, inner, inner);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::white);
  painter.drawPath(ring);
  painter.setClipPath(ring);
  painter.setBrush(kRingOrange);
  for (int quarter = 0; quarter < 4; ++quarter)
    painter.drawPie(QRectF(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer),
                    (quarter * 90 + 20) * 16, 50 * 16);
  painter.setClipping(false);
  painter.setPen(QPen(QColor(154, 52, 18), 0.8));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(centre, outer, outer);
  painter.drawEllipse(centre, inner, inner);
  painter.restore();
}

QImage MainSurface(const Theme& theme) {
  QImage canvas = Canvas(kMainWidth, kMainHeight);
  QPainter painter(&canvas);
  painter.setRenderHint(QPainter::Antialiasing);
  FillBackdrop(painter, QRectF(0, 0, kMainWidth, kMainHeight), theme);

  // The page panel sits at (29, 30), 582 x 328: a soft shadow and a fine light frame.
  const QRectF panel(29, 30, 582, 328);
  for (int spread = 6; spread >= 1; --spread) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 14));
    painter.drawRoundedRect(panel.adjusted(-spread, -spread + 2, spread, spread + 2), 6 + spread,
                            6 + spread);
  }
  painter.setBrush(QColor(233, 233, 233));
  painter.setPen(QPen(QColor(255, 255, 255, 90), 1));
  painter.drawRoundedRect(panel.adjusted(-1.5, -1.5, 1.5, 1.5), 4, 4);

  // Title between the help button and the close cross.
  painter.setFont(ArtFont(12, true));
  painter.setPen(theme.titleText);
  painter.drawText(QRectF(40, 4, kMainWidth - 80, 22), Qt::AlignCenter,
                   QStringLiteral("Salvora for Outlook Express"));

  // Bottom band: a hairline, the tag line on the left, a seat for the navigation buttons.
  QLinearGradient rule(29, 0, 611, 0);
  rule.setColorAt(0, QColor(255, 255, 255, 0));
  rule.setColorAt(0.5, QColor(255, 255, 255, 60));
  rule.setColorAt(1, QColor(255, 255, 255, 0));
  painter.fillRect(QRectF(29, 365.5, 582, 1), rule);
  DrawText(painter, QPointF(32, 430), QStringLiteral("Rescue e-mail from Outlook Express"), 12,
           true, theme.titleText);
  DrawText(painter, QPointF(32, 448), QStringLiteral("Live and deleted messages, saved as .eml"),
           11, false, theme.subtleText);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 0, 40));
  painter.drawRoundedRect(QRectF(517, 404, 120, 63), 31.5, 31.5);
  painter.setPen(QPen(QColor(255, 255, 255, 28), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(QRectF(517.5, 404.5, 119, 62), 31, 31);

  // A fine inner edge along the outline, then the outline itself: the corners go transparent.
  painter.setPen(QPen(QColor(255, 255, 255, 36), 1));
  painter.drawRoundedRect(QRectF(0.5, 0.5, kMainWidth - 1, kMainHeight - 1), 13.5, 13.5);
  QPainterPath outside;
  outside.addRect(QRectF(0, 0, kMainWidth, kMainHeight));
  QPainterPath body;
  body.addRoundedRect(QRectF(0, 0, kMainWidth, kMainHeight), 14, 14);
  painter.setCompositionMode(QPainter::CompositionMode_Clear);
  painter.fillPath(outside.subtracted(body), Qt::transparent);
  painter.end();
  return FlattenOnKey(canvas, kKeyColour, QColor(32, 32, 40));
}

QImage AboutSurface(const Theme& theme) {
  QImage surface(kAboutWidth, kAboutHeight, QImage::Format_RGB32);
  surface.fill(Qt::white);
  QPainter painter(&surface);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF banner(0, 0, kAboutWidth, 232);
  FillBackdrop(painter, banner, theme);

  // Faint rings behind the emblem.
  painter.setBrush(Qt::NoBrush);
  for (int i = 0; i < 4; ++i) {
    painter.setPen(QPen(QColor(255, 255, 255, 18 - 3 * i), 10));
    painter.drawEllipse(QPointF(392, 112), 74.0 + 26 * i, 74.0 + 26 * i);
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 20));
  painter.drawEllipse(QPointF(392, 112), 70, 70);
  DrawEmblem(painter, QRectF(326, 48, 130, 130), theme);

  DrawText(painter, QPointF(30, 104), QStringLiteral("Salvora"), 46, true, theme.titleText);
  DrawText(painter, QPointF(33, 134), QStringLiteral("for Outlook Express"), 19, false,
           theme.accentLight);
  DrawText(painter, QPointF(33, 180), QStringLiteral("Finds the messages of .dbx folder files,"),
           12, false, theme.subtleText);
  DrawText(painter, QPointF(33, 197), QStringLiteral("deleted ones included, and saves them."), 12,
           false, theme.subtleText);

  QLinearGradient stripe(0, 0, kAboutWidth, 0);
  stripe.setColorAt(0, theme.accentDark);
  stripe.setColorAt(1, theme.accentLight);
  painter.fillRect(QRectF(0, 232, kAboutWidth, 3), stripe);
  painter.fillRect(QRectF(12, 290, kAboutWidth - 24, 1), QColor(226, 232, 240));
  painter.setPen(QPen(QColor(203, 213, 225), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(0.5, 0.5, kAboutWidth - 1, kAboutHeight - 1));
  painter.end();
  return surface;
}

} // namespace artwork

namespace artwork {

QImage AppIcon(const Theme& theme) {
  QImage icon(128, 128, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath tile;
  tile.addRoundedRect(QRectF(4, 4, 120, 120), 26, 26);
  painter.setClipPath(tile);
  FillBackdrop(painter, QRectF(4, 4, 120, 120), theme);
  painter.setClipping(false);
  DrawEmblem(painter, QRectF(18, 18, 92, 92), theme);
  return icon;
}

} // namespace artwork
