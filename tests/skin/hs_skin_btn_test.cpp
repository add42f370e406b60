// The skinned push buttons: the size rule, the face, the corners, the states and the skin
// file checks.
#include "picture_util.h"
#include "skin/hs_skin_btn.h"
#include "skin/skin_error.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace skin;
using namespace skintest;

namespace {

const QColor kSilver(192, 192, 192);
const QColor kLeftCap(200, 0, 0), kMiddle(0, 200, 0), kRightCap(0, 0, 200);

// A skin of three coloured thirds, `height` rows high.
QImage ThirdsSkin(int width, int height) {
  QImage skin = Solid(width, height, kMiddle);
  const int cap = width / 3;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < cap; ++x) {
      skin.setPixelColor(x, y, kLeftCap);
      skin.setPixelColor(width - cap + x, y, kRightCap);
    }
  return skin;
}

void SetWindowColour(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, colour);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

QList<QPoint> SliceCorners(int width) {
  QList<QPoint> corners;
  for (int slice = 0; slice < 4; ++slice)
    for (int y : {slice * 25, slice * 25 + 24})
      corners << QPoint(0, y) << QPoint(width - 1, y);
  return corners;
}

} // namespace

class HSSkinBtnTest : public QObject {
  Q_OBJECT

private slots:
  void init() {
    page_ = std::make_unique<QWidget>();
    page_->resize(300, 200);
    SetWindowColour(*page_, Qt::white);
    button_ = new THSSkinBtn(page_.get());
    button_->move(10, 10);
  }
  void cleanup() { page_.reset(); }

  void builtInSkinLayout() {
    const QImage skin = DefaultSkin();
    QCOMPARE(skin.size(), QSize(62, 100));
    for (const QPoint& corner : SliceCorners(62))
      QCOMPARE(skin.pixelColor(corner), kSilver);
    QVERIFY(skin.pixelColor(31, 12) != kSilver);
  }

  void barsAre25PixelsHighWhateverIsAsked_data() {
    QTest::addColumn<QSize>("asked");
    QTest::newRow("short") << QSize(81, 10);
    QTest::newRow("exact") << QSize(73, 25);
    QTest::newRow("tall") << QSize(120, 60);
  }
  void barsAre25PixelsHighWhateverIsAsked() {
    QFETCH(QSize, asked);
    for (ButtonShape shape : {ButtonShape::Bar, ButtonShape::RoundedBar}) {
      button_->buttonSkin().setButtonShape(shape);
      button_->resize(asked);
      QCOMPARE(button_->size(), QSize(asked.width(), 25));
      QCOMPARE(button_->skinImage().size(), QSize(asked.width(), 100));
    }
  }

  void sizeRule_data() {
    QTest::addColumn<int>("shape");
    QTest::addColumn<QSize>("skin");
    QTest::addColumn<QSize>("asked");
    QTest::addColumn<QSize>("given");
    QTest::newRow("bar, 100 rows") << 0 << QSize(62, 100) << QSize(70, 3) << QSize(70, 25);
    QTest::newRow("bar, 40 rows") << 0 << QSize(30, 40) << QSize(70, 3) << QSize(70, 10);
    QTest::newRow("ellipse") << 1 << QSize(62, 100) << QSize(70, 3) << QSize(62, 26);
    QTest::newRow("rounded") << 2 << QSize(62, 100) << QSize(90, 90) << QSize(90, 25);
  }
  void sizeRule() {
    QFETCH(int, shape);
    QFETCH(QSize, skin);
    QFETCH(QSize, asked);
    QFETCH(QSize, given);
    QCOMPARE(ButtonSizeFor(static_cast<ButtonShape>(shape), skin, asked), given);
  }

  void ellipseTakesTheSkinSize() {
    button_->buttonSkin().setButtonShape(ButtonShape::Ellipse);
    button_->resize(200, 80);
    QCOMPARE(button_->size(), QSize(62, 26));
  }

  void wideFaceTilesTheMiddle() {
    const QImage face = BuildFace(ThirdsSkin(60, 8), 100, ButtonShape::Bar, true, Qt::white);
    QCOMPARE(face.size(), QSize(100, 8));
    QCOMPARE(face.pixelColor(0, 3), kLeftCap);
    QCOMPARE(face.pixelColor(19, 3), kLeftCap);
    QCOMPARE(face.pixelColor(20, 3), kMiddle);
    QCOMPARE(face.pixelColor(79, 3), kMiddle);
    QCOMPARE(face.pixelColor(80, 3), kRightCap);
    QCOMPARE(face.pixelColor(99, 7), kRightCap);
  }

