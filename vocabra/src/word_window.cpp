// The word window's text, size and place, and what the mouse does on it.

#include <string>

#include "frm_show.h"

namespace vocabra {

using namespace forms;

std::string FrmShow::PairText(std::string_view english, std::string_view italian) {
  return std::string(english) + "  |  " + std::string(italian);
}

void FrmShow::YinPiaoLbl_Change() {
  // The labels empty when the source stands past its last record; the
  // window keeps showing the last pair then.
  dao::Recordset& rs = Data1.Recordset();
  if (!rs.IsOpen() || rs.Eof() || rs.Bof()) return;
  LB.Caption(PairText(YinPiaoLbl.Caption(), EnglishWordLbl.Caption()));
  AdjustSize();
}

void FrmShow::AdjustSize() {
  // 1. The pair on one line, to measure it.
  lb0.Caption(LB.Caption());
  // 2, 3. Wrapped at a wide measure, the number of lines (a ratio of heights)
  // spreads the line's width over them.
  LB.Width(5000);
  const float lines = LB.Height() / lb0.Height();
  const float w = lb0.Width() / lines;
  // 4. A pair wider than the wrap width wraps; a narrower one keeps its width.
  LB.Width(MinOf(kWrapWidth, w));
  // 5. The window around it.
  Width(LB.Width() + kMargin);
  Height(LB.Height() + kMargin);
  // The window's edge, so that it stands out from a pale desktop.
  Shape1.Move(0, 0, Width(), Height());
  // 6. Horizontally inside the screen; vertically where it was put.
  if (static_cast<float>(Screen::Width() - Width()) < Left()) {
    Left(Screen::Width() - Width());
  } else if (Left() < 0) {
    Left(0);
  }
  // 7.
  Refresh();
}

void FrmShow::Form_MouseDown(int& Button, int&, float&, float&) {
  LB_MouseDown(Button);
}

void FrmShow::LB_MouseDown(int Button) {
  if (Button == vbRightButton) {
    ShowMenu();
  } else if (Button == vbLeftButton) {
    // The system moves the window with the pointer until the button is let go.
    win::ReleaseCapture();
    win::SendMessageA(hWnd(), win::WM_NCLBUTTONDOWN, static_cast<win::WPARAM>(win::HTCAPTION), 0);
  }
}

}  // namespace vocabra
