#include "folder_output.h"

#include "app/display_text.h"
#include "row_output.h"

#include <algorithm>

namespace cli {
namespace {

struct FolderCells {
  std::string file, name, path;
};

FolderCells Display(const app::FolderFile& folder) {
  return {app::DisplayText(folder.name), app::DisplayText(folder.display_name),
          app::DisplayText(folder.display_path)};
}

std::string Padded(const std::string& text, std::size_t width) {
  return text + std::string(width - Width(text) + 2, ' ');
}

void WriteTable(const std::string& store_root, const std::vector<app::FolderFile>& folders,
                std::ostream& out) {
  out << "store: " << app::DisplayText(store_root) << '\n';
  std::size_t file_width = Width("File"), name_width = Width("Name");
  for (const app::FolderFile& folder : folders) {
    const FolderCells cells = Display(folder);
    file_width = std::max(file_width, Width(cells.file));
    name_width = std::max(name_width, Width(cells.name));
  }
  out << "  " << Padded("File", file_width) << Padded("Name", name_width) << "Path\n";
  for (const app::FolderFile& folder : folders) {
    const FolderCells cells = Display(folder);
    out << (folder.ticked ? "* " : "  ") << Padded(cells.file, file_width)
        << Padded(cells.name, name_width) << cells.path << '\n';
  }
}

} // namespace

void WriteFolders(const std::string& store_root, const std::vector<app::FolderFile>& folders,
                  Format format, std::ostream& out) {
  switch (format) {
  case Format::Table:
    WriteTable(store_root, folders, out);
    return;
  case Format::Csv:
    out << "file,name,path,ticked\r\n";
    for (const app::FolderFile& folder : folders) {
      const FolderCells cells = Display(folder);
      out << CsvField(cells.file) << ',' << CsvField(cells.name) << ',' << CsvField(cells.path)
          << ',' << (folder.ticked ? "true" : "false") << "\r\n";
    }
    return;
  case Format::Json:
    out << '[';
    for (std::size_t i = 0; i < folders.size(); ++i) {
      const FolderCells cells = Display(folders[i]);
      out << (i == 0 ? "\n" : ",\n") << "  {\"file\": " << JsonString(cells.file)
          << ", \"name\": " << JsonString(cells.name) << ", \"path\": " << JsonString(cells.path)
          << ", \"ticked\": " << (folders[i].ticked ? "true" : "false") << '}';
    }
    out << (folders.empty() ? "]\n" : "\n]\n");
    return;
  }
}

} // namespace cli
