// SPDX-License-Identifier: MIT
#include "message_start.h"

#include <algorithm>
#include <array>

namespace uoexpress {
namespace {

// Fields that mail and news programs write at the top of a message. Content-* fields are left
// out on purpose: they open every MIME part inside a message as well.
constexpr std::array<std::string_view, 62> kOpeningFields = {"Received",
                                                             "Return-Path",
                                                             "From",
                                                             "Sender",
                                                             "Reply-To",
                                                             "To",
                                                             "Cc",
                                                             "Bcc",
                                                             "Date",
                                                             "Subject",
                                                             "Message-ID",
                                                             "In-Reply-To",
                                                             "References",
                                                             "MIME-Version",
                                                             "Comments",
                                                             "Keywords",
                                                             "Resent-Date",
                                                             "Resent-From",
                                                             "Resent-Sender",
                                                             "Resent-To",
                                                             "Resent-Cc",
                                                             "Resent-Message-ID",
                                                             "Delivered-To",
                                                             "Envelope-To",
                                                             "Status",
                                                             "Organization",
                                                             "User-Agent",
                                                             "Thread-Topic",
                                                             "Thread-Index",
                                                             "Importance",
                                                             "Priority",
                                                             "Precedence",
                                                             "Errors-To",
                                                             "Disposition-Notification-To",
                                                             "Return-Receipt-To",
                                                             "DKIM-Signature",
                                                             "DomainKey-Signature",
                                                             "Authentication-Results",
                                                             "Received-SPF",
                                                             "ARC-Seal",
                                                             "ARC-Message-Signature",
                                                             "ARC-Authentication-Results",
                                                             "List-Id",
                                                             "List-Unsubscribe",
                                                             "Newsgroups",
                                                             "Path",
                                                             "Xref",
                                                             "Lines",
                                                             "NNTP-Posting-Host",
                                                             "NNTP-Posting-Date",
                                                             "Approved",
                                                             "Followup-To",
                                                             "Distribution",
                                                             "Expires",
                                                             "X-Mailer",
                                                             "X-Priority",
                                                             "X-MSMail-Priority",
                                                             "X-MimeOLE",
                                                             "X-Originating-IP",
                                                             "X-Apparently-To",
                                                             "X-Sender",
                                                             "X-UIDL"};

// Names this long at most fit in the first line's look.
constexpr std::size_t kNameLimit = 80;

bool IsFieldNameChar(char c) {
  auto byte = static_cast<unsigned char>(c);
  return byte >= 33 && byte <= 126 && byte != ':';
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

// The field name the text opens with, up to its colon; empty when there is none.
std::string_view FieldName(std::string_view text, std::size_t from) {
  std::size_t end = from;
  const std::size_t limit = std::min(text.size(), kNameLimit);
  while (end < limit && IsFieldNameChar(text[end]))
    ++end;
  if (end == from || end >= text.size() || text[end] != ':')
    return {};
  return text.substr(from, end - from);
}

} // namespace

bool BeginsMessage(std::string_view text) {
  std::string_view name = FieldName(text, 0);
  if (name.empty())
    return false;
  if (name.size() > 2 && Lower(name[0]) == 'x' && name[1] == '-')
    return true;
  return std::any_of(kOpeningFields.begin(), kOpeningFields.end(),
                     [&](std::string_view field) { return SameLetters(field, name); });
}

FreedStart BeginsFreedMessage(std::string_view text) {
  constexpr std::size_t kOverwritten = 4;
  if (text.size() <= kOverwritten || text.substr(0, kOverwritten) != "____")
    return FreedStart::None;
  // A name of four letters: its colon comes right after the "____".
  if (text[kOverwritten] == ':')
    return FreedStart::Colon;
  std::string_view tail = FieldName(text, kOverwritten);
  const bool named =
      !tail.empty() &&
      std::any_of(kOpeningFields.begin(), kOpeningFields.end(), [&](std::string_view field) {
        return field.size() == kOverwritten + tail.size() &&
               SameLetters(field.substr(kOverwritten), tail);
      });
  return named ? FreedStart::Named : FreedStart::None;
}

} // namespace uoexpress
