// The main window driven as a person would: clicks on the real buttons, the list and its
// header; message boxes answered through the test hook.
#include "app/window/destination_tree.h"
#include "app/window/frm_main.h"
#include "app/window/message_boxes.h"
#include "app/window/qt_message_pump.h"
#include "app/window/recovered_emails_model.h"
#include "app/window/recovered_emails_view.h"
#include "dbx_writer.h"
#include "platform/pump.h"
#include "scoped_environment.h"
#include "skin/cool_form.h"
#include "skin/ez_rgn_btn.h"
#include "skin/gauge.h"
#include "skin/hs_skin_btn.h"
#include "text/ascii.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>

namespace fs = std::filesystem;
using window::BoxAnswer;
using window::BoxKind;

namespace {

struct Box {
  BoxKind kind;
  QString title;
  QString text;
};

// A window over a store of its own, with every file it touches in temporary folders.
class Harness {
public:
  explicit Harness(const std::string& prefix = SALVORA_DEMO_PREFIX)
      : home_("HOME", folder_.path()), config_("XDG_CONFIG_HOME", folder_ / "config"),
        wine_("WINEPREFIX", prefix) {
    fs::create_directories(folder_ / "program");
    fs::create_directories(folder_ / "tmp");
    fs::create_directories(folder_ / "out");
    window::SetMessageBoxHook([this](BoxKind kind, const QString& title, const QString& text) {
      boxes.push_back({kind, title, text});
      return answer;
    });
  }
  ~Harness() {
    frm.reset();
    window::SetMessageBoxHook({});
    platform::SetStopRequested(false);
  }

  window::TFrmMain& Open(QStringList arguments = {}) {
    window::StartOptions options;
    options.program_folder = folder_ / "program/";
    options.temp_dir = folder_ / "tmp/";
    options.arguments = arguments;
    options.show_about = [this](bool loading) { about_shown.push_back(loading); };
    options.open_document = [this](const QString& target) { opened.push_back(target); };
    frm = std::make_unique<window::TFrmMain>(options);
    frm->show();
    return *frm;
  }

  static void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
  }
  // A click where the user sees the button: the widget in front at that spot gets it.
  void ClickAt(QPoint window_point) {
    QWidget* target = frm->childAt(window_point);
    QVERIFY(target != nullptr);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(frm.get(), window_point));
  }
  void ClickNext() { ClickAt({605, 435}); }
  void ClickLeftSlot() { ClickAt({548, 435}); }

  std::vector<std::string> WorkingCopies() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_ / "tmp"))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string Out() const { return folder_ / "out"; }
  std::string Path(const std::string& name) const { return folder_ / name; }

  std::unique_ptr<window::TFrmMain> frm;
  std::vector<Box> boxes;
  BoxAnswer answer = BoxAnswer::Ok;
  std::vector<bool> about_shown;
  std::vector<QString> opened;

private:
  testenv::TempFolder folder_;
  testenv::ScopedVariable home_, config_, wine_;
};

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

  void HeaderClicksSortAndChecksToggleOnlyOnTheImage() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    Harness::Click(frm.SelectAllFolderBtn);
    h.ClickNext();
    QHeaderView* header = frm.LVRecoveredEmails->header();
    const int x = header->sectionViewportPosition(app::kSubjectColumn) + 10;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    const auto& list = frm.Engine().List();
    for (std::size_t i = 1; i < list.Count(); ++i)
      QVERIFY(text::CompareIgnoringAsciiCase(list[i - 1].subject, list[i].subject) <= 0);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    QVERIFY(!list.SortAscending());
    QVERIFY(text::CompareIgnoringAsciiCase(list[0].subject, list[list.Count() - 1].subject) >= 0);

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
    fs::remove(h.Path("tmp/Deleted Items.dbx"));
    Harness::Click(frm.SaveBtn);
    QCOMPARE(h.boxes.back().kind, BoxKind::Error);
    QCOMPARE(h.boxes.back().title, QString("Salvora for Outlook Express"));
    QCOMPARE(h.boxes.back().text,
             QString::fromStdString("Cannot open file " + h.Path("tmp/Deleted Items.dbx") + "."));
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
  window::InstallQtMessagePump(); // as the program does: the window stays live during a scan
  FrmMainTest test;
  return QTest::qExec(&test, argc, argv);
}
} // namespace

int main(int argc, char** argv) {
  return RunTests(argc, argv);
}

#include "frm_main_test.moc"
