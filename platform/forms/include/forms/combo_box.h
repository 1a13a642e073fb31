#pragma once

#include <string>
#include <string_view>

#include "forms/qt_control.h"

class QComboBox;

namespace forms {

class ComboBox : public QtControl {
 public:
  explicit ComboBox(const ControlSite& site);
  void AddItem(std::string_view item, int index = -1);
  void RemoveItem(int index);
  void Clear();
  std::string List(int index) const;
  int ListCount() const;
  int ListIndex() const;
  void ListIndex(int index);  // raises Click
  std::string Text() const;
  void Text(std::string_view text);
  int Style() const { return style_; }  // 0 drop-down combo, 1 simple, 2 drop-down list

  Event<> Click;
  Event<> Change;

  void SetProperty(std::string_view name, const forms::Value& v) override;

 private:
  QComboBox* combo_ = nullptr;
  int style_ = 0;
  bool settingByCode_ = false;
};

}  // namespace forms
