#include "platform/installed_package.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>
#include <vector>

namespace platform {
namespace {

bool ListsFile(const std::filesystem::path& list, const std::vector<std::string>& paths) {
  std::ifstream in(list);
  std::string line;
  while (std::getline(in, line))
    for (const std::string& path : paths)
      if (line == path)
        return true;
  return false;
}

// The "Version:" of an installed package in the status file.
std::string StatusVersion(const std::string& status_file, const std::string& package) {
  std::ifstream in(status_file);
  std::string line, name, version;
  bool installed = false;
  const auto finish = [&]() {
    const bool found = name == package && installed;
    name.clear();
    installed = false;
    return found;
  };
  std::string candidate;
  while (std::getline(in, line)) {
    if (line.empty()) {
      if (finish())
        return candidate;
      continue;
    }
    if (line.starts_with("Package: "))
      name = line.substr(9);
    else if (line.starts_with("Status: "))
      installed = line.ends_with(" installed");
    else if (line.starts_with("Version: "))
      candidate = line.substr(9);
  }
  return finish() ? candidate : std::string();
}

} // namespace

std::string OwningPackageVersion(const std::string& file, const std::string& dpkg_folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  std::vector<std::string> paths{file};
  const fs::path resolved = fs::canonical(file, error);
  if (!error && resolved.string() != file)
    paths.push_back(resolved.string());
  const std::string name = fs::path(file).filename().string();
  if (name.empty())
    return {};
  // Packages "name" and "name:arch" own their lists as "name.list" and "name:arch.list".
  for (fs::directory_iterator it(fs::path(dpkg_folder) / "info", error), end; !error && it != end;
       it.increment(error)) {
    const std::string entry = it->path().filename().string();
    if (!entry.ends_with(".list") || !entry.starts_with(name))
      continue;
    const std::string package = entry.substr(0, entry.size() - 5);
    if (package != name && !package.starts_with(name + ':'))
      continue;
    if (ListsFile(it->path(), paths))
      return StatusVersion((fs::path(dpkg_folder) / "status").string(), name);
  }
  return {};
}

std::string FourNumberVersion(const std::string& debian_version) {
  std::string_view v = debian_version;
  if (const std::size_t colon = v.find(':'); colon != std::string_view::npos)
    v.remove_prefix(colon + 1);
  if (const std::size_t dash = v.rfind('-'); dash != std::string_view::npos)
    v = v.substr(0, dash);
  std::string out;
  int parts = 0;
  while (parts < 4) {
    std::size_t digits = 0;
    while (digits < v.size() && digits < 5 && v[digits] >= '0' && v[digits] <= '9')
      ++digits;
    if (digits == 0)
      break;
    if (parts > 0)
      out += '.';
    out += std::to_string(std::min(std::stoul(std::string(v.substr(0, digits))), 65535UL));
    ++parts;
    v.remove_prefix(digits);
    const std::size_t dot = v.find('.');
    if (dot == std::string_view::npos)
      break;
    v.remove_prefix(dot + 1);
  }
  if (parts == 0)
    return {};
  for (; parts < 4; ++parts)
    out += ".0";
  return out;
}

} // namespace platform
