#include "forms/controls.h"

namespace forms {

FormTimer::FormTimer(const ControlSite& site) : Control(site) {}

FormTimer::~FormTimer() = default;

void FormTimer::Interval(int ms) {
  if (ms < 0 || ms > 65535) throw RuntimeError(err::InvalidPropertyValue, "Invalid property value");
  if (ms == interval_) return;
  interval_ = ms;
  Restart();
}

void FormTimer::Enabled(bool on) {
  // Enabling a running timer leaves its countdown as it is.
  if (on == Control::Enabled()) return;
  Control::Enabled(on);
  Restart();
}

void FormTimer::Restart() {
  slot_.reset();
  if (!Control::Enabled() || interval_ <= 0) return;
  slot_ = Clock::Current().Start(interval_, [this] { Timer(); });
}

void FormTimer::SetProperty(std::string_view name, const Value& v) {
  if (name == "Interval")
    Interval(v.ToLong());
  else if (name == "Enabled")
    Enabled(v.ToBool());
  else if (name == "Left" || name == "Top") {
    // A timer has no place on the form at run time.
  } else
    Control::SetProperty(name, v);
}

}  // namespace forms
