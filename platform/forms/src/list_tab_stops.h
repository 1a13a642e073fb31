#pragma once

// Tab stops of list boxes: entries with tab characters line up in columns,
// at stops given in dialog units by LB_SETTABSTOPS.

#include <vector>

#include "forms/list_messages.h"
#include "win/window.h"

class QListWidget;

namespace forms {

// Draws `list`'s entries with their tabs expanded (every 32 dialog units
// until stops are set).
void UseTabStops(QListWidget& list);
// Explicit stops in dialog units: none gives every 32 units, one gives
// every n units, more give those stops. False for a list without tab stops.
bool SetTabStops(QListWidget& list, const std::vector<int>& dialogUnits);
// The procedure of the list box window class: LB_SETTABSTOPS(count, stops)
// sets the stops; all else goes to the default procedure.
win::LRESULT ListBoxWindowProc(win::HWND hwnd, win::UINT msg, win::WPARAM wParam,
                               win::LPARAM lParam);

}  // namespace forms
