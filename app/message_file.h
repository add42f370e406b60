// How a recovered message becomes an .eml file: its name from the subject, its lines ending
// with CR LF.
#pragma once

#include <string>
#include <string_view>

namespace app {

// Every byte but an ASCII letter or digit becomes "_". The result is cut to 185 bytes, so the
// whole file name, counter and ".eml" included, stays within 200 bytes and one long subject
// cannot make the file impossible to create.
std::string SanitizeFileName(std::string_view text);

// The name a message's file is given, before its counter and ".eml": the sanitized subject.
// Where a name starting with "." is hidden (POSIX systems), a message without a subject is
// named kNoSubjectStem rather than ".eml", which the user would not see.
inline constexpr char kNoSubjectStem[] = "no_subject";
std::string MessageFileStem(std::string_view subject);

// `save_path`/`name`.eml for n = 0, `save_path`/`name`_n.eml after.
std::string CandidateFileName(const std::string& save_path, const std::string& name, int n);

// The text's lines, each ended by CR LF: a line ends at CR LF, a lone CR or a lone LF; a NUL
// ends the text; a last line without a break still gets one.
std::string WithCrLfLines(std::string_view text);

} // namespace app
