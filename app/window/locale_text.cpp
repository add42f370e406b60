#include "locale_text.h"

#include "app/date_text.h"

#include <QCollator>
#include <QDate>
#include <QTime>

namespace window {

app::RecoveredList::TextComparison LocaleTextComparison() {
  QCollator collator; // the user's locale
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  return [collator](std::string_view a, std::string_view b) {
    return collator.compare(QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size())),
                            QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())));
  };
}

QString TimeFormatWithoutZone(const QString& format) {
  QString out;
  bool quoted = false;
  for (const QChar c : format) {
    if (c == QLatin1Char('\''))
      quoted = !quoted;
    if (quoted || c != QLatin1Char('t'))
      out += c;
  }
  return out.simplified();
}

namespace {

QString DateText(QDate date, QTime time, const QLocale& locale) {
  QString text = locale.toString(date, QLocale::ShortFormat);
  if (time != QTime(0, 0))
    text += QLatin1Char(' ') +
            locale.toString(time, TimeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)));
  return text;
}

} // namespace

QString LocaleDateText(double value, const QLocale& locale) {
  const app::DateTimeParts parts = app::DecodeDateTime(value);
  return DateText(QDate(parts.year, parts.month, parts.day),
                  QTime(parts.hour, parts.minute, parts.second), locale);
}

std::string LocaleDateText(double value) {
  return LocaleDateText(value, QLocale()).toStdString();
}

QStringList LocaleDateTextSamples(const QLocale& locale) {
  QStringList samples;
  for (int month = 1; month <= 12; ++month)
    for (int hour : {10, 22})
      samples << DateText(QDate(2000, month, 28), QTime(hour, 58, 58), locale);
  return samples;
}

} // namespace window
