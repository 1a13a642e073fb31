// Measuring and drawing menu items.

#include "menu/menu_paint.h"

#include <algorithm>

#include "gdi/layer_calls.h"
#include "win/gdi.h"
#include "win/system.h"

namespace win::detail {

namespace {

constexpr int kCheckColumn = 20;  // room for a check mark left of the text
constexpr int kArrowColumn = 18;  // room for a submenu arrow right of it
constexpr int kAccelGap = 24;     // between the text and its accelerator text
constexpr int kSeparatorHeight = 9;

struct Parts {
  std::string label, accel;
};

Parts Split(const std::string& text) {
  const auto tab = text.find('\t');
  if (tab == std::string::npos) return {text, {}};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

SIZE Extent(HDC dc, const std::string& s) {
  SIZE sz;
  const std::string shown = TextWithoutMarkers(s);
  GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &sz);
  return sz;
}

// A tick in the check column: seven columns, three pixels thick.
void DrawTick(HDC dc, const RECT& r, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  const int cx = r.left + kCheckColumn / 2 - 3, cy = (r.top + r.bottom) / 2;
  for (int row = 0; row < 3; ++row) {
    MoveToEx(dc, cx, cy - 1 + row, nullptr);
    LineTo(dc, cx + 2, cy + 1 + row);
    LineTo(dc, cx + 7, cy - 4 + row);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

void DrawArrow(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
  const int x = r.right - kArrowColumn / 2 - 2, y = (r.top + r.bottom) / 2;
  const POINT tri[3] = {{x, y - 4}, {x + 4, y}, {x, y + 4}};
  Polygon(dc, tri, 3);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

UINT ItemState(const MenuItem& item, UINT extra) {
  UINT s = extra;
  if (item.state & MF_GRAYED) s |= ODS_GRAYED;
  if (item.state & MF_DISABLED) s |= ODS_DISABLED;
  if (item.state & MF_CHECKED) s |= ODS_CHECKED;
  if (item.state & MF_DEFAULT) s |= ODS_DEFAULT;
  return s;
}

}  // namespace

HFONT MenuFont() {
  static HFONT font = [] {
    const LOGFONTA lf = MenuLogFont();
    return CreateFontIndirectA(&lf);
  }();
  return font;
}

int PlainItemHeight(HDC dc) {
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  return std::max<int>(tm.tmHeight + 6, 20);
}

SIZE SendMeasureItem(const MenuItem& item, HWND owner, int height) {
  MEASUREITEMSTRUCT mis;
  mis.CtlType = ODT_MENU;
  mis.itemID = item.id;
  mis.itemData = item.data;
  mis.itemHeight = static_cast<UINT>(height);
  SendMessageA(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  return SIZE{static_cast<LONG>(mis.itemWidth), static_cast<LONG>(mis.itemHeight)};
}

void SendDrawItem(Menu& menu, std::size_t index, HDC dc, HWND owner, UINT extraState, UINT action,
                  const RECT& rect) {
  const MenuItem& item = menu.items[index];
  DRAWITEMSTRUCT dis;
  dis.CtlType = ODT_MENU;
  dis.itemID = item.id;
  dis.itemAction = action;
  dis.itemState = ItemState(item, extraState);
  dis.hwndItem = HWND(menu.handle.value);
  dis.hDC = dc;
  dis.rcItem = rect;
  dis.itemData = item.data;
  SendMessageA(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
}

void MeasurePopupItems(Menu& menu, HWND owner) {
  HDC dc = CreateCompatibleDC(HDC());
  HGDIOBJ old = SelectObject(dc, MenuFont());
  const int textHeight = PlainItemHeight(dc);
  for (MenuItem& item : menu.items) {
    int w = 0, h = 0;
    if (item.type & MFT_OWNERDRAW) {
      const SIZE sz = SendMeasureItem(item, owner, textHeight);
      w = sz.cx;
      h = sz.cy;
    } else if (item.type & MFT_SEPARATOR) {
      h = kSeparatorHeight;
    } else {
      const Parts p = Split(item.text);
      w = kCheckColumn + Extent(dc, p.label).cx + kArrowColumn;
      if (!p.accel.empty()) w += kAccelGap + Extent(dc, p.accel).cx;
      h = textHeight;
    }
    item.rect = RECT{0, 0, w, h};
  }
  SelectObject(dc, old);
  DeleteDC(dc);
}

void DrawMenuItem(Menu& menu, std::size_t index, HDC dc, HWND owner, bool selected, UINT action) {
  if (index >= menu.items.size()) return;
  MenuItem& item = menu.items[index];
  const bool grayed = item.state & (MF_GRAYED | MF_DISABLED);
  SelectObject(dc, MenuFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (item.type & MFT_OWNERDRAW) {
    SendDrawItem(menu, index, dc, owner, selected ? ODS_SELECTED : 0, action, item.rect);
    return;
  }
  RECT r = item.rect;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (item.type & MFT_SEPARATOR) {
    const int y = (r.top + r.bottom) / 2;
    RECT line{r.left + 2, y - 1, r.right - 2, y};
    FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
    line = RECT{r.left + 2, y, r.right - 2, y + 1};
    FillRect(dc, &line, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    return;
  }
  const COLORREF textColour = grayed     ? GetSysColor(COLOR_GRAYTEXT)
                              : selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                         : GetSysColor(COLOR_MENUTEXT);
  SetTextColor(dc, textColour);
  const Parts p = Split(item.text);
  if (item.state & MF_CHECKED) DrawTick(dc, r, textColour);
  RECT text{r.left + kCheckColumn, r.top, r.right - kArrowColumn, r.bottom};
  DrawTextA(dc, p.label.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (!p.accel.empty())
    DrawTextA(dc, p.accel.c_str(), -1, &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  if (item.sub) DrawArrow(dc, r, textColour);
}

}  // namespace win::detail
