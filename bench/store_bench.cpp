// Reader throughput on a large generated store, against a plain sequential read of the same
// file as the physical reference.
//
//   store_bench [FILE] [MESSAGES]
//
// Writes FILE (default: store-bench.dbx in the temporary folder) with MESSAGES messages
// (default 20000; about 260 MB) unless it exists, then times the listing, the preview reads
// and the full reads, each with the plain pump and with an installed pump, and reports peak
// memory of the reading phases.
#include "bench_util.h"
#include "dbx_writer.h"
#include "platform/exclusive_file.h"
#include "platform/pump.h"
#include "store/uoexpress.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

namespace {

using bench::Clock;
using bench::PeakMiB;
using bench::ResetPeak;

double Seconds(Clock::time_point since) {
  return bench::SecondsSince(since);
}

double SequentialRead(const std::string& path) {
  return bench::SequentialRead({path});
}
using uoexpress::Toe5_MessageInfo;

void Generate(const std::string& path, int messages) {
  std::mt19937 random(2026);
  dbxtest::StoreBuilder builder;
  std::string body;
  for (int i = 0; i < messages; ++i) {
    // Mostly letters of a few kilobytes, some with attachments, a few large ones.
    int kind = static_cast<int>(random() % 100);
    std::size_t size = kind < 70   ? 2000 + random() % 6000
                       : kind < 95 ? 8000 + random() % 32000
                                   : 40000 + random() % 60000;
    std::string text = "From: sender" + std::to_string(i % 97) +
                       "@example.com\r\nSubject: message " + std::to_string(i) + "\r\n\r\n";
    while (text.size() < size)
      text += "Line of a generated message body, number " + std::to_string(text.size()) + "\r\n";
    text.resize(size);
    builder.AddMessage(text);
  }
  for (int i = 0; i < messages; i += 20)
    builder.DeleteMessage(i);
  builder.Build().WriteTo(path);
}

struct Result {
  double seconds;
  std::size_t messages;
  std::uint64_t bytes; // text bytes returned
};

Result Listing(const std::string& path) {
  auto start = Clock::now();
  std::vector<Toe5_MessageInfo> live, deleted;
  uoexpress::ReadMessageInfos(path, live);
  uoexpress::ReadDeletedMessageInfos(path, deleted);
  return {Seconds(start), live.size() + deleted.size(), 0};
}

Result ReadAll(const std::string& path, bool full) {
  std::vector<Toe5_MessageInfo> live, deleted;
  uoexpress::ReadMessageInfos(path, live);
  uoexpress::ReadDeletedMessageInfos(path, deleted);
  auto start = Clock::now();
  std::uint64_t bytes = 0;
  std::string text;
  for (const auto& info : live) {
    uoexpress::ReadMessageText(path, info.DataOffset, text, full);
    bytes += text.size();
  }
  for (const auto& info : deleted) {
    uoexpress::ReadDeletedMessageText(path, info.DataOffset, text, full);
    bytes += text.size();
  }
  return {Seconds(start), live.size() + deleted.size(), bytes};
}

// Stands for the window's pump: a call that looks at the clock and does its work at most
// every few milliseconds.
void ThrottledPump() {
  static Clock::time_point last;
  static volatile int work = 0;
  Clock::time_point now = Clock::now();
  if (now - last > std::chrono::milliseconds(5)) {
    last = now;
    work = work + 1;
  }
}

} // namespace

int main(int argc, char** argv) {
  std::string path =
      argc > 1 ? argv[1] : (std::filesystem::temp_directory_path() / "store-bench.dbx").string();
  int messages = argc > 2 ? std::stoi(argv[2]) : 20000;
  if (!std::filesystem::exists(path)) {
    std::cerr << "writing " << path << " ...\n";
    Generate(path, messages);
  }
  platform::SetFileOpener(&platform::OpenExclusiveForReading);
  double file_mb = static_cast<double>(std::filesystem::file_size(path)) / 1e6;

  SequentialRead(path); // warm the page cache so every phase reads from memory alike
  double sequential = SequentialRead(path);
  std::printf("file: %s, %.1f MB\n", path.c_str(), file_mb);
  std::printf("%-26s %9s %10s %10s %10s %9s\n", "phase", "seconds", "msgs/s", "MB/s", "vs seq",
              "peak MiB");
  std::printf("%-26s %9.3f %10s %10.0f %10s %9s\n", "sequential read", sequential, "-",
              file_mb / sequential, "1.00", "-");

  for (bool pump : {false, true}) {
    platform::SetMessagePump(pump ? &ThrottledPump : nullptr);
    const char* suffix = pump ? " (pump)" : "";
    auto report = [&](const std::string& name, const Result& r, double mb) {
      double mbs = mb / r.seconds;
      std::printf("%-26s %9.3f %10.0f %10.0f %10.2f %9.1f\n", (name + suffix).c_str(), r.seconds,
                  static_cast<double>(r.messages) / r.seconds, mbs, mbs / (file_mb / sequential),
                  PeakMiB());
    };
    ResetPeak();
    // The listing touches only the index and the chain; its MB/s is the file's size over
    // its time, to compare with reading the whole file.
    report("listing", Listing(path), file_mb);
    ResetPeak();
    Result preview = ReadAll(path, false);
    report("preview reads", preview, static_cast<double>(preview.bytes) / 1e6);
    ResetPeak();
    Result full = ReadAll(path, true);
    report("full reads", full, static_cast<double>(full.bytes) / 1e6);
  }
  return 0;
}
