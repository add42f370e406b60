// The command line of `salvora`, parsed.
#pragma once

#include "app/save_format.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace cli {

enum class Command { Help, Version, Folders, Scan, Save, Dump, Show };
enum class Format { Table, Csv, Json };

// Which rows `save` writes. None of --all, --live, --deleted, --found: the rows ticked in
// advance (the deleted messages and those only the deep scan found).
enum class Selection { Preticked, All, Live, Deleted, Found };

struct Arguments {
  Command command = Command::Help;
  std::optional<std::string> store; // --store DIR
  std::vector<std::string> files;   // folder files, disk images and devices named
  bool all_folders = false;         // --all-folders
  Format format = Format::Table;    // --format table|csv|json: how rows are printed
  app::SaveFormat save_format = app::SaveFormat::Eml; // save --format eml|mbox|maildir
  Selection selection = Selection::Preticked;
  std::optional<std::string> subject_pattern; // --subject REGEX
  std::optional<std::string> from_pattern;    // --from REGEX
  std::optional<std::string> output;          // -o DIR
  bool preview = false;                       // dump --preview
  bool deep = false;                          // --deep: add what only the deep scan finds
  std::int64_t data_offset = 0;               // show SOURCE DATA-OFFSET
};

// Thrown for a command line that cannot be run; the text says why.
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

Arguments ParseArguments(const std::vector<std::string>& args);

extern const char kUsage[];
// What follows the one-line message of a usage error.
extern const char kUsageHint[];

} // namespace cli
