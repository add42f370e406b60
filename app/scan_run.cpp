#include "scan_run.h"

#include "mime/mail_message.h"
#include "mime/mime_error.h"
#include "platform/pump.h"
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
    struct EndSteps {
      Scan& scan;
      ~EndSteps() {
        platform::SetStopRequested(true);
        scan.observer_.ScanEnded(scan.list_.Count() == 0);
      }
    } end_steps{*this};

    list_.Clear();
    auto ticked = std::count_if(input_.folders.begin(), input_.folders.end(),
                                [](const FolderFile& folder) { return folder.ticked; });
    observer_.GaugeMaximum(static_cast<int>(ticked) * 10);
    int k = 0;
    for (const FolderFile& folder : input_.folders) {
      platform::PumpMessages();
      if (Stopped())
        break;
      if (!folder.ticked)
        continue;
      observer_.FolderStarted(folder.name);
      ScanFolder(folder.name, k);
      if (!Stopped())
        observer_.GaugeProgress(10 * (k + 1));
      ++k;
    }
  }

private:
  void ScanFolder(const std::string& name, int k) {
    const std::string path = input_.temp_dir + name;
    std::vector<Toe5_MessageInfo> infos;
    uoexpress::ReadMessageInfos(path, infos);
    ScanPhase(path, name, infos, false, 10 * k);
    infos.clear();
    uoexpress::ReadDeletedMessageInfos(path, infos);
    ScanPhase(path, name, infos, true, 10 * k + 5);
  }

  void ScanPhase(const std::string& path, const std::string& name,
                 const std::vector<Toe5_MessageInfo>& infos, bool deleted, int gauge_base) {
    const auto n = static_cast<long long>(infos.size());
    for (long long i = 0; i < n; ++i) {
      platform::PumpMessages();
      if (Stopped())
        return;
      const Toe5_MessageInfo& info = infos[static_cast<std::size_t>(i)];
      if (info.DataOffset > 0) {
        std::string text;
        if (deleted)
          uoexpress::ReadDeletedMessageText(path, info.DataOffset, text, false);
        else
          uoexpress::ReadMessageText(path, info.DataOffset, text, false);
        if (Stopped())
          return;
        if (!text.empty()) {
          Parse(text);
          platform::PumpMessages();
          if (Stopped())
            return; // this message gets no row
          AddRow(info, name, deleted, text);
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

  void AddRow(const Toe5_MessageInfo& info, const std::string& name, bool deleted,
              const std::string& text) {
    RecoveredRow row;
    row.message.DataOffset = info.DataOffset;
    row.message.Attr11 = info.Attr11;
    row.message.FolderFileName = name;
    row.message.Deleted = deleted;
    row.message.HasAttachment = HasAttachmentWords(text);
    row.ticked = deleted;
    row.folder_image = FolderImageIndex(name);
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
                       std::boyer_moore_horspool_searcher(word.begin(), word.end())) !=
           lower.end();
  };
  return contains("attachment") && contains("filename") && contains("base64");
}

void RunScan(const ScanInput& input, RecoveredList& list, mime::TMailMessage2000& mail,
             ScanObserver& observer) {
  Scan(input, list, mail, observer).Run();
}

} // namespace app
