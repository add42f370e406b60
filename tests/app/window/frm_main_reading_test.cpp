// Reading and finding mail in the window: folders named as in Outlook Express, the filter on
// "Search", reading a row, and the save formats of "Save Files", driven through the widgets.
#include "app/display_text.h"
#include "app/platform_services.h"
#include "app/window/destination_tree.h"
#include "app/window/recovered_emails_model.h"
#include "app/window/recovered_emails_view.h"
#include "skin/hs_skin_btn.h"
#include "window_harness.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using namespace windowtest;
using window::RunState;

namespace {

QStringList ColumnTexts(window::TFrmMain& frm, int column) {
  QStringList texts;
  const QAbstractItemModel* model = frm.LVRecoveredEmails->model();
  for (int row = 0; row < model->rowCount(); ++row)
    texts << model->index(row, column).data().toString();
  return texts;
}

QStringList FolderListTexts(window::TFrmMain& frm) {
  QStringList texts;
  for (int i = 0; i < frm.CBFolderList->count(); ++i)
    texts << frm.CBFolderList->item(i)->text();
  return texts;
}

void ClickHeader(window::TFrmMain& frm, int column) {
  QHeaderView* header = frm.LVRecoveredEmails->header();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    {header->sectionViewportPosition(column) + 10, header->height() / 2});
}

// The subjects of the ticked rows, in the list's order.
QStringList TickedSubjects(window::TFrmMain& frm) {
  QStringList subjects;
  for (const auto& row : frm.Engine().List().Rows())
    if (row.ticked)
      subjects << QString::fromStdString(app::DisplayText(row.subject));
  return subjects;
}

void TypeFilter(window::TFrmMain& frm, const QString& text) {
  frm.EditFilter->selectAll();
  QTest::keyClick(frm.EditFilter, Qt::Key_Delete);
  QTest::keyClicks(frm.EditFilter, text);
}

int MboxMessages(const std::string& path) {
  const std::string text = testenv::ReadFile(path);
  int count = text.starts_with("From ");
  for (std::size_t at = text.find("\nFrom "); at != std::string::npos;
       at = text.find("\nFrom ", at + 1))
    ++count;
  return count;
}

// A copy of the demo store, whose Folders.dbx names its five folder files, with a sixth file
// it does not name.
std::string DemoStoreWithAStrayFile(Harness& h) {
  const std::string store = h.Path("store");
  fs::copy(SALVORA_DEMO_STORE, store);
  WriteFolderFile(store + "/Stray.dbx", 2);
  return store;
}

} // namespace

class FrmMainReadingTest : public QObject {
  Q_OBJECT

private slots:
  void FoldersShowTheirPlacesInOutlookExpress() {
    Harness h;
    window::TFrmMain& frm = h.Open({QString::fromStdString(DemoStoreWithAStrayFile(h))});
    // In the order of the places; Projects.dbx holds the folder "Floor plans" under "Work".
    const QStringList places{
        "Local Folders/Deleted Items", "Local Folders/Drafts",           "Local Folders/Inbox",
        "Local Folders/Sent Items",    "Local Folders/Work/Floor plans", "Stray.dbx"};
    QCOMPARE(FolderListTexts(frm), places);
    QCOMPARE(frm.CBFolderList->item(4)->toolTip(), QString("Projects.dbx"));

    // The tick of a place is the tick of its file.
    Harness::Click(frm.SelectNoneFolderBtn);
    frm.CBFolderList->item(4)->setCheckState(Qt::Checked);
    h.ClickNext();
    QCOMPARE(h.WorkingCopies(), std::vector<std::string>{"Projects.dbx"});
    QCOMPARE(ColumnTexts(frm, app::kFolderColumn),
             QStringList(2, "Local Folders/Work/Floor plans"));
    const QModelIndex folder = frm.LVRecoveredEmails->model()->index(0, app::kFolderColumn);
    QCOMPARE(folder.data(Qt::ToolTipRole).toString(),
             QString("Local Folders/Work/Floor plans (Projects.dbx)"));
  }

