// The main window's result list with 100,000 rows, offscreen: the rows arriving one by one as
// the scan adds them, ticking, Select All, and sorting by each column, each followed by the
// repaint the user would wait for.
//
//   window_bench [ROWS]   (default 100000; QT_QPA_PLATFORM defaults to offscreen)
#include "app/recovered_list.h"
#include "app/window/locale_text.h"
#include "app/window/qt_message_pump.h"
#include "app/window/recovered_emails_model.h"
#include "app/window/recovered_emails_view.h"
#include "bench_util.h"
#include "platform/pump.h"
#include "skin/builtin_artwork.h"

#include <QApplication>
#include <QHeaderView>
#include <cstdio>
#include <random>
#include <string>

namespace {

using bench::Clock;
using bench::SecondsSince;

app::RecoveredRow MakeRow(std::mt19937& random, int i) {
  app::RecoveredRow row;
  row.message.DataOffset = 60116 + 528 * static_cast<std::int64_t>(i);
  row.message.FolderFileName = "Folder" + std::to_string(random() % 5) + ".dbx";
  row.message.Deleted = random() % 10 == 0;
  row.message.HasAttachment = random() % 4 == 0;
  row.ticked = row.message.Deleted;
  row.folder_image = 5 + static_cast<int>(random() % 5);
  std::string who = std::to_string(random() % 2000);
  // Some senders in Windows-1252, as old mail often is.
  row.from =
      (random() % 8 == 0 ? "J\xF6rg " : "Sender ") + who + " <sender" + who + "@example.com>";
  row.to = "someone" + std::to_string(random() % 50) + "@example.org";
  row.subject = (random() % 3 == 0 ? "Re: " : "") + std::string("Subject number ") +
                std::to_string(random() % 100000);
  int day = 1 + static_cast<int>(random() % 28);
  int month = 1 + static_cast<int>(random() % 12);
  int year = 1998 + static_cast<int>(random() % 10);
  char date[32];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d %02d:%02d:00", year, month, day,
                static_cast<int>(random() % 24), static_cast<int>(random() % 60));
  row.date_text = date;
  row.date_value = (year - 1900) * 365.25 + month * 30.5 + day + (random() % 1440) / 1440.0;
  return row;
}

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  int rows = argc > 1 ? std::stoi(argv[1]) : 100000;

  app::RecoveredList list(window::LocaleTextComparison()); // texts sort as the window sorts them
  window::RecoveredEmailsModel model(list, skin::ListImages());
  window::RecoveredEmailsView view;
  view.setEmailsModel(&model);
  view.resize(800, 480);
  view.show();
  QApplication::processEvents();

  auto repaint = [&] {
    QApplication::processEvents();
    view.viewport()->repaint();
  };
  std::printf("%-34s %10s\n", "step", "ms");
  auto report = [](const std::string& name, double seconds) {
    std::printf("%-34s %10.1f\n", name.c_str(), seconds * 1000);
    std::fflush(stdout);
  };

  // As in a scan: every row is added and published at once, and the window's pump (which lets
  // Qt work at most every 8 ms) runs between messages.
  window::InstallQtMessagePump();
  std::mt19937 random(7);
  std::vector<app::RecoveredRow> made;
  made.reserve(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i)
    made.push_back(MakeRow(random, i));
  double slowest = 0;
  auto start = Clock::now();
  for (int i = 0; i < rows; ++i) {
    auto step = Clock::now();
    list.Add(made[static_cast<std::size_t>(i)]);
    model.RowsAppended();
    platform::PumpMessages();
    slowest = std::max(slowest, SecondsSince(step));
  }
  repaint();
  report("append " + std::to_string(rows) + " rows", SecondsSince(start));
  report("  slowest append with its pump", slowest);

  start = Clock::now();
  const int ticks = 1000;
  for (int i = 0; i < ticks; ++i) {
    model.Toggle(static_cast<int>(random() % static_cast<unsigned>(rows)));
    QApplication::processEvents();
  }
  report("tick (each, of " + std::to_string(ticks) + ")", SecondsSince(start) / ticks);

  start = Clock::now();
  model.SelectAll();
  repaint();
  report("Select All", SecondsSince(start));

  start = Clock::now();
  model.SelectNone();
  repaint();
  report("Select None", SecondsSince(start));

  double slowest_sort = 0;
  for (int column = 0; column < app::kColumnCount; ++column)
    for (const char* direction : {"", " again (reverse)"}) {
      QString name = model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
      start = Clock::now();
      model.ColumnClick(column);
      repaint();
      double seconds = SecondsSince(start);
      slowest_sort = std::max(slowest_sort, seconds);
      report("sort column " + std::to_string(column) + " \"" + name.toStdString() + "\"" +
                 direction,
             seconds);
    }
  report("slowest sort", slowest_sort);
  std::printf("peak memory: %.1f MiB\n", bench::PeakMiB());
  return 0;
}
