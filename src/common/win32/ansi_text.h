// The program's text is in the system's ANSI code page on Windows, as the A forms of
// the system calls give and take it; windows show UTF-16.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace melodane::win32 {

inline std::wstring Widen(std::string_view text) {
  if (text.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

}  // namespace melodane::win32
