// Whole-number rules the program shares: 16-bit arithmetic that refuses to overflow,
// and the conversion of stored text to a whole number.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace melodane {

// Narrows a wider result to 16 bits. An overflow is no wrap-around: the step that
// computed it fails, and callers skip whatever depended on it.
constexpr std::optional<std::int16_t> Narrow16(std::int64_t value) {
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(value);
}

constexpr std::optional<std::int16_t> Add16(std::int16_t a, std::int16_t b) {
  return Narrow16(std::int64_t{a} + b);
}

constexpr std::optional<std::int16_t> Mul16(std::int16_t a, std::int16_t b) {
  return Narrow16(std::int64_t{a} * b);
}

constexpr std::optional<std::int32_t> Narrow32(std::int64_t value) {
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

// Reads text as a number: blanks around it are ignored, a sign is allowed, and a
// fraction goes to the nearest whole number, halves to the even one ("2.5" is 2,
// "3.5" is 4). Empty text, text that is no number, and magnitudes too large for
// 64 bits give nothing.
std::optional<std::int64_t> TextToWhole(std::string_view text);

// TextToWhole limited to the signed 16-bit range.
std::optional<std::int16_t> TextToInt16(std::string_view text);

}  // namespace melodane
