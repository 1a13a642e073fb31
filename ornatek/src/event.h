#pragma once

// An event that every holder of an object receives in turn, with the same
// arguments: the platform's way of letting several objects answer one message.

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace ornatek {

template <class... Args>
class Event {
 public:
  using Handler = std::function<void(Args...)>;

  // A holder's share of the event; it ends with the connection.
  class Connection {
   public:
    Connection() = default;
    Connection(Connection&&) noexcept = default;
    Connection& operator=(Connection&& other) noexcept {
      Disconnect();
      slot_ = std::move(other.slot_);
      return *this;
    }
    ~Connection() { Disconnect(); }
    void Disconnect() {
      if (auto s = slot_.lock()) s->handler = nullptr;
      slot_.reset();
    }
    bool Connected() const { return !slot_.expired(); }

   private:
    friend class Event;
    struct Slot {
      Handler handler;
    };
    explicit Connection(std::weak_ptr<Slot> slot) : slot_(std::move(slot)) {}
    std::weak_ptr<Slot> slot_;
  };

  [[nodiscard]] Connection Connect(Handler handler) {
    auto slot =
        std::make_shared<typename Connection::Slot>(typename Connection::Slot{std::move(handler)});
    slots_.push_back(slot);
    return Connection(slot);
  }

  // Holders that join or leave while the event runs are respected: a holder
  // that has left is not called.
  void Raise(Args... args) {
    std::erase_if(slots_, [](const auto& s) { return !s->handler; });
    const auto snapshot = slots_;
    for (const auto& s : snapshot)
      if (s->handler) s->handler(args...);
  }

  std::size_t HolderCount() const {
    return static_cast<std::size_t>(
        std::count_if(slots_.begin(), slots_.end(), [](const auto& s) { return s->handler; }));
  }

 private:
  std::vector<std::shared_ptr<typename Connection::Slot>> slots_;
};

}  // namespace ornatek
