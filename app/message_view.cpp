#include "message_view.h"

#include "display_text.h"
#include "message_file.h"
#include "mime/content_decoding.h"
#include "mime/content_type.h"
#include "mime/encoded_words.h"
#include "mime/header_fields.h"
#include "mime/mail_date.h"
#include "mime/mail_message.h"
#include "mime/mime_error.h"
#include "platform/charset.h"
#include "platform/new_file.h"
#include "platform/pump.h"
#include "recovered_text.h"
#include "safe_file_name.h"
#include "text/ascii.h"

#include <algorithm>

namespace app {
namespace {

class Converter {
public:
  explicit Converter(const CharsetDecoder& decoder) : decoder_(decoder) {}

  // Bytes in a named character set as UTF-8; bytes of no (known) character set are shown as
  // the result list shows them.
  std::string ToUtf8(std::string_view charset, std::string_view bytes) const {
    if (!charset.empty()) {
      std::optional<std::string> converted =
          decoder_ ? decoder_(charset, bytes) : platform::ConvertToUtf8(charset, bytes);
      if (converted)
        return std::move(*converted);
    }
    return DisplayText(bytes);
  }

  std::string HeaderText(std::string_view value) const {
    std::string text;
    for (const mime::CharsetText& piece : mime::SplitEncodedWords(value))
      text += ToUtf8(piece.charset, piece.bytes);
    return text;
  }

private:
  const CharsetDecoder& decoder_;
};

// Runs of blanks and tabs as one blank, the form the date parser expects.
std::string CollapsedBlanks(std::string_view text) {
  std::string collapsed;
  for (char c : text) {
    const bool blank = c == ' ' || c == '\t';
    if (!blank)
      collapsed += c;
    else if (!collapsed.empty() && collapsed.back() != ' ')
      collapsed += ' ';
  }
  while (!collapsed.empty() && collapsed.back() == ' ')
    collapsed.pop_back();
  return collapsed;
}

std::string WithLfLines(std::string_view text) {
  std::string lf;
  lf.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      lf += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n')
        ++i;
    } else {
      lf += text[i];
    }
  }
  return lf;
}

// RFC 2231: charset'language'text with %XX escapes.
std::string ExtendedParameter(std::string_view value, const Converter& converter) {
  const std::size_t first = value.find('\'');
  const std::size_t second = first == value.npos ? value.npos : value.find('\'', first + 1);
  if (second == value.npos)
    return converter.ToUtf8("", value);
  // %XX reads like quoted-printable's =XX.
  std::string escaped(value.substr(second + 1));
  std::replace(escaped.begin(), escaped.end(), '%', '=');
  return converter.ToUtf8(value.substr(0, first), mime::DecodeQuotedPrintableContent(escaped));
}

std::string AttachmentName(const mime::TMailPart& part, const Converter& converter) {
  for (const auto& [label, parameter] :
       {std::pair{"Content-Disposition", "filename"}, std::pair{"Content-Type", "name"}}) {
    const std::string plain = part.HeaderParam(label, parameter);
    if (!plain.empty())
      return converter.HeaderText(plain);
    const std::string extended = part.HeaderParam(label, std::string(parameter) + "*");
    if (!extended.empty())
      return ExtendedParameter(extended, converter);
  }
  return {};
}

class PartCollector {
public:
  // `root_body`: the message's body as it stands in the text.
  PartCollector(MessageView& view, const Converter& converter, const mime::TMailPart& root,
                std::string_view root_body)
      : view_(view), converter_(converter), root_(root), root_body_(root_body) {}

  // The parser nests parts at most some hundred levels deep, so recursion is bounded.
  void Collect(const mime::TMailPart& part) {
    if (!part.SubParts().Empty()) {
      for (const auto& child : part.SubParts())
        Collect(*child);
      return;
    }
    std::string type = text::LowerAscii(part.HeaderValue("Content-Type"));
    // A part without a type is text; so is a multipart body whose parts were never found
    // (cut off, or a boundary that never comes): the message's shows all of it.
    if (type.starts_with("multipart/") && &part == &root_)
      whole_root_ = true;
    if (type.empty() || type.starts_with("multipart/"))
      type = "text/plain";
    const std::string disposition = text::LowerAscii(part.HeaderValue("Content-Disposition"));
    std::string name = AttachmentName(part, converter_);
    const bool readable = type == "text/plain" || type == "text/html";
    if (readable && name.empty() && disposition != "attachment") {
      const mime::TMailPart*& first = type == "text/plain" ? plain_ : html_;
      if (!first)
        first = &part;
      return;
    }
    view_.attachments.push_back({std::move(name), type, Content(part)});
  }