  void TheFolderColumnSortsByThePlacesShown() {
    Harness h;
    window::TFrmMain& frm = h.Open({QString::fromStdString(DemoStoreWithAStrayFile(h))});
    Harness::Click(frm.SelectAllFolderBtn);
    h.ClickNext();
    QCOMPARE(frm.Engine().List().Count(), std::size_t(17));
    ClickHeader(frm, app::kFolderColumn);
    // By file name Projects.dbx would come before Sent Items.dbx.
    QStringList expected;
    for (const auto& [place, count] :
         std::vector<std::pair<QString, int>>{{"Local Folders/Deleted Items", 3},
                                              {"Local Folders/Drafts", 1},
                                              {"Local Folders/Inbox", 7},
                                              {"Local Folders/Sent Items", 2},
                                              {"Local Folders/Work/Floor plans", 2},
                                              {"Stray.dbx", 2}})
      expected << QStringList(count, place);
    QCOMPARE(ColumnTexts(frm, app::kFolderColumn), expected);
  }

  void TheFilterShowsMatchingRowsAndLeavesHiddenTicksAlone() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    Harness::Click(frm.SelectAllFolderBtn);
    h.ClickNext();
    const QStringList deleted{"Lunch next week?", "You have been selected!!!",
                              "Re: Quarterly figures", "Reuni\u00F3n del martes",
                              "Floor plans, revision B"};
    QCOMPARE(TickedSubjects(frm), deleted);

    // Sender or recipient, letters of any case; accented ones too.
    struct Case {
      QString text;
      QStringList subjects;
    };
    const Case cases[] = {
        {"tom.KELLER",
         {"Quarterly figures", "Signed contract", "Re: Quarterly figures", "Agenda for Thursday"}},
        {"GR\u00DC\u00DFE",
         {"Gr\u00FC\u00DFe aus M\u00FCnchen", "Danke f\u00FCr die Gr\u00FC\u00DFe"}},
        {"FLOOR plans", {"Floor plans, revision C", "Floor plans, revision B"}},
        {"nobody@nowhere", {}},
    };
    for (const Case& c : cases) {
      TypeFilter(frm, c.text);
      QCOMPARE(ColumnTexts(frm, app::kSubjectColumn), c.subjects);
      QCOMPARE(frm.LabelImagesFound->text(), QString("%1 of 15").arg(c.subjects.size()));
    }

    // Select None and a tick act on the rows shown only.
    TypeFilter(frm, "tom.keller");
    Harness::Click(frm.SelectNoneBtn);
    QTest::mouseClick(frm.LVRecoveredEmails->viewport(), Qt::LeftButton, {},
                      frm.LVRecoveredEmails->CheckImageRect(1).center()); // Signed contract
    QStringList ticked = deleted;
    ticked.removeOne("Re: Quarterly figures");
    ticked.insert(2, "Signed contract");
    QCOMPARE(TickedSubjects(frm), ticked);
    TypeFilter(frm, "revision");
    Harness::Click(frm.SelectAllBtn);
    ticked.insert(4, "Floor plans, revision C");
    QCOMPARE(TickedSubjects(frm), ticked);

