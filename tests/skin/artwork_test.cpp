// The built-in artwork and the Data folder example: sizes, outlines, the replacement rules,
// and a screenshot of every widget in every state for review.
#include "skin/builtin_artwork.h"
#include "skin/button_face.h"
#include "skin/cool_form.h"
#include "skin/ez_rgn_btn.h"
#include "skin/gauge.h"
#include "skin/hs_skin_btn.h"
#include "skin/skin_fonts.h"
#include "skin/window_region.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace skin;

namespace {

const QColor kPageGrey(233, 233, 233);

QSize SetSize(const QString& set) {
  if (set == "x")
    return {16, 17};
  if (set == "help")
    return {21, 21};
  if (set == "logo")
    return {170, 33};
  return {49, 49};
}

QPoint SetPlace(const QString& set) {
  static const QHash<QString, QPoint> places = {
      {"back", {524, 411}}, {"exit", {524, 411}}, {"next", {581, 411}}, {"home", {581, 411}},
      {"x", {617, 9}},      {"help", {6, 6}},     {"logo", {233, 371}}};
  return places.value(set);
}

void Paint(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, colour);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

void Enter(QWidget& widget) {
  QEnterEvent event(QPointF(2, 2), QPointF(2, 2), widget.mapToGlobal(QPointF(2, 2)));
  QCoreApplication::sendEvent(&widget, &event);
}

// Puts `button` into state 0 normal, 1 pointer over, 2 pressed, 3 disabled.
void DriveRegionButton(TEzRgnBtn& button, int state) {
  if (state == 1 || state == 2)
    Enter(button);
  if (state == 2)
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(2, 2));
  if (state == 3)
    button.setButtonEnabled(false);
}

void DriveSkinButton(THSSkinBtn& button, int state) {
  if (state == 1 || state == 2)
    Enter(button);
  if (state == 2)
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(2, 2));
  if (state == 3)
    button.setEnabled(false);
}

QLabel* Caption(const QString& text, QWidget* parent, QPoint at) {
  auto* label = new QLabel(text, parent);
  label->setFont(WindowsFont(QStringLiteral("Tahoma"), 8, true));
  label->move(at);
  return label;
}

} // namespace

class ArtworkTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { InstallSkinFonts(); }

  void surfacesHaveTheirSizes() {
    QCOMPARE(MainWindowPicture().size(), QSize(641, 479));
    QCOMPARE(AboutWindowPicture().size(), QSize(501, 400));
  }

  void mainOutlineHoldsEveryControl() {
    const QImage main = MainWindowPicture();
    const QRegion outline = PictureOutline(main);
    QVERIFY(!outline.contains(QPoint(0, 0)));
    QVERIFY(!outline.contains(QPoint(640, 478)));
    QVERIFY(outline.contains(QRect(29, 30, 582, 328)));
    for (const QString& set : ButtonSetNames())
      QVERIFY2(outline.contains(QRect(SetPlace(set), SetSize(set))), qPrintable(set));
    // Only the rounded corners are cut away.
    QVERIFY(outline.contains(QRect(0, 20, 641, 439)));
  }

  void buttonSetsHaveFourPicturesOfTheirSize() {
    for (const QString& set : ButtonSetNames())
      for (const char* state : {"normal", "up", "down", "disable"}) {
        const QImage picture = ButtonSetPicture(set, state);
        QVERIFY2(picture.size() == SetSize(set), qPrintable(set + state));
      }
  }

  void buttonStatesDiffer() {
    for (const QString& set : ButtonSetNames()) {
      const QImage normal = ButtonSetPicture(set, "normal");
      for (const char* state : {"up", "down", "disable"})
        QVERIFY2(ButtonSetPicture(set, state) != normal, qPrintable(set + state));
    }
  }

  void buttonCornersBlendIntoTheSurface() {
    const QImage main = MainWindowPicture();
    for (const QString& set : ButtonSetNames()) {
      const QImage picture = ButtonSetPicture(set, "normal");
      QCOMPARE(picture.pixel(0, 0), main.pixel(SetPlace(set)));
    }
  }

  void listImagesAreEleven16By16() {
    const QList<QImage> images = ListImages();
    QCOMPARE(images.size(), 11);
    for (const QImage& image : images) {
      QCOMPARE(image.size(), QSize(16, 16));
      QVERIFY(image.hasAlphaChannel());
    }
    QVERIFY(images[0] != images[1]);
  }

  void builtInSkinIsAValidSkinFile() {
    QTemporaryDir dir;
    const QString file = dir.filePath("skin.bmp");
    QVERIFY(DefaultSkin().save(file));
    QVERIFY(IsValidSkin(file));
  }

  void dataExampleReplacesWholeSets() {
    const QString data = QStringLiteral(SKIN_DATA_EXAMPLE_DIR);
    QImage main;
    QVERIFY(main.load(QDir(data).filePath("main.bmp")));
    QCOMPARE(main.size(), QSize(641, 479));
    for (const QString& set : ButtonSetNames()) {
      TEzRgnBtn button;
      LoadButtonSet(button, set);
      const QImage builtIn = button.picIdle();
      QCOMPARE(LoadButtonSetFromFolder(button, data, set), 4);
      QVERIFY2(button.picIdle() != builtIn, qPrintable(set));
      QCOMPARE(button.picIdle().size(), SetSize(set));
    }
  }

  // The committed example is exactly what the generator draws today.
  void dataExampleIsWhatTheGeneratorDraws() {
    QTemporaryDir dir;
    QProcess generator;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("ASAN_OPTIONS", "detect_leaks=0");
    generator.setProcessEnvironment(environment);
    generator.start(QStringLiteral(MAKE_ARTWORK), {"data", dir.path()});
    QVERIFY(generator.waitForFinished(60000));
    QCOMPARE(generator.exitCode(), 0);
    const QDir committed(QStringLiteral(SKIN_DATA_EXAMPLE_DIR));
    const QStringList drawn = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    QCOMPARE(committed.entryList(QDir::Files, QDir::Name), drawn);
    for (const QString& name : drawn) {
      QFile a(committed.filePath(name)), b(QDir(dir.path()).filePath(name));
      QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
      QVERIFY2(a.readAll() == b.readAll(), qPrintable(name));
    }
  }

  void partialDataFolderReplacesOnlyWhatIsThere() {
    QTemporaryDir dir;
    const QImage up(49, 49, QImage::Format_RGB32);
    QImage red = up;
    red.fill(Qt::red);
    QVERIFY(red.save(dir.filePath("next_buttonup.bmp")));
    TEzRgnBtn button;
    LoadButtonSet(button, "next");
    const QImage idle = button.picIdle(), down = button.picDown(), dsbld = button.picDsbld();
    QCOMPARE(LoadButtonSetFromFolder(button, dir.path(), "next"), 1);
    QCOMPARE(button.picUp().pixelColor(10, 10), QColor(Qt::red));
    QCOMPARE(button.picIdle(), idle);
    QCOMPARE(button.picDown(), down);
    QCOMPARE(button.picDsbld(), dsbld);
  }

  void windowsFontsHaveWindowsPixelSizes() {
    const QFont tahoma = WindowsFont(QStringLiteral("Tahoma"), 8, true);
    QCOMPARE(tahoma.pixelSize(), 11);
    QVERIFY(tahoma.bold());
    QCOMPARE(WindowsFont(QStringLiteral("MS Sans Serif"), 10).pixelSize(), 13);
    const QString family = QFontInfo(tahoma).family();
    QVERIFY2(QStringList({"Tahoma", "DejaVu Sans", "Liberation Sans"}).contains(family),
             qPrintable(family));
  }

  // The main window as the Data folder example dresses it, written for review.
  void dataExampleScreenshot() {
    const QString data = QStringLiteral(SKIN_DATA_EXAMPLE_DIR);
    QWidget window;
    window.resize(641, 479);
    TCoolForm surface(&window);
    surface.setPicture(MainWindowPicture());
    CropWindowToPicture(window, surface.picture());
    const QRegion builtInOutline = window.mask();
    QVERIFY(surface.loadPicture(QDir(data).filePath("main.bmp")));
    QCOMPARE(window.mask(), builtInOutline);
    auto* panel = new QWidget(&window);
    panel->setGeometry(29, 30, 582, 328);
    Paint(*panel, Qt::white);
    for (const QString& set : ButtonSetNames()) {
      if (set == "exit" || set == "home")
        continue;
      auto* button = new TEzRgnBtn(&window);
      LoadButtonSet(*button, set);
      LoadButtonSetFromFolder(*button, data, set);
      button->move(SetPlace(set));
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QString path =
        QDir(QStringLiteral(SKIN_SCREENSHOT_DIR)).filePath("skin_data_example.png");
    QVERIFY(window.grab().save(path));
  }

  // A sheet of every widget in every state, written for review.
  void screenshot() {
    QWidget sheet;
    sheet.resize(1180, 900);
    Paint(sheet, QColor(248, 250, 252));

    // The main window's surface with its buttons where the window puts them.
    auto* mainWindow = new QWidget(&sheet);
    mainWindow->setGeometry(10, 10, 641, 479);
    auto* surface = new TCoolForm(mainWindow);
    surface->setPicture(MainWindowPicture());
    CropWindowToPicture(*mainWindow, surface->picture());
    auto* page = new QWidget(mainWindow);
    page->setGeometry(29, 30, 582, 328);
    Paint(*page, Qt::white);
    auto* panel = new QWidget(page);
    panel->setGeometry(6, 5, 569, 316);
    Paint(*panel, kPageGrey);
    for (const QString set : {"back", "next", "x", "help", "logo"}) {
      auto* button = new TEzRgnBtn(mainWindow);
      LoadButtonSet(*button, set);
      button->move(SetPlace(set));
    }
    // Select All at rest, Select None under the pointer, Start disabled, as on the scan page.
    const struct {
      const char* caption;
      QRect bounds;
    } pushButtons[] = {{"Select All", QRect(296, 271, 73, 25)},
                       {"Select None", QRect(372, 271, 81, 25)},
                       {"Start", QRect(464, 271, 81, 25)}};
    for (int i = 0; i < 3; ++i) {
      auto* button = new THSSkinBtn(panel);
      button->setFont(WindowsFont(QStringLiteral("Tahoma"), 8, true));
      button->setText(QString::fromLatin1(pushButtons[i].caption));
      button->setGeometry(pushButtons[i].bounds);
      DriveSkinButton(*button, i == 2 ? 3 : i);
    }
    auto* gauge = new TGauge(panel);
    gauge->setGeometry(85, 284, 196, 15);
    gauge->setFont(WindowsFont(QStringLiteral("Tahoma"), 8));
    gauge->setForeColor(QColor(170, 213, 255));
    gauge->setProgress(42);
    for (int i = 0; i < 11; ++i) {
      auto* icon = new QLabel(panel);
      icon->setPixmap(QPixmap::fromImage(ListImages()[i]));
      icon->move(14 + i * 24, 12);
    }

    // The about window's surface with its OK button on white.
    auto* about = new QWidget(&sheet);
    about->setGeometry(670, 10, 501, 400);
    Paint(*about, Qt::white);
    (new TCoolForm(about))->setPicture(AboutWindowPicture());
    auto* ok = new THSSkinBtn(about);
    ok->setFont(WindowsFont(QStringLiteral("Tahoma"), 8, true));
    ok->setText(QStringLiteral("OK"));
    ok->setGeometry(423, 368, 70, 25);

    // Every button set in its four states; the push buttons on white and on page grey.
    const QStringList states = {"normal", "pointer over", "pressed", "disabled"};
    for (int state = 0; state < 4; ++state)
      Caption(states[state], &sheet, QPoint(10 + state * 185, 500));
    const QString sets[] = {"back", "next", "home", "exit", "x", "help", "logo"};
    int y = 520;
    for (const QString& set : sets) {
      for (int state = 0; state < 4; ++state) {
        auto* button = new TEzRgnBtn(&sheet);
        LoadButtonSet(*button, set);
        button->move(10 + state * 185, y);
        DriveRegionButton(*button, state);
      }
      y += SetSize(set).height() + 6;
    }
    for (const QColor& colour : {QColor(Qt::white), kPageGrey}) {
      auto* strip = new QWidget(&sheet);
      strip->setGeometry(670, colour == kPageGrey ? 470 : 430, 500, 36);
      Paint(*strip, colour);
      for (int state = 0; state < 4; ++state) {
        auto* button = new THSSkinBtn(strip);
        button->setFont(WindowsFont(QStringLiteral("Tahoma"), 8, true));
        button->setText(states[state]);
        button->setGeometry(8 + state * 96, 6, 88, 25);
        DriveSkinButton(*button, state);
      }
      auto* narrow = new THSSkinBtn(strip);
      narrow->setText("OK");
      narrow->setGeometry(400, 6, 30, 25);
      auto* round = new THSSkinBtn(strip);
      round->buttonSkin().setButtonShape(ButtonShape::RoundedBar);
      round->setText("Round");
      round->setGeometry(436, 6, 60, 25);
    }
    // Gauges: empty range, 0, 42, 100 % and a disabled-look kind.
    const int percents[] = {0, 42, 100};
    for (int i = 0; i < 3; ++i) {
      auto* bar = new TGauge(&sheet);
      bar->setGeometry(670, 520 + i * 22, 196, 15);
      bar->setFont(WindowsFont(QStringLiteral("Tahoma"), 8));
      bar->setForeColor(QColor(170, 213, 255));
      bar->setProgress(percents[i]);
    }
    auto* empty = new TGauge(&sheet);
    empty->setGeometry(670, 586, 196, 15);
    empty->setMaxValue(0);
    auto* pie = new TGauge(&sheet);
    pie->setGeometry(880, 520, 60, 60);
    pie->setKind(gkPie);
    pie->setForeColor(QColor(79, 110, 247));
    pie->setProgress(65);
    auto* vertical = new TGauge(&sheet);
    vertical->setGeometry(950, 520, 20, 80);
    vertical->setKind(gkVerticalBar);
    vertical->setForeColor(QColor(79, 110, 247));
    vertical->setProgress(30);

    // The list images, enlarged four times for inspection.
    for (int i = 0; i < 10; ++i) {
      auto* icon = new QLabel(&sheet);
      icon->setPixmap(QPixmap::fromImage(ListImages()[i].scaled(64, 64)));
      icon->move(670 + (i % 5) * 70, 620 + (i / 5) * 70);
    }

    sheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    const QString path = QDir(QStringLiteral(SKIN_SCREENSHOT_DIR)).filePath("skin_widgets.png");
    QVERIFY(sheet.grab().save(path));
    qInfo("screenshot: %s", qPrintable(path));
  }
};

QTEST_MAIN(ArtworkTest)
#include "artwork_test.moc"
