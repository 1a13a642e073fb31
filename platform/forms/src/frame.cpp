#include "forms/frame.h"

#include <QGroupBox>

#include "qt_text.h"

namespace forms {

Frame::Frame(const ControlSite& site) : QtControl(site) {
  auto b = std::make_unique<QGroupBox>();
  box_ = b.get();
  Attach(b.release(), "TavrinelFrame");
}

void Frame::Caption(std::string_view text) {
  caption_ = text;
  box_->setTitle(Q(text));
}

void Frame::SetProperty(std::string_view name, const forms::Value& v) {
  if (name == "Caption")
    Caption(v.ToString());
  else
    QtControl::SetProperty(name, v);
}

}  // namespace forms
