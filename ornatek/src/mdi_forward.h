#pragma once

// Forwarding a message of an MDI frame (or of a window handled on its behalf)
// to the active MDI child, whose own menu control may answer it.

#include <optional>

#include "win/win.h"

namespace ornatek {

// The child's answer, or nothing when there is no child to ask: no active
// child, the child is the window itself (whose handler is the one asking),
// or the child is already forwarding this message back up the same chain.
std::optional<win::LRESULT> ForwardToActiveMdiChild(win::HWND hwnd, win::HWND activeChild,
                                                    win::UINT uMsg, win::WPARAM wParam,
                                                    win::LPARAM lParam);

}  // namespace ornatek
