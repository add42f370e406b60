// The deep scan on the 2 GB scale store (see scale_bench): its pass over the file as a ratio to
// a plain sequential read of the same file in the same run, and its peak memory.
//
//   deep_scan_bench [FOLDER] [MESSAGES]
//
// Two runs: as the scan makes it, after the index walk and the deleted chain have listed every
// message (nothing more is found), and as on a file whose header and index were lost, where
// every message is found by its blocks alone.
#include "bench_util.h"
#include "platform/exclusive_file.h"
#include "scale_store.h"
#include "store/uoexpress.h"

#include <cstdio>
#include <filesystem>
#include <malloc.h>

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
  const std::string file = bench::ScaleStore(folder, messages).string();
  platform::SetFileOpener(&platform::OpenExclusiveForReading);

  const double megabytes = static_cast<double>(fs::file_size(file)) / 1e6;
  bench::SequentialRead({file}); // into the page cache, so both read alike
  const double sequential = bench::SequentialRead({file});
  const double reference = megabytes / sequential;

  std::vector<uoexpress::Toe5_MessageInfo> live, deleted;
  uoexpress::ReadMessageInfos(file, live);
  uoexpress::ReadDeletedMessageInfos(file, deleted);
  const auto listed = uoexpress::FirstBlocks(live, deleted);

  std::printf("store: %s, %.0f MB, %zu live and %zu deleted messages listed\n", file.c_str(),
              megabytes, live.size(), deleted.size());
  live = {}; // their memory is the listing's, not the deep scan's
  deleted = {};
  malloc_trim(0);
  // Memory: the peak while the deep scan ran, above what the process held before it.
  std::printf("%-34s %9s %9s %8s %9s %8s\n", "phase", "seconds", "MB/s", "vs seq", "+MiB", "found");
  std::printf("%-34s %9.3f %9.0f %8s %9s %8s\n", "sequential read", sequential, reference, "1.00",
              "-", "-");
  auto run = [&](const char* name, std::span<const uoexpress::Toe5_ListedBlock> known) {
    std::vector<uoexpress::Toe5_FoundMessage> found;
    ResetPeak();
    const double before = PeakMiB();
    auto start = Clock::now();
    double pass = 0;
    uoexpress::ReadFoundMessageInfos(file, known, found,
                                     [&](std::int64_t scanned, std::int64_t total) {
                                       if (scanned == total)
                                         pass = SecondsSince(start);
                                     });
    const double seconds = SecondsSince(start);
    std::printf("%-34s %9.3f %9.0f %8.2f %9.1f %8zu\n", name, seconds, megabytes / seconds,
                megabytes / seconds / reference, PeakMiB() - before, found.size());
    std::printf("  of which the pass over the file %9.3f\n", pass);
    std::fflush(stdout);
  };
  run("deep scan, every message listed", listed);
  run("deep scan, nothing listed", {});
  return 0;
}
