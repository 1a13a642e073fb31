// The menu bar while its menu is tracked: selecting and opening its items
// from keys and the pointer.

#include <QApplication>

#include "base/ascii_case.h"
#include "core/screen_overlay.h"
#include "core/window_table.h"
#include "menu/menu_bar.h"
#include "menu/menu_tracking.h"

namespace win::detail {

namespace tracking {

void SelectBar(int index, bool open, bool selectFirst) {
  Menu* bar = FindMenu(t_track->bar);
  if (!bar) {
    Finish(0);
    return;
  }
  if (index >= static_cast<int>(bar->items.size())) index = -1;
  const HWND owner = t_track->owner;
  if (index != t_track->barItem) {
    CloseLevelsAbove(0);
    // Shadows drawn on the screen for the item left and its popup go with them.
    ClearScreenOverlay();
    if (!t_track || !(bar = FindMenu(t_track->bar))) return;
    const int before = t_track->barItem;
    if (before >= 0 && static_cast<std::size_t>(before) < bar->items.size())
      bar->items[static_cast<std::size_t>(before)].state &= ~MF_HILITE;
    t_track->barItem = index;
    if (index >= 0) {
      MenuItem& it = bar->items[static_cast<std::size_t>(index)];
      it.state |= MF_HILITE;
      const UINT flags = ((it.state | it.type) & 0xFFFF) | (it.sub ? MF_POPUP : 0);
      SendMessageA(owner, WM_MENUSELECT,
                   MAKELPARAM(it.sub ? static_cast<UINT>(index) : it.id, flags),
                   t_track->bar.value);
    }
    RedrawBarItem(owner, before, ODA_SELECT);
    RedrawBarItem(owner, index, ODA_SELECT);
  }
  if (!open || !t_track || !t_track->levels.empty() || !(bar = FindMenu(t_track->bar)) || index < 0)
    return;
  const MenuItem& it = bar->items[static_cast<std::size_t>(index)];
  if (!it.sub || !Enabled(it) || !FindMenu(it.sub)) return;
  RECT r;
  if (!GetMenuItemRect(owner, t_track->bar, static_cast<UINT>(index), &r)) return;
  if (OpenLevel(it.sub, r.left, r.bottom, TPM_LEFTALIGN, &r, index, true) && selectFirst)
    SelectFirst(0);
}

void StepBar(int step) {
  Menu* bar = FindMenu(t_track->bar);
  if (!bar || bar->items.empty()) return;
  const int n = static_cast<int>(bar->items.size());
  const bool open = !t_track->levels.empty();
  int i = t_track->barItem;
  for (int tries = 0; tries < n; ++tries) {
    i = i < 0 ? 0 : (i + step + n) % n;
    if (Selectable(bar->items[static_cast<std::size_t>(i)])) {
      SelectBar(i, open, true);
      return;
    }
  }
}

void ChooseBar(int index, bool selectFirst) {
  Menu* bar = FindMenu(t_track->bar);
  if (!bar || index < 0 || static_cast<std::size_t>(index) >= bar->items.size()) return;
  const MenuItem& it = bar->items[static_cast<std::size_t>(index)];
  if (!Selectable(it) || !Enabled(it)) return;
  if (it.sub) {
    SelectBar(index, true, selectFirst);
    return;
  }
  Finish(it.id);
}

void BarKey(int vk, char32_t ch) {
  switch (vk) {
    case VK_LEFT:
      StepBar(-1);
      return;
    case VK_RIGHT:
      StepBar(1);
      return;
    case VK_DOWN:
    case VK_RETURN:
      ChooseBar(t_track->barItem, true);
      return;
    case VK_ESCAPE:
    case VK_MENU:
    case VK_F10:
      Finish(0);
      return;
    default:
      break;
  }
  Menu* bar = FindMenu(t_track->bar);
  const char key = ch < 128 ? base::AsciiLower(static_cast<char>(ch)) : 0;
  for (std::size_t i = 0; bar && key && i < bar->items.size(); ++i) {
    const MenuItem& it = bar->items[i];
    if (!(it.type & MFT_OWNERDRAW) && MenuAccessKey(it.text) == key) {
      ChooseBar(static_cast<int>(i), true);
      return;
    }
  }
}

void BarPointer(QEvent::Type type, int index) {
  Menu* bar = FindMenu(t_track->bar);
  if (!bar || index < 0) return;
  const MenuItem& it = bar->items[static_cast<std::size_t>(index)];
  const bool open = !t_track->levels.empty();
  switch (type) {
    case QEvent::MouseMove:
      // Moving across the bar while a popup is open opens the one under it.
      if (open && index != t_track->barItem) SelectBar(index, true, false);
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      // A press on the open item closes the menu, as it opened it.
      if (index == t_track->barItem && open)
        Finish(0);
      else
        SelectBar(index, true, false);
      break;
    case QEvent::MouseButtonRelease:
      if (index == t_track->barItem && !it.sub && Enabled(it) && Selectable(it)) Finish(it.id);
      break;
    default:
      break;
  }
}

}  // namespace tracking

using namespace tracking;

void TrackMenuBar(HWND hwnd, int index, bool open, bool selectFirst) {
  Menu* bar = BarOf(hwnd);
  if (t_track || !bar || !qApp) return;
  Tracking track;
  track.owner = hwnd;
  track.bar = bar->handle;
  t_track = &track;
  MenuInput input;
  qApp->installEventFilter(&input);
  if (Menu* m = FindMenu(track.bar); m && m->hot >= 0) {
    const int hot = m->hot;
    m->hot = -1;
    RedrawBarItem(hwnd, hot, ODA_SELECT);
  }
  SendMessageA(hwnd, WM_ENTERMENULOOP, FALSE, 0);
  SendMessageA(hwnd, WM_INITMENU, track.bar.value, 0);
  // From the keyboard an access key chooses its item: a command runs at once.
  if (t_track && IsWindow(hwnd)) SelectBar(index, open && !selectFirst, false);
  if (t_track && IsWindow(hwnd) && open && selectFirst) ChooseBar(index, true);
  if (t_track) RunMenuLoop(track);
  qApp->removeEventFilter(&input);
  EndTracking(track, false);
}

int TrackedBarItem(HWND hwnd) {
  return t_track && t_track->bar && t_track->owner == hwnd ? t_track->barItem : -1;
}

}  // namespace win::detail
