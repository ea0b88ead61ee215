// What the program needs of the window's controls. The Win32 and Qt windows implement
// these; the rules every control of a kind shares (which values it refuses) live here.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace melodane {

// A drop-down list filled by code, with one selection and a number per entry.
class ListControl {
 public:
  virtual ~ListControl() = default;

  virtual void Clear() = 0;
  // Appends an entry and gives its index (the list's "new index").
  virtual int AddItem(std::string_view text) = 0;
  virtual int ListCount() const = 0;
  // Fails for an index that names no entry.
  virtual std::optional<std::int32_t> ItemData(int index) const = 0;
  virtual bool SetItemData(int index, std::int32_t data) = 0;
  // -1 when nothing is selected.
  virtual int ListIndex() const = 0;

  // Selection by code; it raises no click event. -1 clears the selection. An index
  // below -1, or at or past the end, is refused and the selection stays as it was.
  bool SetListIndex(int index) {
    if (index < -1 || index >= ListCount()) return false;
    return Select(index);
  }

 protected:
  virtual bool Select(int index) = 0;
};

// A horizontal scroll bar with a fixed range.
class ScrollBarControl {
 public:
  virtual ~ScrollBarControl() = default;

  virtual int Value() const = 0;
  virtual int Min() const = 0;
  virtual int Max() const = 0;

  // A value outside Min()..Max() is refused and the bar stays as it was.
  bool SetValue(int value) {
    if (value < Min() || value > Max()) return false;
    return Assign(value);
  }

 protected:
  virtual bool Assign(int value) = 0;
};

class CheckBoxControl {
 public:
  virtual ~CheckBoxControl() = default;

  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
};

}  // namespace melodane
