// Owners for the Windows handles the program holds, so that every one is closed on
// every path.
#pragma once

#include <windows.h>

#include "common/scoped.h"

namespace melodane::win32 {

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
struct DcTraits {
  static HDC Invalid() { return nullptr; }
  static void Close(HDC dc) { DeleteDC(dc); }
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
using ScopedDc = Scoped<HDC, DcTraits>;  // a memory DC of CreateCompatibleDC

// An object selected into a DC for the owner's lifetime; the DC's earlier object comes
// back when it goes, so that the DC can be deleted or released safely.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace melodane::win32
