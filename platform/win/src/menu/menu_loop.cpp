// The modal loop of a tracked menu, its end, and the calls that open a
// popup menu and close it.

#include <QApplication>

#include "core/screen_overlay.h"
#include "core/window_table.h"
#include "menu/menu_bar.h"
#include "menu/menu_tracking.h"
#include "win/menu.h"

namespace win {

namespace detail::tracking {

void RunMenuLoop(Tracking& track) {
  const HWND owner = track.owner;
  while (!track.done) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (track.done) break;
    const bool gone = track.levels.empty() ? !track.bar || !FindMenu(track.bar)
                                           : !IsWindow(track.levels.front().window);
    if (!IsWindow(owner) || gone) {
      track.done = true;
      break;
    }
    if (!track.idleSent) {
      track.idleSent = true;
      const HWND deepest = track.levels.empty() ? owner : track.levels.back().window;
      SendMessageA(owner, WM_ENTERIDLE, MSGF_MENU, static_cast<LPARAM>(deepest.value));
      continue;
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

UINT EndTracking(Tracking& track, bool popupMenu) {
  const HWND owner = track.owner;
  CloseLevelsAbove(0);
  if (Menu* bar = FindMenu(track.bar);
      bar && track.barItem >= 0 && static_cast<std::size_t>(track.barItem) < bar->items.size())
    bar->items[static_cast<std::size_t>(track.barItem)].state &= ~MF_HILITE;
  const int barItem = track.barItem;
  track.barItem = -1;
  if (track.bar) {
    if (Menu* bar = FindMenu(track.bar)) bar->hot = -1;
    RedrawBarItem(owner, barItem, ODA_SELECT);
  }
  // Shadows drawn on the screen around the menu go with it.
  ClearScreenOverlay();
  t_track = nullptr;
  const UINT command = track.command;
  if (IsWindow(owner) && !(track.flags & TPM_NONOTIFY)) {
    SendMessageA(owner, WM_MENUSELECT, MAKELPARAM(0, 0xFFFF), 0);
    SendMessageA(owner, WM_EXITMENULOOP, popupMenu ? TRUE : FALSE, 0);
  }
  if (track.flags & TPM_RETURNCMD) return command;
  // The command arrives once the menu is gone, before the tracking returns.
  if (command && IsWindow(owner)) SendMessageA(owner, WM_COMMAND, command & 0xFFFF, 0);
  return command;
}

}  // namespace detail::tracking

using namespace detail;
using namespace detail::tracking;

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  if (t_track || !FindMenu(menu) || FindMenu(menu)->bar || !IsWindow(owner) || !qApp) return FALSE;
  Tracking track;
  track.owner = owner;
  track.flags = flags;
  t_track = &track;
  MenuInput input;
  qApp->installEventFilter(&input);
  if (!(flags & TPM_NONOTIFY)) {
    SendMessageA(owner, WM_ENTERMENULOOP, TRUE, 0);
    SendMessageA(owner, WM_INITMENU, menu.value, 0);
  }
  if (OpenLevel(menu, x, y, flags, nullptr, 0)) RunMenuLoop(track);
  qApp->removeEventFilter(&input);
  const UINT command = EndTracking(track, true);
  return (flags & TPM_RETURNCMD) ? static_cast<BOOL>(command) : TRUE;
}

BOOL EndMenu() {
  if (!t_track) return FALSE;
  Finish(0);
  return TRUE;
}

}  // namespace win
