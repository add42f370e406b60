// The progress gauge: percentage, clamping, range errors, repaints and the picture.
#include "skin/gauge.h"
#include "skin/skin_error.h"

#include <QtTest>
#include <climits>

using namespace skin;

namespace {

const QColor kBarBlue(170, 213, 255);

class CountingGauge : public TGauge {
public:
  int paints = 0;

protected:
  void paintEvent(QPaintEvent* event) override {
    ++paints;
    TGauge::paintEvent(event);
  }
};

GaugeLook ScanPageLook(bool showText) {
  GaugeLook look;
  look.foreColor = kBarBlue;
  look.showText = showText;
  return look;
}

QRgb Inverse(QRgb colour) {
  return 0xFF000000u | (~colour & RGB_MASK);
}

QString ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const SkinError& error) {
    return QString::fromUtf8(error.what());
  }
  return {};
}

} // namespace

class GaugeTest : public QObject {
  Q_OBJECT

private slots:
  void percent_data() {
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("percent");
    QTest::newRow("42 of 100") << 0 << 100 << 42 << 42;
    QTest::newRow("empty range") << 5 << 5 << 5 << 0;
    QTest::newRow("one third truncates") << 0 << 3 << 1 << 33;
    QTest::newRow("two thirds truncates") << 0 << 3 << 2 << 66;
    QTest::newRow("negative minimum") << -50 << 50 << 0 << 50;
    QTest::newRow("full range no overflow") << INT_MIN << INT_MAX << 0 << 50;
    QTest::newRow("wide range no overflow") << 0 << 100000000 << 99999999 << 99;
    QTest::newRow("scan run of three folders") << 0 << 30 << 30 << 100;
  }
  void percent() {
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(int, progress);
    QFETCH(int, percent);
    QCOMPARE(GaugePercent(minValue, maxValue, progress), percent);
  }

  void progressIsClamped() {
    TGauge gauge;
    gauge.setProgress(150);
    QCOMPARE(gauge.progress(), 100);
    QCOMPARE(gauge.percent(), 100);
    gauge.setProgress(-7);
    QCOMPARE(gauge.progress(), 0);
    QCOMPARE(gauge.percent(), 0);
  }

  void minimumAboveMaximumIsRefused() {
    TGauge gauge;
    gauge.setProgress(40);
    QCOMPARE(ErrorOf([&] { gauge.setMinValue(101); }),
             QStringLiteral("Value must be between -2147483647 and 99"));
    QCOMPARE(gauge.minValue(), 0);
    QCOMPARE(gauge.progress(), 40);
  }

  void maximumBelowMinimumIsRefused() {
    TGauge gauge;
    QCOMPARE(ErrorOf([&] { gauge.setMaxValue(-1); }),
             QStringLiteral("Value must be between 1 and 2147483647"));
    QCOMPARE(gauge.maxValue(), 100);
  }

  void rangeMessagesAtTheLimits() {
    TGauge gauge;
    gauge.setMinValue(INT_MIN);
    gauge.setMaxValue(INT_MIN);
    QCOMPARE(ErrorOf([&] { gauge.setMinValue(0); }),
             QStringLiteral("Value must be between -2147483647 and -2147483649"));
  }

  void rangeChangesDragTheProgressAlong() {
    TGauge gauge;
    gauge.setProgress(30);
    gauge.setMinValue(50);
    QCOMPARE(gauge.progress(), 50);
    gauge.setMaxValue(60);
    gauge.setProgress(60);
    gauge.setMaxValue(55);
    QCOMPARE(gauge.progress(), 55);
    gauge.setMinValue(55);
    QCOMPARE(gauge.percent(), 0);
  }

  void repaintsOnlyWhenThePercentageChanges() {
    CountingGauge gauge;
    gauge.resize(196, 15);
    gauge.show();
    QVERIFY(QTest::qWaitForWindowExposed(&gauge));
    gauge.setMaxValue(1000);
    QCoreApplication::processEvents();
    gauge.paints = 0;
    gauge.setProgress(5); // 0 %
    QCOMPARE(gauge.paints, 0);
    gauge.setProgress(10); // 1 %, painted at once
    QCOMPARE(gauge.paints, 1);
    gauge.setProgress(19); // still 1 %
    QCOMPARE(gauge.paints, 1);
    gauge.setProgress(5000); // clamped to 1000: 100 %
    QCOMPARE(gauge.paints, 2);
    gauge.setProgress(1000);
    QCOMPARE(gauge.paints, 2);
  }

