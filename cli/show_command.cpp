#include "show_command.h"

#include "app/folder_list.h"
#include "app/message_view.h"
#include "platform/path_separator.h"
#include "store/uoexpress.h"

#include <algorithm>
#include <filesystem>

namespace cli {
namespace {

using uoexpress::Toe5_FoundMessage;
using uoexpress::Toe5_MessageInfo;

bool Lists(const std::vector<Toe5_MessageInfo>& infos, std::int64_t data_offset) {
  return std::any_of(infos.begin(), infos.end(),
                     [&](const Toe5_MessageInfo& info) { return info.DataOffset == data_offset; });
}

// The message as a row of the scan would name it, read from the file where it lies: a live
// message, a deleted one, or, when neither starts there, one the deep scan finds. A disk image
// holds only what the deep scan finds.
std::optional<app::TEmailMessage> FindMessage(const std::string& path, std::int64_t data_offset) {
  app::TEmailMessage message;
  message.DataOffset = data_offset;
  message.FolderFileName = std::filesystem::path(path).filename().string();
  uoexpress::FolderFile file(path);
  std::vector<Toe5_MessageInfo> live, deleted;
  const bool image = app::IsReadInPlace(path);
  if (!image) {
    file.ReadMessageInfos(live);
    if (Lists(live, data_offset))
      return message;
    file.ReadDeletedMessageInfos(deleted);
    message.Deleted = Lists(deleted, data_offset);
    if (message.Deleted)
      return message;
  }
  std::vector<Toe5_FoundMessage> found;
  file.ReadFoundMessageInfos(uoexpress::FirstBlocks(live, deleted), found);
  const auto chain = std::find_if(found.begin(), found.end(), [&](const Toe5_FoundMessage& info) {
    return info.DataOffset == data_offset;
  });
  if (chain == found.end())
    return std::nullopt;
  message.Found = true;
  message.Chain = {chain->BlockCount, chain->FreedBlocks, chain->Fragment, chain->FileStart,
                   chain->Jumps};
  if (image) {
    message.FolderFileName = app::FoundFolderName(message.FolderFileName, chain->FileStart);
    message.SourcePath = path;
  }
  return message;
}

} // namespace

int RunShow(const std::string& file, std::int64_t data_offset, std::ostream& out,
            std::ostream& errors) {
  try {
    const std::optional<app::TEmailMessage> message = FindMessage(file, data_offset);
    if (!message) {
      errors << "salvora: no message starts at offset " << data_offset << " in " << file << '\n';
      return 1;
    }
    const std::string folder = std::filesystem::path(file).parent_path().string();
    const app::MessageView view = app::ViewRecoveredMessage(
        *message, folder.empty() ? "" : folder + platform::kPathSeparator);
    out << "From: " << view.from << "\nTo: " << view.to << "\nCc: " << view.cc
        << "\nSubject: " << view.subject << "\nDate: " << view.date << '\n';
    for (const app::MessageAttachment& attachment : view.attachments)
      out << "Attachment: " << attachment.name << " (" << attachment.content_type << ", "
          << attachment.content.size() << " bytes)\n";
    if (view.body_is_html)
      out << "Content: text/html\n";
    out << '\n' << view.body;
    if (!view.body.empty() && view.body.back() != '\n')
      out << '\n';
    return 0;
  } catch (const uoexpress::EFOpenError& error) {
    errors << "salvora: " << error.what() << '\n';
    return 1;
  }
}

} // namespace cli
