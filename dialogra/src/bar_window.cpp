// The bar's own behaviour: the intro with its welcome line, hiding and
// reopening at the top edge, the strip of the collapsed bar, dragging.

#include <string>

#include "form1.h"
#include "options.h"
#include "pictures.h"

namespace dialogra {

using namespace forms;

void Form1::Get_Windows_Rect() {
  BarHeight = 340;
  Height(BarHeight);
  Top(0);
  win::GetWindowRect(hWnd(), &WindowRect);
}

void Form1::Timer1_Timer() {
  Module& m = module();
  m.IntroCountdown = SubInt(m.IntroCountdown, 1);
  const int c = m.IntroCountdown;
  win::GetCursorPos(&CursorPos);
  const bool inside = win::PtInRect(&WindowRect, CursorPos);

  // A collapsed bar opens only when the pointer touches its top rows over
  // its span, and stays open while the pointer is inside.
  const bool collapsed = Height() != BarHeight;
  if (c < 1 && m.visi != 0 && (!inside || (collapsed && CursorPos.y > 3))) {
    Height(20);
  } else {
    Height(BarHeight);
  }

  if (c == 0) {
    m.IntroCountdown = 1;
  } else if (c == 1 || c == 2) {
    Label1.Caption(" ");
    if (Image1.Enabled()) {
      Timer5.Enabled(true);
      Label1.Caption(" ");
    }
  } else if (c >= 3 && c <= 20) {
    Label1.Caption(kWelcome);
  } else if (c > 20) {
    if (c <= 50) {
      if (Form4* splash = Forms::Find<Form4>()) Unload(*splash);
      Visible(true);
    }
    Label1.Caption(std::string(static_cast<std::size_t>(c - 20), ' ') + kWelcome);
  }
}

void Form1::Timer2_Timer() {
  if (Height() != BarHeight && !Dragging) {
    Line(0, Height() - 20, Width(), Height(), QBColor(StripColour1), true, true);
  } else {
    Cls();
  }
  const std::int16_t oldSecond = StripColour2;
  StripColour1 = StripColour2;
  StripColour2 = StripColour3;
  StripColour3 = oldSecond;
}

void Form1::DragDown() {
  Dragging = true;
  DragOffset = win::POINT{CursorPos.x - WindowRect.left, CursorPos.y - WindowRect.top};
}

void Form1::DragMove() {
  if (!Dragging) return;
  win::MoveWindow(hWnd(), CursorPos.x - DragOffset.x, CursorPos.y - DragOffset.y,
                  WindowRect.right - WindowRect.left, WindowRect.bottom - WindowRect.top,
                  win::TRUE);
}

void Form1::DragUp() {
  if (Left() <= 0) Left(0);
  if (Left() + 7110 > Screen::Width()) Left(Screen::Width() - 7110);
  Get_Windows_Rect();
  Dragging = false;
}

}  // namespace dialogra
