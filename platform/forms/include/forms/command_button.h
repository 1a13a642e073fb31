#pragma once

#include <string>
#include <string_view>

#include "forms/picture.h"
#include "forms/qt_control.h"

class QAbstractButton;

namespace forms {

class CommandButton : public QtControl {
 public:
  explicit CommandButton(const ControlSite& site);
  std::string Caption() const { return caption_; }
  void Caption(std::string_view text);
  const forms::Picture& Picture() const { return picture_; }
  void Picture(const forms::Picture& p);
  int Style() const { return style_; }  // 0 standard, 1 graphical
  bool Default() const { return default_; }
  bool Cancel() const { return cancel_; }
  // Presses the button as a click would.
  void PerformClick();

  Event<> Click;

  void SetProperty(std::string_view name, const Value& v) override;

 private:
  void Refresh();
  std::string caption_;
  forms::Picture picture_;
  int style_ = 0;
  bool default_ = false;
  bool cancel_ = false;
  QAbstractButton* button_ = nullptr;
};

}  // namespace forms
