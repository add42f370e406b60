// Splitting a text into header lines, body and child parts, including the conversion of a
// message with uuencoded attachments into multipart/mixed.
#include "mime/boundary.h"
#include "mime/content_type.h"
#include "mime/mail_message.h"
#include "mime/mime_error.h"
#include "mime/quoted_printable.h"
#include "mime/text_lines.h"
#include "mime/uuencode.h"
#include "platform/pump.h"
#include "text/ascii.h"
#include "text/trim.h"

#include <cstdint>
#include <limits>

namespace mime {
namespace {

constexpr auto npos = std::string_view::npos;
constexpr std::string_view kUuBegin = "begin 6";
constexpr std::string_view kUuEnd = "end";
constexpr std::size_t kFileNameStart = 10; // after "begin 644 "
constexpr std::size_t kFileNameLength = 999;
// Parts nest by recursion; deeper parts keep their body whole so that no text, however
// hostile, can exhaust the stack. Real mail nests a handful of levels.
constexpr int kMaxNestingDepth = 200;

enum class BodyMode { kMultipart, kPlain, kUuencode };

std::int32_t ToInt32(std::size_t value) {
  constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(value > kMax ? kMax : value);
}

// Reports the line walk of the message's own text; silent for child parts.
class Progress {
public:
  Progress(TMailMessage2000* message, std::size_t total)
      : message_(message && message->OnProgress ? message : nullptr), total_(ToInt32(total)) {}

  void Report(std::size_t current) const {
    if (!message_)
      return;
    message_->OnProgress(*message_, total_, ToInt32(current));
    platform::PumpMessages();
  }

  // A line was taken; `position` counts from 1.
  void LineTaken(const TextLine& line) const {
    if (message_)
      Report(line.start + 1);
  }

private:
  TMailMessage2000* message_;
  std::int32_t total_;
};

std::string Quoted(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 2);
  out += '"';
  out += s;
  out += '"';
  return out;
}

} // namespace

class PartParser {
public:
  PartParser(TMailPart& part, std::string_view text, bool cut_from_multipart)
      : part_(part), text_(text), reader_(text), cut_from_multipart_(cut_from_multipart),
        progress_(part.owner_message_ == &part ? part.owner_message_ : nullptr, text.size()) {}

  void Run(bool with_header) {
    TMailMessage2000* owner = part_.owner_message_;
    if (!owner)
      throw MimeError(part_.Name + ": TMailPart must be owned by a TMailMessage2000");
    part_.sub_parts_.Clear();
    part_.Headers.clear();
    part_.Body.clear();
    part_.DecodedBody.clear();
    owner->BodyChanged = true;
    progress_.Report(0);

    if (with_header)
      ReadHeaderSection();
    ChooseMode();
    TextLine stop;
    if (FirstPass(stop)) {
      if (mode_ == BodyMode::kMultipart)
        WalkMultipart();
      else
        WalkUuencoded(stop);
    }
    progress_.Report(text_.size());
  }

private:
  void ReadHeaderSection() {
    TextLine line;
    bool first = true;
    while (reader_.Next(line)) {
      if (!first)
        progress_.LineTaken(line);
      first = false;
      if (line.text.empty())
        break;
      // A header line that begins with white space continues the previous one.
      const bool continues = line.text[0] == ' ' || line.text[0] == '\t';
      if (continues && !part_.Headers.empty()) {
        std::string& last = part_.Headers.back();
        last += ' ';
        last += line.text.substr(1);
      } else {
        part_.Headers.emplace_back(line.text);
      }
    }
    for (std::string& header : part_.Headers)
      header = NormalizeHeaderLine(header);
  }

  int NestingDepth() const {
    int depth = 0;
    for (const TMailPart* p = part_.parent_part_; p; p = p->parent_part_)
      ++depth;
    return depth;
  }

  void ChooseMode() {
    if (NestingDepth() >= kMaxNestingDepth) {
      mode_ = BodyMode::kPlain;
      return;
    }
    if (text::StartsWithIgnoringAsciiCase(part_.HeaderValue("Content-Type"), "multipart/")) {
      mode_ = BodyMode::kMultipart;
      boundary_ = part_.Boundary();
      open_delimiter_ = "--" + boundary_;
    } else if (part_.HasHeader("Content-Type")) {
      mode_ = BodyMode::kPlain;
    } else {
      mode_ = BodyMode::kUuencode;
      open_delimiter_ = std::string(kUuBegin);
    }
  }

