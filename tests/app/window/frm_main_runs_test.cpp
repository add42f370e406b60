// Clicks while the window is busy: during the copy step, the scan and the save, whatever a
// person clicks changes nothing the run walks, every ticked message is written once, and the
// boxes say what happened.
#include "app/window/destination_tree.h"
#include "app/window/qt_message_pump.h"
#include "app/window/recovered_emails_model.h"
#include "app/window/recovered_emails_view.h"
#include "skin/ez_rgn_btn.h"
#include "skin/hs_skin_btn.h"
#include "window_harness.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>

using namespace windowtest;
using window::RunState;

namespace {

int TickedRows(window::TFrmMain& frm) {
  int ticked = 0;
  for (const auto& row : frm.Engine().List().Rows())
    ticked += row.ticked;
  return ticked;
}

// Where a person sees a control of a page, in window coordinates.
QPoint WindowPointOf(window::TFrmMain& frm, QWidget* widget, QPoint at) {
  return widget->mapTo(&frm, at);
}
QPoint WindowPointOf(window::TFrmMain& frm, QWidget* widget) {
  return WindowPointOf(frm, widget, widget->rect().center());
}

void ClickHeader(window::TFrmMain& frm, int column) {
  QHeaderView* header = frm.LVRecoveredEmails->header();
  const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

// The messages m0 ... m(count - 1), each saved once under its own name.
std::vector<std::string> OneFileEach(int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i)
    names.push_back("m" + std::to_string(i) + ".eml");
  std::sort(names.begin(), names.end());
  return names;
}

// A window over `count` messages in "store/Inbox.dbx", scanned, every row ticked, on the
// "Save Files" page with the destination chosen.
window::TFrmMain& ReadyToSave(Harness& h, int count) {
  fs::create_directories(h.Path("store"));
  WriteFolderFile(h.Path("store/Inbox.dbx"), count);
  window::TFrmMain& frm = h.Open({QString::fromStdString(h.Path("store/Inbox.dbx"))});
  h.ClickNext();
  Harness::Click(frm.SelectAllBtn);
  h.ClickNext();
  frm.TVDestinationFolder->SelectFolder(QString::fromStdString(h.Out()));
  return frm;
}

} // namespace

class FrmMainRunsTest : public QObject {
  Q_OBJECT

private slots:
  void ClicksDuringTheCopyChangeNothing() {
    Harness h;
    fs::create_directories(h.Path("store"));
    fs::create_directories(h.Path("other"));
    const int folders = 8;
    for (int i = 0; i < folders; ++i)
      WriteFolderFile(h.Path("store/F" + std::to_string(i) + ".dbx"), 30, 2);
    WriteFolderFile(h.Path("other/Elsewhere.dbx"), 3);
    h.store_choice = QString::fromStdString(h.Path("other"));
    window::TFrmMain& frm = h.Open({QString::fromStdString(h.Path("store"))});
    Harness::Click(frm.SelectAllFolderBtn);

    ClicksDuringRun clicks(frm);
    clicks.Add(RunState::Copying, [&] { Harness::Click(frm.RefreshBtn); });
    clicks.Add(RunState::Copying, [&] { Harness::Click(frm.OpenStoreBtn); });
    clicks.Add(RunState::Copying, [&] { h.ClickNext(); });
    clicks.Add(RunState::Copying, [&] { h.ClickNext(); });
    clicks.Add(RunState::Copying, [&] { Harness::Click(frm.SelectNoneFolderBtn); });
    clicks.Add(RunState::Copying, [&] {
      const QRect item = frm.CBFolderList->visualItemRect(frm.CBFolderList->item(0));
      QTest::mouseClick(frm.CBFolderList->viewport(), Qt::LeftButton, {},
                        QPoint(item.left() + 8, item.center().y()));
    });
    h.ClickNext();

    QVERIFY(clicks.AllDone());
    QCOMPARE(h.store_dialogs, 0);
    QCOMPARE(frm.CBFolderList->count(), folders);
    for (int i = 0; i < folders; ++i)
      QCOMPARE(frm.CBFolderList->item(i)->checkState(), Qt::Checked);
    QCOMPARE(h.WorkingCopies().size(), std::size_t(folders));
    // One copy, then one scan of every folder.
    QCOMPARE(frm.ActivePage(), frm.TSScan);
    QCOMPARE(frm.Engine().List().Count(), std::size_t(folders * 30));
    QCOMPARE(frm.StartBtn->text(), QString("Stop"));
    QVERIFY(!frm.StartBtn->isEnabled());
    QVERIFY(h.boxes.empty());
    QCOMPARE(frm.CurrentRun(), RunState::Idle);
    QVERIFY(QApplication::overrideCursor() == nullptr); // no hourglass left behind
    QVERIFY(frm.TSSelectDrive->isEnabled());
  }

