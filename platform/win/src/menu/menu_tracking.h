#pragma once

// The state of the menu that is open and tracked, shared by the popup
// windows, the tracking of selection and keys, the menu bar's tracking, the
// input filter and the modal loop. Only the window system's sources include
// this.

#include <QEvent>
#include <QObject>
#include <QPoint>
#include <cstddef>
#include <vector>

#include "menu/menu_table.h"

namespace win::detail::tracking {

inline constexpr int kFrame = 3;  // the popup's raised frame while it has its border styles

struct Level {
  HMENU menu;
  HWND window;
  int selected = -1;
};

struct Tracking {
  HWND owner;
  UINT flags = 0;
  std::vector<Level> levels;
  bool done = false;
  UINT command = 0;
  bool idleSent = false;
  // A menu tracked from a window's bar: the bar, and its selected item.
  HMENU bar;
  int barItem = -1;
};

// The menu this thread tracks, or null: one at a time, as on the platform.
extern thread_local Tracking* t_track;

// --- the popup windows (popup_window.cpp) ---
// Opens a level of the menu: a "#32768" window at a screen point, aligned by
// TPM_* flags, kept beside `parentItem` (screen) when it would leave the
// screen.
bool OpenLevel(HMENU menu, int x, int y, UINT align, const RECT* parentItem, int itemPos,
               bool underBar = false);
void RedrawItem(Level& l, int index);
// The deepest popup holds the pointer and the keyboard, so that a press
// anywhere on the screen, even outside the application, reaches the menu.
void Grab(HWND popup, bool on);
// The open popup at a screen point, the deepest first; 0 for none.
HWND PopupAt(QPoint global);

// --- selection and choice in the open popups (menu_tracking.cpp) ---
int ItemAt(Menu& m, POINT p);
bool Selectable(const MenuItem& i);
bool Enabled(const MenuItem& i);
// The level a popup window shows, or -1.
std::size_t DepthOf(HWND popup);
void CloseLevelsAbove(std::size_t keep);
void Select(std::size_t depth, int index);
void SelectFirst(std::size_t depth);
void OpenSubmenu(std::size_t depth, bool selectFirst);
void Choose(std::size_t depth, int index);
void MoveSelection(std::size_t depth, int step);
// A character typed in an open popup: its access key, or the owner's answer.
void AccessChar(std::size_t depth, char32_t ch);
// Ends the menu with a command (0 for none).
void Finish(UINT command);

// --- the menu bar while it is tracked (bar_tracking.cpp) ---
void SelectBar(int index, bool open, bool selectFirst);
void StepBar(int step);
void ChooseBar(int index, bool selectFirst);
void BarKey(int vk, char32_t ch);
void BarPointer(QEvent::Type type, int index);

// --- input and the modal loop (menu_input.cpp, menu_loop.cpp) ---
// While a menu is open every key and pointer event of the application is
// the menu's: keys go to the deepest popup, a press outside every popup
// closes the menu.
class MenuInput : public QObject {
 public:
  bool eventFilter(QObject* target, QEvent* e) override;
};
// Runs the menu until it is done. A popup menu ends when its first popup is
// gone; a bar's menu may wait on the bar with no popup open.
void RunMenuLoop(Tracking& track);
// Closes what is open, says so to the owner and runs the chosen command.
// Returns the command.
UINT EndTracking(Tracking& track, bool popupMenu);

}  // namespace win::detail::tracking
