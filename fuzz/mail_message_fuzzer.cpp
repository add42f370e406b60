// The message parser on arbitrary text, followed by everything the scan and the save ask of
// the parsed message.
#include "mime/mail_message.h"
#include "mime/mime_error.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void Walk(const mime::TMailPart& part, int depth) {
  (void)part.HeaderValue("Content-Type");
  (void)part.HeaderParam("Content-Type", "boundary");
  (void)part.HeaderParam("Content-Disposition", "filename");
  (void)part.Boundary();
  if (depth > 200)
    __builtin_trap(); // the part tree must stay shallow enough to walk
  for (const auto& child : part.SubParts())
    Walk(*child, depth + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  mime::TMailMessage2000 mail;
  try {
    mail.ParseText(text);
    mail.RebuildBody();
  } catch (const mime::MimeError&) {
  }
  try {
    (void)mail.FromText();
  } catch (const mime::MimeError&) {
  }
  try {
    (void)mail.ToList.RecipientsText();
    (void)mail.CcList.RecipientsText();
  } catch (const mime::MimeError&) {
  }
  try {
    (void)mail.SubjectText();
  } catch (const mime::MimeError&) {
  }
  try {
    (void)mail.DateValue();
  } catch (const mime::MimeError&) {
  }
  (void)mail.HeaderAddress("From", 0);
  (void)mail.HeaderAddress("To", 1);
  Walk(mail, 0);
  return 0;
}
