#include "scan_run.h"

#include "damage_check.h"
#include "mime/mail_message.h"
#include "mime/mime_error.h"
#include "platform/pump.h"
#include "recovered_text.h"
#include "store/uoexpress.h"

#include <algorithm>
#include <functional>

namespace app {
namespace {

using uoexpress::Toe5_MessageInfo;

bool Stopped() {
  return platform::StopRequested();
}

// An accessor that fails on a damaged message gives an empty text.
template <typename Accessor> auto Safely(Accessor accessor) -> decltype(accessor()) {
  try {
    return accessor();
  } catch (const mime::MimeError&) {
    return {};
  }
}

class Scan {
public:
  Scan(const ScanInput& input, RecoveredList& list, mime::TMailMessage2000& mail,
       ScanObserver& observer)
      : input_(input), list_(list), mail_(mail), observer_(observer) {}

  void Run() {
    platform::SetStopRequested(false);
    observer_.ScanStarted();
    platform::PumpMessages();
    EndSteps end_steps{*this};

    list_.Clear();
    auto ticked = std::count_if(input_.folders.begin(), input_.folders.end(),
                                [](const FolderFile& folder) { return folder.ticked; });
    const int per_folder = input_.deep ? 20 : 10;
    observer_.GaugeMaximum(static_cast<int>(ticked) * per_folder);
    int k = 0;
    for (const FolderFile& folder : input_.folders) {
      platform::PumpMessages();
      if (Stopped())
        break;
      if (!folder.ticked)
        continue;
      observer_.FolderStarted(folder.name);
      ScanFolder(folder.name, per_folder * k);
      if (!Stopped())
        observer_.GaugeProgress(per_folder * (k + 1));
      ++k;
    }
  }

  // One folder file's messages that only the deep scan finds, added after the rows there are.
  void RunDeepScanOf(const std::string& name) {
    platform::SetStopRequested(false);
    observer_.ScanStarted();
    platform::PumpMessages();
    EndSteps end_steps{*this};

    observer_.GaugeMaximum(10);
    observer_.FolderStarted(name);
    const std::string path = input_.temp_dir + name;
    std::vector<Toe5_MessageInfo> live, deleted;
    uoexpress::ReadMessageInfos(path, live);
    uoexpress::ReadDeletedMessageInfos(path, deleted);
    DeepPhase(path, name, uoexpress::FirstBlocks(live, deleted), 0);
    if (!Stopped())
      observer_.GaugeProgress(10);
  }

private:
  // The end steps of every run, also when an error ends it.
  struct EndSteps {
    Scan& scan;
    ~EndSteps() {
      platform::SetStopRequested(true);
      scan.observer_.ScanEnded(scan.list_.Count() == 0);
    }
  };

  void ScanFolder(const std::string& name, int gauge_base) {
    const std::string path = input_.temp_dir + name;
    std::vector<Toe5_MessageInfo> live;
    uoexpress::ReadMessageInfos(path, live);
    ScanPhase(Listed(live, name, false), gauge_base);
    std::vector<Toe5_MessageInfo> deleted;
    uoexpress::ReadDeletedMessageInfos(path, deleted);
    ScanPhase(Listed(deleted, name, true), gauge_base + 5);
    if (Stopped())
      return;
    if (!input_.deep) {
      if (FolderLooksDamaged(uoexpress::ReadFileState(path), live.size()))
        observer_.FolderLooksDamaged(name);
      return;
    }
    DeepPhase(path, name, uoexpress::FirstBlocks(live, deleted), gauge_base + 10);
  }

  // The deep scan of one file: its pass over the file takes the gauge five units from
  // `gauge_base`, the found messages' rows the next five.
  void DeepPhase(const std::string& path, const std::string& name,
                 const std::vector<std::int64_t>& listed, int gauge_base) {
    std::vector<uoexpress::Toe5_FoundMessage> found;
    uoexpress::ReadFoundMessageInfos(
        path, listed, found, [&](std::int64_t scanned, std::int64_t total) {
          observer_.GaugeProgress(gauge_base + static_cast<int>(5 * scanned / total));
        });
    ScanPhase(Found(found, name), gauge_base + 5);
  }

