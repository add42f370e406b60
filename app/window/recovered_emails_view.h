// The report view of the result list: whole-row selection, header clicks sort, and a press
// on a row's check image flips its tick (a press anywhere else only selects).
#pragma once

#include <QTreeView>

namespace window {

class RecoveredEmailsModel;

class RecoveredEmailsView : public QTreeView {
  Q_OBJECT

public:
  explicit RecoveredEmailsView(QWidget* parent = nullptr);

  void setEmailsModel(RecoveredEmailsModel* model);

  // Where a row's check image is drawn, in viewport coordinates.
  QRect CheckImageRect(int row) const;

protected:
  void mousePressEvent(QMouseEvent* event) override;

private:
  RecoveredEmailsModel* emails_ = nullptr;
};

} // namespace window
