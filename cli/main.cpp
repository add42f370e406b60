// salvora — the command-line front end.
//
// Exit codes: 0 success, 1 a file could not be read, 2 wrong usage.
#include "dump_command.h"
#include "platform/exclusive_file.h"

#include <cstring>
#include <iostream>
#include <string_view>

namespace {

constexpr const char* kUsage = "usage: salvora dump [--preview] FILE...\n";

int Dump(int argc, char** argv) {
  cli::DumpOptions options;
  for (int i = 2; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--preview")
      options.preview = true;
    else if (arg.starts_with("--")) {
      std::cerr << "salvora: unknown option " << arg << '\n' << kUsage;
      return 2;
    } else
      options.files.emplace_back(arg);
  }
  if (options.files.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  return cli::RunDump(options, std::cout, std::cerr) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  platform::SetFileOpener(&platform::OpenExclusiveForReading);
  if (argc >= 2 && std::strcmp(argv[1], "dump") == 0)
    return Dump(argc, argv);
  std::cerr << kUsage;
  return 2;
}
