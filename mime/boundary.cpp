#include "mime/boundary.h"

#include "text/trim.h"

#include <chrono>
#include <cstdint>
#include <random>

namespace mime {
namespace {

std::mt19937& Generator() {
  static std::mt19937 generator(static_cast<std::mt19937::result_type>(
      std::chrono::system_clock::now().time_since_epoch().count()));
  return generator;
}

} // namespace

std::string NewBoundary() {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::uint32_t value = Generator()();
  std::string hex;
  do {
    hex.insert(hex.begin(), kHexDigits[value & 15]);
    value >>= 4;
  } while (value != 0);
  return "boundary" + text::PadLeft(hex, 8, "0");
}

} // namespace mime
