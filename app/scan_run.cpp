#include "scan_run.h"

#include "damage_check.h"
#include "mime/mail_message.h"
#include "mime/mime_error.h"
#include "platform/pump.h"
#include "preview_parsers.h"
#include "recovered_text.h"
#include "store/uoexpress.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <deque>
#include <functional>
#include <thread>

namespace app {
namespace {

using uoexpress::Toe5_MessageInfo;

bool Stopped() {
  return platform::StopRequested();
}

// How far the previews are read ahead of the rows handed out, how long a wait for a row lasts
// before the pump runs again, and how many threads parse at most.
constexpr long long kReadAhead = 64;
constexpr std::chrono::milliseconds kWaitForRow{5};
constexpr unsigned kMaxParserThreads = 4;

class Scan {
public:
  Scan(const ScanInput& input, RecoveredList& list, ScanObserver& observer)
      : input_(input), list_(list), observer_(observer), parsers_(ParserThreads()) {}

  void Run() {
    platform::SetStopRequested(false);
    observer_.ScanStarted();
    platform::PumpMessages();
    EndSteps end_steps{*this};

    list_.Clear();
    const int per_folder = input_.deep ? 20 : 10;
    auto units = [&](const FolderFile& folder) {
      return !folder.ticked ? 0 : folder.source_path.empty() ? per_folder : kSourceGaugeUnits;
    };
    int maximum = 0;
    for (const FolderFile& folder : input_.folders)
      maximum += units(folder);
    observer_.GaugeMaximum(maximum);
    int gauge = 0;
    for (const FolderFile& folder : input_.folders) {
      platform::PumpMessages();
      if (Stopped())
        break;
      if (!folder.ticked)
        continue;
      observer_.FolderStarted(folder.name);
      if (folder.source_path.empty())
        ScanFolder(folder.name, gauge);
      else
        ScanSource(folder, gauge);
      gauge += units(folder);
      if (!Stopped())
        observer_.GaugeProgress(gauge);
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
    uoexpress::FolderFile file(input_.temp_dir + name);
    std::vector<Toe5_MessageInfo> live, deleted;
    file.ReadMessageInfos(live);
    file.ReadDeletedMessageInfos(deleted);
    DeepPhase(file, name, uoexpress::FirstBlocks(live, deleted), 0);
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
    // The working copy is opened once for all its reads, and held until they are done.
    uoexpress::FolderFile file(input_.temp_dir + name);
    std::vector<Toe5_MessageInfo> live;
    file.ReadMessageInfos(live);
    ScanPhase(file, Listed(live, name, false), gauge_base);
    std::vector<Toe5_MessageInfo> deleted;
    file.ReadDeletedMessageInfos(deleted);
    ScanPhase(file, Listed(deleted, name, true), gauge_base + 5);
    if (Stopped())
      return;
    if (!input_.deep) {
      if (FolderLooksDamaged(file.ReadFileState(), live.size()))
        observer_.FolderLooksDamaged(name);
      return;
    }
    DeepPhase(file, name, uoexpress::FirstBlocks(live, deleted), gauge_base + 10);
  }

  // The deep scan of one file: its pass over the file takes the gauge five units from
  // `gauge_base`, the found messages' rows the next five.
  void DeepPhase(uoexpress::FolderFile& file, const std::string& name,
                 const std::vector<uoexpress::Toe5_ListedBlock>& listed, int gauge_base) {
    std::vector<uoexpress::Toe5_FoundMessage> found;
    file.ReadFoundMessageInfos(
        listed, found,
        [&](std::int64_t scanned, std::int64_t total) {
          if (total > 0)
            observer_.GaugeProgress(gauge_base + static_cast<int>(5 * scanned / total));
        },
        Unreadable(name));
    ScanPhase(file, Found(found, name), gauge_base + 5);
  }

  // A disk image or device, read where it is: the deep scan alone, whose found messages are
  // grouped into one folder per folder file by where the file starts.
  void ScanSource(const FolderFile& source, int gauge_base) {
    constexpr int kHalf = kSourceGaugeUnits / 2;
    uoexpress::FolderFile file(source.source_path);
    std::vector<uoexpress::Toe5_FoundMessage> found;
    file.ReadFoundMessageInfos(
        {}, found,
        [&](std::int64_t scanned, std::int64_t total) {
          if (total > 0)
            observer_.GaugeProgress(gauge_base + static_cast<int>(kHalf * scanned / total));
          observer_.SourceScanned(scanned, total);
        },
        Unreadable(source.name));
    // A Stop during a pass that may have run for hours keeps what the pass found: those
    // messages still get their rows, unless Stop comes again.
    const bool stopped = Stopped();
    platform::SetStopRequested(false);
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.FileStart < b.FileStart; });
    std::vector<TEmailMessage> messages = Found(found, {});
    for (std::size_t i = 0; i < messages.size(); ++i) {
      messages[i].FolderFileName = FoundFolderName(source.name, found[i].FileStart);
      messages[i].SourcePath = source.source_path;
    }
    ScanPhase(file, messages, gauge_base + kHalf, kHalf);
    if (stopped)
      platform::SetStopRequested(true);
  }

