#pragma once

// A window's menu bar: the strip above the client area that the layer lays
// out, draws and tracks. Only the window system's sources include this.

#include <QPoint>
#include <optional>

#include "menu/menu_table.h"

class QKeyEvent;

namespace win::detail {

// The bar a top-level window shows, or null.
Menu* BarOf(HWND hwnd);
// The height the bar takes from the top of the window; 0 without a bar.
// Lays the bar out first when its items changed (owner-drawn items are
// measured through WM_MEASUREITEM to the window).
int MenuBarHeight(HWND hwnd);
// Draws the whole bar into the window's whole-window DC.
void PaintMenuBar(HWND hwnd, HDC windowDc);
// Draws one bar item again after a change of its selection.
void RedrawBarItem(HWND hwnd, int index, UINT action);
// The bar item at a screen point: -1 on the bar but on no item, -2 off it.
int BarItemAt(HWND hwnd, QPoint global);
// Asks the window to fit its client area to its bar again.
void RecalcFrame(HWND hwnd);
// The pointer moved over the bar at a screen point, or off it (no point):
// the item under it is drawn hot.
void MenuBarHover(HWND hwnd, std::optional<QPoint> global);
// Alt, F10 and Alt with an access key enter the bar of the key's top-level
// window. True when the key was the bar's.
bool MenuBarKey(HWND hwnd, QKeyEvent* e);

// Tracks the bar of `hwnd` (bar_tracking.cpp): selects item `index` and,
// with `open`, opens its popup (its first item selected with `selectFirst`).
// Returns when the menu closes, after the chosen command has run.
void TrackMenuBar(HWND hwnd, int index, bool open, bool selectFirst);
// The bar item selected while the bar is tracked, or -1.
int TrackedBarItem(HWND hwnd);

}  // namespace win::detail
