#include "message_file.h"

#include "platform/path_separator.h"

#include <algorithm>
#include <cstring>

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
  // Line by line from LF to LF with memchr, which runs at memory speed; a CR before an LF is
  // part of its line end, and any other CR ends a line of its own.
  const char* begin = text.data();
  const char* const end = begin + text.size();
  while (begin < end) {
    const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', end - begin));
    const char* line_end = lf ? lf : end;
    if (lf && lf > begin && lf[-1] == '\r')
      --line_end;
    while (const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', line_end - begin))) {
      out.append(begin, cr).append("\r\n");
      begin = cr + 1;
    }
    if (lf || begin < end)
      out.append(begin, line_end).append("\r\n");
    begin = lf ? lf + 1 : end;
  }
  return out;
}

} // namespace app
