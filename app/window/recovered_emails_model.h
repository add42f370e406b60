// The result list as a Qt model over the engine's RecoveredList: eight columns, the check,
// folder, deleted and attachment images, and texts converted for display.
#pragma once

#include "app/folder_list.h"
#include "app/recovered_list.h"

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QIcon>
#include <QList>
#include <QTimer>
#include <map>
#include <string>
#include <vector>

namespace window {

class RecoveredEmailsModel : public QAbstractTableModel {
  Q_OBJECT

public:
  // `images` are the list's ten pictures: unticked, ticked, deleted, attachment, in-tray and
  // the five folder kinds. The model shows and sorts the list's texts as ShownText gives them.
  RecoveredEmailsModel(app::RecoveredList& list, const QList<QImage>& images,
                       QObject* parent = nullptr);
  ~RecoveredEmailsModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The list gained rows at its end (the scan added them). Once the list is long, new rows
  // are shown in batches at most every 100 ms: each batch makes the view lay out every row.
  void RowsAppended();
  // The scan ended: every row it added shows now, none waits for the next batch.
  void AllRowsAppended() { PublishRows(); }
  // The list was emptied or reordered as a whole.
  void ListReset();

  // While the list is locked (a save writes what was ticked), ticks, Select All/None, the
  // filter and sorting change nothing.
  void SetLocked(bool locked) { locked_ = locked; }
  bool Locked() const { return locked_; }

  // Shows only the rows whose From, To or Subject, as shown, contains `text`, letters compared
  // by their Unicode case folding (QString::contains, Qt::CaseInsensitive); an empty text
  // shows every row. Rows the scan adds later are filtered as they come; hidden rows keep
  // their ticks.
  void SetFilter(const QString& text);
  const QString& Filter() const { return filter_; }
  bool Filtered() const { return !filter_.isEmpty(); }
  // The index in the engine's list of a row the model shows.
  std::size_t ListIndex(int row) const;

  // Rows are the rows shown: the toggle and Select All/None leave hidden rows as they are.
  void Toggle(int row);
  void SelectAll();
  void SelectNone();
  // A click on a column header: sorts by the column's rules.
  void ColumnClick(int column);

  // The folder files' places in Outlook Express ("Local Folders/Inbox"), which the Folder
  // column shows for their file names; a file the folders do not name shows its file name.
  void SetFolderNames(const std::vector<app::FolderFile>& folders);
  // A row's text in a column as the list shows it (UTF-8, see DisplayText).
  std::string ShownText(int column, const std::string& text) const;

  // Column widths of the list: "Select" 45, "Folder" 75, two markers of 20, "From:" 75,
  // "To:" 75, "Subject" 150, "Date" 70.
  static int ColumnWidth(int column);
  static bool FixedWidth(int column);

private:
  void AllChecksChanged();
  void PublishRows();
  void SetShownTicks(bool ticked);
  bool Matches(std::size_t list_index) const;
  // The rows shown among the published ones, after the list changed as a whole.
  void Refilter();

  app::RecoveredList& list_;
  std::map<std::string, std::string> folder_names_; // file name -> shown place
  QList<QIcon> icons_;
  int published_rows_ = 0; // the list's first rows, which the view has been told of
  QString filter_;
  std::vector<std::size_t> shown_; // with a filter, the list indices of the rows shown
  bool locked_ = false;
  QElapsedTimer since_published_;
  QTimer publish_timer_;
};

} // namespace window
