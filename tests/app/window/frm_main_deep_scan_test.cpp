// The deep scan in the window: the "Deep scan" box on "Drive", and the line on "Search" that
// offers a deep scan of a file that looks damaged, with clicks while that scan runs; and a
// disk image opened with "Open...", deep-scanned where it lies.
#include "app/window/destination_tree.h"
#include "app/window/message_window.h"
#include "app/window/recovered_emails_model.h"
#include "app/window/recovered_emails_view.h"
#include "disk_image.h"
#include "skin/gauge.h"
#include "skin/hs_skin_btn.h"
#include "window_harness.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <fstream>

using namespace windowtest;
using window::RunState;

namespace {

// A folder file whose header was overwritten, so only the deep scan reaches its `count`
// messages (the last one deleted).
void WriteHeaderlessFile(const std::string& path, int count) {
  dbxtest::StoreBuilder builder;
  for (int i = 0; i < count; ++i)
    builder.AddMessage("From: a@example.org\r\nSubject: lost " + std::to_string(i) +
                       "\r\nDate: Mon, 3 Mar 2003 10:20:30 +0000\r\n\r\n" + std::string(900, 'y') +
                       "\r\n");
  builder.DeleteMessage(count - 1);
  dbxtest::DbxImage image = builder.Build();
  image.PutBytes(0, std::string(0x24BC, '\0'));
  image.WriteTo(path);
}

// A store of three damaged files and an intact one, opened with all four ticked.
struct DamagedStore {
  Harness h;
  window::TFrmMain* frm = nullptr;
  DamagedStore() {
    fs::create_directories(h.Path("store"));
    WriteHeaderlessFile(h.Path("store/Inbox.dbx"), 3);
    WriteFolderFile(h.Path("store/Kept.dbx"), 2);
    WriteHeaderlessFile(h.Path("store/Sent Items.dbx"), 40);
    WriteHeaderlessFile(h.Path("store/Zeta.dbx"), 3);
    frm = &h.Open({QString::fromStdString(h.Path("store"))});
    Harness::Click(frm->SelectAllFolderBtn);
  }
};

int FoundRows(window::TFrmMain& frm) {
  int found = 0;
  for (const auto& row : frm.Engine().List().Rows())
    found += row.message.Found && row.ticked;
  return found;
}

} // namespace

class FrmMainDeepScanTest : public QObject {
  Q_OBJECT

private slots:
  void ADamagedFileIsOfferedADeepScanOfItsOwn() {
    DamagedStore store;
    window::TFrmMain& frm = *store.frm;
    QVERIFY(!frm.CBDeepScan->isChecked()); // off until the user ticks it
    store.h.ClickNext();
    QCOMPARE(frm.Engine().List().Count(), std::size_t(2)); // Kept.dbx alone
    QVERIFY(frm.LabelDamaged->isVisible());
    QCOMPARE(frm.LabelDamaged->text(),
             QString("Inbox.dbx looks damaged: a deep scan may find more of its messages."));
    QVERIFY(frm.DeepScanBtn->isVisible());

    Harness::Click(frm.DeepScanBtn);
    QCOMPARE(frm.Engine().List().Count(), std::size_t(5));
    QCOMPARE(FoundRows(frm), 3);
    QCOMPARE(frm.LVRecoveredEmails->model()->rowCount(), 5);
    QCOMPARE(frm.LabelImagesFound->text(), QString("5"));
    QCOMPARE(frm.GProgress->percent(), 100);
    const QModelIndex kind = frm.LVRecoveredEmails->model()->index(4, app::kDeletedColumn);
    QCOMPARE(kind.data(Qt::ToolTipRole).toString(), QString("Found by the deep scan"));
    QVERIFY(!kind.data(Qt::DecorationRole).isNull());
    // Now the next damaged file is offered; once all are done, the line goes.
    QCOMPARE(frm.LabelDamaged->text(),
             QString("Sent Items.dbx looks damaged: a deep scan may find more of its messages."));
    Harness::Click(frm.DeepScanBtn);
    Harness::Click(frm.DeepScanBtn);
    QCOMPARE(FoundRows(frm), 46);
    QVERIFY(!frm.LabelDamaged->isVisible());
    QVERIFY(!frm.DeepScanBtn->isVisible());
    QVERIFY(!frm.StartBtn->isEnabled()); // as after any scan: a new one starts from "Drive"
  }

  void TheDeepScanBoxFindsThemInTheFirstScan() {
    DamagedStore store;
    window::TFrmMain& frm = *store.frm;
    Harness::Click(frm.CBDeepScan);
    QVERIFY(frm.CBDeepScan->isChecked());
    store.h.ClickNext();
    QCOMPARE(frm.Engine().List().Count(), std::size_t(48));
    QCOMPARE(FoundRows(frm), 46);
    QVERIFY(!frm.LabelDamaged->isVisible());
  }

