// The result list: rows in the order the scan added them until a column is sorted, their
// check states, and the sort state that lives for the whole program run.
#pragma once

#include "recovered_email.h"

#include <functional>
#include <string_view>
#include <vector>

namespace app {

class RecoveredList {
public:
  // Compares two displayed texts: negative, zero or positive.
  using TextComparison = std::function<int(std::string_view, std::string_view)>;

  // The comparison for texts; the default orders bytes with ASCII letters folded to lower
  // case. The window installs a locale-aware one.
  explicit RecoveredList(TextComparison compare = {});

  void Clear() { rows_.clear(); }
  void Add(RecoveredRow row) { rows_.push_back(std::move(row)); }

  std::size_t Count() const { return rows_.size(); }
  const RecoveredRow& operator[](std::size_t index) const { return rows_.at(index); }
  const std::vector<RecoveredRow>& Rows() const { return rows_; }

  void SetTicked(std::size_t index, bool ticked) { rows_.at(index).ticked = ticked; }
  void Toggle(std::size_t index) { SetTicked(index, !rows_.at(index).ticked); }
  void SelectAll();
  void SelectNone();
  bool AnyTicked() const;

  // A click on a column header: the same column again reverses the direction, another
  // column keeps it. The Date column sorts by the date-time value, every other column by its
  // displayed text. Rows that compare equal keep their order.
  void ColumnClick(int column);

  int SortColumn() const { return sort_column_; }
  bool SortAscending() const { return sort_ascending_; }

  // How a row's text in a column is shown (by default DisplayText); the comparison sees the
  // shown texts.
  using DisplayConversion = std::function<std::string(int column, const std::string& text)>;
  void SetDisplayConversion(DisplayConversion convert) { display_ = std::move(convert); }

private:
  std::vector<RecoveredRow> rows_;
  TextComparison compare_;
  DisplayConversion display_;
  int sort_column_ = -1;
  bool sort_ascending_ = true;
};

} // namespace app
