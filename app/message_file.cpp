#include "message_file.h"

#include "platform/path_separator.h"

#include <algorithm>

namespace app {
namespace {

constexpr std::size_t kMaxNameBytes = 200 - 4 /* ".eml" */ - 11 /* "_" and a counter */;

bool IsAsciiLetterOrDigit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

} // namespace

std::string SanitizeFileName(std::string_view text) {
  std::string name(text.substr(0, kMaxNameBytes));
  std::replace_if(
      name.begin(), name.end(), [](char c) { return !IsAsciiLetterOrDigit(c); }, '_');
  return name;
}

std::string MessageFileStem(std::string_view subject) {
  std::string stem = SanitizeFileName(subject);
  if (stem.empty() && platform::kLeadingDotHides)
    stem = kNoSubjectStem;
  return stem;
}

std::string CandidateFileName(const std::string& save_path, const std::string& name, int n) {
  std::string file = save_path + platform::kPathSeparator + name;
  if (n > 0)
    file.append("_").append(std::to_string(n));
  return file + ".eml";
}

std::string WithCrLfLines(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::string out;
  out.reserve(text.size() + text.size() / 32 + 2);
  std::size_t i = 0;
  while (i < text.size()) {
    // A plain loop: find_first_of calls memchr on its set for every byte of the text.
    std::size_t end = i;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
      ++end;
    if (end == text.size()) {
      out.append(text.substr(i));
      out += "\r\n";
      break;
    }
    out.append(text.substr(i, end - i));
    out += "\r\n";
    i = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return out;
}

} // namespace app
