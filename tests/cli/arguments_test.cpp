// The command line: what parses and what is refused.
#include "cli/arguments.h"

#include <gtest/gtest.h>

namespace cli {
namespace {

TEST(Arguments, WhatParses) {
  Arguments save = ParseArguments({"save", "--store", "/s", "Inbox.dbx", "--live", "--subject",
                                   "^Re", "--from", "@x", "-o", "/out", "--format", "json"});
  EXPECT_EQ(save.command, Command::Save);
  EXPECT_EQ(save.store, "/s");
  EXPECT_EQ(save.files, std::vector<std::string>{"Inbox.dbx"});
  EXPECT_EQ(save.selection, Selection::Live);
  EXPECT_EQ(save.subject_pattern, "^Re");
  EXPECT_EQ(save.from_pattern, "@x");
  EXPECT_EQ(save.output, "/out");
  EXPECT_EQ(save.format, Format::Json);
  EXPECT_EQ(save.save_format, app::SaveFormat::Eml);

  // save takes both kinds of format: how rows are printed and how mail is saved.
  Arguments mbox = ParseArguments({"save", "--format", "mbox", "--format", "csv", "-o", "d"});
  EXPECT_EQ(mbox.save_format, app::SaveFormat::Mbox);
  EXPECT_EQ(mbox.format, Format::Csv);
  EXPECT_EQ(ParseArguments({"save", "--format", "maildir", "-o", "d"}).save_format,
            app::SaveFormat::Maildir);
  EXPECT_EQ(ParseArguments({"folders", "--format", "json"}).format, Format::Json);

  Arguments scan =
      ParseArguments({"scan", "--all-folders", "--format", "csv", "--subject", "x", "--from", "y"});
  EXPECT_TRUE(scan.all_folders);
  EXPECT_EQ(scan.subject_pattern, "x");
  EXPECT_EQ(scan.from_pattern, "y");
  EXPECT_EQ(scan.format, Format::Csv);
  EXPECT_EQ(scan.selection, Selection::Preticked);

  EXPECT_EQ(ParseArguments({"dump", "--preview", "a.dbx"}).preview, true);
  for (const char* command : {"scan", "dump"})
    EXPECT_TRUE(ParseArguments({command, "--deep", "a.dbx"}).deep) << command;
  Arguments found =
      ParseArguments({"save", "--deep", "--found", "--format", "maildir", "-o", "/out"});
  EXPECT_TRUE(found.deep);
  EXPECT_EQ(found.selection, Selection::Found);
  EXPECT_EQ(found.save_format, app::SaveFormat::Maildir);
  Arguments show = ParseArguments({"show", "dir/a.dbx", "60116"});
  EXPECT_EQ(show.command, Command::Show);
  EXPECT_EQ(show.files, std::vector<std::string>{"dir/a.dbx"});
  EXPECT_EQ(show.data_offset, 60116);
  // The deep scan finds messages up to 4 GiB into a file.
  EXPECT_EQ(ParseArguments({"show", "a.dbx", "4294967295"}).data_offset, 4294967295);
  // Disk images are read with the deep scan, which finds messages anywhere in them.
  EXPECT_EQ(ParseArguments({"show", "/dev/sdb", "5000000000"}).data_offset, 5000000000);
  EXPECT_EQ(ParseArguments({"scan", "--deep", "disk.img", "A.DBX"}).files,
            (std::vector<std::string>{"disk.img", "A.DBX"}));
  EXPECT_EQ(ParseArguments({"save", "/dev/sdb", "--deep", "-o", "x"}).files,
            std::vector<std::string>{"/dev/sdb"});
  EXPECT_EQ(ParseArguments({"--version"}).command, Command::Version);
  EXPECT_EQ(ParseArguments({"scan", "--help"}).command, Command::Help);
}

TEST(Arguments, WhatIsRefused) {
  const std::vector<std::vector<std::string>> refused = {
      {},
      {"rescue"},
      {"scan", "--bogus"},
      {"scan", "--format"},
      {"scan", "--format", "xml"},
      {"scan", "--format", "mbox"}, // a saving format belongs to save
      {"folders", "--format", "maildir"},
      {"folders", "--subject", "x"},
      {"save", "--format", "pst", "-o", "x"},
      {"scan", "--all"}, // selection belongs to save
      {"scan", "-o", "/out"},
      {"save", "Inbox.dbx"}, // no destination
      {"save", "--all", "--deleted", "-o", "x"},
      {"save", "--found", "--live", "-o", "x"},
      {"folders", "--deep"},
      {"save", "--subject", "(", "-o", "x"}, // not a regular expression
      {"scan", "--all-folders", "Inbox.dbx"},
      {"folders", "Inbox.dbx"},
      {"dump"},
      {"dump", "--store", "x", "a.dbx"},
      {"show", "a.dbx"},
      {"show", "a.dbx", "1", "2"},
      {"show", "a.dbx", "0"},
      {"show", "a.dbx", "12x"},
      {"show", "a.dbx", "4294967296"},
      {"show", "--store", "x", "a.dbx", "1"},
      {"scan", "disk.img"}, // a disk image needs --deep
      {"save", "Inbox.dbx", "/dev/sdb", "-o", "x"},
  };
  for (const auto& args : refused)
    EXPECT_THROW(ParseArguments(args), UsageError) << (args.empty() ? "(none)" : args[0]);
}

} // namespace
} // namespace cli
