// The recovery workflow on one folder file at the format's limit: about 2 GB (offsets are
// signed 32-bit) with 200,000 messages of realistic sizes, a deep index tree and a long
// deleted chain. The file is written message by message, never held in memory.
//
//   scale_bench [FOLDER] [MESSAGES]
//
// Writes FOLDER/store/Inbox.dbx (default FOLDER: salvora-scale-bench in the temporary folder)
// unless it exists, then times a sequential read of it, the working copy, the scan and the save
// of every row, and reports messages per second, MB per second, the ratio to the sequential
// read and peak memory. The store stays for the next run; delete FOLDER when done.
#include "app/recovery.h"
#include "bench_util.h"
#include "platform/exclusive_file.h"
#include "platform/temp_directory.h"
#include "scale_store.h"

#include <cstdio>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
using bench::Clock;
using bench::PeakMiB;
using bench::ResetPeak;
using bench::SecondsSince;

} // namespace

int main(int argc, char** argv) {
  fs::path folder =
      argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "salvora-scale-bench";
  int messages = argc > 2 ? std::stoi(argv[2]) : 200000;
  fs::path store = folder / "store";
  fs::path file = bench::ScaleStore(folder, messages);
  platform::SetFileOpener(&platform::OpenExclusiveForReading);

  double megabytes = static_cast<double>(fs::file_size(file)) / 1e6;
  bench::SequentialRead({file.string()}); // into the page cache, so every phase reads alike
  double sequential = bench::SequentialRead({file.string()});
  double reference = megabytes / sequential;

  app::StreamNotifier notifier(std::cerr);
  app::Recovery recovery(
      platform::GetTempDirectory(), [&] { return store.string(); }, notifier);
  recovery.LoadFolders();
  for (auto& f : recovery.Folders())
    f.ticked = true;

  std::printf("store: %s, %.0f MB\n", file.c_str(), megabytes);
  std::printf("%-22s %9s %10s %9s %8s %9s\n", "phase", "seconds", "msgs/s", "MB/s", "vs seq",
              "peak MiB");
  std::printf("%-22s %9.3f %10s %9.0f %8s %9s\n", "sequential read", sequential, "-", reference,
              "1.00", "-");
  auto report = [&](const char* name, double seconds, double count, double mb) {
    std::printf("%-22s %9.3f %10.0f %9.0f %8.2f %9.1f\n", name, seconds, count / seconds,
                mb / seconds, mb / seconds / reference, PeakMiB());
    std::fflush(stdout);
  };

  ResetPeak();
  auto start = Clock::now();
  recovery.MakeWorkingCopies();
  report("working copy", SecondsSince(start), 0, megabytes);

  ResetPeak();
  start = Clock::now();
  app::ScanObserver silent;
  recovery.Scan(silent);
  double rows = static_cast<double>(recovery.List().Count());
  std::size_t deleted = 0;
  for (const auto& row : recovery.List().Rows())
    deleted += row.message.Deleted ? 1 : 0;
  report("scan (all rows)", SecondsSince(start), rows, megabytes);

  fs::path out = folder / "out";
  fs::remove_all(out);
  fs::create_directories(out);
  recovery.List().SelectAll();
  ResetPeak();
  start = Clock::now();
  recovery.Save(out.string());
  double seconds = SecondsSince(start);
  double written = 0;
  for (const auto& entry : fs::directory_iterator(out))
    written += static_cast<double>(entry.file_size()) / 1e6;
  report("save (all rows)", seconds, rows, written);
  std::printf("rows: %.0f (%zu deleted), written: %.0f MB\n", rows, deleted, written);

  recovery.DeleteWorkingCopies();
  fs::remove_all(out);
  return 0;
}
