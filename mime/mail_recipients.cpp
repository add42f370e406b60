#include "mime/mail_recipients.h"

#include "mime/comma_text.h"
#include "mime/header_words.h"
#include "mime/mail_message.h"
#include "text/trim.h"

namespace mime {
namespace {

bool IsEntryEnd(char c) {
  return c == ',' || c == ';';
}

bool IsNameExcluded(char c) {
  return c == ',' || c == ';' || c == '<' || c == '>';
}

bool IsAddressExcluded(char c) {
  return c == ' ' || IsNameExcluded(c);
}

} // namespace

void TMailRecipients::ParseRecipients() {
  const std::string value(text::TrimSpaces(owner_message_->HeaderValue(header_label_)));
  Names.clear();
  Addresses.clear();
  std::string name;
  std::string address;
  bool in_quote = false;
  bool in_name = true; // no "<" seen in this entry yet

  const auto end_entry = [&] {
    if (in_name) {
      Names.emplace_back();
      Addresses.emplace_back(text::TrimSpaces(name));
    } else {
      Names.push_back(DecodeHeaderWords(text::TrimSpaces(name)));
      Addresses.emplace_back(text::TrimSpaces(address));
    }
    name.clear();
    address.clear();
    in_name = true;
  };

  for (char c : value) {
    if (c == '"') {
      in_quote = !in_quote;
      continue;
    }
    if (!in_quote && IsEntryEnd(c))
      end_entry();
    if (in_name) {
      if (in_quote || !IsNameExcluded(c))
        name += c;
    } else if (!in_quote && !IsAddressExcluded(c)) {
      address += c;
    }
    if (!in_quote && c == '<')
      in_name = false;
  }
  if (!value.empty())
    end_entry();
}

std::string TMailRecipients::RecipientsText() {
  ParseRecipients();
  return CommaText(Addresses);
}

} // namespace mime
