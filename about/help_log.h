// The diagnostic log HHDebug.txt: one line per call, each written and closed at once so
// that nothing is lost when the program dies.
#pragma once

#include <functional>
#include <string>

namespace about {

inline constexpr char kHelpLogName[] = "HHDebug.txt";

class THelpLog {
public:
  // `time_text` gives the current time in the user's format.
  THelpLog(std::string folder, bool enabled, std::function<std::string()> time_text);

  bool Enabled() const { return enabled_; }
  std::string Path() const;

  // Appends one line: "-" and "=" become separators of 79 characters, a leading "!" is
  // dropped, and any other line gets the time and three spaces in front. A file that cannot
  // be opened takes nothing.
  void Write(const std::string& line) const;
  void Remove() const;

private:
  std::string folder_;
  bool enabled_;
  std::function<std::string()> time_text_;
};

// The line as it goes into the file, without its line end.
std::string FormatLogLine(const std::string& line, const std::string& time_text);

// The current time in the user's (LC_TIME) format.
std::string CurrentTimeText();
// The current date and time in the user's format.
std::string CurrentDateTimeText();

} // namespace about
