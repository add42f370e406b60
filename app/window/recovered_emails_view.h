// The report view of the result list: whole-row selection, header clicks sort, and a press
// on a row's check image flips its tick (a press anywhere else only selects).
#pragma once

#include <QFontMetrics>
#include <QStringList>
#include <QTreeView>

namespace window {

class RecoveredEmailsModel;

// A folder's place as the Folder column shows it in `width` pixels: whole when it fits, else
// the folder's own name after "…/" ("…/Inbox"), which the view shortens further if need be.
QString FolderPlaceText(const QString& place, const QFontMetrics& metrics, int width);

class RecoveredEmailsView : public QTreeView {
  Q_OBJECT

public:
  explicit RecoveredEmailsView(QWidget* parent = nullptr);

  void setEmailsModel(RecoveredEmailsModel* model);

  // Where a row's check image is drawn, in viewport coordinates.
  QRect CheckImageRect(int row) const;

  // Widens the Date column, never below its first width, so that each sample shows whole;
  // the samples stand for every date the user's format gives.
  void SetDateSamples(const QStringList& samples);
  // Widens the Date column to the dates of the rows in view should one still not fit.
  void FitDateColumn();
  // The width a text of the list needs in a column, margins included.
  int TextWidth(const QString& text) const;

signals:
  // A double-click on a row (not on its check image) or Enter on the current row.
  void openRequested(int row);

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  bool OnCheckImage(const QModelIndex& index, QPoint at) const;
  // Gives the Date column `width`, narrowing the text columns as far as the view needs.
  void SetDateWidth(int width);

  RecoveredEmailsModel* emails_ = nullptr;
};

} // namespace window
