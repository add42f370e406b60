// Reading and finding mail in the window: folders named as in Outlook Express, the filter on
// "Search", reading a row, and the save formats of "Save Files", driven through the widgets.
#include "about/application_help.h"
#include "about/hh_funcs.h"
#include "app/display_text.h"
#include "app/platform_services.h"
#include "app/window/destination_tree.h"
#include "app/window/message_body.h"
#include "app/window/message_window.h"
#include "app/window/recovered_emails_model.h"
#include "app/window/recovered_emails_view.h"
#include "skin/hs_skin_btn.h"
#include "window_harness.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

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

// Enter on a row of the list, as shown, with the keyboard's focus on the list.
void PressEnterOn(window::TFrmMain& frm, int row) {
  window::RecoveredEmailsView* view = frm.LVRecoveredEmails;
  view->setFocus();
  view->setCurrentIndex(view->model()->index(row, app::kSubjectColumn));
  QTest::keyClick(view, Qt::Key_Return);
}

// A double-click as the window system delivers it to a widget: the first click, then the
// second press as a double-click event.
void DoubleClick(QWidget* widget, QPoint at) {
  QTest::mouseClick(widget, Qt::LeftButton, {}, at);
  QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
  QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

QPoint CellCentre(window::TFrmMain& frm, int row, int column) {
  window::RecoveredEmailsView* view = frm.LVRecoveredEmails;
  return view->visualRect(view->model()->index(row, column)).center();
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

  void EveryDemoMessageReadsInTheView() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    Harness::Click(frm.SelectAllFolderBtn);
    h.ClickNext();
    window::TFrmMessage& view = *frm.FrmMessage;
    QVERIFY(!view.isVisible());
    const QAbstractItemModel* model = frm.LVRecoveredEmails->model();
    for (int row = 0; row < model->rowCount(); ++row) {
      PressEnterOn(frm, row);
      QVERIFY(view.isVisible());
      const QString subject = model->index(row, app::kSubjectColumn).data().toString();
      QCOMPARE(view.EditSubject->text(), subject);
      QCOMPARE(view.windowTitle(), subject);
      QCOMPARE(view.EditFolder->text(), model->index(row, app::kFolderColumn).data().toString());
      QCOMPARE(view.EditDate->text(), model->index(row, app::kDateColumn).data().toString());
      QVERIFY2(!view.MemoBody->toPlainText().trimmed().isEmpty(), qPrintable(subject));
      QVERIFY(!view.LabelFragment->isVisible());
      QCOMPARE(frm.LVRecoveredEmails->currentIndex().row(), row); // the list keeps its place
      view.close();
    }
    QVERIFY(h.boxes.empty());
  }

  void AttachmentsOfAMessageAreSavedFromTheView() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    Harness::Click(frm.SelectAllFolderBtn);
    h.ClickNext();
    // Found through the filter: the row shown is the second of the filtered list.
    TypeFilter(frm, "contract");
    DoubleClick(frm.LVRecoveredEmails->viewport(), CellCentre(frm, 0, app::kFromColumn));
    window::TFrmMessage& view = *frm.FrmMessage;
    QVERIFY(view.isVisible());
    QCOMPARE(view.EditSubject->text(), QString("Signed contract"));
    QCOMPARE(view.EditFolder->text(), QString("Local Folders/Inbox"));
    QCOMPARE(view.LBAttachments->count(), 1);
    QCOMPARE(view.LBAttachments->item(0)->text(),
             QString("contract.pdf (application/pdf, 5.9 kB)"));
    h.attachment_choice = QString::fromStdString(h.Out());
    QTest::mouseClick(view.SaveAttachmentBtn, Qt::LeftButton);
    QCOMPARE(FileNames(h.Out()), std::vector<std::string>{"contract.pdf"});
    QVERIFY(testenv::ReadFile(h.Out() + "/contract.pdf").starts_with("%PDF"));
  }

  void ADoubleClickOnACheckImageOnlyTicks() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    h.ClickNext(); // Deleted Items: three rows
    const bool ticked = frm.Engine().List()[1].ticked;
    DoubleClick(frm.LVRecoveredEmails->viewport(),
                frm.LVRecoveredEmails->CheckImageRect(1).center());
    QCOMPARE(frm.Engine().List()[1].ticked, ticked); // two clicks, two flips
    QVERIFY(!frm.FrmMessage->isVisible());
  }

  void FragmentsAndDamagedRowsOpenCalmly() {
    Harness h;
    fs::create_directories(h.Path("store"));
    dbxtest::StoreBuilder builder;
    const int letter = builder.AddMessage("From: a@example.org\r\nSubject: long letter\r\n\r\n" +
                                          std::string(600, 'a') + "\r\nThe middle survives.\r\n" +
                                          std::string(600, 'b') + "\r\n");
    builder.AddMessage("From: b@example.org\r\nSubject: whole\r\n\r\nShort.\r\n");
    dbxtest::DbxImage image = builder.Build();
    image.PutBytes(builder.DataOffset(letter), std::string(528, '\0')); // its first block
    image.WriteTo(h.Path("store/Inbox.dbx"));
    window::TFrmMain& frm = h.Open({QString::fromStdString(h.Path("store/Inbox.dbx"))});
    Harness::Click(frm.CBDeepScan);
    h.ClickNext();
    const auto& rows = frm.Engine().List().Rows();
    const auto fragment = std::find_if(rows.begin(), rows.end(), [](const auto& row) {
      return row.message.Found && row.message.Chain.Fragment;
    });
    QVERIFY(fragment != rows.end());
    // Every row opens: the live one whose first block is gone shows an empty message.
    window::TFrmMessage& view = *frm.FrmMessage;
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
      PressEnterOn(frm, row);
      QVERIFY(view.isVisible());
      QCOMPARE(view.LabelFragment->isVisible(), row == fragment - rows.begin());
    }
    PressEnterOn(frm, static_cast<int>(fragment - rows.begin()));
    QVERIFY(view.MemoBody->toPlainText().contains("The middle survives."));
    QVERIFY(view.EditFrom->text().isEmpty());
    QVERIFY(h.boxes.empty());
  }

  void TheViewWaitsForEveryRun() {
    Harness h;
    fs::create_directories(h.Path("store"));
    dbxtest::StoreBuilder builder;
    // A long message whose reading pumps many times, then short ones.
    builder.AddMessage("From: a@example.org\r\nSubject: big\r\n\r\n" + std::string(2 << 20, 'x') +
                       "\r\n");
    for (int i = 0; i < 1500; ++i)
      builder.AddMessage("From: a@example.org\r\nSubject: m" + std::to_string(i) + "\r\n\r\n" +
                         std::string(600, 'x') + "\r\n");
    builder.Build().WriteTo(h.Path("store/Inbox.dbx"));
    window::TFrmMain& frm = h.Open({QString::fromStdString(h.Path("store/Inbox.dbx"))});
    window::TFrmMessage& view = *frm.FrmMessage;

    ClicksDuringRun scanning(frm);
    scanning.Add(RunState::Scanning, [&] { PressEnterOn(frm, 0); });
    scanning.Add(RunState::Scanning, [&] {
      DoubleClick(frm.LVRecoveredEmails->viewport(), CellCentre(frm, 0, app::kSubjectColumn));
    });
    h.ClickNext();
    QVERIFY(scanning.AllDone());
    QVERIFY(!view.isVisible());

    // While the big one is read, another row, Next and Back wait.
    ClicksDuringRun reading(frm);
    reading.Add(RunState::Reading, [&] { frm.LVRecoveredEmailsOpen(1); });
    reading.Add(RunState::Reading, [&] { h.ClickNext(); });
    reading.Add(RunState::Reading, [&] { h.ClickLeftSlot(); });
    PressEnterOn(frm, 0);
    QVERIFY(reading.AllDone());
    QCOMPARE(view.EditSubject->text(), QString("big"));
    QCOMPARE(frm.ActivePage(), frm.TSScan);
    QCOMPARE(frm.CurrentRun(), RunState::Idle);
    QCOMPARE(frm.focusWidget(), frm.LVRecoveredEmails); // back where it was
    view.close();

    Harness::Click(frm.SelectAllBtn);
    h.ClickNext();
    frm.TVDestinationFolder->SelectFolder(QString::fromStdString(h.Out()));
    ClicksDuringRun saving(frm);
    saving.Add(RunState::Saving, [&] { frm.LVRecoveredEmailsOpen(0); });
    Harness::Click(frm.SaveBtn);
    QVERIFY(saving.AllDone());
    QVERIFY(!view.isVisible());
  }

  void F1OnTheNewPartsOpensTheirHelp() {
    Harness h;
    window::TFrmMain& frm = h.Open();
    std::vector<long> contexts;
    about::HelpHandler hook =
        about::SetApplicationHelpHandler([&](unsigned command, long data, bool& callDefault) {
          if (command == about::HELP_CONTEXT)
            contexts.push_back(data);
          callDefault = false;
          return true;
        });
    h.ClickNext();
    QTest::keyClick(frm.EditFilter, Qt::Key_F1);
    QTest::keyClick(frm.LVRecoveredEmails, Qt::Key_F1); // the page's own
    PressEnterOn(frm, 0);
    QTest::keyClick(frm.FrmMessage->MemoBody, Qt::Key_F1);
    frm.FrmMessage->close();
    h.ClickNext();
    QTest::keyClick(frm.CBSaveFormat, Qt::Key_F1);
    about::SetApplicationHelpHandler(std::move(hook));
    QCOMPARE(contexts, (std::vector<long>{90, 30, 90, 90}));
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
