#include "dump_command.h"

#include "app/folder_list.h"
#include "platform/sha256.h"
#include "store/uoexpress.h"

namespace cli {
namespace {

using uoexpress::Toe5_MessageInfo;

void DumpFile(const std::string& path, bool preview, bool deep, std::ostream& out) {
  // Opened once for every read: a disk image may hold hundreds of thousands of messages.
  uoexpress::FolderFile file(path);
  std::vector<Toe5_MessageInfo> live;
  std::vector<Toe5_MessageInfo> deleted;
  // A disk image has no index or deleted chain of its own: only the deep scan reads it.
  if (!app::IsReadInPlace(path)) {
    file.ReadMessageInfos(live);
    file.ReadDeletedMessageInfos(deleted);
  }

  out << "== " << path << '\n';
  std::string text;
  auto line = [&](const char* kind, const Toe5_MessageInfo& info) {
    out << kind << ' ' << info.InfoOffset << ' ' << info.DataOffset << ' ' << info.Attr11 << ' '
        << text.size() << ' ' << platform::Sha256Hex(text) << '\n';
  };
  for (const auto& info : live) {
    text.clear();
    file.ReadMessageText(info.DataOffset, text, !preview);
    line("live", info);
  }
  for (const auto& info : deleted) {
    text.clear();
    file.ReadDeletedMessageText(info.DataOffset, text, !preview);
    line("deleted", info);
  }
  if (!deep)
    return;
  const auto listed = uoexpress::FirstBlocks(live, deleted);
  std::vector<uoexpress::Toe5_FoundMessage> found;
  file.ReadFoundMessageInfos(listed, found);
  for (const auto& message : found) {
    text.clear();
    file.ReadFoundMessageText(message, text, !preview);
    out << "found 0 " << message.DataOffset << " 0 " << text.size() << ' '
        << platform::Sha256Hex(text) << '\n';
  }
}

} // namespace

bool RunDump(const DumpOptions& options, std::ostream& out, std::ostream& errors) {
  bool all_read = true;
  for (const auto& path : options.files) {
    try {
      DumpFile(path, options.preview, options.deep, out);
    } catch (const uoexpress::EFOpenError& error) {
      errors << "salvora: " << error.what() << '\n';
      all_read = false;
    }
  }
  return all_read;
}

} // namespace cli
