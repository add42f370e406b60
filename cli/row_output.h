// The result rows as an aligned table for people, or CSV or JSON for programs.
#pragma once

#include "app/recovered_list.h"
#include "arguments.h"

#include <ostream>

namespace cli {

// Texts are converted for display (UTF-8). The table cuts long texts to keep its columns
// aligned; CSV and JSON carry them whole.
void WriteRows(const app::RecoveredList& list, Format format, std::ostream& out);

// A JSON string literal of UTF-8 text.
std::string JsonString(std::string_view text);

// Characters, not bytes, of UTF-8 text.
std::size_t Width(std::string_view text);

// A CSV field, quoted when it needs to be.
std::string CsvField(std::string_view text);

} // namespace cli
