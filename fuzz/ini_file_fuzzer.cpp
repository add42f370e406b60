// The INI reader on arbitrary text.
#include "platform/ini_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  platform::IniFile ini = platform::IniFile::Parse(text);
  (void)ini.ReadString("Desktop Entry", "Exec", "none");
  (void)ini.ReadString("", "", "");
  // A key named by the input's first line, so the fuzzer can reach any entry.
  std::string_view first = text.substr(0, text.find('\n'));
  (void)ini.ReadString(first, first, "default");
  return 0;
}