    // Without a filter every row shows again, each with its tick, and the count is plain.
    TypeFilter(frm, "");
    QCOMPARE(frm.LVRecoveredEmails->model()->rowCount(), 15);
    QCOMPARE(frm.LabelImagesFound->text(), QString("15"));
    QCOMPARE(TickedSubjects(frm), ticked);
  }

  void SaveFilesWritesTheFormatChosen_data() {
    QTest::addColumn<int>("downs"); // presses of the down key on "Save as"
    QTest::addColumn<QStringList>("written");
    QTest::newRow("eml") << 0
                         << QStringList{"Floor_plans__revision_B.eml", "Lunch_next_week_.eml",
                                        "Re__Quarterly_figures.eml", "Reuni_n_del_martes.eml",
                                        "You_have_been_selected___.eml"};
    // One mbox or Maildir per folder, named after the folder: Projects.dbx is "Floor plans".
    QTest::newRow("mbox") << 1
                          << QStringList{"Deleted Items.mbox:2", "Floor plans.mbox:1",
                                         "Inbox.mbox:2"};
    QTest::newRow("maildir") << 2
                             << QStringList{"Deleted Items/cur:2", "Floor plans/cur:1",
                                            "Inbox/cur:2"};
  }
  void SaveFilesWritesTheFormatChosen() {
    QFETCH(int, downs);
    QFETCH(QStringList, written);
    Harness h;
    window::TFrmMain& frm = h.Open();
    Harness::Click(frm.SelectAllFolderBtn);
    h.ClickNext();
    h.ClickNext();
    QVERIFY(frm.TVDestinationFolder->SelectFolder(QString::fromStdString(h.Out())));
    frm.CBSaveFormat->setFocus();
    for (int i = 0; i < downs; ++i)
      QTest::keyClick(frm.CBSaveFormat, Qt::Key_Down);
    Harness::Click(frm.SaveBtn);
    QCOMPARE(h.boxes.back().text, QString("Selected E-mails successfully recovered."));
    QStringList found;
    for (const std::string& name : FileNames(h.Out())) {
      const std::string path = h.Out() + "/" + name;
      if (name.ends_with(".mbox")) // messages counted by their "From " lines
        found << QString::fromStdString(name + ":" + std::to_string(MboxMessages(path)));
      else if (fs::is_directory(path))
        found << QString::fromStdString(name +
                                        "/cur:" + std::to_string(FileNames(path + "/cur").size()));
      else
        found << QString::fromStdString(name);
    }
    QCOMPARE(found, written);
  }

  void TheFilterTakesRowsTheScanAddsAfterIt() {
    Harness h;
    fs::create_directories(h.Path("store"));
    WriteFolderFile(h.Path("store/Inbox.dbx"), 3000); // beyond the rows shown at once
    window::TFrmMain& frm = h.Open({QString::fromStdString(h.Path("store/Inbox.dbx"))});
    ClicksDuringRun clicks(frm);
    clicks.Add(
        RunState::Scanning, [&] { QTest::keyClicks(frm.EditFilter, "m12"); },
        [&] { return frm.Engine().List().Count() >= 20; });
    h.ClickNext();
    QVERIFY(clicks.AllDone());
    QCOMPARE(frm.Engine().List().Count(), std::size_t(3000));
    // m12, m120 ... m129 and m1200 ... m1299, in the order found; held back rows included.
    QTRY_COMPARE(frm.LVRecoveredEmails->model()->rowCount(), 111);
    QStringList expected{"m12"};
    for (int i = 120; i < 130; ++i)
      expected << QString("m%1").arg(i);
    for (int i = 1200; i < 1300; ++i)
      expected << QString("m%1").arg(i);
    QCOMPARE(ColumnTexts(frm, app::kSubjectColumn), expected);
    QCOMPARE(frm.LabelImagesFound->text(), QString("111 of 3000"));
  }
};

namespace {
// Every pump lets the window work, so a click planned for a run happens at its first pump.
void PumpEveryTime() {
  QCoreApplication::processEvents();
}

int RunTests(int argc, char** argv) {
  QApplication application(argc, argv);
  app::InstallPlatformServices();
  platform::SetMessagePump(&PumpEveryTime);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  testenv::ScopedVariable zone("TZ", "UTC");
  FrmMainReadingTest test;
  return QTest::qExec(&test, argc, argv);
}
} // namespace

int main(int argc, char** argv) {
  return RunTests(argc, argv);
}

#include "frm_main_reading_test.moc"
