#include "mime/header_lines.h"

#include "text/ascii.h"
#include "text/trim.h"

namespace mime {
namespace {

bool NamesMatch(std::string_view a, std::string_view b) {
  return text::EqualsIgnoringAsciiCase(text::TrimSpaces(a), text::TrimSpaces(b));
}

std::string WithFinalSemicolon(std::string_view line) {
  std::string s(text::TrimSpaces(line));
  if (!s.ends_with(';'))
    s += ';';
  return s;
}

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

} // namespace

std::string_view StripDoubleQuotes(std::string_view s) {
  if (!s.empty() && s.front() == '"' && s.back() == '"')
    return s.size() >= 2 ? s.substr(1, s.size() - 2) : std::string_view{};
  return s;
}

std::string_view StripAnyQuotes(std::string_view s) {
  if (s.size() > 2 && IsQuote(s.front()) && IsQuote(s.back()))
    return s.substr(1, s.size() - 2);
  return s;
}

std::string NormalizeHeaderLine(std::string_view line) {
  std::string label;
  std::string value;
  std::string quoted;
  bool in_label = true;
  bool in_quote = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (in_label) {
      if (label.empty() || label.back() == '-')
        label += text::ToUpperAscii(c);
      else if ((c == 'D' || c == 'd') && label.ends_with("-I") && i + 1 < line.size() &&
               line[i + 1] == ':')
        label += 'D'; // "Message-ID", "Content-ID"
      else
        label += text::ToLowerAscii(c);
      if (c == ':') {
        in_label = false;
        value.clear();
      }
      continue;
    }
    if (c == '"') {
      if (!in_quote) {
        quoted.assign(1, c);
      } else {
        value += quoted;
        value += c;
      }
      in_quote = !in_quote;
    } else if (in_quote) {
      quoted += c;
    } else if (c == ' ') {
      value.resize(text::TrimRightSpaces(value).size());
      value += ' ';
    } else {
      value += c;
    }
  }
  std::string out(text::TrimSpaces(label));
  out += ' ';
  out += text::TrimSpaces(value);
  return out;
}

int FindHeaderLine(const HeaderLines& lines, std::string_view key) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (text::StartsWithIgnoringAsciiCase(lines[i], key))
      return static_cast<int>(i);
  }
  return -1;
}

std::string HeaderMainValue(std::string_view line) {
  std::string collected;
  bool in_quote = false;
  bool collecting = false;
  for (char c : line) {
    if (c == '"') {
      in_quote = !in_quote;
    } else if (!in_quote && c == ':' && !collecting) {
      collecting = true;
      continue;
    } else if (!in_quote && c == ';' && collecting) {
      break;
    }
    if (collecting)
      collected += c;
  }
  return std::string(StripDoubleQuotes(text::TrimSpaces(collected)));
}

std::string LineParam(std::string_view line, std::string_view name) {
  const std::string s = WithFinalSemicolon(line);
  std::string name_buffer;
  std::string result;
  bool in_quote = false;
  bool in_value = false;
  bool in_params = false;
  bool matched = false;
  for (char c : s) {
    if (c == '"') {
      in_quote = !in_quote;
    } else if (!in_quote) {
      if (c == ':' && !in_value && !in_params) {
        in_value = true;
        continue;
      }
      if (c == ';' && (in_value || in_params)) {
        in_params = true;
        in_value = false;
        matched = false;
        name_buffer.clear();
        continue;
      }
      if (c == '=' && in_params) {
        matched = NamesMatch(name_buffer, name);
        name_buffer.clear();
        continue;
      }
    }
    if (matched)
      result += c;
    else if (in_params)
      name_buffer += c;
  }
  return std::string(StripDoubleQuotes(text::TrimSpaces(result)));
}

std::string ReplaceMainValue(std::string_view line, std::string_view value) {
  bool in_quote = false;
  std::size_t colon = std::string_view::npos;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"')
      in_quote = !in_quote;
    else if (!in_quote && line[i] == ':') {
      colon = i;
      break;
    }
  }
  if (colon == std::string_view::npos)
    return std::string(line);
  const std::size_t start = colon + 1;
  const std::size_t semicolon = line.find(';', start);
  const std::size_t end = semicolon == std::string_view::npos ? line.size() : semicolon;
  std::string out(line.substr(0, start));
  out += ' ';
  out += text::TrimSpaces(value);
  out += line.substr(end);
  return out;
}

std::string ReplaceParam(std::string_view line, std::string_view name, std::string_view value) {
  std::string s = WithFinalSemicolon(line);
  std::string name_buffer;
  bool in_quote = false;
  bool in_value = false;
  bool in_params = false;
  std::size_t start = 0; // 0: not found; the separator before it always takes position 0
  std::size_t length = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      in_quote = !in_quote;
    } else if (!in_quote) {
      if (c == ':' && !in_value && !in_params) {
        in_value = true;
        continue;
      }
      if (c == ';' && (in_value || in_params)) {
        if (in_params && start != 0) {
          length = i - start;
          break;
        }
        in_params = true;
        in_value = false;
        name_buffer.clear();
        continue;
      }
      if (c == '=' && in_params) {
        if (NamesMatch(name_buffer, name))
          start = i + 1;
        name_buffer.clear();
        continue;
      }
    }
    if (in_params && start == 0)
      name_buffer += c;
  }
  s.pop_back(); // the final ";"
  if (start != 0) {
    s.replace(start, length, text::TrimSpaces(value));
    return s;
  }
  std::string out(text::TrimSpaces(line));
  out += "; ";
  out += text::TrimSpaces(name);
  out += '=';
  out += text::TrimSpaces(value);
  return out;
}

} // namespace mime
