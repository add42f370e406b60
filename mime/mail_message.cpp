#include "mime/mail_message.h"

#include "mime/header_words.h"
#include "mime/mail_date.h"
#include "text/trim.h"

namespace mime {

TMailMessage2000::TMailMessage2000() {
  owner_message_ = this;
}

TMailMessage2000::~TMailMessage2000() = default;

void TMailMessage2000::RebuildBody() {
  if (!BodyChanged)
    return;
  if (!SubParts().Empty()) {
    Body = "This is a multipart message in mime format.\r\n";
    WriteSubParts(*this);
  }
  SetHeader("Content-Length", std::to_string(Body.size()));
  BodyChanged = false;
}

void TMailMessage2000::WriteSubParts(const TMailPart& part) {
  const TMailPartList& children = part.SubParts();
  for (const auto& child : children) {
    Body += "\r\n--";
    Body += child->ParentBoundary;
    Body += "\r\n";
    for (const std::string& line : child->Headers) {
      if (line.empty())
        continue;
      Body += line;
      Body += "\r\n";
    }
    Body += "\r\n";
    if (!child->SubParts().Empty())
      WriteSubParts(*child); // a multipart child's own preamble is not written
    else
      Body += child->Body;
  }
  if (!children.Empty()) {
    Body += "\r\n--";
    Body += children[0].ParentBoundary;
    Body += "--\r\n";
  }
}

std::string TMailMessage2000::HeaderAddress(std::string_view label, int index) const {
  const std::string value(text::TrimSpaces(HeaderValue(label)));
  std::string result;
  int entry = 0;
  bool in_quote = false;
  for (char c : value) {
    if (c == '"') {
      in_quote = !in_quote;
      continue;
    }
    if (!in_quote && (c == ',' || c == ';'))
      ++entry;
    if (entry > index)
      break;
    if (entry != index || in_quote)
      continue;
    if (c != ' ' && c != ',' && c != ';' && c != '<' && c != '>')
      result += c;
    if (c == '<')
      result.clear(); // a display name before "<" is not the address
    if (c == '>')
      break;
  }
  return std::string(text::TrimSpaces(result));
}

std::string TMailMessage2000::FromText() const {
  return HeaderAddress("From", 0);
}

std::string TMailMessage2000::SubjectText() const {
  return DecodeHeaderWords(HeaderValue("Subject"));
}

double TMailMessage2000::DateValue() const {
  return MailDateToDateTime(text::TrimSpaces(HeaderValue("Date")));
}

} // namespace mime