  void lookChangesRepaintOnlyWhenDifferent() {
    CountingGauge gauge;
    gauge.resize(50, 15);
    gauge.show();
    QVERIFY(QTest::qWaitForWindowExposed(&gauge));
    QCoreApplication::processEvents();
    gauge.paints = 0;
    gauge.setForeColor(Qt::black);
    gauge.setShowText(true);
    gauge.setKind(gkHorizontalBar);
    QCOMPARE(gauge.paints, 0);
    gauge.setForeColor(kBarBlue);
    gauge.setBackColor(Qt::gray);
    gauge.setBorderStyle(GaugeBorder::None);
    QCOMPARE(gauge.paints, 3);
  }

  void fullBarFillsTheInsideOfTheRim() {
    const QImage image = PaintGaugeImage(ScanPageLook(false), QSize(196, 15), 100, QFont());
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 196; ++x) {
        const bool rim = x == 0 || y == 0 || x == 195 || y == 14;
        QCOMPARE(image.pixelColor(x, y), rim ? QColor(Qt::black) : kBarBlue);
      }
  }

  void halfBarFillsToItsEdge() {
    // Inside the rim the bar is 194 pixels wide; the fill edge lies at 195 * 50 / 100 = 97.
    const QImage image = PaintGaugeImage(ScanPageLook(false), QSize(196, 15), 50, QFont());
    QCOMPARE(image.pixelColor(1, 7), kBarBlue);
    QCOMPARE(image.pixelColor(96, 7), kBarBlue);
    QCOMPARE(image.pixelColor(97, 7), QColor(Qt::white));
    QCOMPARE(image.pixelColor(194, 13), QColor(Qt::white));
  }

  void emptyBarIsAllBackground() {
    const QImage image = PaintGaugeImage(ScanPageLook(false), QSize(196, 15), 0, QFont());
    for (int x = 1; x < 195; ++x)
      QCOMPARE(image.pixelColor(x, 7), QColor(Qt::white));
  }

  void textPixelsAreTheInverseOfTheBar_data() {
    QTest::addColumn<int>("percent");
    QTest::newRow("0 %") << 0;
    QTest::newRow("42 %") << 42;
    QTest::newRow("50 %") << 50;
    QTest::newRow("100 %") << 100;
  }
  void textPixelsAreTheInverseOfTheBar() {
    QFETCH(int, percent);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    const QImage bar = PaintGaugeImage(ScanPageLook(false), QSize(196, 15), percent, font);
    const QImage withText = PaintGaugeImage(ScanPageLook(true), QSize(196, 15), percent, font);
    int textPixels = 0, overBar = 0;
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 196; ++x) {
        const QRgb under = bar.pixel(x, y);
        const QRgb shown = withText.pixel(x, y);
        if (shown == under)
          continue;
        QCOMPARE(shown, Inverse(under));
        ++textPixels;
        overBar += (under & RGB_MASK) == (kBarBlue.rgb() & RGB_MASK);
      }
    QVERIFY(textPixels > 10);
    if (percent == 100)
      QCOMPARE(overBar, textPixels);
  }

  void inverseOfTheBarColour() { QCOMPARE(QColor(Inverse(kBarBlue.rgb())), QColor(85, 42, 0)); }

  void widgetShowsThePaintedImage() {
    TGauge gauge;
    gauge.resize(196, 15);
    gauge.setForeColor(kBarBlue);
    gauge.setProgress(42);
    QCOMPARE(gauge.grab().toImage().convertToFormat(QImage::Format_RGB32),
             PaintGaugeImage(gauge.look(), QSize(196, 15), 42, gauge.font()));
  }
};

QTEST_MAIN(GaugeTest)
#include "gauge_test.moc"
