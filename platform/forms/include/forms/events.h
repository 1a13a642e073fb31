#pragma once

#include <functional>
#include <utility>

namespace forms {

// One event of a control. The host sets at most one handler, as a form's
// event procedure; raising an event nobody handles does nothing. Arguments
// that the handler may change are references.
template <class... Args>
class Event {
 public:
  Event() = default;
  template <class F>
  Event& operator=(F&& handler) {
    handler_ = std::forward<F>(handler);
    return *this;
  }
  void operator()(Args... args) const {
    if (handler_) handler_(std::forward<Args>(args)...);
  }
  explicit operator bool() const { return static_cast<bool>(handler_); }

 private:
  std::function<void(Args...)> handler_;
};

// The mouse event arguments: Button (1 left, 2 right, 4 middle), Shift
// (1 shift, 2 ctrl, 4 alt), X and Y in the control's scale units.
using MouseEvent = Event<int&, int&, float&, float&>;
using KeyEvent = Event<int&, int&>;
using KeyPressEvent = Event<int&>;

}  // namespace forms
