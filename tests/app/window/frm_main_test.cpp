// The main window driven as a person would: clicks on the real buttons, the list and its
// header, keys; message boxes answered through the test hook.
#include "about/application_help.h"
#include "about/hh_funcs.h"
#include "app/platform_services.h"
#include "app/window/destination_tree.h"
#include "app/window/locale_text.h"
#include "app/window/qt_message_pump.h"
#include "app/window/recovered_emails_model.h"
#include "app/window/recovered_emails_view.h"
#include "skin/cool_form.h"
#include "skin/ez_rgn_btn.h"
#include "skin/gauge.h"
#include "skin/hs_skin_btn.h"
#include "window_harness.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QStackedWidget>

using namespace windowtest;

namespace {

// A folder file of messages with the given subjects and Date fields (none when empty).
void WriteMessages(const std::string& path,
                   const std::vector<std::pair<std::string, std::string>>& subject_and_date) {
  dbxtest::StoreBuilder builder;
  for (const auto& [subject, date] : subject_and_date)
    builder.AddMessage("From: a@example.org\r\nSubject: " + subject + "\r\n" +
                       (date.empty() ? "" : "Date: " + date + "\r\n") + "\r\nHello.\r\n");
  builder.Build().WriteTo(path);
}

QStringList ColumnTexts(window::TFrmMain& frm, int column) {
  QStringList texts;
  const QAbstractItemModel* model = frm.LVRecoveredEmails->model();
  for (int row = 0; row < model->rowCount(); ++row)
    texts << model->index(row, column).data().toString();
  return texts;
}

// Presses Tab until `target` has the focus; false when a whole round does not reach it.
bool TabTo(QWidget* target) {
  for (int i = 0; i < 40 && QApplication::focusWidget() != target; ++i)
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  return QApplication::focusWidget() == target;
}

QSet<QWidget*> ReachedByTab() {
  QSet<QWidget*> reached;
  for (int i = 0; i < 40; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    reached << QApplication::focusWidget();
  }
  return reached;
}

int TickedRows(window::TFrmMain& frm) {
  int ticked = 0;
  for (const auto& row : frm.Engine().List().Rows())
    ticked += row.ticked;
  return ticked;
}

} // namespace

