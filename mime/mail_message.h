// The Internet message component: one message in RFC 822 form with its MIME part tree, and
// the answers the scan needs (sender, recipients, subject, date).
#pragma once

#include "mime/mail_part.h"
#include "mime/mail_recipients.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace mime {

enum class TEncodingType { etBase64, etQuotedPrintable, etNoEncoding, et7Bit };

// Fired while a text is parsed: Total is the text's length, Current the position reached.
using TProgressEvent =
    std::function<void(TMailPart& sender, std::int32_t total, std::int32_t current)>;

class TMailMessage2000 : public TMailPart {
public:
  TMailMessage2000();
  ~TMailMessage2000() override;

  std::string Charset = "iso-8859-1"; // of the text part made from a uuencoded message
  TProgressEvent OnProgress;          // followed by a pump of the program's messages
  TMailRecipients ToList{this, "To"};
  TMailRecipients CcList{this, "Cc"};
  TMailRecipients BccList{this, "Bcc"};
  TEncodingType TextEncoding = TEncodingType::etQuotedPrintable;
  bool BodyChanged = false; // set by every parse, cleared by RebuildBody

  // Regenerates Body from the part tree and sets Content-Length, once after each parse.
  void RebuildBody();

  // The address of the index-th entry (0-based) of an address field, display names and
  // quoted text left out; empty when there is none.
  std::string HeaderAddress(std::string_view label, int index) const;
  std::string FromText() const;
  std::string SubjectText() const;
  // Days since 30 December 1899 in local time; 0 when the Date field is missing or unusable.
  double DateValue() const;

private:
  void WriteSubParts(const TMailPart& part);
};

} // namespace mime
