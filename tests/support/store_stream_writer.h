// Writes a realistic folder file straight to disk, message by message, for stores too large
// to build in memory (up to the format's 2 GB). The layout is StoreBuilder's: a header, then
// per message its block chain and info record, then the index tree; deleted messages are
// freed onto the deleted chain the way Outlook Express frees them.
#pragma once

#include "dbx_writer.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace dbxtest {

class StoreStreamWriter {
public:
  explicit StoreStreamWriter(const std::string& path);

  // Appends a message and returns its number.
  int AddMessage(std::string_view text, const MessageFields& fields = {});

  // Frees a message's blocks onto the head of the deleted chain and drops it from the index.
  void DeleteMessage(int message);

  // Writes the index tree and the header, and closes the file.
  void Finish(int fan_out = 50);

  // Where the next structure goes: the file's size so far.
  std::int64_t End() const { return end_; }

private:
  struct Message {
    std::int32_t record = 0;
    std::int32_t first_block = 0;
    std::int32_t blocks = 0;
    bool deleted = false;
  };

  std::int32_t Append(const DbxImage& piece);
  void Patch(std::int64_t offset, std::int32_t value);

  std::fstream file_;
  std::int64_t end_ = 0;
  std::vector<Message> messages_;
  std::int32_t deleted_head_ = 0;
};

} // namespace dbxtest
