#include "forms/command_button.h"

#include <QIcon>
#include <QPixmap>
#include <QPushButton>

#include "qt_text.h"

namespace forms {

CommandButton::CommandButton(const ControlSite& site) : QtControl(site) {
  auto b = std::make_unique<QPushButton>();
  button_ = b.get();
  QObject::connect(button_, &QPushButton::clicked, [this] { Click(); });
  Attach(b.release(), "TavrinelButton");
}

void CommandButton::Caption(std::string_view text) {
  caption_ = text;
  Refresh();
}

void CommandButton::Picture(const forms::Picture& p) {
  picture_ = p;
  Refresh();
}

void CommandButton::Refresh() {
  button_->setText(Q(caption_));
  if (style_ == 1 && picture_) {
    button_->setIcon(QIcon(QPixmap::fromImage(picture_.Image())));
    button_->setIconSize(picture_.Image().size());
  } else {
    button_->setIcon(QIcon());
  }
}

void CommandButton::PerformClick() {
  button_->click();
}

void CommandButton::SetProperty(std::string_view name, const Value& v) {
  if (name == "Caption")
    Caption(v.ToString());
  else if (name == "Picture")
    Picture(v.ToPicture());
  else if (name == "Style") {
    style_ = v.ToLong();
    Refresh();
  } else if (name == "Default") {
    default_ = v.ToBool();
    static_cast<QPushButton*>(button_)->setDefault(default_);
  } else if (name == "Cancel")
    cancel_ = v.ToBool();
  else
    QtControl::SetProperty(name, v);
}

}  // namespace forms
