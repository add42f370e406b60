#include "recovered_list.h"

#include "display_text.h"
#include "text/ascii.h"

#include <algorithm>

namespace app {

const std::string& RecoveredRow::Text(int column) const {
  static const std::string kNone;
  switch (column) {
  case kFolderColumn:
    return message.FolderFileName;
  case kFromColumn:
    return from;
  case kToColumn:
    return to;
  case kSubjectColumn:
    return subject;
  case kDateColumn:
    return date_text;
  default:
    return kNone;
  }
}

RecoveredList::RecoveredList(TextComparison compare)
    : compare_(compare ? std::move(compare) : TextComparison(&text::CompareIgnoringAsciiCase)),
      display_([](int, const std::string& text) { return DisplayText(text); }) {}

void RecoveredList::SelectAll() {
  for (auto& row : rows_)
    row.ticked = true;
}

void RecoveredList::SelectNone() {
  for (auto& row : rows_)
    row.ticked = false;
}

bool RecoveredList::AnyTicked() const {
  return std::any_of(rows_.begin(), rows_.end(),
                     [](const RecoveredRow& row) { return row.ticked; });
}

void RecoveredList::ColumnClick(int column) {
  if (column == sort_column_)
    sort_ascending_ = !sort_ascending_;
  else
    sort_column_ = column;
  int sign = sort_ascending_ ? 1 : -1;

  if (column == kDateColumn) {
    // Dates sort by their value: as text, 10/1/2004 would come before 9/30/2004.
    std::stable_sort(rows_.begin(), rows_.end(), [&](const RecoveredRow& a, const RecoveredRow& b) {
      return sign * ((a.date_value > b.date_value) - (a.date_value < b.date_value)) < 0;
    });
    return;
  }
  // Compare each row's shown text once, not once per comparison.
  std::vector<std::string> keys;
  keys.reserve(rows_.size());
  for (const auto& row : rows_)
    keys.push_back(display_ ? display_(column, row.Text(column)) : row.Text(column));
  std::vector<std::size_t> order(rows_.size());
  for (std::size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return sign * compare_(keys[a], keys[b]) < 0;
  });
  std::vector<RecoveredRow> sorted;
  sorted.reserve(rows_.size());
  for (std::size_t index : order)
    sorted.push_back(std::move(rows_[index]));
  rows_ = std::move(sorted);
}

} // namespace app
