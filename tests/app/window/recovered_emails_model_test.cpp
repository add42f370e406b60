// The list model on a long list: rows the scan appends reach the view, the first ones at once
// and later ones in batches, and none is lost when the scan ends between batches.
#include "app/recovered_list.h"
#include "app/window/recovered_emails_model.h"

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
};

QTEST_MAIN(RecoveredEmailsModelTest)
#include "recovered_emails_model_test.moc"
