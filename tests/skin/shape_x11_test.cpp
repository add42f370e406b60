// Window outlines on a real X server: holes show the desktop and take no mouse. Run under
// xvfb-run; elsewhere (offscreen has no window shapes) the tests skip.
#include "picture_util.h"
#include "skin/cool_form.h"
#include "skin/window_region.h"

#include <QApplication>
#include <QScreen>
#include <QtTest>

using namespace skin;
using namespace skintest;

namespace {

const QColor kArtwork(255, 128, 0);

} // namespace

class ShapeX11Test : public QObject {
  Q_OBJECT

private slots:
  void init() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
      QSKIP("needs an X server: run under xvfb-run (window shapes are not applied offscreen)");
  }

  void holesAreInvisibleAndMouseTransparent() {
    QWidget window;
    window.setGeometry(40, 40, 200, 150);
    auto* surface = new TCoolForm(&window);
    surface->setPicture(WithHoles(200, 150, kArtwork, {QRect(80, 60, 40, 30)}));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint artwork = window.mapToGlobal(QPoint(20, 20));
    const QPoint hole = window.mapToGlobal(QPoint(100, 75));
    const QPoint corner = window.mapToGlobal(QPoint(0, 0));
    // Before the cut the whole rectangle is the window's.
    QTRY_COMPARE(QApplication::topLevelAt(hole), &window);

    CropWindowToPicture(window, surface->picture());
    QTRY_VERIFY(QApplication::topLevelAt(hole) != &window);
    QVERIFY(QApplication::topLevelAt(corner) != &window);
    QCOMPARE(QApplication::topLevelAt(artwork), &window);
    QTRY_COMPARE(window.screen()->grabWindow(0).toImage().pixelColor(artwork), kArtwork);
    const QImage screen = window.screen()->grabWindow(0).toImage();
    QVERIFY(screen.pixelColor(hole) != kArtwork);
    QVERIFY(screen.pixelColor(hole) != skintest::kKey);
  }

  void uniformPictureLeavesNothingOfTheWindow() {
    QWidget window;
    window.setGeometry(40, 40, 120, 90);
    auto* surface = new TCoolForm(&window);
    surface->setPicture(WithHoles(120, 90, kArtwork, {}));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint middle = window.mapToGlobal(QPoint(60, 45));
    QTRY_COMPARE(QApplication::topLevelAt(middle), &window);

    surface->setPicture(Solid(120, 90, kArtwork));
    CropWindowToPicture(window, surface->picture());
    QTRY_VERIFY(QApplication::topLevelAt(middle) != &window);
    QTRY_VERIFY(window.screen()->grabWindow(0).toImage().pixelColor(middle) != kArtwork);
  }
};

QTEST_MAIN(ShapeX11Test)
#include "shape_x11_test.moc"
