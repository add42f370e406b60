#include "destination_tree.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMouseEvent>

namespace window {

DestinationTree::DestinationTree(QWidget* parent)
    : QTreeView(parent), folders_(new QFileSystemModel(this)) {
  folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  folders_->setReadOnly(true);
  folders_->setRootPath(QDir::rootPath());
  setModel(folders_);
  for (int column = 1; column < folders_->columnCount(); ++column)
    hideColumn(column);
  setHeaderHidden(true);
  setRootIsDecorated(false); // no root lines
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setRootIndex(folders_->index(QDir::rootPath()));
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this] { emit folderChanged(SelectedFolder()); });
  // Folders are read in the background: scroll again once the chosen one's siblings are in.
  connect(folders_, &QFileSystemModel::directoryLoaded, this, [this] {
    if (currentIndex().isValid())
      scrollTo(currentIndex(), QAbstractItemView::PositionAtTop);
  });
}

bool DestinationTree::SelectFolder(const QString& path) {
  QModelIndex index = folders_->index(QDir::cleanPath(path));
  if (!index.isValid() || !folders_->isDir(index))
    return false;
  for (QModelIndex above = index.parent(); above.isValid(); above = above.parent())
    expand(above);
  setCurrentIndex(index);
  scrollTo(index, QAbstractItemView::PositionAtTop);
  return true;
}

QString DestinationTree::SelectedFolder() const {
  QModelIndex index = currentIndex();
  return index.isValid() ? folders_->filePath(index) : QString();
}

void DestinationTree::mousePressEvent(QMouseEvent* event) {
  // A right click selects as well.
  if (event->button() == Qt::RightButton) {
    QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
      setCurrentIndex(index);
  }
  QTreeView::mousePressEvent(event);
}

} // namespace window
