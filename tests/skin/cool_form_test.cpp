// The picture surface and the window outline cut from a picture.
#include "picture_util.h"
#include "skin/cool_form.h"
#include "skin/region_data.h"
#include "skin/window_region.h"

#include <QSignalSpy>
#include <QtTest>

using namespace skin;
using namespace skintest;

class CoolFormTest : public QObject {
  Q_OBJECT

private slots:
  void innerKeyPixelsAreHolesToo() {
    const QImage picture = WithHoles(10, 8, Qt::darkBlue, {QRect(5, 4, 1, 1)});
    const QRegion outline = PictureOutline(picture);
    QVERIFY(!outline.contains(QPoint(0, 0)));
    QVERIFY(!outline.contains(QPoint(5, 4)));
    QVERIFY(outline.contains(QPoint(4, 4)));
    QVERIFY(outline.contains(QPoint(9, 7)));
    QCOMPARE(outline, QRegion(0, 0, 10, 8).subtracted(QRegion(0, 0, 1, 1) + QRegion(5, 4, 1, 1)));
  }

  void keyMatchesExactColourOnly() {
    QImage picture = Solid(4, 1, skintest::kKey);
    picture.setPixelColor(2, 0, QColor(255, 0, 254));
    QCOMPARE(PictureOutline(picture), QRegion(2, 0, 1, 1));
  }

  void uniformOrEmptyPictureLeavesNothing_data() {
    QTest::addColumn<QImage>("picture");
    QTest::newRow("uniform") << Solid(30, 20, Qt::red);
    QTest::newRow("null") << QImage();
  }
  void uniformOrEmptyPictureLeavesNothing() {
    QFETCH(QImage, picture);
    QVERIFY(PictureOutline(picture).isEmpty());
    QWidget window;
    window.resize(30, 20);
    CropWindowToPicture(window, picture);
    QVERIFY(VisibleRegion(window).isEmpty());
  }

  void windowLargerThanPictureIsCutToIt() {
    QWidget window;
    window.resize(100, 100);
    CropWindowToPicture(window, WithHoles(40, 30, Qt::green, {}));
    QCOMPARE(VisibleRegion(window).boundingRect(), QRect(0, 0, 40, 30));
  }

  void resetGivesThePlainRectangle() {
    QWidget window;
    window.resize(50, 40);
    CropWindowToPicture(window, WithHoles(50, 40, Qt::green, {QRect(10, 10, 5, 5)}));
    ResetWindowRegion(window, 50, 40);
    QCOMPARE(VisibleRegion(window), QRegion(0, 0, 50, 40));
  }

  void holesOfAChildAreMouseTransparent() {
    QWidget parent;
    parent.resize(60, 60);
    QWidget child(&parent);
    child.setGeometry(10, 10, 40, 40);
    CropWindowToPicture(child, WithHoles(40, 40, Qt::green, {QRect(20, 20, 10, 10)}));
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QCOMPARE(parent.childAt(15, 15), &child);
    QCOMPARE(parent.childAt(35, 35), nullptr);
  }

  void surfaceCoversItsTopLevelParentWithoutFrame() {
    QWidget window;
    window.resize(120, 80);
    TCoolForm form(&window);
    QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(form.geometry(), QRect(0, 0, 120, 80));
    window.resize(150, 90);
    QTRY_COMPARE(form.geometry(), QRect(0, 0, 150, 90));
  }

