#include "forms/combo_box.h"

#include <QComboBox>

#include "qt_text.h"

namespace forms {

ComboBox::ComboBox(const ControlSite& site) : QtControl(site) {
  auto c = std::make_unique<QComboBox>();
  combo_ = c.get();
  combo_->setEditable(true);
  combo_->setInsertPolicy(QComboBox::NoInsert);
  QObject::connect(combo_, &QComboBox::activated, [this](int) { Click(); });
  QObject::connect(combo_, &QComboBox::editTextChanged, [this](const QString&) {
    if (!settingByCode_) Change();
  });
  Attach(c.release(), "TavrinelCombo");
}

void ComboBox::AddItem(std::string_view item, int index) {
  settingByCode_ = true;
  const QString text = combo_->currentText();
  if (index < 0 || index > combo_->count())
    combo_->addItem(Q(item));
  else
    combo_->insertItem(index, Q(item));
  if (combo_->count() == 1) {
    // The first entry does not choose itself, in a drop-down list neither:
    // nothing is chosen until the user or the program chooses.
    combo_->setCurrentIndex(-1);
    if (combo_->isEditable()) combo_->setEditText(text);
  }
  settingByCode_ = false;
}

void ComboBox::RemoveItem(int index) {
  if (index < 0 || index >= combo_->count())
    throw RuntimeError(err::InvalidCall, "Invalid procedure call or argument");
  combo_->removeItem(index);
}

void ComboBox::Clear() {
  settingByCode_ = true;
  combo_->clear();
  settingByCode_ = false;
}

std::string ComboBox::List(int index) const {
  return index >= 0 && index < combo_->count() ? combo_->itemText(index).toStdString()
                                               : std::string();
}

int ComboBox::ListCount() const {
  return combo_->count();
}
int ComboBox::ListIndex() const {
  return combo_->currentIndex();
}

void ComboBox::ListIndex(int index) {
  if (index < -1 || index >= combo_->count())
    throw RuntimeError(err::InvalidPropertyValue, "Invalid property value");
  settingByCode_ = true;
  combo_->setCurrentIndex(index);
  settingByCode_ = false;
  Click();
}

std::string ComboBox::Text() const {
  return combo_->currentText().toStdString();
}

void ComboBox::Text(std::string_view text) {
  if (style_ == 2) {
    const int i = combo_->findText(Q(text));
    if (i < 0) throw RuntimeError(err::InvalidPropertyValue, "Text property is read-only");
    combo_->setCurrentIndex(i);
    return;
  }
  combo_->setEditText(Q(text));
}

void ComboBox::SetProperty(std::string_view name, const forms::Value& v) {
  if (name == "Style") {
    style_ = v.ToLong();
    combo_->setEditable(style_ != 2);
  } else if (name == "Text") {
    if (style_ != 2) Text(v.ToString());
  } else if (name == "Sorted") {
  } else
    QtControl::SetProperty(name, v);
}

}  // namespace forms
