// Dotted version numbers as version resources write them: "1.0.0.0".
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace text {

// The numbers of a version of one or more dot-separated parts, each one to nine decimal
// digits (so each fits 32 bits); nothing for any other text, an empty part included.
std::optional<std::vector<std::uint32_t>> ParseVersionNumbers(std::string_view version);

} // namespace text
