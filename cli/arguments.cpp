#include "arguments.h"

#include "app/folder_list.h"

#include <charconv>
#include <regex>

namespace cli {

const char kUsage[] =
    "usage: salvora COMMAND [OPTIONS]\n"
    "\n"
    "Rescues e-mail from Outlook Express folder files (.dbx), live and deleted,\n"
    "and from disk images and devices that hold folder files.\n"
    "\n"
    "commands:\n"
    "  folders [--store DIR] [--format table|csv|json]\n"
    "                                         list the store's folder files with their\n"
    "                                         names in Outlook Express; * marks those\n"
    "                                         ticked in advance\n"
    "  scan [--store DIR] [SOURCE... | --all-folders] [--format table|csv|json]\n"
    "       [--deep] [--subject REGEX] [--from REGEX]\n"
    "                                         copy the folder files, list their messages\n"
    "                                         (those whose subject and sender match);\n"
    "                                         --deep also finds messages by their data\n"
    "                                         blocks (for damaged files), and is needed\n"
    "                                         for an IMAGE\n"
    "  save [scan options] [--all | --live | --deleted | --found]\n"
    "       [--format eml|mbox|maildir] -o DIR\n"
    "                                         scan, then write the selected messages into\n"
    "                                         DIR as .eml files, or an mbox or a Maildir\n"
    "                                         per folder (default selection: the\n"
    "                                         deleted and the found messages)\n"
    "  show SOURCE DATA-OFFSET                print the header fields and the text of the\n"
    "                                         message at DATA-OFFSET (as scan gives it;\n"
    "                                         live, deleted or found by the deep scan)\n"
    "  dump [--preview] [--deep] SOURCE...    diagnostic listing of folder files and\n"
    "                                         images\n"
    "\n"
    "A SOURCE is a folder file (FILE.dbx) or an IMAGE: a disk or partition image of\n"
    "any other name, or a device such as /dev/sdb. An IMAGE is read where it lies,\n"
    "read-only and never copied; only the deep scan reads it, and each folder file\n"
    "found in it is listed as a folder \"IMAGE @ 0xSTART\", START being where the\n"
    "folder file starts in it.\n"
    "Without SOURCE or --all-folders, the folder files ticked in advance are scanned.\n"
    "A FILE.dbx with a folder part is read from that folder instead of the store.\n"
    "\n"
    "  --help       this text\n"
    "  --version    the program's version\n"
    "\n"
    "exit status: 0 success, 1 recovery error, 2 wrong usage, 130 stopped by Ctrl-C\n";

const char kUsageHint[] = "Run 'salvora --help' for the usage.\n";

namespace {

Command CommandNamed(const std::string& name) {
  if (name == "folders")
    return Command::Folders;
  if (name == "scan")
    return Command::Scan;
  if (name == "save")
    return Command::Save;
  if (name == "dump")
    return Command::Dump;
  if (name == "show")
    return Command::Show;
  if (name == "--help" || name == "-h" || name == "help")
    return Command::Help;
  if (name == "--version")
    return Command::Version;
  throw UsageError("unknown command '" + name + "'");
}

// Sets the output format, or for save also the format of the saved mail.
void SetFormat(Arguments& parsed, const std::string& name) {
  if (name == "table")
    parsed.format = Format::Table;
  else if (name == "csv")
    parsed.format = Format::Csv;
  else if (name == "json")
    parsed.format = Format::Json;
  else if (name == "eml" && parsed.command == Command::Save)
    parsed.save_format = app::SaveFormat::Eml;
  else if (name == "mbox" && parsed.command == Command::Save)
    parsed.save_format = app::SaveFormat::Mbox;
  else if (name == "maildir" && parsed.command == Command::Save)
    parsed.save_format = app::SaveFormat::Maildir;
  else
    throw UsageError("unknown format '" + name + "' (table, csv or json" +
                     (parsed.command == Command::Save ? "; eml, mbox or maildir)" : ")"));
}

// A data offset as scan prints it: a positive decimal number, below 4 GiB in a folder file,
// anywhere in a disk image.
std::int64_t DataOffsetNamed(const std::string& text, bool in_image) {
  std::int64_t offset = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), offset);
  if (error != std::errc() || end != text.data() + text.size() || offset <= 0 ||
      (!in_image && offset > 0xFFFFFFFF))
    throw UsageError("not a data offset: '" + text + "'");
  return offset;
}

