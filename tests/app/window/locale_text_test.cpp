// The result list's dates in the user's locale: time formats without their zone, and dates in
// a few locales.
#include "app/window/locale_text.h"

#include <QTest>

class LocaleTextTest : public QObject {
  Q_OBJECT

private slots:
  void TimeFormatsLoseOnlyTheirZone_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("without");
    QTest::newRow("en_US") << "h:mm:ss AP t"
                           << "h:mm:ss AP";
    QTest::newRow("de_DE") << "HH:mm:ss t"
                           << "HH:mm:ss";
    QTest::newRow("ja_JP") << "H\u6642mm\u5206ss\u79D2 t"
                           << "H\u6642mm\u5206ss\u79D2";
    QTest::newRow("zone first") << "t HH:mm:ss"
                                << "HH:mm:ss";
    QTest::newRow("quoted t stays") << "HH 'at' mm t"
                                    << "HH 'at' mm";
    QTest::newRow("no zone") << "HH:mm:ss"
                             << "HH:mm:ss";
  }
  void TimeFormatsLoseOnlyTheirZone() {
    QFETCH(QString, format);
    QFETCH(QString, without);
    QCOMPARE(window::TimeFormatWithoutZone(format), without);
  }

  void DatesInTheLocalesFormats_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    const double morning = 37683 + (10 * 3600 + 20 * 60 + 30) / 86400.0; // 2003-03-03 10:20:30
    const double midnight = 37684;                                       // 2003-03-04
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    QTest::newRow("en_US") << us << morning << "3/3/03 10:20:30 AM";
    QTest::newRow("en_US midnight") << us << midnight << "3/4/03";
    QTest::newRow("en_US no date") << us << 0.0 << "12/30/99";
    QTest::newRow("de_DE") << de << morning << "03.03.03 10:20:30";
    QTest::newRow("de_DE midnight") << de << midnight << "04.03.03";
  }
  void DatesInTheLocalesFormats() {
    QFETCH(QLocale, locale);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(window::LocaleDateText(value, locale), text);
  }
};

QTEST_MAIN(LocaleTextTest)
#include "locale_text_test.moc"
