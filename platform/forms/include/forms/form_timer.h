#pragma once

#include <memory>

#include "forms/clock.h"
#include "forms/control.h"
#include "forms/events.h"

namespace forms {

// The form timer: raises Timer every Interval milliseconds while enabled.
class FormTimer : public Control {
 public:
  explicit FormTimer(const ControlSite& site);
  ~FormTimer() override;
  QWidget* Widget() const override { return nullptr; }
  int Interval() const { return interval_; }
  void Interval(int ms);
  bool Enabled() const override { return Control::Enabled(); }
  void Enabled(bool on) override;

  Event<> Timer;

  void SetProperty(std::string_view name, const Value& v) override;

 private:
  void Restart();
  int interval_ = 0;
  std::unique_ptr<TimerSlot> slot_;
};

}  // namespace forms
