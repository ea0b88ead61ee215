// In-memory controls that behave as the window's controls do, for driving the form's
// behaviour without a window.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/controls.h"

namespace melodane::testing {

class MemoryList final : public ListControl {
 public:
  void Clear() override {
    items_.clear();
    index_ = -1;
  }
  int AddItem(std::string_view text) override {
    items_.push_back({std::string(text), 0});
    return static_cast<int>(items_.size()) - 1;
  }
  int ListCount() const override { return static_cast<int>(items_.size()); }
  std::optional<std::int32_t> ItemData(int index) const override {
    if (index < 0 || index >= ListCount()) return std::nullopt;
    return items_[index].second;
  }
  bool SetItemData(int index, std::int32_t data) override {
    if (index < 0 || index >= ListCount()) return false;
    items_[index].second = data;
    return true;
  }
  int ListIndex() const override { return index_; }

  const std::string& Text(int index) const { return items_.at(index).first; }

 protected:
  bool Select(int index) override {
    index_ = index;
    return true;
  }

 private:
  std::vector<std::pair<std::string, std::int32_t>> items_;
  int index_ = -1;
};

class MemoryScrollBar final : public ScrollBarControl {
 public:
  MemoryScrollBar(int min, int max) : min_(min), max_(max), value_(min) {}
  int Value() const override { return value_; }
  int Min() const override { return min_; }
  int Max() const override { return max_; }

 protected:
  bool Assign(int value) override {
    value_ = value;
    return true;
  }

 private:
  int min_, max_, value_;
};

class MemoryCheckBox final : public CheckBoxControl {
 public:
  bool Checked() const override { return checked_; }
  void SetChecked(bool checked) override { checked_ = checked; }

 private:
  bool checked_ = false;
};

}  // namespace melodane::testing
