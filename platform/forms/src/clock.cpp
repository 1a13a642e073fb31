#include "forms/clock.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace forms {

namespace {

class RealSlot : public TimerSlot {
 public:
  RealSlot(int intervalMs, std::function<void()> tick) {
    timer_.setInterval(intervalMs);
    QObject::connect(&timer_, &QTimer::timeout, std::move(tick));
    timer_.start();
  }

 private:
  QTimer timer_;
};

class RealClock : public Clock {
 public:
  RealClock() { started_.start(); }
  std::unique_ptr<TimerSlot> Start(int intervalMs, std::function<void()> tick) override {
    return std::make_unique<RealSlot>(intervalMs, std::move(tick));
  }
  double NowMs() const override { return static_cast<double>(started_.nsecsElapsed()) / 1e6; }

 private:
  QElapsedTimer started_;
};

ManualClock* g_manual = nullptr;

}  // namespace

Clock& Clock::Current() {
  if (g_manual) return *g_manual;
  static RealClock real;
  return real;
}

struct ManualClock::Entry {
  std::uint64_t id;
  int interval;
  double due;
  std::function<void()> tick;
  bool alive = true;
};

class ManualClock::Slot : public TimerSlot {
 public:
  explicit Slot(std::shared_ptr<Entry> e) : entry_(std::move(e)) {}
  ~Slot() override { entry_->alive = false; }

 private:
  std::shared_ptr<Entry> entry_;
};

ManualClock::ManualClock() : entries_(std::make_shared<std::vector<std::shared_ptr<Entry>>>()) {
  g_manual = this;
}

ManualClock::~ManualClock() {
  if (g_manual == this) g_manual = nullptr;
}

std::unique_ptr<TimerSlot> ManualClock::Start(int intervalMs, std::function<void()> tick) {
  auto e = std::make_shared<Entry>(
      Entry{nextId_++, std::max(1, intervalMs), now_ + std::max(1, intervalMs), std::move(tick)});
  entries_->push_back(e);
  return std::make_unique<Slot>(e);
}

void ManualClock::Advance(double ms) {
  const double until = now_ + ms;
  for (;;) {
    std::erase_if(*entries_, [](const auto& e) { return !e->alive; });
    std::shared_ptr<Entry> next;
    for (auto& e : *entries_)
      if (e->due <= until &&
          (!next || e->due < next->due || (e->due == next->due && e->id < next->id)))
        next = e;
    if (!next) break;
    now_ = next->due;
    next->due += next->interval;
    next->tick();
  }
  now_ = until;
}

int ManualClock::ActiveTimers() const {
  return static_cast<int>(
      std::count_if(entries_->begin(), entries_->end(), [](const auto& e) { return e->alive; }));
}

}  // namespace forms
