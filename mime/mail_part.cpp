#include "mime/mail_part.h"

#include "mime/base64.h"
#include "mime/mail_message.h"
#include "text/trim.h"

namespace mime {

TMailPart::TMailPart() = default;

TMailPart::~TMailPart() = default;

void TMailPart::ParseText(std::string_view text) {
  ParseBuffer(text, true);
}

void TMailPart::ParseBuffer(std::string_view text, bool with_header) {
  // The text may be this part's own Body or a child's, which the parse clears first.
  const std::string own_copy(text);
  Parse(own_copy, with_header, false);
}

int TMailPart::FindLabel(std::string_view label) const {
  std::string key(label);
  key += ':';
  return FindHeaderLine(Headers, key);
}

std::string TMailPart::HeaderValue(std::string_view label) const {
  const int index = FindLabel(label);
  if (index < 0)
    return {};
  const std::string value = HeaderMainValue(Headers[static_cast<std::size_t>(index)]);
  return std::string(StripAnyQuotes(text::TrimSpaces(value)));
}

std::string TMailPart::HeaderParam(std::string_view label, std::string_view name) const {
  const int index = FindLabel(label);
  if (index < 0)
    return {};
  const std::string value = LineParam(Headers[static_cast<std::size_t>(index)], name);
  return std::string(StripAnyQuotes(text::TrimSpaces(value)));
}

bool TMailPart::HasHeader(std::string_view label) const {
  return FindLabel(label) >= 0;
}

void TMailPart::SetHeader(std::string_view label, std::string_view value) {
  int index = FindLabel(label);
  if (value.empty()) {
    if (index >= 0)
      Headers.erase(Headers.begin() + index);
    return;
  }
  if (index < 0) {
    Headers.push_back(std::string(label) + ": ");
    index = static_cast<int>(Headers.size()) - 1;
  }
  std::string& line = Headers[static_cast<std::size_t>(index)];
  line = ReplaceMainValue(line, value);
}

void TMailPart::SetHeaderParam(std::string_view label, std::string_view name,
                               std::string_view value) {
  int index = FindLabel(label);
  if (index < 0) {
    Headers.push_back(std::string(label) + ": ");
    index = static_cast<int>(Headers.size()) - 1;
  }
  std::string& line = Headers[static_cast<std::size_t>(index)];
  line = ReplaceParam(line, name, value);
}

std::string TMailPart::Boundary() const {
  return HeaderParam("Content-Type", "boundary");
}

void TMailPart::EncodeBase64Body() {
  Body = EncodeBase64Stream(DecodedBody);
  SetHeader("Content-Transfer-Encoding", "base64");
}

std::unique_ptr<TMailPart> TMailPart::NewChild() {
  auto child = std::make_unique<TMailPart>();
  child->owner_message_ = owner_message_;
  child->parent_part_ = this;
  return child;
}

} // namespace mime