  void narrowFaceOverlapsTheCapsRightWins() {
    const QImage face = BuildFace(ThirdsSkin(60, 8), 30, ButtonShape::Bar, true, Qt::white);
    QCOMPARE(face.pixelColor(9, 3), kLeftCap);
    QCOMPARE(face.pixelColor(10, 3), kRightCap);
    QCOMPARE(face.pixelColor(29, 3), kRightCap);
  }

  void cornersTakeTheParentColour_data() {
    QTest::addColumn<QColor>("parent");
    QTest::newRow("white") << QColor(Qt::white);
    QTest::newRow("page grey") << QColor(233, 233, 233);
  }
  void cornersTakeTheParentColour() {
    QFETCH(QColor, parent);
    SetWindowColour(*page_, parent);
    button_->resize(81, 25);
    for (const QPoint& corner : SliceCorners(81))
      QCOMPARE(button_->skinImage().pixelColor(corner), parent);
    QVERIFY(button_->skinImage().pixelColor(40, 12) != parent);
  }

  void customBarSkinKeepsItsCorners() {
    QTemporaryDir dir;
    QImage skin = ThirdsSkin(60, 40);
    skin.setPixelColor(0, 0, kSilver);
    const QString file = dir.filePath("bar.bmp");
    QVERIFY(skin.save(file));
    button_->buttonSkin().setSkinBitmap(file);
    QCOMPARE(button_->skinImage().pixelColor(0, 0), kSilver);
    button_->buttonSkin().setButtonShape(ButtonShape::RoundedBar);
    QCOMPARE(button_->skinImage().pixelColor(0, 0), QColor(Qt::white));
  }

