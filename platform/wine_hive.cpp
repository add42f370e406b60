#include "wine_hive.h"

#include "text/ascii.h"
#include "text/trim.h"

#include <cstdint>
#include <ctime>

namespace platform {
namespace {

constexpr std::string_view kHeader = "WINE REGISTRY Version 2";

std::string_view Trimmed(std::string_view line) {
  return text::TrimSpaces(line, " \t\r");
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos)
      break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::string NormalizedPath(std::string_view path) {
  std::string result;
  for (char c : path) {
    if (c == '\\' && (result.empty() || result.back() == '\\'))
      continue;
    result += c;
  }
  if (!result.empty() && result.back() == '\\')
    result.pop_back();
  return result;
}

void AppendUtf8(std::string& out, std::uint32_t code_point) {
  if (code_point < 0x80) {
    out += static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    out += static_cast<char>(0xC0 | (code_point >> 6));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    out += static_cast<char>(0xE0 | (code_point >> 12));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code_point >> 18));
    out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  }
}

// Collects UTF-16 code units from escapes and pairs surrogates into UTF-8.
class Utf16Sink {
public:
  explicit Utf16Sink(std::string& out) : out_(out) {}
  void Unit(std::uint32_t unit) {
    if (unit >= 0xDC00 && unit <= 0xDFFF && high_ != 0) {
      AppendUtf8(out_, 0x10000 + ((high_ - 0xD800) << 10) + (unit - 0xDC00));
      high_ = 0;
      return;
    }
    Flush();
    if (unit >= 0xD800 && unit <= 0xDBFF)
      high_ = unit;
    else if (unit >= 0xDC00 && unit <= 0xDFFF)
      AppendUtf8(out_, 0xFFFD);
    else
      AppendUtf8(out_, unit);
  }
  void Flush() {
    if (high_ != 0)
      AppendUtf8(out_, 0xFFFD);
    high_ = 0;
  }

private:
  std::string& out_;
  std::uint32_t high_ = 0;
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  c = text::ToLowerAscii(c);
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

char SimpleEscape(char c) {
  switch (c) {
  case 'a':
    return '\a';
  case 'b':
    return '\b';
  case 'e':
    return '\x1b';
  case 'f':
    return '\f';
  case 'n':
    return '\n';
  case 'r':
    return '\r';
  case 't':
    return '\t';
  case 'v':
    return '\v';
  default:
    return c;
  }
}

// Reads escaped text from `pos` up to an unescaped `terminator`, leaving `pos` after it.
std::optional<std::string> Unescape(std::string_view text, std::size_t& pos, char terminator) {
  std::string out;
  Utf16Sink sink(out);
  while (pos < text.size()) {
    const char c = text[pos++];
    if (c == terminator) {
      sink.Flush();
      return out;
    }
    if (c != '\\' || pos == text.size()) {
      sink.Flush();
      out += c;
      continue;
    }
    const char e = text[pos++];
    if (e == 'x') {
      std::uint32_t unit = 0;
      int digits = 0;
      for (int d; digits < 4 && pos < text.size() && (d = HexDigit(text[pos])) >= 0;
           ++digits, ++pos)
        unit = unit * 16 + static_cast<std::uint32_t>(d);
      if (digits == 0) {
        sink.Flush();
        out += 'x';
      } else {
        sink.Unit(unit);
      }
    } else if (e >= '0' && e <= '7') {
      std::uint32_t unit = static_cast<std::uint32_t>(e - '0');
      for (int digits = 1; digits < 3 && pos < text.size() && text[pos] >= '0' && text[pos] <= '7';
           ++digits, ++pos)
        unit = unit * 8 + static_cast<std::uint32_t>(text[pos] - '0');
      sink.Unit(unit);
    } else {
      sink.Flush();
      out += SimpleEscape(e);
    }
  }
  return std::nullopt;
}

// Decodes one UTF-8 sequence at `pos`; a byte that starts no valid sequence stands for itself.
std::uint32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  if (lead < 0x80 || extra == 0 || pos + extra > text.size())
    return lead;
  std::uint32_t code_point = lead & (0x3F >> extra);
  for (int i = 0; i < extra; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80)
      return lead;
    code_point = (code_point << 6) | (next & 0x3F);
  }
  pos += extra;
  return code_point;
}

