#pragma once

// The clock that drives form timers. Programs run on the real clock; tests
// install a ManualClock and move time themselves, so that timer-driven
// behaviour is exact and fast to test.

#include <functional>
#include <memory>

namespace forms {

class TimerSlot {
 public:
  virtual ~TimerSlot() = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Calls tick every intervalMs until the slot ends.
  virtual std::unique_ptr<TimerSlot> Start(int intervalMs, std::function<void()> tick) = 0;
  // Milliseconds since the clock began.
  virtual double NowMs() const = 0;

  // The clock in force: a ManualClock while one lives, else the real one.
  static Clock& Current();
};

// Time stands still until Advance moves it; every timer tick that falls due
// is run in time order (timers started by a tick join in).
class ManualClock : public Clock {
 public:
  ManualClock();
  ~ManualClock() override;
  ManualClock(const ManualClock&) = delete;
  ManualClock& operator=(const ManualClock&) = delete;

  std::unique_ptr<TimerSlot> Start(int intervalMs, std::function<void()> tick) override;
  double NowMs() const override { return now_; }
  void Advance(double ms);
  // Timers running right now.
  int ActiveTimers() const;

 private:
  struct Entry;
  class Slot;
  double now_ = 0;
  std::uint64_t nextId_ = 0;
  std::shared_ptr<std::vector<std::shared_ptr<Entry>>> entries_;
};

}  // namespace forms
