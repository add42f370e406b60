// A recovered message as a reader sees it before saving it: its header fields, its text and
// its attachments, all decoded. Built for any text, whole, damaged or a fragment without
// header lines: it shows what it can and never fails.
#pragma once

#include "recovered_email.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// Text in a named character set as UTF-8; nothing when the character set is unknown. The
// default is the platform's converter; the window may pass its toolkit's.
using CharsetDecoder =
    std::function<std::optional<std::string>(std::string_view charset, std::string_view bytes)>;

struct MessageAttachment {
  std::string name;         // UTF-8 as the message gives it: may be empty, long or a path
  std::string content_type; // "application/pdf", in lower case
  std::string content;      // the decoded bytes
};

struct MessageView {
  // The header fields, UTF-8, encoded words decoded in their character sets; empty when
  // missing.
  std::string from, to, cc, subject, date;
  double date_value = 0; // the Date as the result list holds it; 0 when it does not parse
  // The text: the first text/plain part, else the first text/html part; UTF-8 with LF line
  // ends.
  std::string body;
  bool body_is_html = false;
  // False for a fragment that does not begin with header lines: all of it is the text.
  bool has_header = true;
  std::vector<MessageAttachment> attachments;
};

// The view of a message text as the readers return it (CR LF or lone line ends, possibly
// cut at a NUL).
MessageView ViewMessage(std::string_view text, const CharsetDecoder& decoder = {});

// The view of a recovered row's whole text, read from its working copy. Throws the reader's
// EFOpenError when the working copy cannot be opened.
MessageView ViewRecoveredMessage(const TEmailMessage& message, const std::string& temp_dir,
                                 const CharsetDecoder& decoder = {});

// Writes the attachment's content into `folder` under its name made safe (SafeFileName: it
// stays inside the folder; "attachment" when nothing is left of it), with "_1", "_2", ...
// before the extension when a file of that name exists; never replaces a file. Returns the
// path written; throws "Cannot create file %s" when it cannot be written.
std::string SaveAttachment(const MessageAttachment& attachment, const std::string& folder);

} // namespace app
