// RGNDATA bytes and Mask2 blocks: the layout, round trips, and hostile input.
#include "skin/region_data.h"

#include <QtTest>
#include <cstring>

using namespace skin;

Q_DECLARE_METATYPE(QRegion)

namespace {

QByteArray Words(std::initializer_list<qint64> words) {
  QByteArray out;
  for (qint64 word : words) {
    const auto value = static_cast<quint32>(word);
    for (int shift = 0; shift < 32; shift += 8)
      out.append(static_cast<char>((value >> shift) & 0xFF));
  }
  return out;
}

} // namespace

class RegionDataTest : public QObject {
  Q_OBJECT

private slots:
  void layoutOfOneRectangle() {
    const QByteArray expected = Words({32, 1, 1, 16, 1, 2, 4, 6, 1, 2, 4, 6});
    QCOMPARE(RegionToRgnData(QRegion(1, 2, 3, 4)), expected);
  }

  void emptyRegionHasNoRectangles() {
    QCOMPARE(RegionToRgnData(QRegion()), Words({32, 1, 0, 0, 0, 0, 0, 0}));
  }

  void roundTrip_data() {
    QTest::addColumn<QRegion>("region");
    QTest::newRow("empty") << QRegion();
    QTest::newRow("one rectangle") << QRegion(5, 6, 7, 8);
    QTest::newRow("negative origin") << QRegion(-10, -20, 5, 5);
    QTest::newRow("two apart") << (QRegion(0, 0, 2, 2) + QRegion(10, 10, 3, 1));
    QTest::newRow("ring") << QRegion(0, 0, 20, 20).subtracted(QRegion(5, 5, 10, 10));
  }
  void roundTrip() {
    QFETCH(QRegion, region);
    const std::optional<QRegion> back = RegionFromRgnData(RegionToRgnData(region));
    QVERIFY(back.has_value());
    QCOMPARE(*back, region);
  }

  void malformedDataIsRefused_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("nothing") << QByteArray();
    QTest::newRow("short header") << Words({32, 1, 0}).left(31);
    QTest::newRow("header size 0") << Words({0, 1, 0, 0, 0, 0, 0, 0});
    QTest::newRow("header size 40") << Words({40, 1, 0, 0, 0, 0, 0, 0, 0, 0});
    QTest::newRow("type 2") << Words({32, 2, 0, 0, 0, 0, 0, 0});
    QTest::newRow("count past the end") << Words({32, 1, 2, 32, 0, 0, 1, 1, 0, 0, 1, 1});
    QTest::newRow("huge count") << Words({32, 1, 0xFFFFFFFF, 0, 0, 0, 1, 1, 0, 0, 1, 1});
    QTest::newRow("rectangle cut short") << Words({32, 1, 1, 16, 0, 0, 1, 1, 0, 0, 1, 1}).left(47);
  }
  void malformedDataIsRefused() {
    QFETCH(QByteArray, data);
    QVERIFY(!RegionFromRgnData(data).has_value());
  }

  void emptyAndInvertedRectanglesAddNothing() {
    const auto region =
        RegionFromRgnData(Words({32, 1, 3, 48, 0, 0, 9, 9, 5, 5, 5, 9, 7, 7, 3, 3, 1, 1, 2, 2}));
    QVERIFY(region.has_value());
    QCOMPARE(*region, QRegion(1, 1, 1, 1));
  }

  void extremeCoordinatesStayInRange() {
    const auto region = RegionFromRgnData(
        Words({32, 1, 1, 16, 0, 0, 0, 0, -2147483648LL, -2147483648LL, 2147483647, 2147483647}));
    QVERIFY(region.has_value());
    QVERIFY(region->contains(QPoint(0, 0)));
    QCOMPARE(region->boundingRect().left(), -(1 << 27));
  }

  void mask2Block_data() {
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QByteArray>("rgnData");
    QTest::newRow("count 0") << Words({0}) << true << QByteArray();
    QTest::newRow("count 0, trailing bytes") << Words({0, 7}) << true << QByteArray();
    QTest::newRow("count 3") << Words({3}) + "abc" << true << QByteArray("abc");
    QTest::newRow("no count") << QByteArray("ab") << false << QByteArray();
    QTest::newRow("count past the end") << Words({5}) + "abc" << false << QByteArray();
    QTest::newRow("huge count") << Words({0xFFFFFFFF}) + "abc" << false << QByteArray();
  }
  void mask2Block() {
    QFETCH(QByteArray, block);
    QFETCH(bool, readable);
    QFETCH(QByteArray, rgnData);
    const std::optional<QByteArray> read = RgnDataOfMask2(block);
    QCOMPARE(read.has_value(), readable);
    if (readable)
      QCOMPARE(*read, rgnData);
  }

  void mask2BlockRoundTrip() {
    const QByteArray data = RegionToRgnData(QRegion(3, 4, 5, 6));
    QCOMPARE(RgnDataOfMask2(Mask2Block(data)), std::optional<QByteArray>(data));
  }

  // Every prefix of a valid block is read without leaving its bytes: exactly the whole block
  // yields the region.
  void everyTruncationStaysInside() {
    const QByteArray block =
        Mask2Block(RegionToRgnData(QRegion(0, 0, 8, 8).subtracted(QRegion(2, 2, 3, 3))));
    for (qsizetype length = 0; length < block.size(); ++length) {
      // A copy of just the prefix, so the sanitizer sees any read past it.
      std::unique_ptr<char[]> bytes(new char[static_cast<std::size_t>(length) + 1]);
      std::memcpy(bytes.get(), block.constData(), static_cast<std::size_t>(length));
      const QByteArrayView prefix(bytes.get(), length);
      const std::optional<QByteArray> rgn = RgnDataOfMask2(prefix);
      QVERIFY(!rgn.has_value());
      QVERIFY(!RegionFromRgnData(prefix.sliced(std::min<qsizetype>(4, length))).has_value());
    }
  }
};

QTEST_GUILESS_MAIN(RegionDataTest)
#include "region_data_test.moc"
