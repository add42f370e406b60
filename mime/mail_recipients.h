// The recipients of one address field ("To", "Cc" or "Bcc") of a message, read afresh from
// the message's current header on every query.
#pragma once

#include <string>
#include <vector>

namespace mime {

class TMailMessage2000;

class TMailRecipients {
public:
  TMailRecipients(TMailMessage2000* owner, std::string header_label)
      : owner_message_(owner), header_label_(std::move(header_label)) {}

  TMailMessage2000* OwnerMessage() const { return owner_message_; }
  const std::string& HeaderLabel() const { return header_label_; }

  std::vector<std::string> Names;     // decoded display names, empty when none
  std::vector<std::string> Addresses; // same order as Names

  // Refills Names and Addresses from the field.
  void ParseRecipients();
  // The addresses as comma text, e.g. "jane@example.org,bob@example.com".
  std::string RecipientsText();

private:
  TMailMessage2000* owner_message_;
  std::string header_label_;
};

} // namespace mime