void CheckPattern(const std::string& pattern) {
  try {
    std::regex check(pattern);
  } catch (const std::regex_error&) {
    throw UsageError("not a valid regular expression: " + pattern);
  }
}

} // namespace

Arguments ParseArguments(const std::vector<std::string>& args) {
  Arguments parsed;
  if (args.empty())
    throw UsageError("no command given");
  parsed.command = CommandNamed(args[0]);
  const bool scans = parsed.command == Command::Scan || parsed.command == Command::Save;
  bool selection_given = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= args.size())
        throw UsageError(arg + " needs a value");
      return args[++i];
    };
    auto select = [&](Selection selection) {
      if (parsed.command != Command::Save)
        throw UsageError(arg + " belongs to the save command");
      if (selection_given)
        throw UsageError("choose one of --all, --live, --deleted and --found");
      selection_given = true;
      parsed.selection = selection;
    };
    if (arg == "--help" || arg == "-h") {
      parsed.command = Command::Help;
      return parsed;
    } else if (arg == "--store" && parsed.command != Command::Dump &&
               parsed.command != Command::Show) {
      parsed.store = value();
    } else if (arg == "--all-folders" && scans) {
      parsed.all_folders = true;
    } else if (arg == "--format" && (scans || parsed.command == Command::Folders)) {
      SetFormat(parsed, value());
    } else if (arg == "--all") {
      select(Selection::All);
    } else if (arg == "--live") {
      select(Selection::Live);
    } else if (arg == "--deleted") {
      select(Selection::Deleted);
    } else if (arg == "--found") {
      select(Selection::Found);
    } else if (arg == "--deep" && (scans || parsed.command == Command::Dump)) {
      parsed.deep = true;
    } else if ((arg == "--subject" || arg == "--from") && scans) {
      std::string pattern = value();
      CheckPattern(pattern);
      (arg == "--subject" ? parsed.subject_pattern : parsed.from_pattern) = pattern;
    } else if ((arg == "-o" || arg == "--output") && parsed.command == Command::Save) {
      parsed.output = value();
    } else if (arg == "--preview" && parsed.command == Command::Dump) {
      parsed.preview = true;
    } else if (arg.starts_with("-") && arg != "-") {
      throw UsageError("unknown option '" + arg + "' for " + args[0]);
    } else if (scans || parsed.command == Command::Dump || parsed.command == Command::Show) {
      parsed.files.push_back(arg);
    } else {
      throw UsageError("unexpected argument '" + arg + "'");
    }
  }
  if (scans && !parsed.deep)
    for (const std::string& file : parsed.files)
      if (app::IsReadInPlace(file))
        throw UsageError("'" + file + "' is not a folder file (.dbx); use --deep to scan a " +
                         "disk image or device");
  if (parsed.all_folders && !parsed.files.empty())
    throw UsageError("give folder files or --all-folders, not both");
  if (parsed.command == Command::Save && !parsed.output)
    throw UsageError("save needs -o DIR");
  if (parsed.command == Command::Dump && parsed.files.empty())
    throw UsageError("dump needs at least one FILE");
  if (parsed.command == Command::Show) {
    if (parsed.files.size() != 2)
      throw UsageError("show needs SOURCE and DATA-OFFSET");
    parsed.data_offset = DataOffsetNamed(parsed.files[1], app::IsReadInPlace(parsed.files[0]));
    parsed.files.pop_back();
  }
  return parsed;
}

} // namespace cli
