#include "canvas.h"
#include "pictures.h"

#include <QHash>
#include <QLinearGradient>
#include <QPainterPath>

namespace artwork {
namespace {

enum class State { Normal, Up, Down, Disabled };

State StateNamed(const QString& name) {
  if (name == QLatin1String("up"))
    return State::Up;
  if (name == QLatin1String("down"))
    return State::Down;
  if (name == QLatin1String("disable"))
    return State::Disabled;
  return State::Normal;
}

const QColor kDisabledTop(104, 114, 136), kDisabledBottom(72, 80, 100),
    kDisabledGlyph(160, 170, 188);

QPen GlyphPen(const QColor& colour) {
  return QPen(colour, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawGlyph(QPainter& painter, const QString& set, QPointF c, const QColor& colour) {
  painter.setPen(GlyphPen(colour));
  painter.setBrush(Qt::NoBrush);
  if (set == QLatin1String("back") || set == QLatin1String("next")) {
    const double d = set == QLatin1String("back") ? -1 : 1;
    painter.drawLine(c - QPointF(7.5 * d, 0), c + QPointF(7.5 * d, 0));
    QPainterPath head;
    head.moveTo(c + QPointF(0.5 * d, -7.5));
    head.lineTo(c + QPointF(8 * d, 0));
    head.lineTo(c + QPointF(0.5 * d, 7.5));
    painter.drawPath(head);
  } else if (set == QLatin1String("home")) {
    QPainterPath roof;
    roof.moveTo(c + QPointF(-10, 1));
    roof.lineTo(c + QPointF(0, -9));
    roof.lineTo(c + QPointF(10, 1));
    painter.drawPath(roof);
    QPainterPath walls;
    walls.moveTo(c + QPointF(-6.5, -1));
    walls.lineTo(c + QPointF(-6.5, 9));
    walls.lineTo(c + QPointF(6.5, 9));
    walls.lineTo(c + QPointF(6.5, -1));
    painter.drawPath(walls);
    painter.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(c + QPointF(0, 9), c + QPointF(0, 4));
  } else if (set == QLatin1String("exit")) {
    const QRectF arc(c.x() - 9, c.y() - 8, 18, 18);
    painter.drawArc(arc, 60 * 16, -300 * 16);
    painter.drawLine(c + QPointF(0, -11), c + QPointF(0, -1));
  }
}

// Back, next, home and exit: round 44-pixel buttons with a white glyph.
void DrawRoundButton(QPainter& painter, const QString& set, State state, const Theme& theme) {
  const double shift = state == State::Down ? 1 : 0;
  const QPointF centre(24.5, 24 + shift);
  const double radius = 20.5;
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 0, state == State::Down ? 40 : 70));
  painter.drawEllipse(centre + QPointF(0, 1.5 - shift), radius + 0.5, radius + 0.5);
  if (state == State::Up) {
    QColor glow = theme.accentLight;
    glow.setAlpha(80);
    painter.setBrush(glow);
    painter.drawEllipse(centre, radius + 2.5, radius + 2.5);
  }
  QColor top = theme.idleTop, bottom = theme.idleBottom, rim = theme.accentLight;
  QColor glyph = Qt::white;
  switch (state) {
  case State::Normal:
    break;
  case State::Up:
    top = theme.accentLight;
    bottom = theme.accent;
    rim = QColor(255, 255, 255, 200);
    break;
  case State::Down:
    top = theme.accentDark;
    bottom = theme.accent;
    rim = theme.accentDark.darker(130);
    glyph = QColor(230, 236, 255);
    break;
  case State::Disabled:
    top = kDisabledTop;
    bottom = kDisabledBottom;
    rim = QColor(140, 150, 170);
    glyph = kDisabledGlyph;
    break;
  }
  QLinearGradient fill(centre - QPointF(0, radius), centre + QPointF(0, radius));
  fill.setColorAt(0, top);
  fill.setColorAt(1, bottom);
  painter.setBrush(fill);
  painter.setPen(QPen(rim, 1));
  painter.drawEllipse(centre, radius, radius);
  if (state != State::Down) {
    // Glass highlight on the upper half.
    QLinearGradient shine(0, centre.y() - radius, 0, centre.y());
    shine.setColorAt(0, QColor(255, 255, 255, state == State::Disabled ? 40 : 70));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shine);
    painter.drawEllipse(
        QRectF(centre.x() - radius + 4, centre.y() - radius + 1.5, 2 * radius - 8, radius));
  }
  DrawGlyph(painter, set, centre, glyph);
}

void DrawCloseButton(QPainter& painter, State state) {
  const QRectF box(1.5, 1.5, 13, 14);
  QColor cross(203, 213, 225);
  painter.setPen(Qt::NoPen);
  if (state == State::Up || state == State::Down) {
    painter.setBrush(state == State::Up ? QColor(229, 72, 77) : QColor(180, 35, 24));
    painter.drawRoundedRect(box, 3, 3);
    cross = Qt::white;
  } else if (state == State::Disabled) {
    cross = QColor(120, 130, 150);
  }
  const QPointF c = box.center() + QPointF(0, state == State::Down ? 0.5 : 0);
  painter.setPen(QPen(cross, 1.8, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(c + QPointF(-3.5, -3.5), c + QPointF(3.5, 3.5));
  painter.drawLine(c + QPointF(3.5, -3.5), c + QPointF(-3.5, 3.5));
}

void DrawHelpButton(QPainter& painter, State state, const Theme& theme) {
  const QRectF circle(1.5, 1.5 + (state == State::Down ? 0.5 : 0), 18, 18);
  QColor fill(255, 255, 255, 30), rim(255, 255, 255, 90), mark = Qt::white;
  if (state == State::Up) {
    fill = theme.accent;
    rim = theme.accentLight;
  } else if (state == State::Down) {
    fill = theme.accentDark;
    rim = theme.accentDark.darker(130);
  } else if (state == State::Disabled) {
    fill = QColor(255, 255, 255, 14);
    rim = QColor(255, 255, 255, 40);
    mark = QColor(120, 130, 150);
  }
  painter.setBrush(fill);
  painter.setPen(QPen(rim, 1));
  painter.drawEllipse(circle);
  painter.setFont(ArtFont(13, true));
  painter.setPen(mark);
  painter.drawText(circle.adjusted(0, 0, 0, -1), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawLogoButton(QPainter& painter, State state, const Theme& theme) {
  const double shift = state == State::Down ? 1 : 0;
  if (state == State::Up || state == State::Down) {
    painter.setPen(QPen(QColor(255, 255, 255, 40), 1));
    painter.setBrush(QColor(255, 255, 255, state == State::Up ? 22 : 34));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 169, 32), 7, 7);
  }
  if (state == State::Disabled)
    painter.setOpacity(0.45);
  painter.translate(0, shift);
  DrawEmblem(painter, QRectF(8, 3, 27, 27), theme);
  painter.setFont(ArtFont(17, true));
  painter.setPen(theme.titleText);
  painter.drawText(QPointF(42, 17), QStringLiteral("Salvora"));
  painter.setFont(ArtFont(10, false));
  painter.setPen(state == State::Up ? theme.accentLight : theme.subtleText);
  painter.drawText(QPointF(43, 29), QStringLiteral("for Outlook Express"));
}

} // namespace

QRect ButtonPlace(const QString& set) {
  static const QHash<QString, QRect> kPlaces = {{QStringLiteral("back"), QRect(524, 411, 49, 49)},
                                                {QStringLiteral("exit"), QRect(524, 411, 49, 49)},
                                                {QStringLiteral("next"), QRect(581, 411, 49, 49)},
                                                {QStringLiteral("home"), QRect(581, 411, 49, 49)},
                                                {QStringLiteral("x"), QRect(617, 9, 16, 17)},
                                                {QStringLiteral("help"), QRect(6, 6, 21, 21)},
                                                {QStringLiteral("logo"), QRect(233, 371, 170, 33)}};
  return kPlaces.value(set);
}

QImage ButtonPicture(const QString& set, const QString& stateName, const Theme& theme,
                     const QImage& mainSurface) {
  const QRect place = ButtonPlace(set);
  const State state = StateNamed(stateName);
  QImage canvas = Canvas(place.width(), place.height());
  QPainter painter(&canvas);
  painter.setRenderHint(QPainter::Antialiasing);
  if (set == QLatin1String("x"))
    DrawCloseButton(painter, state);
  else if (set == QLatin1String("help"))
    DrawHelpButton(painter, state, theme);
  else if (set == QLatin1String("logo"))
    DrawLogoButton(painter, state, theme);
  else
    DrawRoundButton(painter, set, state, theme);
  painter.end();
  return Over(mainSurface.copy(place), canvas);
}

} // namespace artwork