void AppendUnitEscape(std::string& out, std::uint32_t unit) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += "\\x";
  for (int shift = 12; shift >= 0; shift -= 4)
    out += kHex[(unit >> shift) & 0xF];
}

std::string Escape(std::string_view text) {
  std::string out;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::uint32_t c = NextCodePoint(text, pos);
    switch (c) {
    case '\\':
      out += "\\\\";
      break;
    case '"':
      out += "\\\"";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\r':
      out += "\\r";
      break;
    case '\t':
      out += "\\t";
      break;
    default:
      if (c >= 0x20 && c < 0x7F) {
        out += static_cast<char>(c);
      } else if (c >= 0x10000) {
        AppendUnitEscape(out, 0xD800 + ((c - 0x10000) >> 10));
        AppendUnitEscape(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
      } else {
        AppendUnitEscape(out, c);
      }
    }
  }
  return out;
}

// "hex(2):41,00,42,00,00,00" holds UTF-16LE text, as Wine writes strings it cannot quote.
std::optional<std::string> DecodeHexString(std::string_view bytes_text) {
  std::vector<std::uint32_t> bytes;
  std::size_t pos = 0;
  while (pos < bytes_text.size()) {
    const auto comma = bytes_text.find(',', pos);
    const std::string_view item =
        Trimmed(bytes_text.substr(pos, comma == std::string_view::npos ? comma : comma - pos));
    if (item.size() != 2 || HexDigit(item[0]) < 0 || HexDigit(item[1]) < 0)
      return std::nullopt;
    bytes.push_back(static_cast<std::uint32_t>(HexDigit(item[0]) * 16 + HexDigit(item[1])));
    if (comma == std::string_view::npos)
      break;
    pos = comma + 1;
  }
  std::string out;
  Utf16Sink sink(out);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const std::uint32_t unit = bytes[i] | (bytes[i + 1] << 8);
    if (unit == 0)
      break;
    sink.Unit(unit);
  }
  sink.Flush();
  return out;
}

std::optional<std::string> DecodeString(std::string_view data) {
  for (std::string_view prefix : {"str(1):", "str(2):"}) {
    if (data.substr(0, prefix.size()) == prefix)
      data.remove_prefix(prefix.size());
  }
  if (!data.empty() && data.front() == '"') {
    std::size_t pos = 1;
    return Unescape(data, pos, '"');
  }
  for (std::string_view prefix : {"hex(1):", "hex(2):"}) {
    if (data.substr(0, prefix.size()) == prefix)
      return DecodeHexString(data.substr(prefix.size()));
  }
  return std::nullopt;
}

bool IsDefaultName(std::string_view name) {
  return name.empty() || name == "@";
}

} // namespace

