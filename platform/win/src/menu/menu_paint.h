#pragma once

// How the layer measures and draws menu items that are not owner-drawn, and
// how it asks the owner about those that are.

#include "menu/menu_table.h"

namespace win::detail {

// Gives every item of `menu` its size (in `rect`, from 0,0) for a popup:
// owner-drawn items through WM_MEASUREITEM to `owner`.
void MeasurePopupItems(Menu& menu, HWND owner);
// Draws one item into `dc`; `selected` highlights it. Owner-drawn items go to
// `owner` as WM_DRAWITEM with the given action.
void DrawMenuItem(Menu& menu, std::size_t index, HDC dc, HWND owner, bool selected, UINT action);
// Asks `owner` to draw an owner-drawn item in `rect` of `dc`; `extraState`
// adds ODS_ bits (selected, hot) to those of the item's own state.
void SendDrawItem(Menu& menu, std::size_t index, HDC dc, HWND owner, UINT extraState, UINT action,
                  const RECT& rect);
// Asks `owner` for the size of an owner-drawn item; `height` is the
// height offered.
SIZE SendMeasureItem(const MenuItem& item, HWND owner, int height);
// The height of a plain menu item in the menu font.
int PlainItemHeight(HDC dc);
// The layer's menu font, created once.
HFONT MenuFont();

}  // namespace win::detail
