#pragma once

#include <string>
#include <string_view>

#include "forms/qt_control.h"

class QAbstractButton;

namespace forms {

class CheckBox : public QtControl {
 public:
  explicit CheckBox(const ControlSite& site);
  std::string Caption() const { return caption_; }
  void Caption(std::string_view text);
  int Value() const;  // 0 unchecked, 1 checked, 2 grayed
  void Value(int v);  // raises Click when it changes

  Event<> Click;

  void SetProperty(std::string_view name, const forms::Value& v) override;

 private:
  std::string caption_;
  QAbstractButton* box_ = nullptr;
};

}  // namespace forms
