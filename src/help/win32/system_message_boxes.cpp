#include "help/win32/system_message_boxes.h"

#include <string>

namespace melodane::win32 {

int SystemMessageBoxes::MsgBox(std::string_view text, int flags, std::string_view title) {
  const std::string text_z(text), title_z(title);
  // A box asked for after the window has gone stands alone.
  HWND owner = IsWindow(owner_) ? owner_ : nullptr;
  return MessageBoxA(owner, text_z.c_str(), title_z.c_str(), static_cast<UINT>(flags));
}

}  // namespace melodane::win32
