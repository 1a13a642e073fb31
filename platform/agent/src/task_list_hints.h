#pragma once

class QWidget;

namespace agent {

// A character's windows are parts of the program that shows the character,
// not programs of their own: task bars, pagers and task switchers leave
// them out. Call it as the window is about to be mapped (from its show
// event): a window manager reads these hints when it takes the window over
// and forgets them when the window is hidden. Does nothing where the
// display has no such hints (anything but X).
void LeaveOutOfTaskList(QWidget& window);

}  // namespace agent
