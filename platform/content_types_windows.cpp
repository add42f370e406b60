#include "platform/content_types.h"

#include <windows.h>

namespace platform {
namespace {

class ClassesKey {
public:
  explicit ClassesKey(const std::string& name) {
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, name.c_str(), 0, KEY_QUERY_VALUE, &key_) !=
        ERROR_SUCCESS)
      key_ = nullptr;
  }
  ~ClassesKey() {
    if (key_ != nullptr)
      ::RegCloseKey(key_);
  }
  ClassesKey(const ClassesKey&) = delete;
  ClassesKey& operator=(const ClassesKey&) = delete;

  std::string ReadString(const char* name) const {
    char data[256] = {};
    DWORD type = 0;
    DWORD size = sizeof data - 1;
    if (key_ == nullptr ||
        ::RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
      return {};
    return data; // the zero after the text ends it, whether stored or not
  }

private:
  HKEY key_ = nullptr;
};

} // namespace

// The file types Windows knows are the keys of HKEY_CLASSES_ROOT named by extension, such as
// ".gif" holding "Content Type" = "image/gif". The registry compares names without regard to
// case, and is asked anew each time, as a program installed meanwhile may have added a type.
std::string ContentTypeForExtension(std::string_view extension) {
  if (extension.size() < 2 || extension.front() != '.' ||
      extension.find('\\') != std::string_view::npos)
    return {};
  return ClassesKey(std::string(extension)).ReadString("Content Type");
}

} // namespace platform
