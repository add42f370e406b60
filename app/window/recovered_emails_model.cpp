#include "recovered_emails_model.h"

#include "app/display_text.h"

#include <QPixmap>
#include <array>

namespace window {
namespace {

using namespace app;

constexpr std::array<const char*, kColumnCount> kHeaders = {"Select", "Folder", "",        "",
                                                            "From:",  "To:",    "Subject", "Date"};
constexpr std::array<int, kColumnCount> kWidths = {45, 75, 20, 20, 75, 75, 150, 70};

// Up to this many rows, new ones show at once; beyond, in batches this many ms apart.
constexpr int kImmediateRows = 1000;
constexpr qint64 kBatchMs = 100;
constexpr int kUnticked = 0, kTicked = 1, kDeletedImage = 2, kAttachmentImage = 3, kFoundImage = 10;

// The kind column's image and what its tooltip says of the row.
int KindImage(const TEmailMessage& message) {
  return message.Found ? kFoundImage : message.Deleted ? kDeletedImage : -1;
}

QVariant KindToolTip(const TEmailMessage& message) {
  if (message.Found)
    return message.Chain.Fragment ? "Found by the deep scan; its beginning is lost"
                                  : "Found by the deep scan";
  return message.Deleted ? QVariant("Deleted E-mail") : QVariant();
}

// The folder's place, and its file when the place is not simply the file's name.
QVariant FolderToolTip(const std::string& shown, const std::string& file_name) {
  const QString file = QString::fromStdString(DisplayText(file_name));
  const QString place = QString::fromStdString(shown);
  return place == file ? place : place + " (" + file + ")";
}

} // namespace

RecoveredEmailsModel::RecoveredEmailsModel(RecoveredList& list, const QList<QImage>& images,
                                           QObject* parent)
    : QAbstractTableModel(parent), list_(list), published_rows_(static_cast<int>(list.Count())) {
  for (const QImage& image : images)
    icons_.push_back(QIcon(QPixmap::fromImage(image)));
  while (icons_.size() <= kFoundImage)
    icons_.push_back(QIcon());
  publish_timer_.setSingleShot(true);
  connect(&publish_timer_, &QTimer::timeout, this, &RecoveredEmailsModel::PublishRows);
  list_.SetDisplayConversion(
      [this](int column, const std::string& text) { return ShownText(column, text); });
}

RecoveredEmailsModel::~RecoveredEmailsModel() {
  list_.SetDisplayConversion([](int, const std::string& text) { return DisplayText(text); });
}

void RecoveredEmailsModel::SetFolderNames(const std::vector<FolderFile>& folders) {
  folder_names_.clear();
  for (const FolderFile& folder : folders)
    folder_names_[folder.name] = DisplayText(folder.display_path);
  if (rowCount() > 0)
    emit dataChanged(index(0, kFolderColumn), index(rowCount() - 1, kFolderColumn));
}

std::string RecoveredEmailsModel::ShownText(int column, const std::string& text) const {
  if (column == kFolderColumn) {
    const auto named = folder_names_.find(text);
    if (named != folder_names_.end())
      return named->second;
  }
  return DisplayText(text);
}

int RecoveredEmailsModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid())
    return 0;
  return Filtered() ? static_cast<int>(shown_.size()) : published_rows_;
}

std::size_t RecoveredEmailsModel::ListIndex(int row) const {
  return Filtered() ? shown_.at(static_cast<std::size_t>(row)) : static_cast<std::size_t>(row);
}

bool RecoveredEmailsModel::Matches(std::size_t list_index) const {
  const RecoveredRow& row = list_[list_index];
  for (int column : {kFromColumn, kToColumn, kSubjectColumn})
    if (QString::fromStdString(ShownText(column, row.Text(column)))
            .contains(filter_, Qt::CaseInsensitive))
      return true;
  return false;
}

void RecoveredEmailsModel::Refilter() {
  shown_.clear();
  if (!Filtered())
    return;
  for (std::size_t i = 0; i < static_cast<std::size_t>(published_rows_); ++i)
    if (Matches(i))
      shown_.push_back(i);
}

void RecoveredEmailsModel::SetFilter(const QString& text) {
  if (locked_ || text == filter_)
    return;
  beginResetModel();
  filter_ = text;
  Refilter();
  endResetModel();
}

int RecoveredEmailsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant RecoveredEmailsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount())
    return {};
  const std::size_t list_index = ListIndex(index.row());
  if (list_index >= list_.Count())
    return {}; // the list was emptied, and the view is about to hear of it
  const RecoveredRow& row = list_[list_index];
  const int column = index.column();
  switch (role) {
  case Qt::DisplayRole:
    return column == kSelectColumn || column == kDeletedColumn || column == kAttachmentColumn
               ? QVariant()
               : QVariant(QString::fromStdString(ShownText(column, row.Text(column))));
  case Qt::DecorationRole:
    switch (column) {
    case kSelectColumn:
      return icons_[row.ticked ? kTicked : kUnticked];
    case kFolderColumn:
      return icons_[std::clamp(row.folder_image, 0, 9)];
    case kDeletedColumn:
      return KindImage(row.message) < 0 ? QVariant() : icons_[KindImage(row.message)];
    case kAttachmentColumn:
      return row.message.HasAttachment ? icons_[kAttachmentImage] : QVariant();
    default:
      return {};
    }
  case Qt::TextAlignmentRole:
    if (column == kDeletedColumn || column == kAttachmentColumn)
      return int(Qt::AlignCenter);
    return {};
  case Qt::ToolTipRole:
    if (column == kDeletedColumn)
      return KindToolTip(row.message);
    if (column == kFolderColumn)
      return FolderToolTip(ShownText(column, row.Text(column)), row.message.FolderFileName);
    return column >= kFromColumn
               ? QVariant(QString::fromStdString(ShownText(column, row.Text(column))))
               : QVariant();
  default:
    return {};
  }
}

QVariant RecoveredEmailsModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
    return {};
  if (role == Qt::DisplayRole)
    return QString(kHeaders[static_cast<std::size_t>(section)]);
  if (role == Qt::DecorationRole && section == kDeletedColumn)
    return icons_[kDeletedImage];
  if (role == Qt::DecorationRole && section == kAttachmentColumn)
    return icons_[kAttachmentImage];
  return {};
}

void RecoveredEmailsModel::RowsAppended() {
  if (static_cast<int>(list_.Count()) <= published_rows_)
    return;
  const qint64 waited = since_published_.isValid() ? since_published_.elapsed() : kBatchMs;
  if (published_rows_ >= kImmediateRows && waited < kBatchMs) {
    if (!publish_timer_.isActive())
      publish_timer_.start(static_cast<int>(kBatchMs - waited));
    return;
  }
  PublishRows();
}

void RecoveredEmailsModel::PublishRows() {
  publish_timer_.stop();
  const int count = static_cast<int>(list_.Count());
  if (count <= published_rows_)
    return;
  since_published_.start();
  if (!Filtered()) {
    beginInsertRows({}, published_rows_, count - 1);
    published_rows_ = count;
    endInsertRows();
    return;
  }
  std::vector<std::size_t> matching;
  for (std::size_t i = static_cast<std::size_t>(published_rows_);
       i < static_cast<std::size_t>(count); ++i)
    if (Matches(i))
      matching.push_back(i);
  published_rows_ = count;
  if (matching.empty())
    return;
  const int first = static_cast<int>(shown_.size());
  beginInsertRows({}, first, first + static_cast<int>(matching.size()) - 1);
  shown_.insert(shown_.end(), matching.begin(), matching.end());
  endInsertRows();
}

void RecoveredEmailsModel::ListReset() {
  beginResetModel();
  published_rows_ = static_cast<int>(list_.Count());
  Refilter();
  endResetModel();
}

void RecoveredEmailsModel::Toggle(int row) {
  if (locked_)
    return;
  if (row < 0 || row >= rowCount())
    return;
  list_.Toggle(ListIndex(row));
  emit dataChanged(index(row, kSelectColumn), index(row, kSelectColumn), {Qt::DecorationRole});
}

void RecoveredEmailsModel::AllChecksChanged() {
  if (rowCount() > 0)
    emit dataChanged(index(0, kSelectColumn), index(rowCount() - 1, kSelectColumn),
                     {Qt::DecorationRole});
}

void RecoveredEmailsModel::SetShownTicks(bool ticked) {
  if (locked_)
    return;
  if (!Filtered()) {
    ticked ? list_.SelectAll() : list_.SelectNone(); // also rows not yet published
  } else {
    for (std::size_t list_index : shown_)
      list_.SetTicked(list_index, ticked);
  }
  AllChecksChanged();
}

void RecoveredEmailsModel::SelectAll() {
  SetShownTicks(true);
}

void RecoveredEmailsModel::SelectNone() {
  SetShownTicks(false);
}

void RecoveredEmailsModel::ColumnClick(int column) {
  if (locked_)
    return;
  // Every row may move: a reset drops the selection rather than leave it on other rows.
  beginResetModel();
  list_.ColumnClick(column);
  published_rows_ = static_cast<int>(list_.Count());
  Refilter();
  endResetModel();
}

int RecoveredEmailsModel::ColumnWidth(int column) {
  return column >= 0 && column < kColumnCount ? kWidths[static_cast<std::size_t>(column)] : 0;
}

bool RecoveredEmailsModel::FixedWidth(int column) {
  return column == kSelectColumn || column == kDeletedColumn || column == kAttachmentColumn;
}

} // namespace window
