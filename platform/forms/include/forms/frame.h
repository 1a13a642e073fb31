#pragma once

#include <string>
#include <string_view>

#include "forms/control.h"
#include "forms/qt_control.h"

class QGroupBox;

namespace forms {

class Frame : public QtControl, public Container {
 public:
  explicit Frame(const ControlSite& site);
  std::string Caption() const { return caption_; }
  void Caption(std::string_view text);
  QWidget* ClientWidget() const override { return Widget(); }

  void SetProperty(std::string_view name, const forms::Value& v) override;

 protected:
  void OnResized() override { RelayoutChildren(); }

 private:
  std::string caption_;
  QGroupBox* box_ = nullptr;
};

}  // namespace forms
