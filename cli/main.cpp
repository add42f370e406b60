// salvora — the command-line front end. See `salvora --help`.
#include "app/platform_services.h"
#include "arguments.h"
#include "dump_command.h"
#include "recovery_commands.h"
#include "show_command.h"

#include <iostream>

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  app::InstallPlatformServices();
  try {
    cli::Arguments args = cli::ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    switch (args.command) {
    case cli::Command::Help:
      std::cout << cli::kUsage;
      return 0;
    case cli::Command::Version:
      std::cout << "salvora " << SALVORA_VERSION << '\n';
      return 0;
    case cli::Command::Dump:
      return cli::RunDump({args.preview, args.deep, args.files}, std::cout, std::cerr) ? 0 : 1;
    case cli::Command::Show:
      return cli::RunShow(args.files[0], args.data_offset, std::cout, std::cerr);
    default:
      return cli::RunRecoveryCommand(args, std::cout, std::cerr);
    }
  } catch (const cli::UsageError& error) {
    std::cerr << "salvora: " << error.what() << "\n" << cli::kUsageHint;
    return 2;
  }
}
