#include "recovered_emails_view.h"

#include "app/recovered_email.h"
#include "recovered_emails_model.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <algorithm>

namespace window {
namespace {

// The Folder column's texts, shortened by FolderPlaceText.
class FolderPlaceDelegate : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;

protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    const QStyle* style = option->widget ? option->widget->style() : QApplication::style();
    // The style keeps a margin on either side of the text.
    const int margin =
        style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option->widget) + 1;
    const QRect room = style->subElementRect(QStyle::SE_ItemViewItemText, option, option->widget);
    option->text = FolderPlaceText(option->text, option->fontMetrics, room.width() - 2 * margin);
  }
};

} // namespace

QString FolderPlaceText(const QString& place, const QFontMetrics& metrics, int width) {
  const qsizetype slash = place.lastIndexOf('/');
  if (slash < 0 || metrics.horizontalAdvance(place) <= width)
    return place;
  return QString(QChar(0x2026)) + place.mid(slash); // "…/Inbox"
}

RecoveredEmailsView::RecoveredEmailsView(QWidget* parent) : QTreeView(parent) {
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true); // keeps 100,000 rows cheap to lay out
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(16, 16));
  setSortingEnabled(false); // rows keep the scan's order until a header is clicked
  header()->setSectionsClickable(true);
  header()->setStretchLastSection(false);
  header()->setSectionsMovable(false);
  header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setItemDelegateForColumn(app::kFolderColumn, new FolderPlaceDelegate(this));
}

void RecoveredEmailsView::setEmailsModel(RecoveredEmailsModel* model) {
  emails_ = model;
  setModel(model);
  for (int column = 0; column < app::kColumnCount; ++column) {
    header()->resizeSection(column, RecoveredEmailsModel::ColumnWidth(column));
    if (RecoveredEmailsModel::FixedWidth(column))
      header()->setSectionResizeMode(column, QHeaderView::Fixed);
  }
  connect(header(), &QHeaderView::sectionClicked, model,
          [model](int column) { model->ColumnClick(column); });
}

QRect RecoveredEmailsView::CheckImageRect(int row) const {
  QModelIndex index = model() ? model()->index(row, app::kSelectColumn) : QModelIndex();
  if (!index.isValid())
    return {};
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = visualRect(index);
  option.features |= QStyleOptionViewItem::HasDecoration;
  option.decorationSize = iconSize();
  option.icon = qvariant_cast<QIcon>(index.data(Qt::DecorationRole));
  return style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, this);
}

int RecoveredEmailsView::TextWidth(const QString& text) const {
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.features |= QStyleOptionViewItem::HasDisplay;
  option.text = text;
  return style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).width();
}

void RecoveredEmailsView::SetDateSamples(const QStringList& samples) {
  int width = RecoveredEmailsModel::ColumnWidth(app::kDateColumn);
  for (const QString& sample : samples)
    width = std::max(width, TextWidth(sample));
  SetDateWidth(width);
}

void RecoveredEmailsView::FitDateColumn() {
  const int needed = sizeHintForColumn(app::kDateColumn);
  if (needed > header()->sectionSize(app::kDateColumn))
    SetDateWidth(needed);
}

void RecoveredEmailsView::SetDateWidth(int width) {
  header()->resizeSection(app::kDateColumn, width);
  // The room comes from the longest texts, which keep their tooltips, so that the dates show
  // without scrolling sideways while the list has its scroll bar.
  const int room = contentsRect().width() - style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  int excess = header()->length() - room;
  const std::pair<int, int> givers[] = {
      {app::kSubjectColumn, 100}, {app::kToColumn, 60}, {app::kFromColumn, 60}};
  for (auto [column, narrowest] : givers) {
    const int given = std::clamp(header()->sectionSize(column) - narrowest, 0, std::max(excess, 0));
    header()->resizeSection(column, header()->sectionSize(column) - given);
    excess -= given;
  }
}

bool RecoveredEmailsView::OnCheckImage(const QModelIndex& index, QPoint at) const {
  return index.isValid() && index.column() == app::kSelectColumn &&
         CheckImageRect(index.row()).contains(at);
}

void RecoveredEmailsView::mousePressEvent(QMouseEvent* event) {
  QTreeView::mousePressEvent(event); // selects the row under the pointer
  if (!emails_)
    return;
  const QPoint at = event->position().toPoint();
  const QModelIndex index = indexAt(at);
  if (OnCheckImage(index, at))
    emails_->Toggle(index.row());
}

void RecoveredEmailsView::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const QModelIndex index = indexAt(at);
  // On a check image the second click flips the tick again, as on a check box.
  if (OnCheckImage(index, at)) {
    mousePressEvent(event);
    return;
  }
  QTreeView::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton && index.isValid())
    emit openRequested(index.row());
}

void RecoveredEmailsView::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      currentIndex().isValid()) {
    emit openRequested(currentIndex().row());
    event->accept();
    return;
  }
  QTreeView::keyPressEvent(event);
}

} // namespace window