  uoexpress::DeepScanReadError Unreadable(const std::string& name) {
    return [this, name](std::int64_t offset, std::int64_t length) {
      observer_.UnreadableBytes(name, offset, length);
    };
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
      messages[i].Chain = {found[i].BlockCount, found[i].FreedBlocks, found[i].Fragment,
                           found[i].FileStart, found[i].Jumps};
    }
    return messages;
  }

  // Reads the messages' previews in order, up to kReadAhead ahead of the rows handed out, while
  // the parsers turn them into rows; rows and the gauge, `units` from `gauge_base`, come in the
  // messages' order. A message without text gets no row but moves the gauge.
  void ScanPhase(uoexpress::FolderFile& file, const std::vector<TEmailMessage>& messages,
                 int gauge_base, int units = 5) {
    struct DropPending {
      PreviewParsers& parsers;
      ~DropPending() { parsers.Clear(); }
    } drop_pending{parsers_};
    const auto n = static_cast<long long>(messages.size());
    std::deque<bool> queued; // of the messages read and not yet done: whether a row will come
    long long read = 0;
    std::string text;
    for (long long done = 0; done < n;) {
      platform::PumpMessages();
      if (Stopped())
        return;
      for (; read < n && static_cast<long long>(queued.size()) < kReadAhead; ++read) {
        const TEmailMessage& message = messages[static_cast<std::size_t>(read)];
        text.clear();
        if (message.DataOffset > 0)
          ReadRecoveredText(message, file, text, false);
        if (Stopped())
          return;
        queued.push_back(!text.empty());
        if (!text.empty())
          parsers_.Add(message, std::move(text));
      }
      if (queued.front()) {
        RecoveredRow row;
        if (!parsers_.Next(row, kWaitForRow))
          continue; // pump while the row is parsed
        platform::PumpMessages();
        if (Stopped())
          return; // this message gets no row
        AddRow(std::move(row));
      }
      queued.pop_front();
      ++done;
      observer_.GaugeProgress(static_cast<int>(units * done / n) + gauge_base);
    }
  }

  void AddRow(RecoveredRow row) {
    row.date_text =
        input_.date_text ? input_.date_text(row.date_value) : IsoDateText(row.date_value);
    list_.Add(std::move(row));
    observer_.RowAdded(list_.Count());
  }

  static unsigned ParserThreads() {
    return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxParserThreads);
  }

  const ScanInput& input_;
  RecoveredList& list_;
  ScanObserver& observer_;
  PreviewParsers parsers_;
};

} // namespace

void ConfigureMailMessage(mime::TMailMessage2000& mail) {
  mail.Charset = "iso-8859-1";
  mail.TextEncoding = mime::TEncodingType::etQuotedPrintable;
  // The parser pumps the program's messages after every progress event it reports.
  mail.OnProgress = [](mime::TMailPart&, std::int32_t, std::int32_t) {};
}

bool HasAttachmentWords(std::string_view text) {
  // This runs on every preview of a scan: Horspool searches that compare letters folded to
  // lower case as they go, skipping ahead by up to a word's length, with no lowered copy.
  auto fold = [](char c) {
    auto byte = static_cast<unsigned char>(c);
    return static_cast<unsigned char>(byte +
                                      (static_cast<unsigned char>(byte - 'A') < 26 ? 32 : 0));
  };
  auto contains = [&](std::string_view word) {
    const std::size_t m = word.size();
    if (text.size() < m)
      return false;
    std::array<std::size_t, 256> skip;
    skip.fill(m);
    for (std::size_t i = 0; i + 1 < m; ++i)
      skip[static_cast<unsigned char>(word[i])] = m - 1 - i;
    for (std::size_t at = 0; at + m <= text.size();) {
      const unsigned char last = fold(text[at + m - 1]);
      if (last == static_cast<unsigned char>(word[m - 1])) {
        std::size_t i = 0;
        while (i + 1 < m && fold(text[at + i]) == static_cast<unsigned char>(word[i]))
          ++i;
        if (i + 1 == m)
          return true;
      }
      at += skip[last];
    }
    return false;
  };
  // The longest word first: it skips furthest, and most messages lack it.
  return contains("attachment") && contains("filename") && contains("base64");
}

void RunScan(const ScanInput& input, RecoveredList& list, ScanObserver& observer) {
  Scan(input, list, observer).Run();
}

void RunDeepScanOfFolder(const ScanInput& input, const std::string& folder_file_name,
                         RecoveredList& list, ScanObserver& observer) {
  Scan(input, list, observer).RunDeepScanOf(folder_file_name);
}

} // namespace app
