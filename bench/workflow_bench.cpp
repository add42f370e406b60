// The recovery workflow on a large generated store: working copies, scan and save, against
// a plain sequential read of the same files as the physical reference.
//
//   workflow_bench [FOLDER] [MESSAGES]
//
// Writes five folder files with MESSAGES messages in all (default 50000, about 1.1 GB) into
// FOLDER/store (default: salvora-workflow-bench in the temporary folder) unless they exist,
// then times each phase and reports messages per second, MB per second, the ratio to the
// sequential read, and peak memory.
#include "app/recovery.h"
#include "bench_util.h"
#include "dbx_writer.h"
#include "generated_mail.h"
#include "platform/exclusive_file.h"
#include "platform/temp_directory.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>

namespace {

namespace fs = std::filesystem;
using bench::Clock;
using bench::PeakMiB;
using bench::ResetPeak;

constexpr int kFolders = 5;

std::string MessageText(std::mt19937& random, int i) {
  return bench::GeneratedMessage(random, i, {4000, 16000, 20000, 30000, 50000, 100000});
}

void Generate(const fs::path& store, int messages) {
  fs::create_directories(store);
  std::mt19937 random(2026);
  for (int f = 0; f < kFolders; ++f) {
    dbxtest::StoreBuilder builder;
    int count = messages / kFolders;
    for (int i = 0; i < count; ++i)
      builder.AddMessage(MessageText(random, f * count + i));
    for (int i = 0; i < count; i += 10)
      builder.DeleteMessage(i);
    builder.Build().WriteTo((store / ("Folder" + std::to_string(f) + ".dbx")).string());
    std::cerr << "wrote folder " << f + 1 << " of " << kFolders << '\n';
  }
}

double Since(bench::Clock::time_point start) {
  return bench::SecondsSince(start);
}

double SequentialRead(const fs::path& store) {
  std::vector<std::string> paths;
  for (const auto& entry : fs::directory_iterator(store))
    paths.push_back(entry.path().string());
  return bench::SequentialRead(paths);
}

} // namespace

int main(int argc, char** argv) {
  fs::path folder =
      argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "salvora-workflow-bench";
  int messages = argc > 2 ? std::stoi(argv[2]) : 50000;
  fs::path store = folder / "store";
  if (!fs::exists(store / "Folder0.dbx"))
    Generate(store, messages);
  platform::SetFileOpener(&platform::OpenExclusiveForReading);

  double megabytes = 0;
  for (const auto& entry : fs::directory_iterator(store))
    megabytes += static_cast<double>(entry.file_size()) / 1e6;
  SequentialRead(store); // into the page cache, so every phase reads from memory alike
  double sequential = SequentialRead(store);
  double reference = megabytes / sequential;

  app::StreamNotifier notifier(std::cerr);
  app::Recovery recovery(
      platform::GetTempDirectory(), [&] { return store.string(); }, notifier);
  recovery.LoadFolders();
  for (auto& f : recovery.Folders())
    f.ticked = true;

  std::printf("store: %s, %d folder files, %.0f MB\n", store.c_str(), kFolders, megabytes);
  std::printf("%-22s %9s %10s %9s %8s %9s\n", "phase", "seconds", "msgs/s", "MB/s", "vs seq",
              "peak MiB");
  std::printf("%-22s %9.3f %10s %9.0f %8s %9s\n", "sequential read", sequential, "-", reference,
              "1.00", "-");
  auto report = [&](const char* name, double seconds, double count, double mb) {
    std::printf("%-22s %9.3f %10.0f %9.0f %8.2f %9.1f\n", name, seconds, count / seconds,
                mb / seconds, mb / seconds / reference, PeakMiB());
  };

  ResetPeak();
  auto start = Clock::now();
  recovery.MakeWorkingCopies();
  report("working copies", Since(start), 0, megabytes);

  ResetPeak();
  start = Clock::now();
  app::ScanObserver silent;
  recovery.Scan(silent);
  double rows = static_cast<double>(recovery.List().Count());
  report("scan (all rows)", Since(start), rows, megabytes);

  fs::path out = folder / "out";
  fs::remove_all(out);
  fs::create_directories(out);
  recovery.List().SelectAll();
  ResetPeak();
  start = Clock::now();
  recovery.Save(out.string());
  double written = 0;
  for (const auto& entry : fs::directory_iterator(out))
    written += static_cast<double>(entry.file_size()) / 1e6;
  report("save (all rows)", Since(start), rows, written);
  std::printf("rows: %.0f, written: %.0f MB\n", rows, written);

  recovery.DeleteWorkingCopies();
  fs::remove_all(out);
  return 0;
}
