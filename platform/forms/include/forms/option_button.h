#pragma once

#include <string>
#include <string_view>

#include "forms/qt_control.h"

class QAbstractButton;

namespace forms {

class OptionButton : public QtControl {
 public:
  explicit OptionButton(const ControlSite& site);
  std::string Caption() const { return caption_; }
  void Caption(std::string_view text);
  bool Value() const;
  void Value(bool on);  // raises Click when it becomes true

  Event<> Click;

  void SetProperty(std::string_view name, const forms::Value& v) override;

 private:
  std::string caption_;
  QAbstractButton* button_ = nullptr;
};

}  // namespace forms
