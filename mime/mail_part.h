// One part of an Internet message: its header lines, its body text and the parts found in a
// multipart body. The message itself is a part too (TMailMessage2000).
#pragma once

#include "mime/header_lines.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mime {

class TMailMessage2000;
class TMailPart;

// The direct children of a part, in text order. A part owns its children, so destroying the
// message (or parsing into it again) destroys the whole tree below it.
class TMailPartList {
public:
  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  TMailPart& operator[](int index) const { return *items_.at(static_cast<std::size_t>(index)); }
  void Add(std::unique_ptr<TMailPart> part) { items_.push_back(std::move(part)); }
  void Clear() { items_.clear(); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

private:
  std::vector<std::unique_ptr<TMailPart>> items_;
};

class TMailPart {
public:
  TMailPart();
  virtual ~TMailPart();
  TMailPart(const TMailPart&) = delete;
  TMailPart& operator=(const TMailPart&) = delete;

  std::string Name;           // names the part in the "must be owned" error
  HeaderLines Headers;        // folded and normalised, in text order; duplicates allowed
  std::string Body;           // body text as found in the message, never decoded
  std::string DecodedBody;    // content of an attachment converted from uuencoding
  std::string ParentBoundary; // boundary of the multipart body holding this part

  TMailMessage2000* OwnerMessage() const { return owner_message_; }
  TMailPart* ParentPart() const { return parent_part_; }
  const TMailPartList& SubParts() const { return sub_parts_; }

  // Replaces the part's contents by the parse of a whole message text.
  void ParseText(std::string_view text);
  void ParseBuffer(std::string_view text, bool with_header);

  std::string HeaderValue(std::string_view label) const;
  std::string HeaderParam(std::string_view label, std::string_view name) const;
  bool HasHeader(std::string_view label) const;
  // An empty value removes the first field with that label.
  void SetHeader(std::string_view label, std::string_view value);
  void SetHeaderParam(std::string_view label, std::string_view name, std::string_view value);

  std::string Boundary() const;
  // Body := base64 lines of DecodedBody, and the transfer encoding says so.
  void EncodeBase64Body();

protected:
  TMailMessage2000* owner_message_ = nullptr;

private:
  friend class PartParser;

  int FindLabel(std::string_view label) const;
  // `cut_from_multipart`: the text was cut out of an enclosing multipart body just before a
  // delimiter line, whose preceding CR LF belongs to this part's body.
  void Parse(std::string_view text, bool with_header, bool cut_from_multipart);
  std::unique_ptr<TMailPart> NewChild();

  TMailPart* parent_part_ = nullptr;
  TMailPartList sub_parts_;
};

} // namespace mime
