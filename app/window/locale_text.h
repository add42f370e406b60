// The result list's texts as the user's locale has them: the order of texts, case ignored,
// and dates in the user's short date and long time formats.
#pragma once

#include "app/recovered_list.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <string>

namespace window {

// Compares two shown texts (UTF-8) in the order of the user's locale, case ignored.
app::RecoveredList::TextComparison LocaleTextComparison();

// A time format without its time-zone field: a row's time is already local, and the zone a
// format would print is the one in force now, not the message's.
QString TimeFormatWithoutZone(const QString& format);

// A date-time value (days since 30 December 1899, local time) in `locale`'s short date format,
// followed by a blank and its long time format when the time of day is not midnight.
QString LocaleDateText(double value, const QLocale& locale);
// The same in the user's locale, as UTF-8: the scan's date texts.
std::string LocaleDateText(double value);

// Dates as wide as any `locale` shows (every month, times before and after noon), so that a
// column that fits these fits every date.
QStringList LocaleDateTextSamples(const QLocale& locale);

} // namespace window
