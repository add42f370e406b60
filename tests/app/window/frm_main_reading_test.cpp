// Reading and finding mail in the window: folders named as in Outlook Express, the filter on
// "Search", reading a row, and the save formats of "Save Files", driven through the widgets.
#include "app/platform_services.h"
#include "app/window/qt_message_pump.h"
#include "app/window/recovered_emails_model.h"
#include "app/window/recovered_emails_view.h"
#include "skin/hs_skin_btn.h"
#include "window_harness.h"

#include <QApplication>
#include <QHeaderView>
#include <QListWidget>

using namespace windowtest;

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
};

namespace {
int RunTests(int argc, char** argv) {
  QApplication application(argc, argv);
  app::InstallPlatformServices();
  window::InstallQtMessagePump();
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