class FrmMainTest : public QObject {
  Q_OBJECT

private slots:
  void NextWithNothingTickedWarnsAndStays() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    QCOMPARE(frm.ActivePage(), frm.TSSelectDrive);
    QCOMPARE(frm.CBFolderList->count(), 5); // Folders.dbx and Pop3uidl.dbx are not offered
    Harness::Click(frm.SelectNoneFolderBtn);
    h.ClickNext();
    QCOMPARE(h.boxes.size(), size_t(1));
    QCOMPARE(h.boxes[0].kind, BoxKind::Warning);
    QCOMPARE(h.boxes[0].text, QString("Please select e-mail folder."));
    QCOMPARE(frm.ActivePage(), frm.TSSelectDrive);
    QVERIFY(h.WorkingCopies().empty());
  }

  void FullRecoveryOfTheDemoStore() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    QCOMPARE(frm.LeftSlotFront(), frm.ExitBtn);
    QCOMPARE(frm.RightSlotFront(), frm.NextBtn);
    Harness::Click(frm.SelectAllFolderBtn);
    h.ClickNext(); // copies, shows "Search" and scans
    QCOMPARE(frm.ActivePage(), frm.TSScan);
    QCOMPARE(frm.Engine().List().Count(), size_t(15));
    QCOMPARE(frm.LVRecoveredEmails->model()->rowCount(), 15);
    QCOMPARE(frm.LabelImagesFound->text(), QString("15"));
    QCOMPARE(TickedRows(frm), 5);
    for (const auto& row : frm.Engine().List().Rows())
      QCOMPARE(row.ticked, row.message.Deleted);
    QCOMPARE(frm.StartBtn->text(), QString("Stop"));
    QVERIFY(!frm.StartBtn->isEnabled());
    QCOMPARE(frm.GProgress->percent(), 100);
    QCOMPARE(frm.LeftSlotFront(), frm.BackBtn);
    QCOMPARE(frm.RightSlotFront(), frm.NextBtn);

    h.ClickNext();
    QCOMPARE(frm.ActivePage(), frm.TSSaveFile);
    QCOMPARE(frm.RightSlotFront(), frm.HomeBtn);
    QVERIFY(frm.TVDestinationFolder->SelectFolder(QString::fromStdString(h.Out())));
    QCOMPARE(frm.SavePath, QString::fromStdString(h.Out()));
    Harness::Click(frm.SaveBtn);
    QCOMPARE(h.boxes.back().kind, BoxKind::Information);
    QCOMPARE(h.boxes.back().text, QString("Selected E-mails successfully recovered."));
    QCOMPARE(std::distance(fs::directory_iterator(h.Out()), fs::directory_iterator()), 5);

    // Home after a save asks nothing, removes the working copies and starts over.
    std::size_t boxes = h.boxes.size();
    QVERIFY(!h.WorkingCopies().empty());
    h.ClickNext(); // the right slot now holds Home
    QCOMPARE(h.boxes.size(), boxes);
    QCOMPARE(frm.ActivePage(), frm.TSSelectDrive);
    QVERIFY(h.WorkingCopies().empty());
    QCOMPARE(frm.StartBtn->text(), QString("Start"));
    QVERIFY(frm.StartBtn->isEnabled());
  }

  void HomeAsksWhenTickedRowsAreUnsaved() {
    struct Case {
      BoxAnswer answer;
      bool leaves_page;
      bool saves;
    };
    const Case cases[] = {{BoxAnswer::Cancel, false, false},
                          {BoxAnswer::No, true, false},
                          {BoxAnswer::Yes, true, true}};
    for (const auto& c : cases) {
      Harness h;
      window::TFrmMain& frm = h.Open();
      h.ClickNext(); // Deleted Items is ticked in advance
      h.ClickNext();
      frm.TVDestinationFolder->SelectFolder(QString::fromStdString(h.Out()));
      h.answer = c.answer;
      h.ClickNext(); // Home
      QCOMPARE(h.boxes.front().kind, BoxKind::Confirm);
      QCOMPARE(h.boxes.front().title, QString("Confirm"));
      QCOMPARE(h.boxes.front().text, QString("Do you want to save e-mails?"));
      QCOMPARE(frm.ActivePage(), c.leaves_page ? frm.TSSelectDrive : frm.TSSaveFile);
      QCOMPARE(h.WorkingCopies().empty(), c.leaves_page);
      QCOMPARE(fs::exists(h.Out() + "/Lunch_next_week_.eml"), c.saves);
    }
  }

  void HomeWithoutTickedRowsReturnsWithoutAsking() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    h.ClickNext();
    Harness::Click(frm.SelectNoneBtn);
    h.ClickNext();
    h.ClickNext(); // Home
    QVERIFY(h.boxes.empty());
    QCOMPARE(frm.ActivePage(), frm.TSSelectDrive);
  }

  void BackKeepsRowsTicksAndOrder() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    Harness::Click(frm.SelectAllFolderBtn);
    h.ClickNext();
    frm.EmailsModel().ColumnClick(app::kSubjectColumn);
    const std::string first = frm.Engine().List()[0].subject;
    h.ClickNext();
    h.ClickLeftSlot(); // Back to "Search"
    QCOMPARE(frm.ActivePage(), frm.TSScan);
    QCOMPARE(frm.Engine().List()[0].subject, first);
    QCOMPARE(TickedRows(frm), 5);
    QVERIFY(!frm.StartBtn->isEnabled());
    h.ClickLeftSlot(); // Back to "Drive"
    QCOMPARE(frm.ActivePage(), frm.TSSelectDrive);
    QCOMPARE(frm.LeftSlotFront(), frm.ExitBtn);
    QVERIFY(!frm.BackBtn->isButtonEnabled());
  }

  void AScanThatFindsNothingLeavesBackAndHome() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    fs::create_directories(h.Path("empty-store"));
    dbxtest::DbxImage(0x24BC).WriteTo(h.Path("empty-store/Inbox.dbx"));
    frm.ChooseStoreFolder(QString::fromStdString(h.Path("empty-store")));
    Harness::Click(frm.RefreshBtn);
    Harness::Click(frm.SelectAllFolderBtn);
    h.ClickNext();
    QCOMPARE(frm.Engine().List().Count(), size_t(0));
    QCOMPARE(frm.LeftSlotFront(), frm.BackBtn);
    QCOMPARE(frm.RightSlotFront(), frm.HomeBtn);
    h.ClickNext(); // what the user sees there is Home
    QCOMPARE(frm.ActivePage(), frm.TSSelectDrive);
  }

  void StopDuringAScanOfALargeStore() {
    Harness h;
    fs::create_directories(h.Path("big"));
    {
      dbxtest::StoreBuilder builder;
      for (int i = 0; i < 3000; ++i)
        builder.AddMessage("From: a@example.org\r\nSubject: m" + std::to_string(i) + "\r\n\r\n" +
                           std::string(3000, 'x') + "\r\n");
      builder.Build().WriteTo(h.Path("big/Inbox.dbx"));
    }
    window::TFrmMain& frm = h.Open({QString::fromStdString(h.Path("big/Inbox.dbx"))});
    // Presses Stop once ten rows are listed; runs whenever the scan lets the window work.
    QTimer stopper;
    stopper.setInterval(0);
    QObject::connect(&stopper, &QTimer::timeout, [&] {
      if (frm.Engine().List().Count() >= 10 && frm.StartBtn->text() == "Stop") {
        stopper.stop();
        Harness::Click(frm.StartBtn);
      }
    });
    stopper.start();
    h.ClickNext();
    const std::size_t rows = frm.Engine().List().Count();
    QVERIFY(rows >= 10);
    QVERIFY(rows < 3000);
    QCOMPARE(frm.LVRecoveredEmails->model()->rowCount(), int(rows));
    QVERIFY(!frm.StartBtn->isEnabled());
    QVERIFY(frm.BackBtn->isButtonEnabled());
  }

  void ExitLeavesTheWorkingCopies() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    h.ClickNext();
    Harness::Click(frm.CloseBtn);
    QCOMPARE(h.WorkingCopies(), std::vector<std::string>{"Deleted Items.dbx"});
    QVERIFY(platform::StopRequested());
  }

  void ChecksToggleOnlyOnTheImage() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    Harness::Click(frm.SelectAllFolderBtn);
    h.ClickNext();
    const auto& list = frm.Engine().List();
    const bool before = list[2].ticked;
    QWidget* viewport = frm.LVRecoveredEmails->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {},
                      frm.LVRecoveredEmails->CheckImageRect(2).center());
    QCOMPARE(list[2].ticked, !before);
    QTest::mouseClick(viewport, Qt::LeftButton, {},
                      frm.LVRecoveredEmails->CheckImageRect(2).center());
    QCOMPARE(list[2].ticked, before);
    QRect subject = frm.LVRecoveredEmails->visualRect(
        frm.LVRecoveredEmails->model()->index(2, app::kSubjectColumn));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, subject.center());
    QCOMPARE(list[2].ticked, before);
  }

  void AVanishedWorkingCopyShowsTheErrorBox() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    h.ClickNext();
    h.ClickNext();
    frm.TVDestinationFolder->SelectFolder(QString::fromStdString(h.Out()));
    const int ticked = TickedRows(frm);
    fs::remove(h.Path("tmp/Deleted Items.dbx"));
    Harness::Click(frm.SaveBtn);
    QCOMPARE(h.boxes.size(), std::size_t(2));
    QCOMPARE(h.boxes[0].kind, BoxKind::Error);
    QCOMPARE(h.boxes[0].title, QString("Salvora for Outlook Express"));
    QCOMPARE(h.boxes[0].text,
             QString::fromStdString("Cannot open file " + h.Path("tmp/Deleted Items.dbx") + "."));
    // Then how far the save got, never the success text.
    QCOMPARE(h.boxes[1].kind, BoxKind::Warning);
    QCOMPARE(h.boxes[1].text, QString("0 of %1 e-mails saved").arg(ticked));
    QCOMPARE(frm.ActivePage(), frm.TSSaveFile);
  }

  void HelpMenuWithoutAViewerAndTheHomePage() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    frm.mnu_Help->trigger();
    QCOMPARE(h.boxes.back().text, QString("Cannot load help file."));
    frm.mnu_HomePage->trigger();
    QCOMPARE(h.opened,
             std::vector<QString>{"http://" + QString::fromStdString(frm.Settings().web_site_url)});
    Harness::Click(frm.LogoBtn);
    QCOMPARE(h.about_shown, std::vector<bool>{false});
  }

  void DataPicturesReplaceOnlyWhatIsThereAndKeepTheOutline() {
    QRegion outline;
    QImage built_in_next, built_in_back;
    {
      Harness plain;
      window::TFrmMain& frm = plain.Open();
      outline = frm.mask();
      built_in_next = frm.NextBtn->picIdle();
      built_in_back = frm.BackBtn->picIdle();
    }
    Harness h;
    const std::string data = h.Path("program/Data");
    fs::create_directories(data);
    QImage flat(641, 479, QImage::Format_RGB32);
    flat.fill(QColor(10, 200, 30)); // a picture without any outline of its own
    QVERIFY(flat.save(QString::fromStdString(data + "/main.bmp")));
    QImage next(49, 49, QImage::Format_RGB32);
    next.fill(Qt::red);
    QVERIFY(next.save(QString::fromStdString(data + "/next_buttonnormal.bmp")));
    window::TFrmMain& frm = h.Open();
    QCOMPARE(frm.CoolForm->picture().pixelColor(300, 200), QColor(10, 200, 30));
    QCOMPARE(frm.mask(), outline);
    QVERIFY(!outline.isEmpty());
    QCOMPARE(frm.NextBtn->picIdle().pixelColor(24, 24), QColor(Qt::red));
    QVERIFY(frm.NextBtn->picIdle() != built_in_next);
    QCOMPARE(frm.BackBtn->picIdle(), built_in_back); // no file for it: the built-in one stays
  }

  void TabReachesThePageControlsAndTheButtonsInFront() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    frm.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frm));
    frm.CBFolderList->setFocus();
    QSet<QWidget*> reached = ReachedByTab();
    for (QWidget* control : std::initializer_list<QWidget*>{
             frm.CBFolderList, frm.OpenStoreBtn, frm.SelectAllFolderBtn, frm.SelectNoneFolderBtn,
             frm.RefreshBtn, frm.ExitBtn, frm.NextBtn, frm.CloseBtn, frm.HelpBtn, frm.LogoBtn})
      QVERIFY2(reached.contains(control), qPrintable(control->metaObject()->className()));
    for (QWidget* hidden : std::initializer_list<QWidget*>{frm.BackBtn, frm.HomeBtn,
                                                           frm.LVRecoveredEmails, frm.SaveBtn})
      QVERIFY(!reached.contains(hidden));

    // Space and Enter press what has the focus, which shows its mark.
    QVERIFY(TabTo(frm.SelectNoneFolderBtn));
    QTest::keyClick(frm.SelectNoneFolderBtn, Qt::Key_Space);
    for (int i = 0; i < frm.CBFolderList->count(); ++i)
      QCOMPARE(frm.CBFolderList->item(i)->checkState(), Qt::Unchecked);
    QVERIFY(TabTo(frm.SelectAllFolderBtn));
    QTest::keyClick(frm.SelectAllFolderBtn, Qt::Key_Return);
    QCOMPARE(frm.CBFolderList->item(0)->checkState(), Qt::Checked);
    QVERIFY(TabTo(frm.NextBtn));
    const QImage marked = frm.NextBtn->grab().toImage();
    QTest::keyClick(frm.NextBtn, Qt::Key_Space);
    QCOMPARE(frm.ActivePage(), frm.TSScan);
    QCOMPARE(frm.Engine().List().Count(), std::size_t(15));

    reached = ReachedByTab();
    for (QWidget* control : std::initializer_list<QWidget*>{
             frm.LVRecoveredEmails, frm.SelectAllBtn, frm.SelectNoneBtn, frm.BackBtn, frm.NextBtn})
      QVERIFY(reached.contains(control));
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{frm.ExitBtn, frm.HomeBtn, frm.CBFolderList})
      QVERIFY(!reached.contains(hidden));
    frm.LVRecoveredEmails->setFocus();
    QVERIFY(frm.NextBtn->grab().toImage() != marked);
  }

  void F1OpensTheHelpOfThePageShown() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    std::vector<std::pair<unsigned, long>> requests;
    about::HelpHandler hook =
        about::SetApplicationHelpHandler([&](unsigned command, long data, bool& callDefault) {
          requests.emplace_back(command, data);
          callDefault = false;
          return true;
        });
    frm.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frm));
    auto press_f1_on = [](QWidget* control) {
      control->setFocus();
      QTest::keyClick(control, Qt::Key_F1);
    };
    press_f1_on(frm.CBFolderList);
    press_f1_on(frm.NextBtn); // a control of the window's own, not of a page
    h.ClickNext();
    press_f1_on(frm.LVRecoveredEmails);
    press_f1_on(frm.BackBtn);
    h.ClickNext();
    press_f1_on(frm.HomeBtn);
    about::SetApplicationHelpHandler(std::move(hook));
    const std::vector<std::pair<unsigned, long>> expected{{about::HELP_CONTEXT, 20},
                                                          {about::HELP_CONTEXT, 20},
                                                          {about::HELP_CONTEXT, 30},
                                                          {about::HELP_CONTEXT, 30},
                                                          {about::HELP_CONTEXT, 40}};
    QCOMPARE(requests, expected);
  }

  void HeaderClicksSortTextsAsTheUsersLocaleDoes() {
    Harness h;
    fs::create_directories(h.Path("store"));
    WriteMessages(h.Path("store/Inbox.dbx"), {{"zebra", ""},
                                              {"\xC3\x89"
                                               "clair",
                                               ""},
                                              {"apple", ""},
                                              {"Eagle", ""},
                                              {"Zulu", ""},
                                              {"\xC3\xBC"
                                               "ber",
                                               ""}});
    window::TFrmMain& frm = h.Open({QString::fromStdString(h.Path("store/Inbox.dbx"))});
    h.ClickNext();
    QHeaderView* header = frm.LVRecoveredEmails->header();
    const QPoint subject(header->sectionViewportPosition(app::kSubjectColumn) + 10,
                         header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, subject);
    // Accented letters among their plain ones and case ignored, not byte order.
    const QStringList ascending{"apple", "Eagle", "\u00C9clair", "\u00FCber", "zebra", "Zulu"};
    QCOMPARE(ColumnTexts(frm, app::kSubjectColumn), ascending);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, subject);
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    QCOMPARE(ColumnTexts(frm, app::kSubjectColumn), descending);
  }

  void DatesShowInTheUsersFormatsAndFitTheirColumn() {
    Harness h;
    fs::create_directories(h.Path("store"));
    WriteMessages(h.Path("store/Inbox.dbx"), {{"morning", "Mon, 3 Mar 2003 10:20:30 +0000"},
                                              {"midnight", "Tue, 4 Mar 2003 00:00:00 +0000"},
                                              {"none", ""},
                                              {"night", "Sun, 28 Dec 2003 22:58:58 +0000"}});
    window::TFrmMain& frm = h.Open({QString::fromStdString(h.Path("store/Inbox.dbx"))});
    h.ClickNext();
    // Short date, then the long time unless it is midnight; no date is 30 December 1899.
    const QStringList dates = ColumnTexts(frm, app::kDateColumn);
    QCOMPARE(dates,
             (QStringList{"3/3/03 10:20:30 AM", "3/4/03", "12/30/99", "12/28/03 10:58:58 PM"}));
    QHeaderView* header = frm.LVRecoveredEmails->header();
    const int width = header->sectionSize(app::kDateColumn);
    QVERIFY(width > window::RecoveredEmailsModel::ColumnWidth(app::kDateColumn));
    for (const QString& date : dates)
      QVERIFY2(frm.LVRecoveredEmails->TextWidth(date) <= width, qPrintable(date));
    // Whole in view, also once the list has its scroll bar, without scrolling sideways.
    const int room = frm.LVRecoveredEmails->contentsRect().width() -
                     frm.LVRecoveredEmails->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QVERIFY2(header->sectionPosition(app::kDateColumn) + width <= room,
             qPrintable(QString("%1 + %2 > %3")
                            .arg(header->sectionPosition(app::kDateColumn))
                            .arg(width)
                            .arg(room)));
  }

  void TheWindowIsCentredAndItsGaugeWhite() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    QCOMPARE(frm.geometry().center(),
             QGuiApplication::primaryScreen()->availableGeometry().center());
    const QImage gauge = frm.GProgress->grab().toImage(); // 0 % before a scan
    QCOMPARE(gauge.pixelColor(gauge.width() - 10, gauge.height() / 2), QColor(Qt::white));
  }

  void AStartUpWithoutATemporaryFolderShowsTheErrorAndEnds() {
    Harness h;
    testenv::ScopedVariable tmpdir("TMPDIR", "/proc"); // where no folder can be made
    window::StartOptions options = h.Options();
    options.temp_dir.clear(); // the user's temporary folder
    QVERIFY(window::CreateMainWindow(options) == nullptr);
    QCOMPARE(h.boxes.size(), std::size_t(1));
    QCOMPARE(h.boxes[0].kind, BoxKind::Error);
    QVERIFY2(h.boxes[0].text.startsWith("Cannot create file /proc/salvora-"),
             qPrintable(h.boxes[0].text));
  }

  // The window shows dates in the user's formats; under a locale whose short date and long
  // time read as the command line writes dates, the two must give the same texts.
  void BothProgramsGiveTheSameDateTexts() {
    testenv::ScopedVariable zone("TZ", "IST-5:30"); // half an hour off, no daylight saving
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden)); // yyyy-MM-dd HH:mm:ss
    Harness h;
    fs::create_directories(h.Path("store"));
    fs::create_directories(h.Path("cli-tmp"));
    const std::string inbox = h.Path("store/Inbox.dbx");
    WriteMessages(inbox, {{"evening", "Mon, 3 Mar 2003 20:00:00 +0000"},
                          {"morning", "Mon, 3 Mar 2003 10:20:30 -0800"}});
    window::TFrmMain& frm = h.Open({QString::fromStdString(inbox)});
    h.ClickNext();
    const QStringList window_dates = ColumnTexts(frm, app::kDateColumn);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    QProcess salvora;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", QString::fromStdString(h.Path("cli-tmp")));
    salvora.setProcessEnvironment(environment);
    salvora.start(SALVORA_PROGRAM, {"scan", "--format", "json", QString::fromStdString(inbox)});
    QVERIFY(salvora.waitForFinished(30000));
    QCOMPARE(salvora.exitCode(), 0);
    QStringList cli_dates;
    const QString json = QString::fromUtf8(salvora.readAllStandardOutput());
    for (const auto& match : QRegularExpression("\"date\": \"([^\"]*)\"").globalMatch(json))
      cli_dates << match.captured(1);
    QCOMPARE(window_dates, (QStringList{"2003-03-04 01:30:00", "2003-03-03 23:50:30"}));
    QCOMPARE(cli_dates, window_dates);
  }

  void NoStoreFoundPointsToOpen() {
    Harness h(testenv::TempFolder().path() + "/no-prefix");
    window::TFrmMain& frm = h.Open();
    QCOMPARE(frm.CBFolderList->count(), 0);
    QVERIFY(frm.LabelStoreNotice->isVisible());
    QVERIFY(frm.LabelStoreNotice->text().contains("Open..."));
  }
};

namespace {
int RunTests(int argc, char** argv) {
  QApplication application(argc, argv);
  // As the program does: the same services, and the window stays live during a scan.
  app::InstallPlatformServices();
  window::InstallQtMessagePump();
  // The user's locale and zone, fixed for the texts the tests expect.
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  testenv::ScopedVariable zone("TZ", "UTC");
  FrmMainTest test;
  return QTest::qExec(&test, argc, argv);
}
} // namespace

int main(int argc, char** argv) {
  return RunTests(argc, argv);
}

#include "frm_main_test.moc"
