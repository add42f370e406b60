// The list model on a long list: rows the scan appends reach the view, the first ones at once
// and later ones in batches, and none is lost when the scan ends between batches.
#include "app/recovered_list.h"
#include "app/window/recovered_emails_model.h"
#include "app/window/recovered_emails_view.h"

#include <QSignalSpy>
#include <QTest>

namespace {

app::RecoveredRow Row(int i) {
  app::RecoveredRow row;
  row.subject = "message " + std::to_string(i);
  return row;
}

} // namespace

class RecoveredEmailsModelTest : public QObject {
  Q_OBJECT

private slots:
  void ShortListsShowEveryRowAtOnce() {
    app::RecoveredList list;
    window::RecoveredEmailsModel model(list, {});
    for (int i = 0; i < 1000; ++i) {
      list.Add(Row(i));
      model.RowsAppended();
      QCOMPARE(model.rowCount(), i + 1);
    }
  }

  void LongListsShowEveryRowInFewerBatches() {
    app::RecoveredList list;
    window::RecoveredEmailsModel model(list, {});
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    const int rows = 5000;
    for (int i = 0; i < rows; ++i) {
      list.Add(Row(i));
      model.RowsAppended();
    }
    QVERIFY(model.rowCount() >= 1000);
    // The rows held back show once the event loop runs, without another call.
    QTRY_COMPARE(model.rowCount(), rows);
    QVERIFY(inserted.count() < rows);
    QCOMPARE(model.data(model.index(rows - 1, app::kSubjectColumn), Qt::DisplayRole).toString(),
             QString("message 4999"));
  }

  void SortingShowsTheRowsHeldBack() {
    app::RecoveredList list;
    window::RecoveredEmailsModel model(list, {});
    for (int i = 0; i < 3000; ++i) {
      list.Add(Row(i));
      model.RowsAppended();
    }
    model.ColumnClick(app::kSubjectColumn);
    QCOMPARE(model.rowCount(), 3000);
  }

  // The count beside the list reads the list's length as the scan ends: the view must agree.
  void TheScansEndShowsTheRowsHeldBackAtOnce() {
    app::RecoveredList list;
    window::RecoveredEmailsModel model(list, {});
    for (int i = 0; i < 3000; ++i) {
      list.Add(Row(i));
      model.RowsAppended();
    }
    model.AllRowsAppended(); // no event loop has run: the rows held back show without it

    QCOMPARE(model.rowCount(), 3000);
  }

  void ANarrowFolderColumnKeepsTheFoldersOwnName() {
    const QFontMetrics metrics(QFont("DejaVu Sans", 9));
    const QString place = "Local Folders/Work/Floor plans";
    const int whole = metrics.horizontalAdvance(place);
    struct Case {
      QString place;
      int width;
      QString shown;
    };
    const Case cases[] = {
        {place, whole, place},
        {place, whole - 1, "\u2026/Floor plans"},
        {place, 5, "\u2026/Floor plans"}, // the view cuts it further
        {"Inbox.dbx", 5, "Inbox.dbx"},    // a file without a place
    };
    for (const Case& c : cases)
      QCOMPARE(window::FolderPlaceText(c.place, metrics, c.width), c.shown);
  }
};

QTEST_MAIN(RecoveredEmailsModelTest)
#include "recovered_emails_model_test.moc"