  void ClicksDuringASaveChangeNothing() {
    Harness h;
    const int count = 3000;
    window::TFrmMain& frm = ReadyToSave(h, count);
    QCOMPARE(TickedRows(frm), count);

    ClicksDuringRun clicks(frm);
    clicks.Add(RunState::Saving, [&] { h.ClickLeftSlot(); }); // Back
    clicks.Add(RunState::Saving, [&] { h.ClickNext(); });     // Home
    clicks.Add(RunState::Saving, [&] { ClickHeader(frm, app::kSubjectColumn); });
    clicks.Add(RunState::Saving, [&] { ClickHeader(frm, app::kDateColumn); });
    clicks.Add(RunState::Saving, [&] {
      QTest::mouseClick(frm.LVRecoveredEmails->viewport(), Qt::LeftButton, {},
                        frm.LVRecoveredEmails->CheckImageRect(0).center()); // a tick
    });
    clicks.Add(RunState::Saving, [&] { Harness::Click(frm.SelectNoneBtn); });
    clicks.Add(RunState::Saving, [&] { Harness::Click(frm.SaveBtn); });
    clicks.Add(RunState::Saving, [&] { QTest::keyClick(frm.BackBtn, Qt::Key_Space); });
    clicks.Add(RunState::Saving, [&] { QTest::keyClicks(frm.EditFilter, "m1"); });
    clicks.Add(RunState::Saving, [&] { frm.EditFilterChange("m1"); }); // queued before the save
    clicks.Add(RunState::Saving, [&] { QTest::keyClick(frm.CBSaveFormat, Qt::Key_Down); });
    Harness::Click(frm.SaveBtn);

    QVERIFY(clicks.AllDone());
    QCOMPARE(FileNames(h.Out()), OneFileEach(count));
    QCOMPARE(h.boxes.size(), std::size_t(1));
    QCOMPARE(h.boxes[0].kind, BoxKind::Information);
    QCOMPARE(h.boxes[0].text, QString("Selected E-mails successfully recovered."));
    QCOMPARE(frm.ActivePage(), frm.TSSaveFile);
    QCOMPARE(frm.Engine().List().SortColumn(), -1);
    QCOMPARE(TickedRows(frm), count);
    QVERIFY(frm.EmailsModel().Filter().isEmpty());
    QCOMPARE(frm.CBSaveFormat->currentIndex(), 0);
    QCOMPARE(frm.LVRecoveredEmails->model()->rowCount(), count);
    QCOMPARE(frm.CurrentRun(), RunState::Idle);
    QVERIFY(frm.BackBtn->isUsable());
    QVERIFY(frm.HomeBtn->isUsable());
    QVERIFY(!frm.EmailsModel().Locked());
  }

