// Date fields to date-time values on arbitrary text; the result is a usable number.
#include "mime/mail_date.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {
double FixedBias() {
  return 1.0 / 24;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  mime::SetLocalTimeBiasSource(&FixedBias);
  double value = mime::MailDateToDateTime({reinterpret_cast<const char*>(data), size});
  if (!std::isfinite(value))
    __builtin_trap();
  return 0;
}
