// Menu handles and their items: creating, reading and changing them.

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <unordered_map>

#include "base/ascii_case.h"
#include "core/window_table.h"
#include "gdi/layer_calls.h"
#include "menu/menu_bar.h"
#include "menu/menu_table.h"
#include "win/gdi.h"

namespace win {

namespace detail {

namespace {

std::map<std::uintptr_t, std::unique_ptr<Menu>>& menus() {
  static std::map<std::uintptr_t, std::unique_ptr<Menu>> m;
  return m;
}

// Handles are never reused while the process lives.
std::uintptr_t g_nextMenu = 0x30000;

std::unordered_map<HWND, HMENU>& systemMenus() {
  static std::unordered_map<HWND, HMENU> m;
  return m;
}

HMENU NewMenu(bool bar) {
  auto m = std::make_unique<Menu>();
  m->handle = HMENU(g_nextMenu += 4);
  m->bar = bar;
  const HMENU h = m->handle;
  menus()[h.value] = std::move(m);
  return h;
}

bool ValidSize(UINT cb) {
  return cb == sizeof(MENUITEMINFOA) || cb == MENUITEMINFO_SHORT_SIZE ||
         cb == MENUITEMINFO_PLATFORM_SHORT || cb == MENUITEMINFO_PLATFORM_FULL;
}

bool FullSize(UINT cb) {
  return cb == sizeof(MENUITEMINFOA) || cb == MENUITEMINFO_PLATFORM_FULL;
}

bool HasText(UINT type) {
  return !(type & (MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW));
}

// Writes what `info` names into `item`. False when the record is not valid.
bool Apply(MenuItem& item, const MENUITEMINFOA& info) {
  const UINT mask = info.fMask;
  if (mask & MIIM_TYPE) {
    item.type = info.fType;
    if (info.fType & MFT_BITMAP)
      item.bitmap = HBITMAP(reinterpret_cast<std::uintptr_t>(info.dwTypeData));
    else if (HasText(info.fType))
      item.text = info.dwTypeData ? info.dwTypeData : "";
  }
  if (mask & MIIM_FTYPE) item.type = info.fType;
  if (mask & MIIM_STRING) item.text = info.dwTypeData ? info.dwTypeData : "";
  if (mask & MIIM_STATE) item.state = info.fState;
  if (mask & MIIM_ID) item.id = info.wID;
  if (mask & MIIM_SUBMENU) {
    if (info.hSubMenu && !FindMenu(info.hSubMenu)) return false;
    item.sub = info.hSubMenu;
  }
  if (mask & MIIM_CHECKMARKS) {
    item.checked = info.hbmpChecked;
    item.unchecked = info.hbmpUnchecked;
  }
  if (mask & MIIM_DATA) item.data = info.dwItemData;
  if ((mask & MIIM_BITMAP) && FullSize(info.cbSize)) item.bitmap = info.hbmpItem;
  return true;
}

void CopyText(const std::string& text, MENUITEMINFOA& info) {
  const UINT len = static_cast<UINT>(text.size());
  if (info.dwTypeData && info.cch > 0) {
    const UINT n = std::min(len, info.cch - 1);
    std::memcpy(info.dwTypeData, text.data(), n);
    info.dwTypeData[n] = '\0';
    info.cch = n;
  } else {
    info.cch = len;
  }
}

// The item that the legacy calls (AppendMenu, ModifyMenu) describe.
bool FromFlags(MenuItem& item, UINT flags, ULONG_PTR newItem, const char* text) {
  item.type = flags & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_MENUBARBREAK | MF_MENUBREAK |
                       MF_RIGHTJUSTIFY);
  item.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
  item.sub = HMENU();
  if (flags & MF_POPUP) {
    if (!FindMenu(HMENU(newItem))) return false;
    item.sub = HMENU(newItem);
    item.id = static_cast<UINT>(newItem);
  } else {
    item.id = static_cast<UINT>(newItem);
  }
  item.text.clear();
  item.data = 0;
  item.bitmap = HBITMAP();
  if (flags & MF_BITMAP)
    item.bitmap = HBITMAP(reinterpret_cast<std::uintptr_t>(text));
  else if (flags & MF_OWNERDRAW)
    item.data = reinterpret_cast<ULONG_PTR>(text);
  else if (!(flags & MF_SEPARATOR))
    item.text = text ? text : "";
  return true;
}

void Redraw(Menu& m) {
  m.needsLayout = true;
  if (!m.shownIn) return;
  // A bar is repainted (and laid out again) with its window's non-client part.
  if (Window* w = Find(m.shownIn); w && w->menu == m.handle) {
    w->nonClientDirty = true;
    if (w->widget) w->widget->update();
    return;
  }
  InvalidateRect(m.shownIn, nullptr, TRUE);
}

}  // namespace

Menu* FindMenu(HMENU menu) {
  auto it = menus().find(menu.value);
  return it == menus().end() ? nullptr : it->second.get();
}

MenuItem* FindItem(HMENU menu, UINT item, bool byPosition, Menu** owner) {
  Menu* m = FindMenu(menu);
  if (!m) return nullptr;
  if (byPosition) {
    if (item >= m->items.size()) return nullptr;
    if (owner) *owner = m;
    return &m->items[item];
  }
  for (MenuItem& i : m->items) {
    if (i.sub) {
      if (MenuItem* found = FindItem(i.sub, item, false, owner)) return found;
      if (i.id == item) {
        if (owner) *owner = m;
        return &i;
      }
    } else if (i.id == item) {
      if (owner) *owner = m;
      return &i;
    }
  }
  return nullptr;
}

}  // namespace detail

