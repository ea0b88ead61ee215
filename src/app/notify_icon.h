// The main window's notification-area icon: the service that shows and removes it, and
// what it reports of the mouse.
#pragma once

#include <string_view>

namespace melodane {

// The mouse on the icon, as far as the window cares: only a released left or right
// button brings it back.
enum class IconMouse { kOther, kLeftButtonUp, kRightButtonUp };

class NotificationArea {
 public:
  virtual ~NotificationArea() = default;
  // Shows the window's icon with `tip`. False when refused, for instance because the
  // icon is shown already or no notification area runs.
  virtual bool Add(std::string_view tip) = 0;
  // Removes the icon of the last add; false when there is none.
  virtual bool Delete() = 0;
};

}  // namespace melodane
