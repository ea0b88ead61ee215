// Names the platform compares without regard to case, the way the registry and URL
// schemes do: only the 26 ASCII letters fold, every other byte stands for itself.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace melodane {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

constexpr bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, {}, AsciiLower, AsciiLower);
}

inline std::string AsciiLowered(std::string text) {
  std::ranges::transform(text, text.begin(), AsciiLower);
  return text;
}

}  // namespace melodane
