#include "app/notify_icon.h"

#include <cstring>

#include "app/product.h"

namespace melodane {

namespace {

constexpr std::uint32_t kFlagMessage = 1;
constexpr std::uint32_t kFlagIcon = 2;
constexpr std::uint32_t kFlagTip = 4;

}  // namespace

void FillNotifyIconRecord(NotifyIconRecord& record, std::uintptr_t window, std::uintptr_t icon) {
  record.hWnd = window;
  // The id is 32 bits wide; a handle's significant bits fit.
  record.uID = static_cast<std::uint32_t>(icon);
  record.uFlags = kFlagMessage | kFlagIcon | kFlagTip;
  record.uCallbackMessage = kNotifyCallbackMessage;
  record.hIcon = icon;

  std::memset(record.szTip, ' ', sizeof record.szTip);
  std::memcpy(record.szTip, kProductName.data(), kProductName.size());
  record.szTip[kProductName.size()] = '\0';

  record.cbSize = sizeof(NotifyIconRecord);
}

}  // namespace melodane
