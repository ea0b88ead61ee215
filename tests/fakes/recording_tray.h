#pragma once

#include <string>
#include <vector>

#include "app/notify_icon.h"

namespace melodane::testing {

// A notification area that keeps one icon per window and id, as the system's does:
// a second add of the same icon is refused.
class RecordingTray final : public NotificationArea {
 public:
  bool Add(const NotifyIconRecord& record) override {
    calls.push_back("add");
    records.push_back(record);
    if (refuse_all || shown) return false;
    shown = true;
    return true;
  }
  bool Delete(const NotifyIconRecord& record) override {
    calls.push_back("delete");
    records.push_back(record);
    if (!shown || record.cbSize == 0) return false;
    shown = false;
    return true;
  }

  bool refuse_all = false;
  bool shown = false;
  std::vector<std::string> calls;
  std::vector<NotifyIconRecord> records;
};

}  // namespace melodane::testing
