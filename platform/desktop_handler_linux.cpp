#include "platform/desktop_handler.h"
#include "platform/shell.h"
#include "text/trim.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

namespace platform {
namespace {

std::string Variable(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value == '/' ? value : fallback;
}

std::string Home() {
  return Variable("HOME", "/");
}

std::vector<std::string> SplitList(std::string_view text, char separator) {
  std::vector<std::string> parts;
  while (!text.empty()) {
    const std::size_t end = text.find(separator);
    if (end != 0)
      parts.emplace_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return parts;
}

std::vector<std::string> DataFolders() {
  std::vector<std::string> folders{Variable("XDG_DATA_HOME", Home() + "/.local/share")};
  for (const std::string& folder :
       SplitList(Variable("XDG_DATA_DIRS", "/usr/local/share:/usr/share"), ':'))
    folders.push_back(folder);
  return folders;
}

// mimeapps.list files in the order the rules give them precedence.
std::vector<std::string> MimeAppsLists() {
  std::vector<std::string> files{Variable("XDG_CONFIG_HOME", Home() + "/.config") +
                                 "/mimeapps.list"};
  for (const std::string& folder : SplitList(Variable("XDG_CONFIG_DIRS", "/etc/xdg"), ':'))
    files.push_back(folder + "/mimeapps.list");
  for (const std::string& folder : DataFolders())
    files.push_back(folder + "/applications/mimeapps.list");
  return files;
}

// The value of `key` in `section` of a desktop-style key file.
std::optional<std::string> KeyFileValue(const std::string& file, std::string_view section,
                                        std::string_view key) {
  std::ifstream in(file);
  std::string line;
  bool inside = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.starts_with('[')) {
      const std::string_view header(line);
      inside = header.ends_with(']') && header.substr(1, header.size() - 2) == section;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inside || equals == std::string::npos)
      continue;
    const std::string_view entry(line);
    if (text::TrimRightSpaces(entry.substr(0, equals)) == key)
      return std::string(text::TrimLeftSpaces(entry.substr(equals + 1)));
  }
  return std::nullopt;
}

std::string DesktopEntryFile(const std::string& desktop_id) {
  if (desktop_id.empty() || desktop_id.find('/') != std::string::npos)
    return {};
  std::error_code error;
  for (const std::string& folder : DataFolders()) {
    const std::string file = folder + "/applications/" + desktop_id;
    if (std::filesystem::is_regular_file(file, error))
      return file;
  }
  return {};
}

bool DeclaresType(const std::string& file, const std::string& content_type) {
  const auto types = KeyFileValue(file, "Desktop Entry", "MimeType");
  if (!types)
    return false;
  for (const std::string& type : SplitList(*types, ';'))
    if (type == content_type)
      return true;
  return false;
}

} // namespace

std::string DefaultDesktopEntry(const std::string& content_type) {
  for (const std::string& list : MimeAppsLists()) {
    const auto ids = KeyFileValue(list, "Default Applications", content_type);
    if (!ids)
      continue;
    for (const std::string& id : SplitList(*ids, ';'))
      if (!DesktopEntryFile(id).empty())
        return id;
  }
  // Nothing chosen: the first installed application that declares the type, by name.
  std::error_code error;
  for (const std::string& folder : DataFolders()) {
    std::vector<std::string> names;
    for (std::filesystem::directory_iterator it(folder + "/applications", error), end;
         !error && it != end; it.increment(error)) {
      const std::string name = it->path().filename().string();
      if (name.ends_with(".desktop"))
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
      if (DesktopEntryFile(name) == folder + "/applications/" + name &&
          DeclaresType(folder + "/applications/" + name, content_type))
        return name;
  }
  return {};
}

std::string DesktopEntryProgram(const std::string& desktop_id) {
  const std::string file = DesktopEntryFile(desktop_id);
  if (file.empty())
    return {};
  const auto exec = KeyFileValue(file, "Desktop Entry", "Exec");
  if (!exec)
    return {};
  std::string_view line = *exec;
  std::string program;
  if (!line.empty() && line.front() == '"') {
    const std::size_t close = line.find('"', 1);
    program = std::string(line.substr(1, close == std::string_view::npos ? close : close - 1));
  } else {
    program = std::string(line.substr(0, line.find(' ')));
  }
  return FindProgram(program);
}

} // namespace platform