  static std::vector<TEmailMessage> Listed(const std::vector<Toe5_MessageInfo>& infos,
                                           const std::string& name, bool deleted) {
    std::vector<TEmailMessage> messages(infos.size());
    for (std::size_t i = 0; i < infos.size(); ++i) {
      messages[i].DataOffset = infos[i].DataOffset;
      messages[i].Attr11 = infos[i].Attr11;
      messages[i].FolderFileName = name;
      messages[i].Deleted = deleted;
    }
    return messages;
  }

  static std::vector<TEmailMessage> Found(const std::vector<uoexpress::Toe5_FoundMessage>& found,
                                          const std::string& name) {
    std::vector<TEmailMessage> messages(found.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
      messages[i].DataOffset = found[i].DataOffset;
      messages[i].FolderFileName = name;
      messages[i].Found = true;
      messages[i].Chain = {found[i].BlockCount, found[i].FreedBlocks, found[i].Fragment};
    }
    return messages;
  }

  void ScanPhase(const std::vector<TEmailMessage>& messages, int gauge_base) {
    const auto n = static_cast<long long>(messages.size());
    std::string text;
    for (long long i = 0; i < n; ++i) {
      platform::PumpMessages();
      if (Stopped())
        return;
      const TEmailMessage& message = messages[static_cast<std::size_t>(i)];
      if (message.DataOffset > 0) {
        ReadRecoveredText(message, input_.temp_dir, text, false);
        if (Stopped())
          return;
        if (!text.empty()) {
          Parse(text);
          platform::PumpMessages();
          if (Stopped())
            return; // this message gets no row
          AddRow(message, text);
        }
      }
      observer_.GaugeProgress(static_cast<int>(5 * (i + 1) / n) + gauge_base);
    }
  }

  // A damaged message (a broken uuencoded block, stray lines in a deleted one) must not end
  // the scan of everything else: its row gets what the parser read before the error.
  void Parse(const std::string& text) {
    try {
      mail_.ParseText(text);
      mail_.RebuildBody();
    } catch (const mime::MimeError&) {
    }
  }

  void AddRow(const TEmailMessage& message, const std::string& text) {
    RecoveredRow row;
    row.message = message;
    row.message.HasAttachment = HasAttachmentWords(text);
    row.ticked = message.Deleted || message.Found;
    row.folder_image = FolderImageIndex(message.FolderFileName);
    row.from = Safely([&] { return mail_.FromText(); });
    row.to = Safely([&] { return mail_.ToList.RecipientsText(); });
    row.subject = Safely([&] { return mail_.SubjectText(); });
    row.date_value = Safely([&] { return mail_.DateValue(); });
    row.date_text =
        input_.date_text ? input_.date_text(row.date_value) : IsoDateText(row.date_value);
    list_.Add(std::move(row));
    observer_.RowAdded(list_.Count());
  }

  const ScanInput& input_;
  RecoveredList& list_;
  mime::TMailMessage2000& mail_;
  ScanObserver& observer_;
};

} // namespace

void ConfigureMailMessage(mime::TMailMessage2000& mail) {
  mail.Charset = "iso-8859-1";
  mail.TextEncoding = mime::TEncodingType::etQuotedPrintable;
  // The parser pumps the program's messages after every progress event it reports.
  mail.OnProgress = [](mime::TMailPart&, std::int32_t, std::int32_t) {};
}

bool HasAttachmentWords(std::string_view text) {
  // This runs on every preview of a scan: a branch-free lowering the compiler vectorizes, and
  // searches that skip ahead by the word's length instead of stopping at every first letter.
  std::string lower(text.size(), '\0');
  std::transform(text.begin(), text.end(), lower.begin(), [](char c) {
    auto byte = static_cast<unsigned char>(c);
    return static_cast<char>(byte + (static_cast<unsigned char>(byte - 'A') < 26 ? 32 : 0));
  });
  auto contains = [&](std::string_view word) {
    return std::search(lower.begin(), lower.end(),
                       std::boyer_moore_horspool_searcher(word.begin(), word.end())) != lower.end();
  };
  return contains("attachment") && contains("filename") && contains("base64");
}

void RunScan(const ScanInput& input, RecoveredList& list, mime::TMailMessage2000& mail,
             ScanObserver& observer) {
  Scan(input, list, mail, observer).Run();
}

void RunDeepScanOfFolder(const ScanInput& input, const std::string& folder_file_name,
                         RecoveredList& list, mime::TMailMessage2000& mail,
                         ScanObserver& observer) {
  Scan(input, list, mail, observer).RunDeepScanOf(folder_file_name);
}

} // namespace app
