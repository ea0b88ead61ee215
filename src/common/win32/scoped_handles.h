// Owners for the Windows handles the program holds, so that every one is closed on
// every path.
#pragma once

#include <windows.h>

#include <utility>

namespace melodane::win32 {

template <typename Handle, typename Traits>
class Scoped {
 public:
  Scoped() = default;
  explicit Scoped(Handle handle) : handle_(handle) {}
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  Scoped(Scoped&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, Traits::Invalid()));
    return *this;
  }
  ~Scoped() { Reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  // For calls that hand a new handle out through a pointer.
  Handle* Receive() {
    Reset();
    return &handle_;
  }
  void Reset(Handle handle = Traits::Invalid()) {
    if (handle_ != Traits::Invalid()) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct KeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY key) { RegCloseKey(key); }
};
struct HandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE handle) { CloseHandle(handle); }
};
template <typename Gdi>
struct GdiTraits {
  static Gdi Invalid() { return nullptr; }
  static void Close(Gdi object) { DeleteObject(object); }
};
struct IconTraits {
  static HICON Invalid() { return nullptr; }
  static void Close(HICON icon) { DestroyIcon(icon); }
};
struct MenuTraits {
  static HMENU Invalid() { return nullptr; }
  static void Close(HMENU menu) { DestroyMenu(menu); }
};

using ScopedKey = Scoped<HKEY, KeyTraits>;
using ScopedHandle = Scoped<HANDLE, HandleTraits>;
using ScopedFont = Scoped<HFONT, GdiTraits<HFONT>>;
using ScopedBrush = Scoped<HBRUSH, GdiTraits<HBRUSH>>;
using ScopedPen = Scoped<HPEN, GdiTraits<HPEN>>;
using ScopedBitmap = Scoped<HBITMAP, GdiTraits<HBITMAP>>;
using ScopedIcon = Scoped<HICON, IconTraits>;
using ScopedMenu = Scoped<HMENU, MenuTraits>;

}  // namespace melodane::win32