  // As reported: Select All, Next, Select All, Next, Save, then Back and two clicks on column
  // headers while the save runs, on a folder file of 5,500 messages.
  void TheReportedClickSequenceSavesEveryMessage() {
    Harness h;
    const int count = 5500;
    fs::create_directories(h.Path("store"));
    WriteFolderFile(h.Path("store/Inbox.dbx"), count);
    window::TFrmMain& frm = h.Open({QString::fromStdString(h.Path("store"))});
    QHeaderView* header = frm.LVRecoveredEmails->header();
    auto header_point = [&](int column) {
      return WindowPointOf(
          frm, header->viewport(),
          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    };
    h.ClickAt(WindowPointOf(frm, frm.SelectAllFolderBtn));
    h.ClickNext();
    QCOMPARE(frm.Engine().List().Count(), std::size_t(count));
    const QPoint subject_header = header_point(app::kSubjectColumn);
    const QPoint from_header = header_point(app::kFromColumn);
    h.ClickAt(WindowPointOf(frm, frm.SelectAllBtn));
    h.ClickNext();
    frm.TVDestinationFolder->SelectFolder(QString::fromStdString(h.Out()));

    ClicksDuringRun clicks(frm);
    clicks.Add(RunState::Saving, [&] { h.ClickLeftSlot(); });
    clicks.Add(RunState::Saving, [&] { h.ClickAt(subject_header); });
    clicks.Add(RunState::Saving, [&] { h.ClickAt(from_header); });
    h.ClickAt(WindowPointOf(frm, frm.SaveBtn));

    QVERIFY(clicks.AllDone());
    QCOMPARE(FileNames(h.Out()).size(), std::size_t(count));
    QCOMPARE(FileNames(h.Out()), OneFileEach(count));
    QCOMPARE(h.boxes.size(), std::size_t(1));
    QCOMPARE(h.boxes[0].text, QString("Selected E-mails successfully recovered."));
    QVERIFY(frm.isVisible());
    QCOMPARE(frm.CurrentRun(), RunState::Idle);
  }

  void ASaveCutShortSaysHowFarItGot_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("error");
    QTest::addColumn<bool>("closes");
    QTest::newRow("close button") << "close button" << false << true;
    QTest::newRow("window closed") << "window closed" << false << true;
    QTest::newRow("destination gone") << "destination gone" << true << false;
  }
  void ASaveCutShortSaysHowFarItGot() {
    QFETCH(QString, how);
    QFETCH(bool, error);
    QFETCH(bool, closes);
    Harness h;
    const int count = 600;
    window::TFrmMain& frm = ReadyToSave(h, count);
    ClicksDuringRun clicks(frm);
    clicks.Add(
        RunState::Saving,
        [&] {
          if (how == "close button")
            Harness::Click(frm.CloseBtn);
          else if (how == "window closed")
            frm.close();
          else // the folder moves away: the files written stay whole under its new name
            fs::rename(h.Out(), h.Out() + "-moved");
        },
        [&] { return FileNames(h.Out()).size() >= 10; });
    Harness::Click(frm.SaveBtn);

    QVERIFY(clicks.AllDone());
    // Whole files only, no leftovers.
    const std::size_t written = FileNames(error ? h.Out() + "-moved" : h.Out()).size();
    QVERIFY(written >= 10 && written < std::size_t(count));
    const QString how_far = QString("%1 of %2 e-mails saved").arg(written).arg(count);
    QCOMPARE(h.boxes.size(), std::size_t(error ? 2 : 1));
    if (error) {
      QCOMPARE(h.boxes[0].kind, BoxKind::Error);
      QVERIFY2(h.boxes[0].text.startsWith(QString::fromStdString("Cannot create file " + h.Out())),
               qPrintable(h.boxes[0].text));
    }
    QCOMPARE(h.boxes.back().kind, BoxKind::Warning);
    QCOMPARE(h.boxes.back().text, how_far);
    QCOMPARE(frm.isVisible(), !closes);
    QCOMPARE(frm.CurrentRun(), RunState::Idle);
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }

  void ClosingDuringACopyOrAScanWaitsForItToWindDown_data() {
    QTest::addColumn<bool>("during_copy");
    QTest::newRow("copy") << true;
    QTest::newRow("scan") << false;
  }
  void ClosingDuringACopyOrAScanWaitsForItToWindDown() {
    QFETCH(bool, during_copy);
    Harness h;
    fs::create_directories(h.Path("store"));
    const int folders = during_copy ? 8 : 1;
    const int messages = during_copy ? 5 : 3000;
    for (int i = 0; i < folders; ++i)
      WriteFolderFile(h.Path("store/F" + std::to_string(i) + ".dbx"), messages);
    window::TFrmMain& frm = h.Open({QString::fromStdString(h.Path("store"))});
    Harness::Click(frm.SelectAllFolderBtn);
    ClicksDuringRun clicks(frm);
    if (during_copy)
      clicks.Add(RunState::Copying, [&] { Harness::Click(frm.CloseBtn); });
    else
      clicks.Add(
          RunState::Scanning, [&] { Harness::Click(frm.CloseBtn); },
          [&] { return frm.Engine().List().Count() >= 10; });
    h.ClickNext();

    QVERIFY(clicks.AllDone());
    QVERIFY(!frm.isVisible());
    QVERIFY(h.boxes.empty());
    QCOMPARE(frm.CurrentRun(), RunState::Idle);
    QVERIFY(QApplication::overrideCursor() == nullptr);
    if (during_copy) {
      // The copy ends with its files; no scan starts after it.
      QCOMPARE(frm.ActivePage(), frm.TSSelectDrive);
      QCOMPARE(frm.Engine().List().Count(), std::size_t(0));
    } else {
      QVERIFY(frm.Engine().List().Count() < std::size_t(messages));
    }
  }
};

namespace {
int RunTests(int argc, char** argv) {
  QApplication application(argc, argv);
  platform::SetMessagePump(&PumpEveryTime);
  FrmMainRunsTest test;
  return QTest::qExec(&test, argc, argv);
}
} // namespace

int main(int argc, char** argv) {
  return RunTests(argc, argv);
}

#include "frm_main_runs_test.moc"
