// The program's control interfaces over Qt widgets.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QScrollBar>

#include "app/controls.h"

namespace melodane::on_linux {

class QtComboList final : public ListControl {
 public:
  void Attach(QComboBox* combo) { combo_ = combo; }

  void Clear() override { combo_->clear(); }
  int AddItem(std::string_view text) override {
    // A combo box selects its first entry by itself; a list filled by code keeps the
    // selection it had, none included.
    const int selected = combo_->currentIndex();
    combo_->addItem(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    if (selected == -1) combo_->setCurrentIndex(-1);
    return combo_->count() - 1;
  }
  int ListCount() const override { return combo_->count(); }
  std::optional<std::int32_t> ItemData(int index) const override {
    if (index < 0 || index >= combo_->count()) return std::nullopt;
    return combo_->itemData(index).toInt();
  }
  bool SetItemData(int index, std::int32_t data) override {
    if (index < 0 || index >= combo_->count()) return false;
    combo_->setItemData(index, data);
    return true;
  }
  int ListIndex() const override { return combo_->currentIndex(); }

 protected:
  bool Select(int index) override {
    combo_->setCurrentIndex(index);
    return combo_->currentIndex() == index;
  }

 private:
  QComboBox* combo_ = nullptr;
};

class QtScrollBar final : public ScrollBarControl {
 public:
  void Attach(QScrollBar* bar) { bar_ = bar; }

  int Value() const override { return bar_->value(); }
  int Min() const override { return bar_->minimum(); }
  int Max() const override { return bar_->maximum(); }

 protected:
  bool Assign(int value) override {
    bar_->setValue(value);
    return true;
  }

 private:
  QScrollBar* bar_ = nullptr;
};

class QtCheckBox final : public CheckBoxControl {
 public:
  void Attach(QCheckBox* box) { box_ = box; }

  bool Checked() const override { return box_->isChecked(); }
  void SetChecked(bool checked) override { box_->setChecked(checked); }

 private:
  QCheckBox* box_ = nullptr;
};

}  // namespace melodane::on_linux
