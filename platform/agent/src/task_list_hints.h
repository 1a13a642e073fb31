#pragma once

#include <cstdint>

class QWidget;

namespace agent {

// A character's windows are parts of the program that shows the character,
// not programs of their own: task bars, pagers and task switchers leave
// them out. Apply it as the window is about to be mapped (from its show
// event): a window manager reads these hints when it takes the window over
// and forgets them when the window is hidden. Does nothing where the
// display has no such hints (anything but X).
//
// A window is shown again and again (the balloon at every speech): the
// hints' names are asked of the display once, and a showing then costs one
// request without an answer to wait for.
class TaskListHints {
 public:
  void Apply(QWidget& window);
  // Call right after showing the window: asks a window manager to add the
  // hints too. A manager still letting go of the window's last showing
  // when it is shown again clears what Apply() wrote; it takes this request
  // after it has taken the window over. One request, no answer awaited.
  void Confirm(QWidget& window);

 private:
  bool LookUp();

  // _NET_WM_STATE, then the two states; none until looked up.
  std::uint32_t state_ = 0;
  std::uint32_t skip_[2] = {0, 0};
  bool lookedUp_ = false;
};

}  // namespace agent
