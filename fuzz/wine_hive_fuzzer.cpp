// The hive parser on arbitrary text: parse, look up, write, and parse what was written again;
// the rewrite must keep what the lookups saw.
#include "platform/wine_hive.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// Well-formed UTF-8 (no overlong forms, no surrogates): what the hive holds its strings as.
bool IsStrictUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    auto lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80                   ? 0
                : lead >= 0xC2 && lead < 0xE0 ? 1
                : lead >= 0xE0 && lead < 0xF0 ? 2
                : lead >= 0xF0 && lead < 0xF5 ? 3
                                              : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size() + (extra == 0 ? 1 : 0))
      return false;
    std::uint32_t code_point = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80)
        return false;
      code_point = (code_point << 6) | (next & 0x3F);
    }
    if ((extra == 2 && (code_point < 0x800 || (code_point >= 0xD800 && code_point < 0xE000))) ||
        (extra == 3 && (code_point < 0x10000 || code_point > 0x10FFFF)))
      return false;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  platform::WineHive hive = platform::WineHive::Parse(text);
  const char* key = "Software\\Microsoft\\Outlook Express\\5.0";
  std::optional<std::string> before = hive.ReadString(key, "Store Root");
  (void)hive.HasKey("Identities");
  (void)hive.ReadString("Identities", "Default User ID");
  std::string written = hive.Serialize();
  platform::WineHive again = platform::WineHive::Parse(written);
  if (again.ReadString(key, "Store Root") != before)
    __builtin_trap(); // a rewrite lost or changed a value
  std::string_view new_value = text.substr(0, 64);
  hive.WriteString(key, "Store Root", new_value);
  platform::WineHive rewritten = platform::WineHive::Parse(hive.Serialize());
  std::optional<std::string> read = rewritten.ReadString(key, "Store Root");
  if (IsStrictUtf8(new_value) && read != std::string(new_value))
    __builtin_trap(); // a written string did not read back

  return 0;
}
