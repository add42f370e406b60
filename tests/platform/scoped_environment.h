// Test isolation: environment variables set for one test, and a private home with its own
// configuration folder, Wine prefix and temporary folder, so no test touches the user's own.
#pragma once

#include "set_variable.h"

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <system_error>

namespace testenv {

// Sets (or, with nullopt, unsets) a variable and restores the earlier state afterwards.
class ScopedVariable {
public:
  ScopedVariable(std::string name, const std::optional<std::string>& value)
      : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str()))
      old_ = old;
    Set(value);
  }
  ~ScopedVariable() { Set(old_); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
  void Set(const std::optional<std::string>& value) { SetVariable(name_, value); }
  std::string name_;
  std::optional<std::string> old_;
};

// A fresh folder, removed with everything in it (read-only folders included) afterwards.
class TempFolder {
public:
  TempFolder() {
    // create_directory makes the folder only when no other has its name, as mkdtemp does.
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const auto candidate = base / ("salvora-test-" + std::to_string(random()));
      std::error_code error;
      if (std::filesystem::create_directory(candidate, error) && !error) {
        std::filesystem::permissions(candidate, std::filesystem::perms::owner_all, error);
        path_ = candidate.string();
      }
    }
  }
  ~TempFolder() {
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(path_, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
      if (it->is_directory(error) && !it->is_symlink(error))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, error);
    }
    std::filesystem::remove_all(path_, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + '/' + name; }

private:
  std::string path_;
};

inline void WriteFile(const std::string& path, const std::string& content) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A home of its own for one test: HOME, XDG_CONFIG_HOME, WINEPREFIX and TMPDIR all point into
// a temporary folder, and no display or Windows profile variable leaks in from outside.
class IsolatedUser {
public:
  IsolatedUser() {
    std::filesystem::create_directories(config());
    std::filesystem::create_directories(prefix());
    std::filesystem::create_directories(tmp());
    vars_.emplace_back("HOME", root_.path());
    vars_.emplace_back("XDG_CONFIG_HOME", config());
    vars_.emplace_back("WINEPREFIX", prefix());
    vars_.emplace_back("TMPDIR", tmp());
    for (const char* name : {"DISPLAY", "USERPROFILE", "APPDATA", "LOCALAPPDATA"})
      vars_.emplace_back(name, std::nullopt);
  }

  std::string home() const { return root_.path(); }
  std::string config() const { return root_ / "config"; }
  std::string prefix() const { return root_ / "wine"; }
  std::string tmp() const { return root_ / "tmp"; }
  std::string writable_hive() const { return config() + "/SalvoraExpress/user.reg"; }
  std::string wine_hive() const { return prefix() + "/user.reg"; }
  std::string operator/(const std::string& name) const { return root_ / name; }

private:
  TempFolder root_;
  std::deque<ScopedVariable> vars_;
};

// A folder this process cannot create anything in, even as root: a read-only file system.
inline std::string UnwritableFolder() {
  return "/proc/";
}

} // namespace testenv
