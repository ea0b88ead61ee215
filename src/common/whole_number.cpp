#include "common/whole_number.h"

namespace melodane {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Rounding of a fraction given by its decimal digits: -1 below a half, 0 exactly a
// half, 1 above.
int CompareWithHalf(std::string_view fraction) {
  if (fraction.empty() || fraction.front() < '5') return -1;
  if (fraction.front() > '5') return 1;
  for (char c : fraction.substr(1)) {
    if (c != '0') return 1;
  }
  return 0;
}

}  // namespace

std::optional<std::int64_t> TextToWhole(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }

  const auto point = text.find('.');
  const std::string_view whole_digits = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
  if (whole_digits.empty() && fraction.empty()) return std::nullopt;
  for (char c : whole_digits) {
    if (!IsDigit(c)) return std::nullopt;
  }
  for (char c : fraction) {
    if (!IsDigit(c)) return std::nullopt;
  }

  constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 10 - 1;
  std::int64_t magnitude = 0;
  for (char c : whole_digits) {
    if (magnitude > kLimit) return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
  }
  const int half = CompareWithHalf(fraction);
  if (half > 0 || (half == 0 && magnitude % 2 == 1)) ++magnitude;
  return negative ? -magnitude : magnitude;
}

std::optional<std::int16_t> TextToInt16(std::string_view text) {
  const auto whole = TextToWhole(text);
  if (!whole) return std::nullopt;
  return Narrow16(*whole);
}

}  // namespace melodane
