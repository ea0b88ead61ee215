// The program's control interfaces over standard Windows controls.
#pragma once

#include <windows.h>

#include <string>

#include "app/controls.h"
#include "common/win32/ansi_text.h"

namespace melodane::win32 {

// A drop-down list combo box (CBS_DROPDOWNLIST).
class ComboListControl final : public ListControl {
 public:
  void Attach(HWND combo) { hwnd_ = combo; }

  void Clear() override { SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0); }
  int AddItem(std::string_view text) override {
    const std::wstring wide = Widen(text);
    return static_cast<int>(
        SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
  }
  int ListCount() const override {
    return static_cast<int>(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0));
  }
  std::optional<std::int32_t> ItemData(int index) const override {
    if (index < 0 || index >= ListCount()) return std::nullopt;
    return static_cast<std::int32_t>(SendMessageW(hwnd_, CB_GETITEMDATA, index, 0));
  }
  bool SetItemData(int index, std::int32_t data) override {
    if (index < 0 || index >= ListCount()) return false;
    return SendMessageW(hwnd_, CB_SETITEMDATA, index, static_cast<LPARAM>(data)) != CB_ERR;
  }
  int ListIndex() const override {
    const LRESULT index = SendMessageW(hwnd_, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
  }

 protected:
  bool Select(int index) override {
    // Clearing the selection answers CB_ERR by design.
    const LRESULT result = SendMessageW(hwnd_, CB_SETCURSEL, index, 0);
    return index == -1 || result == index;
  }

 private:
  HWND hwnd_ = nullptr;
};

// A horizontal scroll bar control (SBS_HORZ).
class ScrollBarCtl final : public ScrollBarControl {
 public:
  ScrollBarCtl(int min, int max) : min_(min), max_(max) {}
  void Attach(HWND bar) {
    hwnd_ = bar;
    SetScrollRange(hwnd_, SB_CTL, min_, max_, FALSE);
    SetScrollPos(hwnd_, SB_CTL, min_, TRUE);
  }

  int Value() const override { return GetScrollPos(hwnd_, SB_CTL); }
  int Min() const override { return min_; }
  int Max() const override { return max_; }

 protected:
  bool Assign(int value) override {
    SetScrollPos(hwnd_, SB_CTL, value, TRUE);
    return true;
  }

 private:
  HWND hwnd_ = nullptr;
  int min_, max_;
};

// An automatic check box (BS_AUTOCHECKBOX).
class CheckBoxCtl final : public CheckBoxControl {
 public:
  void Attach(HWND box) { hwnd_ = box; }

  bool Checked() const override { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetChecked(bool checked) override {
    SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace melodane::win32
