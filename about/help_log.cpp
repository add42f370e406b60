#include "about/help_log.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <utility>

namespace about {

THelpLog::THelpLog(std::string folder, bool enabled, std::function<std::string()> time_text)
    : folder_(std::move(folder)), enabled_(enabled), time_text_(std::move(time_text)) {}

std::string THelpLog::Path() const {
  return folder_ + '/' + kHelpLogName;
}

std::string FormatLogLine(const std::string& line, const std::string& time_text) {
  std::string text = line;
  if (text == "-" || text == "=")
    text = std::string(80, text[0]);
  if (!text.empty() && (text[0] == '!' || text[0] == '-' || text[0] == '='))
    return text.substr(1);
  return time_text + "   " + text;
}

void THelpLog::Write(const std::string& line) const {
  if (!enabled_)
    return;
  std::ofstream out(Path(), std::ios::binary | std::ios::app);
  if (!out)
    return;
  out << FormatLogLine(line, time_text_ ? time_text_() : std::string()) << '\n';
  out.flush();
}

void THelpLog::Remove() const {
  std::remove(Path().c_str());
}

namespace {

std::string NowText(const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[128];
  const std::size_t n = std::strftime(text, sizeof text, format, &local);
  return std::string(text, n);
}

} // namespace

std::string CurrentTimeText() {
  return NowText("%X");
}

std::string CurrentDateTimeText() {
  return NowText("%x %X");
}

} // namespace about
