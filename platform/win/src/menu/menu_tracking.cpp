// Selection, submenus and choice in the open popups of a tracked menu.

#include "menu/menu_tracking.h"

#include "core/window_table.h"
#include "gdi/layer_calls.h"
#include "win/gdi.h"

namespace win::detail::tracking {

thread_local Tracking* t_track = nullptr;

namespace {

// The item selected in an open popup carries MF_HILITE, as the owner reads
// it (GetMenuState) when it answers for items it draws itself.
void Hilite(HMENU menu, int index, bool on) {
  Menu* m = FindMenu(menu);
  if (!m || index < 0 || static_cast<std::size_t>(index) >= m->items.size()) return;
  UINT& state = m->items[static_cast<std::size_t>(index)].state;
  state = on ? (state | MF_HILITE) : (state & ~MF_HILITE);
}

}  // namespace

int ItemAt(Menu& m, POINT p) {
  for (std::size_t i = 0; i < m.items.size(); ++i)
    if (PtInRect(&m.items[i].rect, p)) return static_cast<int>(i);
  return -1;
}

bool Selectable(const MenuItem& i) {
  return !(i.type & MFT_SEPARATOR);
}

bool Enabled(const MenuItem& i) {
  return !(i.state & (MF_GRAYED | MF_DISABLED));
}

std::size_t DepthOf(HWND popup) {
  for (std::size_t d = 0; t_track && d < t_track->levels.size(); ++d)
    if (t_track->levels[d].window == popup) return d;
  return static_cast<std::size_t>(-1);
}

void CloseLevelsAbove(std::size_t keep) {
  while (t_track && t_track->levels.size() > keep) {
    Level l = t_track->levels.back();
    t_track->levels.pop_back();
    Hilite(l.menu, l.selected, false);
    Grab(l.window, false);
    if (!t_track->levels.empty()) Grab(t_track->levels.back().window, true);
    if (Menu* m = FindMenu(l.menu)) m->shownIn = HWND();
    if (!(t_track->flags & TPM_NONOTIFY))
      SendMessageA(t_track->owner, WM_UNINITMENUPOPUP, l.menu.value, 0);
    DestroyWindow(l.window);
  }
}

void Select(std::size_t depth, int index) {
  Level& l = t_track->levels[depth];
  if (l.selected == index) return;
  const int before = l.selected;
  l.selected = index;
  Hilite(l.menu, before, false);
  Hilite(l.menu, index, true);
  CloseLevelsAbove(depth + 1);
  if (Menu* m = FindMenu(l.menu); m && !(t_track->flags & TPM_NONOTIFY)) {
    if (index >= 0 && static_cast<std::size_t>(index) < m->items.size()) {
      const MenuItem& it = m->items[static_cast<std::size_t>(index)];
      const UINT flags = ((it.state | it.type) & 0xFFFF) | (it.sub ? MF_POPUP : 0);
      const UINT item = it.sub ? static_cast<UINT>(index) : it.id;
      SendMessageA(t_track->owner, WM_MENUSELECT, MAKELPARAM(item, flags), l.menu.value);
    }
  }
  if (!t_track || depth >= t_track->levels.size()) return;
  RedrawItem(t_track->levels[depth], before);
  RedrawItem(t_track->levels[depth], index);
}

void SelectFirst(std::size_t depth) {
  Menu* m = FindMenu(t_track->levels[depth].menu);
  for (std::size_t i = 0; m && i < m->items.size(); ++i)
    if (Selectable(m->items[i])) {
      Select(depth, static_cast<int>(i));
      return;
    }
}

void OpenSubmenu(std::size_t depth, bool selectFirst) {
  Level& l = t_track->levels[depth];
  Menu* m = FindMenu(l.menu);
  // The owner may have changed the menu while it was open.
  if (!m || l.selected < 0 || static_cast<std::size_t>(l.selected) >= m->items.size()) return;
  const MenuItem& it = m->items[static_cast<std::size_t>(l.selected)];
  if (!it.sub || !Enabled(it) || !FindMenu(it.sub)) return;
  if (t_track->levels.size() > depth + 1) return;  // already open
  RECT r = it.rect;
  POINT origin{0, 0};
  ClientToScreen(l.window, &origin);
  OffsetRect(&r, origin.x, origin.y);
  RECT whole;
  GetWindowRect(l.window, &whole);
  r.left = whole.left;
  r.right = whole.right;
  if (!OpenLevel(it.sub, r.right - 3, r.top - kFrame, TPM_LEFTALIGN, &r, l.selected)) return;
  if (selectFirst) {
    Menu* sub = FindMenu(it.sub);
    for (std::size_t i = 0; sub && i < sub->items.size(); ++i)
      if (Selectable(sub->items[i])) {
        Select(depth + 1, static_cast<int>(i));
        break;
      }
  }
}

void Finish(UINT command) {
  if (!t_track) return;
  t_track->command = command;
  t_track->done = true;
}

void Choose(std::size_t depth, int index) {
  Menu* m = FindMenu(t_track->levels[depth].menu);
  if (!m || index < 0 || static_cast<std::size_t>(index) >= m->items.size()) return;
  const MenuItem& it = m->items[static_cast<std::size_t>(index)];
  if (!Selectable(it) || !Enabled(it)) return;
  if (it.sub) {
    Select(depth, index);
    OpenSubmenu(depth, true);
    return;
  }
  Finish(it.id);
}

void MoveSelection(std::size_t depth, int step) {
  Level& l = t_track->levels[depth];
  Menu* m = FindMenu(l.menu);
  if (!m || m->items.empty()) return;
  const int n = static_cast<int>(m->items.size());
  int i = l.selected;
  for (int tries = 0; tries < n; ++tries) {
    i = i < 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
    if (Selectable(m->items[static_cast<std::size_t>(i)])) {
      Select(depth, i);
      return;
    }
  }
}

void AccessChar(std::size_t depth, char32_t ch) {
  const Level& l = t_track->levels[depth];
  const HMENU menu = l.menu;
  Menu* m = FindMenu(menu);
  if (!m) return;
  // The menu reads the access keys of the texts it draws; the owner answers
  // for the items it draws itself.
  std::vector<std::string> texts;
  texts.reserve(m->items.size());
  for (const MenuItem& it : m->items)
    texts.push_back(it.type & MFT_OWNERDRAW ? std::string() : it.text);
  LRESULT r = MenuAccessKeyAnswer(texts, l.selected, static_cast<unsigned>(ch));
  if (r == MNC_IGNORE)
    r = SendMessageA(t_track->owner, WM_MENUCHAR, MAKELPARAM(ch & 0xFFFF, MF_POPUP),
                     static_cast<LPARAM>(menu.value));
  // The owner may have closed or changed the menu while it answered.
  if (!t_track || depth >= t_track->levels.size() || t_track->levels[depth].menu != menu ||
      !(m = FindMenu(menu)))
    return;
  const int pos = static_cast<int>(r & 0xFFFF);
  switch ((r >> 16) & 0xFFFF) {
    case MNC_EXECUTE:
      Choose(depth, pos);
      break;
    case MNC_SELECT:
      if (pos < static_cast<int>(m->items.size())) Select(depth, pos);
      break;
    case MNC_CLOSE:
      Finish(0);
      break;
    default:
      break;
  }
}

}  // namespace win::detail::tracking