  void positionStaysAtOrigin() {
    QWidget window;
    window.resize(100, 100);
    TCoolForm form(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    form.move(12, 34);
    QCOMPARE(form.pos(), QPoint(0, 0));
    form.resize(40, 30);
    QCOMPARE(form.size(), QSize(40, 30));
  }

  void showsThePictureUnscaledAtTheCorner() {
    QWidget window;
    window.resize(40, 40);
    TCoolForm form(&window);
    QImage picture = Solid(20, 10, Qt::red);
    picture.setPixelColor(19, 9, Qt::blue);
    form.setPicture(picture);
    const QImage shown = form.grab().toImage();
    QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(shown.pixelColor(19, 9), QColor(Qt::blue));
    QVERIFY(shown.pixelColor(25, 5) != QColor(Qt::red));
  }

  void onlyTheLeftButtonMovesTheWindow_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("moves");
    QTest::newRow("left") << Qt::LeftButton << 1;
    QTest::newRow("right") << Qt::RightButton << 0;
    QTest::newRow("middle") << Qt::MiddleButton << 0;
  }
  void onlyTheLeftButtonMovesTheWindow() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, moves);
    QWidget window;
    window.resize(50, 50);
    TCoolForm form(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy started(&form, &TCoolForm::windowMoveStarted);
    QTest::mousePress(&form, button, {}, QPoint(10, 10));
    QTest::mouseRelease(&form, button, {}, QPoint(10, 10));
    QCOMPARE(started.count(), moves);
  }

  // The offscreen platform cannot move windows itself, so the surface drags the window.
  void draggingTheArtworkMovesTheWindow() {
    QWidget window;
    window.setGeometry(100, 100, 50, 50);
    TCoolForm form(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint start = window.pos();
    const auto send = [&form](QEvent::Type type, QPoint global, Qt::MouseButtons held) {
      QMouseEvent event(type, QPointF(form.mapFromGlobal(global)), QPointF(global),
                        type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                        Qt::NoModifier);
      QCoreApplication::sendEvent(&form, &event);
    };
    send(QEvent::MouseButtonPress, start + QPoint(10, 10), Qt::LeftButton);
    send(QEvent::MouseMove, start + QPoint(40, 25), Qt::LeftButton);
    QCOMPARE(window.pos(), start + QPoint(30, 15));
    send(QEvent::MouseButtonRelease, start + QPoint(40, 25), Qt::NoButton);
    send(QEvent::MouseMove, start + QPoint(90, 90), Qt::NoButton);
    QCOMPARE(window.pos(), start + QPoint(30, 15));
  }

  void mask2WithCountZeroLeavesTheShape() {
    QWidget window;
    window.resize(50, 50);
    window.setMask(QRegion(0, 0, 20, 20));
    TCoolForm form(&window);
    form.readMask2(QByteArray(4, '\0'));
    QVERIFY(!form.storedShape().has_value());
    QCOMPARE(window.mask(), QRegion(0, 0, 20, 20));
    QCOMPARE(form.mask2(), QByteArray(4, '\0'));
  }

  void mask2ShapesTheWindowAndIsWrittenBack() {
    QWidget window;
    window.resize(50, 50);
    TCoolForm form(&window);
    const QRegion shape = QRegion(0, 0, 30, 30).subtracted(QRegion(10, 10, 5, 5));
    const QByteArray block = Mask2Block(RegionToRgnData(shape));
    form.readMask2(block);
    QCOMPARE(form.storedShape(), std::optional<QRegion>(shape));
    QCOMPARE(window.mask(), shape);
    QCOMPARE(form.mask2(), block);
  }

  void mask2OfNoRectanglesLeavesNothingVisible() {
    QWidget window;
    window.resize(50, 50);
    TCoolForm form(&window);
    form.readMask2(Mask2Block(RegionToRgnData(QRegion())));
    QCOMPARE(form.storedShape(), std::optional<QRegion>(QRegion()));
    QVERIFY(VisibleRegion(window).isEmpty());
  }

  void unreadableMask2LeavesTheShape_data() {
    QTest::addColumn<QByteArray>("block");
    QTest::newRow("no count") << QByteArray("\x10\0", 2);
    QTest::newRow("count past the end") << QByteArray("\x40\0\0\0abc", 7);
    QTest::newRow("not region data") << QByteArray("\x04\0\0\0abcd", 8);
  }
  void unreadableMask2LeavesTheShape() {
    QFETCH(QByteArray, block);
    QWidget window;
    window.resize(50, 50);
    window.setMask(QRegion(0, 0, 20, 20));
    TCoolForm form(&window);
    form.readMask2(block);
    QVERIFY(!form.storedShape().has_value());
    QCOMPARE(window.mask(), QRegion(0, 0, 20, 20));
  }

  void newPictureKeepsTheOutlineAndForgetsTheStoredShape() {
    QWidget window;
    window.resize(50, 50);
    TCoolForm form(&window);
    form.readMask2(Mask2Block(RegionToRgnData(QRegion(0, 0, 10, 10))));
    const QImage first = WithHoles(50, 50, Qt::green, {QRect(20, 20, 5, 5)});
    form.setPicture(first);
    CropWindowToPicture(window, form.picture());
    const QRegion outline = window.mask();
    form.setPicture(Solid(50, 50, Qt::yellow));
    QCOMPARE(window.mask(), outline);
    QVERIFY(!form.storedShape().has_value());
    QCOMPARE(form.mask2(), QByteArray(4, '\0'));
  }
};

QTEST_MAIN(CoolFormTest)
#include "cool_form_test.moc"
