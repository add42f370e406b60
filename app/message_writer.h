// Where the save run puts each message: one .eml file each, one mbox file per folder file,
// or one Maildir per folder file. Every writer stores the bytes the .eml file would hold,
// apart from the line ends an mbox needs.
#pragma once

#include "recovered_email.h"
#include "save_format.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace app {

// What the save run needs of a ticked row, copied when it starts: where the message's text
// is, and what its file names and dates are made from.
struct TickedMessage {
  TEmailMessage message;
  std::string subject;
  std::string from;
  double date_value = 0; // as RecoveredRow holds it
};

class MessageWriter {
public:
  virtual ~MessageWriter() = default;
  // Takes one message to store: `text` as its working copy gave it, for `row` (its folder
  // file, subject, sender and date). A writer may store it later, in order, so that the next
  // ones can be read meanwhile. Throws "Cannot create file %s" when this or an earlier message
  // cannot be written; what was stored before stays whole, later ones are dropped.
  virtual void Write(const TickedMessage& row, std::string_view text) = 0;
  // Stores every message taken; throws as Write does.
  virtual void Flush() {}
  // How many of the messages taken are stored whole.
  std::size_t Stored() const { return stored_; }

protected:
  std::size_t stored_ = 0;
};

// The display names of folder files ("Inbox" for "Inbox.dbx"), by file name; mbox files and
// Maildirs are named after them, or after the file name when it has none.
using FolderDisplayNames = std::map<std::string, std::string>;

// The name an mbox file or Maildir of `folder_file` takes, before its extension: its display
// name, or its file name without ".dbx" when it has none, made a safe file name (8-bit names
// shown as UTF-8, see DisplayText; separators in a folder's name are part of the name).
std::string FolderOutputName(const FolderDisplayNames& names, const std::string& folder_file);

std::unique_ptr<MessageWriter> MakeMessageWriter(SaveFormat format, const std::string& save_path,
                                                 FolderDisplayNames names = {});

// Each message a file named from its subject ("Hello_World.eml", "Hello_World_1.eml", ...),
// dated like the message.
std::unique_ptr<MessageWriter> MakeEmlWriter(const std::string& save_path);

// Each folder file an mbox (mboxrd) "<display name>.mbox", never replacing a file.
std::unique_ptr<MessageWriter> MakeMboxWriter(const std::string& save_path,
                                              FolderDisplayNames names);

// Each folder file a Maildir "<display name>" with cur, new and tmp; every message written to
// tmp and moved to cur under a unique name, dated like the message.
std::unique_ptr<MessageWriter> MakeMaildirWriter(const std::string& save_path,
                                                 FolderDisplayNames names);

// One message as an mbox holds it: the "From " line with the sender and the date, the text's
// lines (as an .eml file holds them) ending in LF, every line that begins with "From " after
// any number of ">" given one more ">", and a blank line.
std::string MboxEntry(std::string_view sender, std::int64_t unix_seconds, std::string_view text);

} // namespace app
