#include "forms/option_button.h"

#include <QRadioButton>

#include "qt_text.h"

namespace forms {

OptionButton::OptionButton(const ControlSite& site) : QtControl(site) {
  auto b = std::make_unique<QRadioButton>();
  button_ = b.get();
  QObject::connect(button_, &QRadioButton::clicked, [this] { Click(); });
  Attach(b.release(), "TavrinelOption");
}

void OptionButton::Caption(std::string_view text) {
  caption_ = text;
  button_->setText(Q(text));
}

bool OptionButton::Value() const {
  return button_->isChecked();
}

void OptionButton::Value(bool on) {
  if (on == Value()) return;
  button_->setChecked(on);
  if (on) Click();
}

void OptionButton::SetProperty(std::string_view name, const forms::Value& v) {
  if (name == "Caption")
    Caption(v.ToString());
  else if (name == "Value")
    button_->setChecked(v.ToBool());
  else
    QtControl::SetProperty(name, v);
}

}  // namespace forms