  void AnImageOpenedIsDeepScannedWhereItLies() {
    Harness h;
    fs::create_directories(h.Path("store"));
    WriteFolderFile(h.Path("store/Deleted Items.dbx"), 2); // ticked in advance
    const dbxtest::DiskImage image = dbxtest::TwoStoresInNoise();
    std::ofstream(h.Path("disk.img"), std::ios::binary) << image.bytes();
    h.store_choice = QString::fromStdString(h.Path("disk.img"));
    window::TFrmMain& frm = h.Open({QString::fromStdString(h.Path("store"))});
    Harness::Click(frm.OpenStoreBtn);
    QCOMPARE(h.store_dialogs, 1);
    // The image is listed ticked; the store's files now only when the user ticks them.
    QCOMPARE(frm.CBFolderList->count(), 2);
    for (int i = 0; i < 2; ++i) {
      const QListWidgetItem* item = frm.CBFolderList->item(i);
      QCOMPARE(item->checkState(), item->text() == h.store_choice ? Qt::Checked : Qt::Unchecked);
    }
    h.ClickNext();
    QVERIFY(h.WorkingCopies().empty()); // read where it lies
    QCOMPARE(frm.Engine().List().Count(), std::size_t(6));
    QCOMPARE(FoundRows(frm), 6);
    const QAbstractItemModel* model = frm.LVRecoveredEmails->model();
    QCOMPARE(model->index(0, app::kFolderColumn).data().toString(), QString("disk.img @ 0x1235"));
    frm.LVRecoveredEmailsOpen(4);
    QVERIFY(frm.FrmMessage->isVisible());
    QCOMPARE(frm.FrmMessage->EditSubject->text(), QString("beta1"));
    frm.FrmMessage->close();

    h.ClickNext();
    QVERIFY(frm.TVDestinationFolder->SelectFolder(QString::fromStdString(h.Out())));
    Harness::Click(frm.SaveBtn);
    QCOMPARE(h.boxes.back().text, QString("Selected E-mails successfully recovered."));
    QCOMPARE(FileNames(h.Out()), (std::vector<std::string>{"alpha0.eml", "alpha1.eml", "alpha2.eml",
                                                           "beta0.eml", "beta1.eml", "beta2.eml"}));
    QVERIFY(testenv::ReadFile(h.Path("disk.img")) == image.bytes());

    // Another store chosen: the image goes with the one before.
    frm.HomeBtnClick(); // the mail is saved: straight back to "Drive"
    h.store_choice = QString::fromStdString(h.Path("store"));
    Harness::Click(frm.OpenStoreBtn);
    QCOMPARE(frm.CBFolderList->count(), 1);
    QCOMPARE(frm.CBFolderList->item(0)->checkState(), Qt::Checked);
  }

  void ClicksDuringTheDeepScanOfOneFile() {
    DamagedStore store;
    window::TFrmMain& frm = *store.frm;
    store.h.ClickNext();
    Harness::Click(frm.DeepScanBtn); // Inbox.dbx
    ClicksDuringRun clicks(frm);
    // While the deep scan of one file runs, the offer of the next waits for it to end: a
    // click that reaches its handler, and clicks on Next and the box, change nothing.
    clicks.Add(RunState::Scanning, [&] { frm.DeepScanBtnClick(); });
    clicks.Add(RunState::Scanning, [&] { store.h.ClickNext(); });
    clicks.Add(RunState::Scanning, [&] { Harness::Click(frm.CBDeepScan); });
    // Then Stop, which ends this deep scan with what it found.
    clicks.Add(
        RunState::Scanning, [&] { Harness::Click(frm.StartBtn); },
        [&] { return FoundRows(frm) >= 5; });
    Harness::Click(frm.DeepScanBtn); // Sent Items.dbx
    QVERIFY(clicks.AllDone());
    QCOMPARE(frm.CurrentRun(), RunState::Idle);
    QCOMPARE(frm.ActivePage(), frm.TSScan);
    const int found = FoundRows(frm);
    QVERIFY2(found >= 5 && found < 43, QByteArray::number(found)); // Zeta.dbx's not among them
    QCOMPARE(frm.LabelDamaged->text(),
             QString("Zeta.dbx looks damaged: a deep scan may find more of its messages."));
    QVERIFY(!frm.CBDeepScan->isChecked()); // "Drive" was locked throughout
    QVERIFY(store.h.boxes.empty());
  }
};

namespace {
int RunTests(int argc, char** argv) {
  QApplication application(argc, argv);
  platform::SetMessagePump(&PumpEveryTime);
  FrmMainDeepScanTest test;
  return QTest::qExec(&test, argc, argv);
}
} // namespace

int main(int argc, char** argv) {
  return RunTests(argc, argv);
}

#include "frm_main_deep_scan_test.moc"
