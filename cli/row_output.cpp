#include "row_output.h"

#include "app/display_text.h"

#include <array>
#include <cstdio>

namespace cli {
namespace {

using app::RecoveredRow;

// At most `limit` characters, the last one "…" when cut.
std::string Cut(const std::string& text, std::size_t limit) {
  if (Width(text) <= limit)
    return text;
  std::size_t kept = 0, i = 0;
  for (; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++kept == limit)
      break;
  }
  return text.substr(0, i) + "\u2026";
}

// A folder found in a disk image, cut in its image's name: where the folder starts stays.
std::string CutFolder(const app::RecoveredRow& row, const std::string& text, std::size_t limit) {
  const std::size_t at = text.rfind(" @ ");
  if (row.message.SourcePath.empty() || at == std::string::npos || Width(text) <= limit)
    return Cut(text, limit);
  const std::string start = text.substr(at);
  const std::size_t kept = Width(start) + 1 < limit ? limit - Width(start) : 1;
  return Cut(text.substr(0, at), kept) + start;
}

struct Cells {
  std::string folder, from, to, subject, date;
};

Cells Display(const RecoveredRow& row) {
  return {app::DisplayText(row.message.FolderFileName), app::DisplayText(row.from),
          app::DisplayText(row.to), app::DisplayText(row.subject), app::DisplayText(row.date_text)};
}

// The kind column of the table: D for deleted, F for found only by the deep scan.
const char* Marker(const app::TEmailMessage& message) {
  return message.Found ? "F" : message.Deleted ? "D" : "";
}

const char* Bool(bool value) {
  return value ? "true" : "false";
}

void WriteTable(const app::RecoveredList& list, std::ostream& out) {
  constexpr std::array<const char*, 8> kHeaders = {"S",    "Folder", "D",       "A",
                                                   "From", "To",     "Subject", "Date"};
  constexpr std::array<std::size_t, 8> kLimits = {1, 24, 1, 1, 30, 30, 50, 19};
  std::vector<std::array<std::string, 8>> table;
  for (const RecoveredRow& row : list.Rows()) {
    Cells cells = Display(row);
    table.push_back({row.ticked ? "x" : "", CutFolder(row, cells.folder, kLimits[1]),
                     Marker(row.message), row.message.HasAttachment ? "A" : "", cells.from,
                     cells.to, cells.subject, cells.date});
  }
  std::array<std::size_t, 8> widths{};
  for (std::size_t c = 0; c < 8; ++c) {
    widths[c] = Width(kHeaders[c]);
    for (auto& line : table) {
      line[c] = Cut(line[c], kLimits[c]);
      widths[c] = std::max(widths[c], Width(line[c]));
    }
  }
  auto write_line = [&](const std::array<std::string, 8>& cells) {
    std::string text;
    for (std::size_t c = 0; c < 8; ++c) {
      text += cells[c];
      if (c + 1 < 8)
        text += std::string(widths[c] - Width(cells[c]) + 2, ' ');
    }
    out << text << '\n';
  };
  write_line({kHeaders[0], kHeaders[1], kHeaders[2], kHeaders[3], kHeaders[4], kHeaders[5],
              kHeaders[6], kHeaders[7]});
  for (const auto& line : table)
    write_line(line);
}

void WriteCsv(const app::RecoveredList& list, std::ostream& out) {
  out << "folder,deleted,attachment,from,to,subject,date,ticked,data_offset,kind\r\n";
  for (const RecoveredRow& row : list.Rows()) {
    Cells cells = Display(row);
    out << CsvField(cells.folder) << ',' << Bool(row.message.Deleted) << ','
        << Bool(row.message.HasAttachment) << ',' << CsvField(cells.from) << ','
        << CsvField(cells.to) << ',' << CsvField(cells.subject) << ',' << CsvField(cells.date)
        << ',' << Bool(row.ticked) << ',' << row.message.DataOffset << ','
        << app::KindName(row.message) << "\r\n";
  }
}

void WriteJson(const app::RecoveredList& list, std::ostream& out) {
  out << '[';
  bool first = true;
  for (const RecoveredRow& row : list.Rows()) {
    Cells cells = Display(row);
    out << (first ? "\n" : ",\n") << "  {\"folder\": " << JsonString(cells.folder)
        << ", \"deleted\": " << Bool(row.message.Deleted)
        << ", \"attachment\": " << Bool(row.message.HasAttachment)
        << ", \"from\": " << JsonString(cells.from) << ", \"to\": " << JsonString(cells.to)
        << ", \"subject\": " << JsonString(cells.subject)
        << ", \"date\": " << JsonString(cells.date) << ", \"ticked\": " << Bool(row.ticked)
        << ", \"data_offset\": " << row.message.DataOffset << ", \"kind\": \""
        << app::KindName(row.message) << "\"}";
    first = false;
  }
  out << (first ? "]\n" : "\n]\n");
}

} // namespace

std::size_t Width(std::string_view text) {
  std::size_t width = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
      ++width;
  return width;
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
    case '"':
      out += "\\\"";
      break;
    case '\\':
      out += "\\\\";
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
      if (static_cast<unsigned char>(c) < 0x20) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
        out += escape;
      } else {
        out += c;
      }
    }
  }
  return out + '"';
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos)
    return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"')
      out += '"';
    out += c;
  }
  return out + '"';
}

void WriteRows(const app::RecoveredList& list, Format format, std::ostream& out) {
  switch (format) {
  case Format::Table:
    WriteTable(list, out);
    break;
  case Format::Csv:
    WriteCsv(list, out);
    break;
  case Format::Json:
    WriteJson(list, out);
    break;
  }
}

} // namespace cli
