// The picture buttons: state pictures and fall-backs, clicks, auto repeat, crop mode.
#include "picture_util.h"
#include "skin/ez_rgn_btn.h"
#include "skin/window_region.h"

#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace skin;
using namespace skintest;

namespace {

const QColor kIdle(10, 10, 10), kUp(20, 20, 20), kDown(30, 30, 30), kDsbld(40, 40, 40);

void Enter(QWidget& widget) {
  QEnterEvent event(QPointF(5, 5), QPointF(5, 5), widget.mapToGlobal(QPointF(5, 5)));
  QCoreApplication::sendEvent(&widget, &event);
}

void Leave(QWidget& widget) {
  QEvent event(QEvent::Leave);
  QCoreApplication::sendEvent(&widget, &event);
}

void MoveHeld(QWidget& widget, QPoint pos) {
  QMouseEvent event(QEvent::MouseMove, pos, widget.mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &event);
}

QColor Shown(const TEzRgnBtn& button) {
  return button.pictureForState().isNull() ? QColor() : button.pictureForState().pixelColor(1, 1);
}

} // namespace

class EzRgnBtnTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { qRegisterMetaType<QMouseEvent*>(); }

  void init() {
    window_ = std::make_unique<QWidget>();
    window_->resize(200, 200);
    button_ = new TEzRgnBtn(window_.get());
    button_->move(20, 20);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void cleanup() { window_.reset(); }

  void pictureForEveryState_data() {
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("hovering");
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QColor>("shown");
    const struct {
      bool enabled, hovering, pressed;
      QColor all, withoutDown, withoutUp, withoutDsbld;
    } rows[] = {
        {true, false, false, kIdle, kIdle, kIdle, kIdle},
        {true, true, false, kUp, kUp, kIdle, kUp},
        {true, true, true, kDown, kIdle, kDown, kDown},
        {true, false, true, kIdle, kIdle, kIdle, kIdle},
        {false, false, false, kDsbld, kDsbld, kDsbld, kIdle},
        {false, true, false, kDsbld, kDsbld, kDsbld, kIdle},
        {false, true, true, kDsbld, kDsbld, kDsbld, kIdle},
        {false, false, true, kDsbld, kDsbld, kDsbld, kIdle},
    };
    for (const auto& r : rows) {
      const QString state = QStringLiteral("%1%2%3")
                                .arg(r.enabled ? "enabled" : "disabled")
                                .arg(r.hovering ? " hovering" : "")
                                .arg(r.pressed ? " pressed" : "");
      QTest::addRow("%s, all", qPrintable(state))
          << r.enabled << r.hovering << r.pressed << QString() << r.all;
      QTest::addRow("%s, no down", qPrintable(state))
          << r.enabled << r.hovering << r.pressed << QStringLiteral("down") << r.withoutDown;
      QTest::addRow("%s, no up", qPrintable(state))
          << r.enabled << r.hovering << r.pressed << QStringLiteral("up") << r.withoutUp;
      QTest::addRow("%s, no disabled", qPrintable(state))
          << r.enabled << r.hovering << r.pressed << QStringLiteral("disabled") << r.withoutDsbld;
    }
  }
  void pictureForEveryState() {
    QFETCH(bool, enabled);
    QFETCH(bool, hovering);
    QFETCH(bool, pressed);
    QFETCH(QString, missing);
    QFETCH(QColor, shown);
    button_->setPicIdle(Solid(10, 10, kIdle));
    button_->setPicUp(missing == "up" ? QImage() : Solid(10, 10, kUp));
    button_->setPicDown(missing == "down" ? QImage() : Solid(10, 10, kDown));
    button_->setPicDsbld(missing == "disabled" ? QImage() : Solid(10, 10, kDsbld));
    button_->setButtonEnabled(enabled);
    if (hovering)
      Enter(*button_);
    if (pressed)
      QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(5, 5));
    if (pressed && !hovering)
      MoveHeld(*button_, QPoint(50, 50));
    QCOMPARE(button_->isHovering(), hovering);
    QCOMPARE(button_->isPressed(), pressed);
    QCOMPARE(Shown(*button_), shown);
    QCOMPARE(button_->grab().toImage().pixelColor(5, 5), shown);
  }

  void noPicturesDrawNothing() {
    QCOMPARE(button_->pictureForState(), QImage());
    QCOMPARE(button_->size(), QSize(15, 15));
  }

  void clickOnReleaseOverTheButton() {
    button_->setPicIdle(Solid(30, 20, kIdle));
    QSignalSpy clicks(button_, &TEzRgnBtn::clicked);
    bool pressedDuringClick = false;
    connect(button_, &TEzRgnBtn::clicked, this, [&] { pressedDuringClick = button_->isPressed(); });
    QTest::mouseClick(button_, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.count(), 1);
    QVERIFY(pressedDuringClick);
    QVERIFY(!button_->isPressed());
  }

  void noClickWhenReleasedOutside() {
    button_->setPicIdle(Solid(30, 20, kIdle));
    button_->setPicDown(Solid(30, 20, kDown));
    QSignalSpy clicks(button_, &TEzRgnBtn::clicked);
    Enter(*button_);
    QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(Shown(*button_), kDown);
    MoveHeld(*button_, QPoint(60, 10));
    QCOMPARE(Shown(*button_), kIdle);
    QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(60, 10));
    QCOMPARE(clicks.count(), 0);
    QVERIFY(!button_->isPressed());
  }

  void noClickWhenNotEnabled() {
    button_->setPicIdle(Solid(30, 20, kIdle));
    button_->setButtonEnabled(false);
    QSignalSpy clicks(button_, &TEzRgnBtn::clicked);
    QTest::mouseClick(button_, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.count(), 0);
  }

  // Disabling the widget (the window does so while a run is busy) locks the button as its
  // own flag does, and the own flag is kept for when the lock ends.
  void aDisabledWidgetShowsDisabledAndDoesNotClick() {
    button_->setPicIdle(Solid(30, 20, kIdle));
    button_->setPicDsbld(Solid(30, 20, kDsbld));
    QSignalSpy clicks(button_, &TEzRgnBtn::clicked);
    button_->setEnabled(false);
    QCOMPARE(Shown(*button_), kDsbld);
    QCOMPARE(button_->grab().toImage().pixelColor(5, 5), kDsbld);
    QTest::mouseClick(button_, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.count(), 0);
    QVERIFY(button_->isButtonEnabled());
    button_->setEnabled(true);
    QCOMPARE(Shown(*button_), kIdle);
    QTest::mouseClick(button_, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.count(), 1);
  }

  void keysPressTheFocusedButton_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("buttonEnabled");
    QTest::addColumn<int>("clicks");
    for (int key : {int(Qt::Key_Space), int(Qt::Key_Return), int(Qt::Key_Enter)}) {
      QTest::addRow("key %x", key) << key << true << 1;
      QTest::addRow("key %x, not enabled", key) << key << false << 0;
    }
    QTest::addRow("a letter") << int(Qt::Key_A) << true << 0;
  }
  void keysPressTheFocusedButton() {
    QFETCH(int, key);
    QFETCH(bool, buttonEnabled);
    QFETCH(int, clicks);
    button_->setPicIdle(Solid(30, 20, kIdle));
    button_->setButtonEnabled(buttonEnabled);
    QSignalSpy clicked(button_, &TEzRgnBtn::clicked);
    QTest::keyClick(button_, Qt::Key(key));
    QCOMPARE(clicked.count(), clicks);
  }

  void tabReachesTheButtonAndMarksIt() {
    button_->setPicIdle(Solid(30, 20, kIdle));
    auto* other = new QWidget(window_.get()); // a second stop for Tab
    other->setFocusPolicy(Qt::TabFocus);
    other->show();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    button_->setFocus(Qt::MouseFocusReason);
    const QImage unmarked = button_->grab().toImage(); // focus, but no key used yet
    QCOMPARE(unmarked.pixelColor(3, 3), kIdle);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(button_->hasFocus());
    QVERIFY(button_->grab().toImage() != unmarked); // the focus mark
    other->setFocus();
    QCOMPARE(button_->grab().toImage(), unmarked);
  }

  void otherButtonsDoNotClick() {
    button_->setPicIdle(Solid(30, 20, kIdle));
    QSignalSpy clicks(button_, &TEzRgnBtn::clicked);
    QSignalSpy downs(button_, &TEzRgnBtn::mouseDown);
    QTest::mouseClick(button_, Qt::RightButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(downs.count(), 1);
    QVERIFY(!button_->isPressed());
  }

  // Widgets see a double click as press, release, double-click, release.
  void doubleClickGivesOneClick() {
    button_->setPicIdle(Solid(30, 20, kIdle));
    QSignalSpy clicks(button_, &TEzRgnBtn::clicked);
    QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(10, 10));
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(10, 10),
                            button_->mapToGlobal(QPointF(10, 10)), Qt::LeftButton, Qt::LeftButton,
                            Qt::NoModifier);
    QCoreApplication::sendEvent(button_, &doubleClick);
    QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.count(), 1);
  }

  void autoRepeatRunsWhileHeldOverTheButton() {
    button_->setPicIdle(Solid(30, 20, kIdle));
    button_->setAutoRepeat(true);
    const auto* timer = button_->findChild<QTimer*>(QStringLiteral("RepeatTimer"));
    QVERIFY(timer != nullptr);
    QCOMPARE(timer->interval(), 300);
    QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!button_->isRepeating()); // not hovering yet
    Enter(*button_);
    QVERIFY(button_->isRepeating());
    MoveHeld(*button_, QPoint(60, 10));
    QVERIFY(!button_->isRepeating());
    MoveHeld(*button_, QPoint(10, 10));
    QVERIFY(button_->isRepeating());
    QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!button_->isRepeating());
  }

  void autoRepeatOffNeverRepeats() {
    button_->setPicIdle(Solid(30, 20, kIdle));
    Enter(*button_);
    QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!button_->isRepeating());
  }

  void hoveringFollowsEnterAndLeave() {
    button_->setPicIdle(Solid(30, 20, kIdle));
    QSignalSpy entered(button_, &TEzRgnBtn::mouseEntered);
    QSignalSpy left(button_, &TEzRgnBtn::mouseLeft);
    Enter(*button_);
    Enter(*button_);
    QVERIFY(button_->isHovering());
    QCOMPARE(entered.count(), 1);
    Leave(*button_);
    QVERIFY(!button_->isHovering());
    QCOMPARE(left.count(), 1);
  }

  void takesTheSizeOfItsPicture() {
    button_->setPicIdle(Solid(30, 20, kIdle));
    QCOMPARE(button_->size(), QSize(30, 20));
    button_->setPicIdle(Solid(44, 12, kIdle));
    QCOMPARE(button_->size(), QSize(44, 12));
    button_->setPicUp(Solid(50, 50, kUp));
    Enter(*button_);
    QCOMPARE(button_->size(), QSize(50, 50));
  }

  void imageListFillsThePictures() {
    button_->setImageList({Solid(10, 10, kIdle), Solid(10, 10, kUp), Solid(10, 10, kDown)});
    QCOMPARE(button_->picIdle().pixelColor(0, 0), kIdle);
    QCOMPARE(button_->picUp().pixelColor(0, 0), kUp);
    QCOMPARE(button_->picDown().pixelColor(0, 0), kDown);
    QVERIFY(button_->picDsbld().isNull());
  }

  void cropModeCutsToTheIdlePicture() {
    const QImage idle = WithHoles(30, 20, Qt::green, {QRect(10, 5, 5, 5)});
    button_->setPicIdle(idle);
    button_->setPaintMode(pmCrop);
    QVERIFY(button_->isCropped());
    QCOMPARE(VisibleRegion(*button_), PictureOutline(idle));
    // Holes take no mouse: the window finds no button there.
    QCOMPARE(window_->childAt(button_->pos() + QPoint(12, 7)), nullptr);
    QCOMPARE(window_->childAt(button_->pos() + QPoint(5, 15)), button_);

    const QImage other = WithHoles(30, 20, Qt::green, {QRect(20, 10, 3, 3)});
    button_->setPicIdle(other);
    QCOMPARE(VisibleRegion(*button_), PictureOutline(other));

    button_->setPaintMode(pmNormal);
    QVERIFY(!button_->isCropped());
    QCOMPARE(VisibleRegion(*button_), QRegion(button_->rect()));
  }

  void cropWaitsForAnIdlePicture() {
    button_->setPaintMode(pmCrop);
    QVERIFY(!button_->isCropped());
  }

  void transparentModeLeavesKeyPixelsUndrawn() {
    window_->setAutoFillBackground(true);
    QPalette palette = window_->palette();
    palette.setColor(QPalette::Window, Qt::yellow);
    window_->setPalette(palette);
    button_->setPicIdle(WithHoles(30, 20, Qt::blue, {QRect(10, 5, 5, 5)}));
    button_->setPaintMode(pmTransparent);
    const QImage shown = window_->grab().toImage();
    const QPoint at = button_->pos();
    QCOMPARE(shown.pixelColor(at + QPoint(12, 7)), QColor(Qt::yellow));
    QCOMPARE(shown.pixelColor(at + QPoint(3, 3)), QColor(Qt::blue));
  }

private:
  std::unique_ptr<QWidget> window_;
  TEzRgnBtn* button_ = nullptr;
};

QTEST_MAIN(EzRgnBtnTest)
#include "ez_rgn_btn_test.moc"
