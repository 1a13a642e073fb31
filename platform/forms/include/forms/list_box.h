#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "forms/qt_control.h"

namespace forms {

class ChoiceList;

// List boxes and file lists share their list.
class ListControl : public QtControl {
 public:
  explicit ListControl(const ControlSite& site);
  ~ListControl() override;
  void AddItem(std::string_view item, int index = -1);
  void RemoveItem(int index);
  void Clear();
  std::string List(int index) const;
  void List(int index, std::string_view text);
  int ListCount() const;
  int ListIndex() const;
  // Selecting by program raises Click, as a click would.
  void ListIndex(int index);
  std::string Text() const;
  bool Sorted() const { return sorted_; }
  int TopIndex() const;
  void TopIndex(int index);
  std::int32_t ItemData(int index) const;
  void ItemData(int index, std::int32_t data);

  Event<> Click;
  Event<> DblClick;

  void SetProperty(std::string_view name, const forms::Value& v) override;

 protected:
  // The box shows whole rows only, unless its description says otherwise.
  void ApplyGeometry() override;
  void FontChanged() override;

  ChoiceList* list_ = nullptr;
  bool sorted_ = false;
  bool settingByCode_ = false;
  bool integralHeight_ = true;
};

class ListBox : public ListControl {
 public:
  explicit ListBox(const ControlSite& site) : ListControl(site) {}
};

}  // namespace forms
