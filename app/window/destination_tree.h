// The destination folder tree: the file system's folders from the root, folders only, with
// the platform's icons. The selected folder is where the save run writes.
#pragma once

#include <QTreeView>

class QFileSystemModel;

namespace window {

class DestinationTree : public QTreeView {
  Q_OBJECT

public:
  explicit DestinationTree(QWidget* parent = nullptr);

  // Selects `path` (expanding the folders above it) and scrolls it to the top. False when the
  // folder does not exist.
  bool SelectFolder(const QString& path);
  // The selected folder's path; empty when nothing is selected.
  QString SelectedFolder() const;

signals:
  void folderChanged(const QString& path);

protected:
  void mousePressEvent(QMouseEvent* event) override;

private:
  QFileSystemModel* folders_;
};

} // namespace window