  void ChooseBody() {
    const mime::TMailPart* part = plain_ ? plain_ : html_;
    if (!part)
      return;
    view_.body_is_html = part == html_;
    const std::string charset = part->HeaderParam("Content-Type", "charset");
    std::string content = Content(*part);
    // Mail programs wrote uuencoded files into plain text; they are attachments too.
    if (!view_.body_is_html) {
      for (mime::UuencodedFile& file : mime::TakeUuencodedFiles(content))
        view_.attachments.push_back({converter_.ToUtf8(charset, file.name),
                                     text::LowerAscii(mime::ContentTypeOfFile(file.name)),
                                     std::move(file.content)});
    }
    view_.body = WithLfLines(converter_.ToUtf8(charset, content));
  }

private:
  std::string Content(const mime::TMailPart& part) const {
    if (&part == &root_ && whole_root_)
      return std::string(root_body_);
    return mime::DecodeContent(part.Body, part.HeaderValue("Content-Transfer-Encoding"));
  }

  MessageView& view_;
  const Converter& converter_;
  const mime::TMailPart& root_;
  std::string_view root_body_;
  bool whole_root_ = false;
  const mime::TMailPart* plain_ = nullptr;
  const mime::TMailPart* html_ = nullptr;
};

} // namespace

MessageView ViewMessage(std::string_view text, const CharsetDecoder& decoder) {
  const Converter converter(decoder);
  MessageView view;
  const std::string lines = WithCrLfLines(text);
  view.has_header = mime::StartsWithHeaderField(lines);
  const std::size_t body_start = view.has_header ? mime::BodyStart(lines) : 0;
  if (view.has_header) {
    const std::string_view header = std::string_view(lines).substr(0, body_start);
    auto field = [&](std::string_view label) {
      const std::optional<std::string> value = mime::HeaderField(header, label);
      return value ? converter.HeaderText(*value) : std::string();
    };
    view.from = field("From");
    view.to = field("To");
    view.cc = field("Cc");
    view.subject = field("Subject");
    view.date = field("Date");
    if (const std::optional<std::string> date = mime::HeaderField(header, "Date"))
      view.date_value = mime::MailDateToDateTime(CollapsedBlanks(*date));
  }

  mime::TMailMessage2000 mail;
  mail.Charset.clear(); // the text part of a uuencoded message names no character set
  try {
    mail.ParseBuffer(lines, view.has_header);
  } catch (const mime::MimeError&) {
    // A broken uuencoded block ends the parse: the parts found before it are shown.
  }
  PartCollector collector(view, converter, mail, std::string_view(lines).substr(body_start));
  collector.Collect(mail);
  collector.ChooseBody();
  return view;
}

MessageView ViewRecoveredMessage(const TEmailMessage& message, const std::string& temp_dir,
                                 const CharsetDecoder& decoder) {
  // Between runs the stop flag stays set, and readers read nothing while it is.
  const bool stop_was_requested = platform::StopRequested();
  platform::SetStopRequested(false);
  struct RestoreStop {
    bool value;
    ~RestoreStop() { platform::SetStopRequested(value); }
  } restore{stop_was_requested};
  std::string text;
  ReadRecoveredText(message, temp_dir, text, true);
  return ViewMessage(text, decoder);
}

std::string SaveAttachment(const MessageAttachment& attachment, const std::string& folder) {
  const std::string name = SafeFileName(
      attachment.name, attachment.content_type == "message/rfc822" ? "message.eml" : "attachment");
  for (int n = 0;; ++n) {
    std::string path = NumberedPath(folder, name, n);
    if (!platform::PathExists(path) &&
        platform::WriteNewFile(path, attachment.content) == platform::NewFileResult::Created)
      return path;
  }
}

} // namespace app
