#pragma once

#include "forms/qt_control.h"

class QScrollBar;

namespace forms {

class ScrollBar : public QtControl {
 public:
  ScrollBar(const ControlSite& site, bool vertical);
  int Min() const;
  void Min(int v);
  int Max() const;
  void Max(int v);
  int Value() const;
  void Value(int v);  // raises Change when it changes
  int SmallChange() const;
  void SmallChange(int v);
  int LargeChange() const;
  void LargeChange(int v);

  // Moves the value by `steps` small changes within the range.
  void Step(int steps);

  Event<> Change;
  Event<> Scroll;

  void SetProperty(std::string_view name, const forms::Value& v) override;
  // A text box that the spin touches on its left shows the number: it takes
  // no typing, and its Up and Down keys step the spin.
  void AfterLoad() override;

 protected:
  void ApplyGeometry() override;

 private:
  // Puts `value` (clamped to the range) on the bar and raises Change when
  // the value the program reads has changed.
  void Place(int value);
  void Report();
  int Mirrored(int v) const;
  QScrollBar* bar_ = nullptr;
  bool vertical_ = false;
  // A vertical bar too short for a thumb is drawn as a spin button: its
  // upper arrow and the Up key raise the value, as a number's spin does.
  bool spin_ = false;
  int reported_ = 0;
};

class VScrollBar : public ScrollBar {
 public:
  explicit VScrollBar(const ControlSite& site) : ScrollBar(site, true) {}
};

class HScrollBar : public ScrollBar {
 public:
  explicit HScrollBar(const ControlSite& site) : ScrollBar(site, false) {}
};

}  // namespace forms
