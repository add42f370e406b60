// The folder file at the format's limit that the scale benchmarks share: about 2 GB (offsets
// are signed 32-bit) with 200,000 messages of realistic sizes, a deep index tree and a long
// deleted chain, written message by message, never held in memory.
#pragma once

#include "bench_util.h"
#include "generated_mail.h"
#include "store_stream_writer.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <random>

namespace bench {

// Stop short of 2 GB, leaving room for the index tree.
inline constexpr std::int64_t kDataLimit = 2'130'000'000;

// Mostly letters of a few KB, some with attachments of tens of KB, a few large ones: about
// 10 KB on average, so 200,000 of them come to about 2 GB.
inline std::string ScaleMessageText(std::mt19937& random, int i) {
  return bench::GeneratedMessage(random, i, {2000, 8000, 10000, 12000, 22000, 28000});
}

// Every tenth message is deleted, the whole file's worth of them in one chain; a fan-out of 3
// makes the index tree about ten levels deep.
inline void GenerateScaleStore(const std::filesystem::path& file, int messages) {
  std::filesystem::create_directories(file.parent_path());
  std::filesystem::path partial = file.string() + ".partial";
  dbxtest::StoreStreamWriter writer(partial.string());
  std::mt19937 random(2026);
  int written = 0;
  for (; written < messages; ++written) {
    std::string text = ScaleMessageText(random, written);
    if (writer.End() + static_cast<std::int64_t>(text.size()) * 2 > kDataLimit)
      break;
    writer.AddMessage(text);
    if (written % 20000 == 19999)
      std::cerr << "wrote " << written + 1 << " messages, " << writer.End() / 1000000 << " MB\n";
  }
  for (int i = 0; i < written; i += 10)
    writer.DeleteMessage(i);
  writer.Finish(3);
  std::filesystem::rename(partial, file);
}

// FOLDER/store/Inbox.dbx, written first unless it exists (it stays for the next run).
inline std::filesystem::path ScaleStore(const std::filesystem::path& folder, int messages) {
  std::filesystem::path file = folder / "store" / "Inbox.dbx";
  if (!std::filesystem::exists(file)) {
    ResetPeak();
    auto start = Clock::now();
    GenerateScaleStore(file, messages);
    std::printf("generated in %.1f s, peak %.1f MiB\n", SecondsSince(start), PeakMiB());
  }
  return file;
}

} // namespace bench
