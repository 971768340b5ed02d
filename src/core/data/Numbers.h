#pragma once
// The two ways the program turns text into integers.

#include <cstdint>
#include <optional>
#include <string_view>

namespace pw {

// A "whole number" as the editor understands it: optional leading blanks, an optional sign, then
// decimal digits, or hexadecimal digits after "$", "x" or "0x" (either letter case); nothing may
// follow. The value must fit a signed 32-bit integer.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

// The integer rule of the file readers: a decimal integer with optional sign; a text longer than two
// characters that starts with "0x"/"0X" is hexadecimal after the prefix. std::nullopt when not valid.
std::optional<std::int32_t> ParseFileInteger(std::string_view text);

// "'%s' is not a valid integer value"
std::string NotValidIntegerMessage(std::string_view text);

} // namespace pw