  // Reads the body up to the first delimiter line; true when one stopped the pass.
  bool FirstPass(TextLine& stop) {
    const std::size_t body_start = reader_.Position();
    std::size_t body_end = text_.size();
    bool stopped = false;
    TextLine line;
    bool first = true;
    while (reader_.Next(line)) {
      if (!first)
        progress_.LineTaken(line);
      first = false;
      if (mode_ != BodyMode::kPlain && line.text.starts_with(open_delimiter_)) {
        stop = line;
        body_end = line.start;
        stopped = true;
        break;
      }
    }
    part_.Body.assign(text_.substr(body_start, body_end - body_start));
    if (cut_from_multipart_ && !part_.Body.ends_with("\r\n"))
      part_.Body += "\r\n";
    return stopped;
  }

  void WalkMultipart() {
    const std::string close_delimiter = open_delimiter_ + "--";
    std::size_t collected_start = npos;
    std::size_t collected_end = 0;
    TextLine line;
    while (reader_.Next(line)) {
      progress_.LineTaken(line);
      const bool is_close = line.text.starts_with(close_delimiter);
      if (is_close || line.text.starts_with(open_delimiter_)) {
        if (collected_start != npos)
          AddChild(text_.substr(collected_start, collected_end - collected_start));
        collected_start = npos;
        if (is_close)
          break;
      } else {
        if (collected_start == npos)
          collected_start = line.start;
        collected_end = line.end;
      }
    }
  }

  void AddChild(std::string_view slice) {
    std::unique_ptr<TMailPart> child = part_.NewChild();
    child->Parse(slice, true, true);
    child->ParentBoundary = boundary_;
    part_.sub_parts_.Add(std::move(child));
  }

  // Lines from "begin 6..." to "end" are attachments; everything before the first block
  // becomes a quoted-printable text part, and the part turns into multipart/mixed.
  void WalkUuencoded(TextLine line) {
    std::string new_boundary;
    std::string file_name;
    bool in_block = true;
    std::size_t collected_start = npos;
    std::size_t previous_end = line.start;
    for (;;) {
      if (line.text.starts_with(kUuBegin)) {
        if (new_boundary.empty()) {
          new_boundary = NewBoundary();
          ConvertToMultipart(new_boundary);
        }
        collected_start = npos;
        file_name = text::TrimSpaces(
            line.text.substr(std::min(kFileNameStart, line.text.size()), kFileNameLength));
      } else if (in_block && line.text.starts_with(kUuEnd)) {
        const std::string_view block =
            collected_start == npos ? std::string_view{}
                                    : text_.substr(collected_start, previous_end - collected_start);
        AddAttachment(block, new_boundary, file_name);
        collected_start = npos;
        in_block = false;
      } else if (collected_start == npos) {
        collected_start = line.start;
      }
      previous_end = line.end;
      if (!reader_.Next(line))
        break;
      progress_.LineTaken(line);
      if (line.text.starts_with("be"))
        in_block = true;
    }
  }

  void ConvertToMultipart(const std::string& new_boundary) {
    const TMailMessage2000& owner = *part_.owner_message_;
    std::unique_ptr<TMailPart> text_part = part_.NewChild();
    const std::string encoded = EncodeQuotedPrintable(part_.Body);
    text_part->Parse(encoded, false, false);
    text_part->ParentBoundary = new_boundary;
    text_part->SetHeader("Content-Type", "text/plain");
    text_part->SetHeaderParam("Content-Type", "charset", Quoted(owner.Charset));
    text_part->SetHeader("Content-Transfer-Encoding", "quoted-printable");
    part_.sub_parts_.Add(std::move(text_part));

    part_.SetHeader("Content-Type", "");
    part_.SetHeader("Content-Type", "multipart/mixed");
    part_.SetHeaderParam("Content-Type", "boundary", Quoted(new_boundary));
  }

  void AddAttachment(std::string_view block, const std::string& new_boundary,
                     const std::string& file_name) {
    std::unique_ptr<TMailPart> attachment = part_.NewChild();
    attachment->DecodedBody = UUDecodeToStream(block);
    attachment->EncodeBase64Body();
    attachment->ParentBoundary = new_boundary;
    attachment->SetHeader("Content-Type", ContentTypeOfFile(file_name));
    attachment->SetHeader("Content-Transfer-Encoding", "base64");
    attachment->SetHeader("Content-Disposition", "attachment");
    attachment->SetHeaderParam("Content-Type", "name", Quoted(file_name));
    attachment->SetHeaderParam("Content-Disposition", "filename", Quoted(file_name));
    part_.sub_parts_.Add(std::move(attachment));
  }

  TMailPart& part_;
  std::string_view text_;
  LineReader reader_;
  bool cut_from_multipart_;
  Progress progress_;
  BodyMode mode_ = BodyMode::kPlain;
  std::string boundary_;
  std::string open_delimiter_;
};

void TMailPart::Parse(std::string_view text, bool with_header, bool cut_from_multipart) {
  // A byte 0 ends the text.
  const std::size_t zero = text.find('\0');
  if (zero != npos)
    text = text.substr(0, zero);
  PartParser(*this, text, cut_from_multipart).Run(with_header);
}

} // namespace mime
