// Operations on single header lines ("Label: value; name=param"). Lines are kept in their
// normalised form, see NormalizeHeaderLine.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mime {

using HeaderLines = std::vector<std::string>;

// Canonical label case ("Content-Type", "Message-ID"), one blank after the colon, runs of
// blanks outside double quotes collapsed, and an unclosed quoted string dropped.
std::string NormalizeHeaderLine(std::string_view line);

// Index of the first line that starts with `key` (ASCII case-insensitive), or -1.
int FindHeaderLine(const HeaderLines& lines, std::string_view key);

// The text between the first colon and the next semicolon outside double quotes, trimmed,
// without enclosing double quotes.
std::string HeaderMainValue(std::string_view line);

// The value of parameter `name` (case-insensitive) in a line, without enclosing quotes.
std::string LineParam(std::string_view line, std::string_view name);

// The line with its main value replaced by `value`, parameters kept.
std::string ReplaceMainValue(std::string_view line, std::string_view value);

// The line with parameter `name` set to `value`, appended as "; name=value" when absent.
std::string ReplaceParam(std::string_view line, std::string_view name, std::string_view value);

// Removes one enclosing pair of double quotes (a lone double quote becomes empty).
std::string_view StripDoubleQuotes(std::string_view s);

// Removes the first and last character of a text longer than 2 that begins and ends with a
// double or single quote, the two not necessarily matching.
std::string_view StripAnyQuotes(std::string_view s);

} // namespace mime
