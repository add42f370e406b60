// What the benchmarks share: peak memory, timing, and the sequential read every figure is
// compared with.
#pragma once

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Peak resident memory since the last ResetPeak, in MiB (Linux; 0 where unknown).
inline double PeakMiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("VmHWM:"))
      return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

inline void ResetPeak() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

// Seconds to read the files from start to end in 1 MiB pieces: the physical reference.
inline double SequentialRead(const std::vector<std::string>& paths) {
  auto start = Clock::now();
  std::string buffer(1 << 20, '\0');
  for (const auto& path : paths) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
      continue;
    while (std::fread(buffer.data(), 1, buffer.size(), file) > 0) {
    }
    std::fclose(file);
  }
  return SecondsSince(start);
}

} // namespace bench
