// The about window on the real widgets: its content, the start-up splash's ticks and
// closing, the about mode, the links, the replacement artwork, and F1 help requests.
#include "about/FSplash.h"
#include "about/application_help.h"
#include "about/hh_funcs.h"
#include "scoped_environment.h"
#include "skin/builtin_artwork.h"
#include "skin/cool_form.h"
#include "skin/hs_skin_btn.h"
#include "skin/skin_fonts.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace about {
namespace {

SplashTexts DefaultTexts() {
  return {QStringLiteral("Salvora for Outlook Express"), QStringLiteral("Salvora Software"),
          QStringLiteral("www.salvora.example"), QStringLiteral("support@salvora.example")};
}

QString ThisProgram() {
  return QCoreApplication::applicationFilePath();
}

} // namespace

class SplashTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { skin::InstallSkinFonts(); }

  void contentAndLayout() {
    TFrmSplash form(DefaultTexts(), ThisProgram(), QStringLiteral("/nonexistent/"));
    QCOMPARE(form.size(), QSize(501, 400));
    QCOMPARE(form.CoolForm->picture(), skin::AboutWindowPicture());
    QCOMPARE(form.PanelAboutus->pos(), QPoint(3, 300));
    QCOMPARE(form.PanelAboutus->height(), 72);
    // As wide as its texts need, from 313 up to the loading line.
    QVERIFY(form.PanelAboutus->width() >= 313);
    QVERIFY(form.PanelAboutus->geometry().right() < form.LabelLoading->x());
    QVERIFY(form.LabelEmail->geometry().right() < form.PanelAboutus->width());
    QCOMPARE(form.LBProgramName->text(), QStringLiteral("Salvora for Outlook Express"));
    QVERIFY(form.LBProgramName->font().bold());
    QCOMPARE(form.LBVersion->text(), QStringLiteral("Version " SALVORA_EXPECTED_VERSION_TEXT));
    QCOMPARE(form.LBCopyright->text(), QStringLiteral("Copyright \u00A9 2026 Salvora Software"));
    QCOMPARE(form.Label4->text(), QStringLiteral("Contact points are: "));
    QCOMPARE(form.LabelWebSite->text(), QStringLiteral("www.salvora.example"));
    QCOMPARE(form.LabelEmail->text(), QStringLiteral("support@salvora.example"));
    QVERIFY(form.Label7->wordWrap());
    const std::pair<QWidget*, QPoint> positions[] = {
        {form.LBProgramName, {8, 0}}, {form.LBVersion, {8, 15}},      {form.LBCopyright, {8, 29}},
        {form.Label4, {8, 44}},       {form.LabelWebSite, {102, 42}}, {form.Label7, {8, 60}}};
    for (const auto& [label, at] : positions) {
      QCOMPARE(label->parentWidget(), form.PanelAboutus);
      QCOMPARE(label->pos(), at);
    }
    for (QLabel* link : {form.LabelWebSite, form.LabelEmail}) {
      QVERIFY(link->font().underline());
      QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
      QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    }
    // The mail address keeps its place unless the web address would run into it.
    QCOMPARE(form.LabelEmail->y(), 42);
    QCOMPARE(form.LabelEmail->x(), std::max(190, form.LabelWebSite->geometry().right() + 6));
    QVERIFY(!form.LabelWebSite->geometry().intersects(form.LabelEmail->geometry()));
    QCOMPARE(form.LabelLoading->geometry(), QRect(362, 339, 120, 13));
    QCOMPARE(form.OKBtn->geometry(), QRect(423, 368, 70, 25));
    QCOMPARE(form.OKBtn->text(), QStringLiteral("OK"));
    QVERIFY(form.OKBtn->font().bold());
    QCOMPARE(form.TimerSplash->interval(), 250);
    QVERIFY(!form.TimerSplash->isActive());
  }

  void shortWebAddressLeavesTheMailAddressInPlace() {
    SplashTexts texts = DefaultTexts();
    texts.webSiteUrl = QStringLiteral("a.example");
    TFrmSplash form(texts, ThisProgram(), QString());
    QCOMPARE(form.LabelEmail->pos(), QPoint(190, 42));
    QCOMPARE(form.PanelAboutus->width(), 313);
  }

  void programWithoutVersionShowsVersionAlone() {
    testenv::TempFolder folder;
    testenv::WriteFile(folder / "plain", "no resource here");
    TFrmSplash form(DefaultTexts(), QString::fromStdString(folder / "plain"), QString());
    QCOMPARE(form.LBVersion->text(), QStringLiteral("Version "));
  }

  void splashTicksAndClosesItself() {
    TFrmSplash form(DefaultTexts(), ThisProgram(), QString());
    form.PrepareSplash(true);
    form.show();
    QVERIFY(form.LabelLoading->isVisibleTo(&form));
    QVERIFY(!form.OKBtn->isVisibleTo(&form));
    QVERIFY(form.TimerSplash->isActive());
    QStringList texts{form.LabelLoading->text()};
    for (int tick = 1; tick <= 6; ++tick) {
      form.TimerSplashTimer();
      texts << form.LabelLoading->text();
      QVERIFY(form.isVisible());
    }
    QCOMPARE(texts, (QStringList{"Loading ", "Loading .", "Loading ..", "Loading ...",
                                 "Loading ....", "Loading .....", "Loading ......"}));
    form.TimerSplashTimer();
    QCOMPARE(form.ticks(), 7);
    QVERIFY(!form.TimerSplash->isActive());
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.LabelLoading->text(), QStringLiteral("Loading ......"));
  }

  void modalSplashReturnsAfterItsSeventhTick() {
    TFrmSplash form(DefaultTexts(), ThisProgram(), QString());
    form.TimerSplash->setInterval(0); // the ticks come as fast as the loop runs
    form.ShowSplash(true);
    QCOMPARE(form.ticks(), 7);
    QCOMPARE(form.LabelLoading->text(), QStringLiteral("Loading ......"));
    QVERIFY(!form.isVisible());
  }

  void aboutModeWaitsForOk() {
    TFrmSplash form(DefaultTexts(), ThisProgram(), QString());
    form.ShowSplash(true);
    // Later, from the menu: no loading line, an OK button, and no timer.
    bool stayedOpen = false;
    QTimer::singleShot(0, &form, [&] {
      QCoreApplication::processEvents();
      stayedOpen = form.isVisible() && !form.TimerSplash->isActive() &&
                   !form.LabelLoading->isVisible() && form.OKBtn->isVisible();
      QTest::mouseClick(form.OKBtn, Qt::LeftButton);
    });
    form.ShowSplash(false);
    QVERIFY(stayedOpen);
    QVERIFY(!form.isVisible());
    QCOMPARE(form.ticks(), 7);
  }

  void linksOpenTheirTargets() {
    const QString longAddress =
        QStringLiteral("www.salvora.example/") + QString(300, QLatin1Char('x'));
    SplashTexts texts = DefaultTexts();
    texts.webSiteUrl = longAddress;
    texts.email = QStringLiteral("help desk@salvora.example");
    TFrmSplash form(texts, ThisProgram(), QString());
    std::vector<std::string> opened;
    form.setDocumentOpener([&](const std::string& target) { opened.push_back(target); });
    form.PrepareSplash(false);
    form.show();
    QTest::mouseClick(form.LabelWebSite, Qt::LeftButton);
    QTest::mouseClick(form.LabelEmail, Qt::LeftButton);
    QTest::mouseClick(form.LBVersion, Qt::LeftButton);
    QCOMPARE(opened.size(), std::size_t{2});
    // Whole, however long; with the scheme the shell needs to open it as a web page.
    QCOMPARE(QString::fromStdString(opened[0]), "http://" + longAddress);
    QCOMPARE(opened[1], std::string("mailto:help desk@salvora.example"));
  }

  void aLinkOpensOnlyWhenPressedAndReleasedOnIt() {
    TFrmSplash form(DefaultTexts(), ThisProgram(), QString());
    std::vector<std::string> opened;
    form.setDocumentOpener([&](const std::string& target) { opened.push_back(target); });
    form.PrepareSplash(false);
    form.show();
    QLabel* link = form.LabelWebSite;
    // Pressed on it, released off it: the link keeps the mouse and gets the release outside.
    QTest::mousePress(link, Qt::LeftButton, {}, link->rect().center());
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(link->width() + 15, -10));
    // Released on it after a press elsewhere.
    QTest::mousePress(form.LBVersion, Qt::LeftButton);
    QTest::mouseRelease(link, Qt::LeftButton, {}, link->rect().center());
    QVERIFY(opened.empty());
    QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
    QCOMPARE(opened, std::vector<std::string>{"http://www.salvora.example"});
  }

  void escapeOnTheSplashStopsItsTimer() {
    TFrmSplash form(DefaultTexts(), ThisProgram(), QString());
    QTimer::singleShot(0, &form, [&] { QTest::keyClick(&form, Qt::Key_Escape); });
    form.ShowSplash(true);
    QVERIFY(!form.isVisible());
    QVERIFY(form.ticks() < 7);
    // A tick left running would close the about window when it is opened later.
    QVERIFY(!form.TimerSplash->isActive());
  }

  void dataSplashReplacesTheArtwork() {
    testenv::TempFolder folder;
    QImage replacement(501, 400, QImage::Format_RGB32);
    replacement.fill(QColor(200, 20, 20));
    QDir().mkpath(QString::fromStdString(folder / "Data"));
    QVERIFY(replacement.save(QString::fromStdString(folder / "Data/splash.bmp"), "BMP"));
    TFrmSplash form(DefaultTexts(), ThisProgram(), QString::fromStdString(folder.path() + "/"));
    QCOMPARE(form.CoolForm->picture().pixelColor(10, 10), QColor(200, 20, 20));
    QCOMPARE(form.size(), QSize(501, 400));
  }

  void draggingTheArtworkMovesTheWindow() {
    TFrmSplash form(DefaultTexts(), ThisProgram(), QString());
    form.PrepareSplash(false);
    form.show();
    QSignalSpy moves(form.CoolForm, &skin::TCoolForm::windowMoveStarted);
    QTest::mousePress(form.CoolForm, Qt::LeftButton, {}, QPoint(250, 100));
    QCOMPARE(moves.count(), 1);
  }

  void screenshot() {
    TFrmSplash form(DefaultTexts(), ThisProgram(), QString());
    form.PrepareSplash(false);
    form.show();
    QVERIFY(form.grab().save(QStringLiteral(ABOUT_SCREENSHOT_DIR "/about_window.png")));
    form.TimerSplash->stop();
    form.PrepareSplash(true);
    form.TimerSplashTimer();
    form.TimerSplashTimer();
    form.TimerSplash->stop();
    QVERIFY(form.grab().save(QStringLiteral(ABOUT_SCREENSHOT_DIR "/splash_window.png")));
  }

  void helpWarningsAreWarningBoxes() {
    QString title, text;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      title = box->windowTitle();
      text = box->text();
      buttons = box->standardButtons();
      box->accept();
    });
    SystemHelpServices().warn("Function ShellExecute(HH.EXE, -mapid 10 h.chm)\rReturned: x");
    QCOMPARE(title, QStringLiteral("Warning"));
    QCOMPARE(text, QStringLiteral("Function ShellExecute(HH.EXE, -mapid 10 h.chm)\nReturned: x"));
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  }

  void f1RaisesTheFocusedControlsHelpContext() {
    InstallHelpKey(qApp);
    std::vector<std::pair<unsigned, long>> requests;
    SetApplicationHelpHandler([&](unsigned command, long data, bool& callDefault) {
      requests.emplace_back(command, data);
      callDefault = false;
      return true;
    });
    QWidget page;
    auto* inner = new QLabel(QStringLiteral("x"), &page);
    auto* plain = new QWidget;
    SetHelpContext(&page, 40);
    page.show();
    QTest::keyClick(inner, Qt::Key_F1);
    QTest::keyClick(plain, Qt::Key_F1); // no context anywhere: no request
    QTest::keyClick(inner, Qt::Key_F2);
    delete plain;
    SetApplicationHelpHandler({});
    QCOMPARE(requests.size(), std::size_t{1});
    QCOMPARE(requests[0], (std::pair<unsigned, long>{HELP_CONTEXT, 40}));
  }
};

} // namespace about

QTEST_MAIN(about::SplashTest)
#include "splash_test.moc"