WineHive WineHive::Parse(std::string_view text) {
  WineHive hive;
  const std::vector<std::string_view> lines = Lines(text);
  std::size_t index = 0;
  while (index < lines.size() && Trimmed(lines[index]).empty())
    ++index;
  if (index == lines.size() || Trimmed(lines[index]) != kHeader)
    return hive;
  Key* key = nullptr;
  for (++index; index < lines.size(); ++index) {
    std::string_view line = Trimmed(lines[index]);
    if (line.empty() || line.front() == ';') {
      if (key == nullptr && !line.empty())
        hive.preamble_.emplace_back(line);
      continue;
    }
    if (line.front() == '[') {
      std::size_t pos = 1;
      const std::optional<std::string> path = Unescape(line, pos, ']');
      if (!path) {
        key = nullptr;
        continue;
      }
      key = &hive.KeyForWriting(*path);
      key->stamp = std::string(Trimmed(line.substr(pos)));
      continue;
    }
    if (line.front() == '#') {
      (key == nullptr ? hive.preamble_ : key->meta).emplace_back(line);
      continue;
    }
    if (key == nullptr || (line.front() != '"' && line.front() != '@'))
      continue;
    std::size_t pos = 1;
    std::optional<std::string> name = std::string();
    if (line.front() == '"')
      name = Unescape(line, pos, '"');
    if (!name || pos >= line.size() || line[pos] != '=')
      continue;
    std::string data(line.substr(pos + 1));
    // Long binary values continue on the next lines after a trailing backslash. The value is
    // kept without trailing blanks, as a rewrite reads it back, and backslashes that end a file
    // cut short are dropped, so that a rewrite does not join the next line to the value.
    auto drop_end = [&data](bool backslashes) {
      while (!data.empty() &&
             (data.back() == ' ' || data.back() == '\t' || (backslashes && data.back() == '\\')))
        data.pop_back();
    };
    while (data.rfind("hex", 0) == 0 && !data.empty() && data.back() == '\\') {
      data.pop_back();
      if (index + 1 == lines.size()) {
        drop_end(true);
        break;
      }
      data += Trimmed(lines[++index]);
      drop_end(false);
    }
    Value* existing = nullptr;
    for (Value& value : key->values) {
      if (text::EqualsIgnoringAsciiCase(value.name, *name))
        existing = &value;
    }
    if (existing != nullptr)
      existing->data = std::move(data);
    else
      key->values.push_back({std::move(*name), std::move(data)});
  }
  return hive;
}

std::string WineHive::Serialize() const {
  std::string out(kHeader);
  out += '\n';
  for (const std::string& line : preamble_)
    out += line + '\n';
  for (const Key& key : keys_) {
    out += "\n[" + Escape(key.path) + "]";
    if (!key.stamp.empty())
      out += ' ' + key.stamp;
    out += '\n';
    for (const std::string& line : key.meta)
      out += line + '\n';
    for (const Value& value : key.values)
      out += (value.name.empty() ? std::string("@") : '"' + Escape(value.name) + '"') + '=' +
             value.data + '\n';
  }
  return out;
}

const WineHive::Key* WineHive::FindKey(std::string_view normalized) const {
  for (const Key& key : keys_) {
    if (text::EqualsIgnoringAsciiCase(key.path, normalized))
      return &key;
  }
  return nullptr;
}

WineHive::Key& WineHive::KeyForWriting(std::string_view path) {
  const std::string normalized = NormalizedPath(path);
  for (Key& key : keys_) {
    if (text::EqualsIgnoringAsciiCase(key.path, normalized))
      return key;
  }
  keys_.push_back({normalized, std::to_string(std::time(nullptr)), {}, {}});
  return keys_.back();
}

bool WineHive::HasKey(std::string_view path) const {
  const std::string normalized = NormalizedPath(path);
  if (normalized.empty())
    return true;
  for (const Key& key : keys_) {
    const std::string_view candidate = key.path;
    if (text::EqualsIgnoringAsciiCase(candidate.substr(0, normalized.size()), normalized) &&
        (candidate.size() == normalized.size() || candidate[normalized.size()] == '\\'))
      return true;
  }
  return false;
}

std::optional<std::string> WineHive::ReadString(std::string_view key, std::string_view name) const {
  const Key* found = FindKey(NormalizedPath(key));
  if (found == nullptr)
    return std::nullopt;
  const std::string_view wanted = IsDefaultName(name) ? std::string_view() : name;
  for (const Value& value : found->values) {
    if (text::EqualsIgnoringAsciiCase(value.name, wanted))
      return DecodeString(value.data);
  }
  return std::nullopt;
}

void WineHive::CreateKey(std::string_view path) {
  if (!NormalizedPath(path).empty())
    KeyForWriting(path);
}

void WineHive::WriteString(std::string_view key, std::string_view name, std::string_view data) {
  Key& target = KeyForWriting(key);
  const std::string wanted(IsDefaultName(name) ? std::string_view() : name);
  const std::string encoded = '"' + Escape(data) + '"';
  for (Value& value : target.values) {
    if (text::EqualsIgnoringAsciiCase(value.name, wanted)) {
      value.data = encoded;
      return;
    }
  }
  target.values.push_back({wanted, encoded});
}

} // namespace platform
