#include "forms/scroll_bar.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

#include "forms/text_box.h"

namespace forms {

ScrollBar::ScrollBar(const ControlSite& site, bool vertical)
    : QtControl(site), vertical_(vertical) {
  auto b = std::make_unique<QScrollBar>(vertical ? Qt::Vertical : Qt::Horizontal);
  bar_ = b.get();
  bar_->setRange(0, 32767);
  bar_->setSingleStep(1);
  bar_->setPageStep(1);
  QObject::connect(bar_, &QScrollBar::valueChanged, [this](int) { Report(); });
  QObject::connect(bar_, &QScrollBar::sliderMoved, [this](int) { Scroll(); });
  Attach(b.release(), vertical ? "TavrinelVScroll" : "TavrinelHScroll");
}

// A spin keeps its value upside down on the Qt bar, whose upper arrow and
// Up key lower what it holds.
int ScrollBar::Mirrored(int v) const {
  return spin_ ? bar_->minimum() + bar_->maximum() - v : v;
}

void ScrollBar::Place(int value) {
  {
    const QSignalBlocker quiet(bar_);
    bar_->setValue(Mirrored(std::clamp(value, bar_->minimum(), bar_->maximum())));
  }
  Report();
}

void ScrollBar::Report() {
  const int v = Value();
  if (v == reported_) return;
  reported_ = v;
  Change();
}

void ScrollBar::ApplyGeometry() {
  QtControl::ApplyGeometry();
  if (!bar_) return;
  const bool spin = vertical_ && bar_->height() <= 2 * bar_->width();
  if (spin == spin_) return;
  const int keep = Value();
  spin_ = spin;
  Place(keep);
}

void ScrollBar::AfterLoad() {
  if (!spin_) return;
  for (Control* c : GetContainer().Children()) {
    auto* box = dynamic_cast<TextBox*>(c);
    if (!box) continue;
    const bool touches = std::abs(box->LeftTwips() + box->WidthTwips() - LeftTwips()) <= 15;
    const bool beside = box->TopTwips() < TopTwips() + HeightTwips() &&
                        TopTwips() < box->TopTwips() + box->HeightTwips();
    if (touches && beside) box->ShowNumberOf(*this);
  }
}

int ScrollBar::Min() const {
  return bar_->minimum();
}
void ScrollBar::Min(int v) {
  const int keep = Value();
  {
    const QSignalBlocker quiet(bar_);
    bar_->setMinimum(v);
  }
  Place(keep);
}
int ScrollBar::Max() const {
  return bar_->maximum();
}
void ScrollBar::Max(int v) {
  const int keep = Value();
  {
    const QSignalBlocker quiet(bar_);
    bar_->setMaximum(v);
  }
  Place(keep);
}
int ScrollBar::Value() const {
  return Mirrored(bar_->value());
}
void ScrollBar::Value(int v) {
  if (v < std::min(Min(), Max()) || v > std::max(Min(), Max()))
    throw RuntimeError(err::InvalidPropertyValue, "Invalid property value");
  Place(v);
}
void ScrollBar::Step(int steps) {
  Place(Value() + steps * SmallChange());
}
int ScrollBar::SmallChange() const {
  return bar_->singleStep();
}
void ScrollBar::SmallChange(int v) {
  bar_->setSingleStep(v);
}
int ScrollBar::LargeChange() const {
  return bar_->pageStep();
}
void ScrollBar::LargeChange(int v) {
  bar_->setPageStep(v);
}

void ScrollBar::SetProperty(std::string_view name, const forms::Value& v) {
  if (name == "Min")
    Min(v.ToLong());
  else if (name == "Max")
    Max(v.ToLong());
  else if (name == "Value")
    Place(v.ToLong());
  else if (name == "SmallChange")
    SmallChange(v.ToLong());
  else if (name == "LargeChange")
    LargeChange(v.ToLong());
  else
    QtControl::SetProperty(name, v);
}

}  // namespace forms
