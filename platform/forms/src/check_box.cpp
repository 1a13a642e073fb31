#include "forms/check_box.h"

#include <QCheckBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "qt_text.h"

namespace forms {

namespace {

// A check box whose caption wraps onto further lines when the box is too
// narrow for it on one, as the platform's check box does; a caption that
// fits is drawn as usual.
class WrappingCheckBox : public QCheckBox {
 protected:
  void paintEvent(QPaintEvent* e) override {
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QString caption = opt.text;
    opt.text.clear();
    const QRect textRect = style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, this);
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    if (fontMetrics().horizontalAdvance(plain) <= textRect.width()) {
      QCheckBox::paintEvent(e);
      return;
    }
    QStylePainter p(this);
    p.drawControl(QStyle::CE_CheckBox, opt);
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic,
               caption);
  }
  // The whole box answers the pointer, the wrapped lines too.
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

}  // namespace

CheckBox::CheckBox(const ControlSite& site) : QtControl(site) {
  auto b = std::make_unique<WrappingCheckBox>();
  box_ = b.get();
  QObject::connect(box_, &QCheckBox::clicked, [this] { Click(); });
  Attach(b.release(), "TavrinelCheckBox");
}

void CheckBox::Caption(std::string_view text) {
  caption_ = text;
  box_->setText(Q(text));
}

int CheckBox::Value() const {
  auto* cb = static_cast<QCheckBox*>(box_);
  switch (cb->checkState()) {
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
    default:
      return 0;
  }
}

void CheckBox::Value(int v) {
  if (v < 0 || v > 2) throw RuntimeError(err::InvalidPropertyValue, "Invalid property value");
  if (v == Value()) return;
  auto* cb = static_cast<QCheckBox*>(box_);
  cb->setTristate(v == 2);
  cb->setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
  // Changing the value from code clicks the box, as on the platform.
  Click();
}

void CheckBox::SetProperty(std::string_view name, const forms::Value& v) {
  if (name == "Caption")
    Caption(v.ToString());
  else if (name == "Value") {
    auto* cb = static_cast<QCheckBox*>(box_);
    const int n = v.ToLong();
    cb->setTristate(n == 2);
    cb->setCheckState(n == 1 ? Qt::Checked : n == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
  } else
    QtControl::SetProperty(name, v);
}

}  // namespace forms