using namespace detail;

HMENU CreateMenu() {
  return NewMenu(true);
}

HMENU CreatePopupMenu() {
  return NewMenu(false);
}

BOOL DestroyMenu(HMENU menu) {
  auto it = menus().find(menu.value);
  if (it == menus().end()) return FALSE;
  // Submenus end with the menu that holds them.
  std::vector<HMENU> subs;
  for (const MenuItem& i : it->second->items)
    if (i.sub) subs.push_back(i.sub);
  menus().erase(it);
  for (HMENU s : subs) DestroyMenu(s);
  for (HWND h : AllWindows())
    if (Window* w = Find(h); w && w->menu == menu) {
      w->menu = HMENU();
      if (!w->nonClient.isNull()) RecalcFrame(h);
    }
  return TRUE;
}

BOOL IsMenu(HMENU menu) {
  return FindMenu(menu) ? TRUE : FALSE;
}

HMENU GetMenu(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w || (w->style & WS_CHILD) || !FindMenu(w->menu)) return HMENU();
  return w->menu;
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  Window* w = Find(hwnd);
  if (!w || (w->style & WS_CHILD) || (menu && !FindMenu(menu))) return FALSE;
  if (Menu* old = FindMenu(w->menu)) old->shownIn = HWND();
  w->menu = menu;
  if (Menu* m = FindMenu(menu)) {
    m->shownIn = hwnd;
    m->needsLayout = true;
  }
  // The window hears WM_NCCALCSIZE and makes room for the bar (or gives it back).
  RecalcFrame(hwnd);
  if ((w = Find(hwnd)) && w->widget) {
    w->nonClientDirty = true;
    w->widget->update();
  }
  return TRUE;
}

HMENU GetSubMenu(HMENU menu, int position) {
  if (position < 0) return HMENU();
  MenuItem* i = FindItem(menu, static_cast<UINT>(position), true);
  return i ? i->sub : HMENU();
}

int GetMenuItemCount(HMENU menu) {
  Menu* m = FindMenu(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  if (position < 0) return 0xFFFFFFFF;
  MenuItem* i = FindItem(menu, static_cast<UINT>(position), true);
  if (!i || i->sub) return 0xFFFFFFFF;
  return i->id;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  MenuItem* i = FindItem(menu, item, flags & MF_BYPOSITION);
  if (!i) return 0xFFFFFFFF;
  const UINT bits = (i->state | i->type) & ~MFT_RADIOCHECK;
  if (i->sub) {
    Menu* s = FindMenu(i->sub);
    const UINT count = s ? static_cast<UINT>(s->items.size()) : 0;
    return (count << 8) | (bits & 0xFF) | MF_POPUP;
  }
  return bits;
}

BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info) {
  if (!info || !ValidSize(info->cbSize)) return FALSE;
  MenuItem* i = FindItem(menu, item, byPosition);
  if (!i) return FALSE;
  const UINT mask = info->fMask;
  if (mask & (MIIM_TYPE | MIIM_FTYPE)) info->fType = i->type;
  if (mask & MIIM_TYPE) {
    if (i->type & MFT_BITMAP)
      info->dwTypeData = reinterpret_cast<char*>(i->bitmap.value);
    else if (HasText(i->type))
      CopyText(i->text, *info);
    else
      info->cch = 0;
  }
  if (mask & MIIM_STRING) CopyText(i->text, *info);
  if (mask & MIIM_STATE) info->fState = i->state;
  if (mask & MIIM_ID) info->wID = i->id;
  if (mask & MIIM_SUBMENU) info->hSubMenu = i->sub;
  if (mask & MIIM_CHECKMARKS) {
    info->hbmpChecked = i->checked;
    info->hbmpUnchecked = i->unchecked;
  }
  if (mask & MIIM_DATA) info->dwItemData = i->data;
  if ((mask & MIIM_BITMAP) && FullSize(info->cbSize)) info->hbmpItem = i->bitmap;
  return TRUE;
}

BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info) {
  if (!info || !ValidSize(info->cbSize)) return FALSE;
  Menu* owner = nullptr;
  MenuItem* i = FindItem(menu, item, byPosition, &owner);
  if (!i) return FALSE;
  MenuItem changed = *i;
  if (!Apply(changed, *info)) return FALSE;
  *i = std::move(changed);
  Redraw(*owner);
  return TRUE;
}

BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info) {
  Menu* m = FindMenu(menu);
  if (!m || !info || !ValidSize(info->cbSize)) return FALSE;
  MenuItem fresh;
  if (!Apply(fresh, *info)) return FALSE;
  std::size_t at = m->items.size();
  if (byPosition) {
    at = std::min<std::size_t>(item, m->items.size());
  } else {
    for (std::size_t k = 0; k < m->items.size(); ++k)
      if (m->items[k].id == item) at = k;
  }
  m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(fresh));
  Redraw(*m);
  return TRUE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, ULONG_PTR newItem, const char* text) {
  Menu* m = FindMenu(menu);
  if (!m) return FALSE;
  MenuItem fresh;
  if (!FromFlags(fresh, flags, newItem, text)) return FALSE;
  m->items.push_back(std::move(fresh));
  Redraw(*m);
  return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
  Menu* owner = nullptr;
  MenuItem* i = FindItem(menu, position, flags & MF_BYPOSITION, &owner);
  if (!i) return FALSE;
  owner->items.erase(owner->items.begin() + (i - owner->items.data()));
  Redraw(*owner);
  return TRUE;
}

int EnableMenuItem(HMENU menu, UINT item, UINT flags) {
  Menu* owner = nullptr;
  MenuItem* i = FindItem(menu, item, flags & MF_BYPOSITION, &owner);
  if (!i) return -1;
  const int old = static_cast<int>(i->state & (MF_GRAYED | MF_DISABLED));
  i->state = (i->state & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
  Redraw(*owner);
  return old;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
  Menu* owner = nullptr;
  MenuItem* i = FindItem(menu, item, flags & MF_BYPOSITION, &owner);
  if (!i) return 0xFFFFFFFF;
  const DWORD old = i->state & MF_CHECKED;
  i->state = (i->state & ~MF_CHECKED) | (flags & MF_CHECKED);
  Redraw(*owner);
  return old;
}

int GetMenuStringA(HMENU menu, UINT item, char* buffer, int size, UINT flags) {
  MenuItem* i = FindItem(menu, item, flags & MF_BYPOSITION);
  if (!i) return 0;
  const int len = static_cast<int>(i->text.size());
  if (!buffer || size <= 0) return len;
  const int n = std::min(len, size - 1);
  std::memcpy(buffer, i->text.data(), static_cast<std::size_t>(n));
  buffer[n] = '\0';
  return n;
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
  if (!Find(hwnd)) return HMENU();
  auto& sys = systemMenus();
  auto it = sys.find(hwnd);
  if (revert) {
    if (it != sys.end()) {
      DestroyMenu(it->second);
      sys.erase(it);
    }
    return HMENU();
  }
  if (it != sys.end() && FindMenu(it->second)) return it->second;
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_STRING, SC_RESTORE, "&Restore");
  AppendMenuA(m, MF_STRING, SC_MOVE, "&Move");
  AppendMenuA(m, MF_STRING, SC_SIZE, "&Size");
  AppendMenuA(m, MF_STRING, SC_MINIMIZE, "Mi&nimize");
  AppendMenuA(m, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
  AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(m, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
  sys[hwnd] = m;
  return m;
}

BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT position, RECT* rect) {
  Menu* m = FindMenu(menu);
  if (!m || !rect || position >= m->items.size() || !m->shownIn || !IsWindow(hwnd)) return FALSE;
  *rect = m->items[position].rect;
  if (Window* w = Find(m->shownIn); w && w->menu == menu && w->widget) {
    // A bar's items are placed in its window's widget, above the client area.
    if (m->needsLayout) MenuBarHeight(m->shownIn);
    if (!(m = FindMenu(menu)) || position >= m->items.size()) return FALSE;
    *rect = m->items[position].rect;
    const QPoint g = w->widget->mapToGlobal(QPoint(0, 0));
    OffsetRect(rect, g.x(), g.y());
    return TRUE;
  }
  POINT origin{0, 0};
  if (!ClientToScreen(m->shownIn, &origin)) return FALSE;
  OffsetRect(rect, origin.x, origin.y);
  return TRUE;
}

std::string TextWithoutMarkers(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size())
      ++i;
    else if (text[i] == '&')
      continue;
    out += text[i];
  }
  return out;
}

char MenuAccessKey(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return base::AsciiLower(text[i + 1]);
  }
  return 0;
}

LRESULT MenuAccessKeyAnswer(const std::vector<std::string>& texts, int selected, unsigned ch) {
  if (ch == 0 || ch >= 128) return MNC_IGNORE;
  const char key = base::AsciiLower(static_cast<char>(ch));
  std::vector<int> hits;
  for (std::size_t i = 0; i < texts.size(); ++i)
    if (MenuAccessKey(texts[i]) == key) hits.push_back(static_cast<int>(i));
  if (hits.empty()) return MNC_IGNORE;
  if (hits.size() == 1) return MAKELPARAM(hits.front(), static_cast<int>(MNC_EXECUTE));
  const auto next = std::find_if(hits.begin(), hits.end(), [&](int h) { return h > selected; });
  return MAKELPARAM(next == hits.end() ? hits.front() : *next, static_cast<int>(MNC_SELECT));
}

}  // namespace win