  void validSkinFiles_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("valid");
    QTest::newRow("100 rows") << 100 << true;
    QTest::newRow("101 rows") << 101 << false;
    QTest::newRow("4 rows") << 4 << true;
    QTest::newRow("6 rows") << 6 << false;
  }
  void validSkinFiles() {
    QFETCH(int, height);
    QFETCH(bool, valid);
    QTemporaryDir dir;
    const QString file = dir.filePath("skin.bmp");
    QVERIFY(ThirdsSkin(60, height).save(file));
    QCOMPARE(IsValidSkin(file), valid);
  }

  void unreadableFilesAreNoSkins() {
    QTemporaryDir dir;
    const QString text = dir.filePath("skin.bmp");
    QFile out(text);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("not a picture");
    out.close();
    QVERIFY(!IsValidSkin(text));
    QVERIFY(!IsValidSkin(dir.filePath("missing.bmp")));
  }

  void invalidSkinIsRefusedAndChangesNothing() {
    QTemporaryDir dir;
    const QString good = dir.filePath("good.bmp");
    const QString bad = dir.filePath("bad.bmp");
    QVERIFY(ThirdsSkin(60, 40).save(good));
    QVERIFY(ThirdsSkin(60, 101).save(bad));
    button_->buttonSkin().setSkinBitmap(good);
    QCOMPARE(button_->height(), 10);
    try {
      button_->buttonSkin().setSkinBitmap(bad);
      QFAIL("a 101-row skin was taken");
    } catch (const SkinError& error) {
      QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Bitmap is not valid skin bitmap"));
    }
    QCOMPARE(button_->buttonSkin().skinBitmap(), good);
    QCOMPARE(button_->skinSource().height(), 40);
    QCOMPARE(button_->height(), 10);
    button_->buttonSkin().setSkinBitmap(QString());
    QCOMPARE(button_->skinSource().size(), QSize(62, 100));
    QCOMPARE(button_->height(), 25);
  }

  void faceOffsets_data() {
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("hovering");
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<int>("offset");
    QTest::newRow("normal") << true << false << false << 0;
    QTest::newRow("pointer over") << true << true << false << -25;
    QTest::newRow("pressed over") << true << true << true << -50;
    QTest::newRow("pressed, pointer away") << true << false << true << 0;
    QTest::newRow("disabled") << false << false << false << -75;
    QTest::newRow("disabled, pressed over") << false << true << true << -75;
  }
  void faceOffsets() {
    QFETCH(bool, enabled);
    QFETCH(bool, hovering);
    QFETCH(bool, pressed);
    QFETCH(int, offset);
    QCOMPARE(FaceOffset(100, enabled, hovering, pressed), offset);
  }

  // What the button shows, state by state, is its face's slice for that state.
  void paintsTheSliceOfItsState() {
    button_->resize(81, 25);
    page_->show();
    QVERIFY(QTest::qWaitForWindowExposed(page_.get()));
    const auto slicePixel = [this](int slice) {
      return button_->skinImage().pixelColor(40, slice * 25 + 12);
    };
    const auto shown = [this] { return button_->grab().toImage().pixelColor(40, 12); };
    QCOMPARE(shown(), slicePixel(0));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button_->mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(button_, &enter);
    QCOMPARE(shown(), slicePixel(1));
    QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(shown(), slicePixel(2));
    button_->setEnabled(false);
    QCOMPARE(shown(), slicePixel(3));
  }

  void pressedAndMovedOffShowsNormalAndDoesNotClick() {
    button_->resize(81, 25);
    page_->show();
    QVERIFY(QTest::qWaitForWindowExposed(page_.get()));
    QSignalSpy clicks(button_, &QAbstractButton::clicked);
    QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent away(QEvent::MouseMove, QPointF(150, 5), button_->mapToGlobal(QPointF(150, 5)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(button_, &away);
    QVERIFY(button_->isPressed());
    QVERIFY(!button_->isHovering());
    QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(150, 5));
    QCOMPARE(clicks.count(), 0);
    QVERIFY(!button_->isPressed());
  }

  void clickComesWhilePressed() {
    button_->resize(81, 25);
    page_->show();
    QVERIFY(QTest::qWaitForWindowExposed(page_.get()));
    bool pressedDuringClick = false;
    int clicks = 0;
    connect(button_, &QAbstractButton::clicked, this, [&] {
      ++clicks;
      pressedDuringClick = button_->isPressed();
    });
    QTest::mouseClick(button_, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicks, 1);
    QVERIFY(pressedDuringClick);
  }

  void keysPressTheFocusedButton_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("clicks");
    for (int key : {int(Qt::Key_Space), int(Qt::Key_Return), int(Qt::Key_Enter)}) {
      QTest::addRow("key %x", key) << key << true << 1;
      QTest::addRow("key %x, disabled", key) << key << false << 0;
    }
  }
  void keysPressTheFocusedButton() {
    QFETCH(int, key);
    QFETCH(bool, enabled);
    QFETCH(int, clicks);
    button_->resize(81, 25);
    button_->setEnabled(enabled);
    page_->show();
    QVERIFY(QTest::qWaitForWindowExposed(page_.get()));
    QSignalSpy clicked(button_, &QAbstractButton::clicked);
    QTest::keyClick(button_, Qt::Key(key));
    QCOMPARE(clicked.count(), clicks);
  }

  void theFocusedButtonShowsTheFocusMark() {
    button_->resize(81, 25);
    button_->setText(QStringLiteral("Select All"));
    page_->show();
    page_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(page_.get()));
    button_->setFocus(Qt::MouseFocusReason);
    const QImage plain = button_->grab().toImage(); // no key used yet: no mark
    auto* other = new QPushButton(page_.get());
    other->show();
    other->setFocus();
    QTest::keyClick(other, Qt::Key_Backtab);
    QVERIFY(button_->hasFocus());
    const QImage marked = button_->grab().toImage();
    // Dots along the top inside the edge, where the face alone has none.
    int differing = 0;
    for (int x = 4; x < 77; ++x)
      differing += marked.pixelColor(x, 3) != plain.pixelColor(x, 3);
    QVERIFY2(differing > 20, qPrintable(QString::number(differing)));
  }

  void disabledCaptionIsEngraved() {
    button_->resize(81, 25);
    button_->setText(QStringLiteral("Save"));
    QFont font = button_->font();
    font.setPixelSize(14);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    button_->setFont(font);
    button_->setEnabled(false);
    const QImage shown = button_->grab().toImage();
    int highlight = 0, shadow = 0;
    for (int y = 3; y < 22; ++y)
      for (int x = 6; x < 75; ++x) {
        highlight += shown.pixelColor(x, y) == QColor(255, 255, 255);
        shadow += shown.pixelColor(x, y) == QColor(160, 160, 160);
      }
    QVERIFY2(highlight > 10, qPrintable(QString::number(highlight)));
    QVERIFY2(shadow > 10, qPrintable(QString::number(shadow)));
  }

  void parentColourChangeRebuildsTheFace() {
    button_->resize(81, 25);
    QCOMPARE(button_->skinImage().pixelColor(0, 0), QColor(Qt::white));
    SetWindowColour(*page_, QColor(233, 233, 233));
    QCOMPARE(button_->skinImage().pixelColor(0, 0), QColor(233, 233, 233));
  }

private:
  std::unique_ptr<QWidget> page_;
  THSSkinBtn* button_ = nullptr;
};

QTEST_MAIN(HSSkinBtnTest)
#include "hs_skin_btn_test.moc"
