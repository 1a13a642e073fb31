#include "controls/xpcmdbutton.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>
#include <cmath>
#include <memory>

#include "base/ascii_case.h"
#include "forms/form.h"
#include "forms/scale.h"
#include "pointer_poll.h"
#include "skin_ground.h"
#include "win/gdi.h"
#include "win/menu.h"
#include "win/types.h"

namespace controls {

namespace {

constexpr win::COLORREF kEnabledText = win::RGB(0, 0, 0);
constexpr win::COLORREF kDisabledText = win::RGB(161, 161, 146);

// One piece of the nine-slice paint: where it goes on the button and where it
// comes from in the 18 x 21 cell (left, top, width, height).
struct Piece {
  float dx, dy, dw, dh;
  float sx, sy, sw, sh;
};

}  // namespace

xpcmdbutton::xpcmdbutton(const forms::ControlSite& site)
    : UserControl(site, ":/controls/xpcmdbutton.json"),
      lbl_(Get<forms::Label>("lbl")),
      Timer1_(Get<forms::FormTimer>("Timer1")),
      pc_(Get<forms::PictureClip>("pc")) {
  pc_.Picture(detail::LaidOver(pc_.Picture(), [](int) {
    return QColor(win::GetRValue(detail::kSkinFace), win::GetGValue(detail::kSkinFace),
                  win::GetBValue(detail::kSkinFace));
  }));
  Timer1_.Timer = [this] { Timer1_Timer(); };
  // A new caption re-centres the label and repaints, as a resize does.
  lbl_.Change = [this] { UserControl_Resize(); };
  lbl_.Click = [this] { Click(); };
  lbl_.MouseDown = [this](int& Button, int& Shift, float& X, float& Y) {
    UserControl_MouseDown(Button, Shift, X, Y);
  };
  // Moving over the caption is moving over the button: the label's own place
  // is passed on, which always counts as inside.
  lbl_.MouseMove = [this](int& Button, int& Shift, float&, float&) {
    float X = lbl_.Left(), Y = lbl_.Top();
    UserControl_MouseMove(Button, Shift, X, Y);
  };
  lbl_.MouseUp = [this](int& Button, int& Shift, float& X, float& Y) {
    UserControl_MouseUp(Button, Shift, X, Y);
  };
  auto shortcut = std::make_unique<QShortcut>(Widget());
  shortcut->setContext(Qt::WindowShortcut);
  accessKey_ = shortcut.release();  // the window owns it
  QObject::connect(accessKey_, &QShortcut::activated, [this] {
    if (Enabled()) Click();
  });
  UpdateAccessKey();
}

// --- properties ------------------------------------------------------------------------

void xpcmdbutton::Enabled(bool v) {
  UserControl::Enabled(v);
  PropertyChanged("Enabled");
  draw_state();
  lbl_.ForeColor(v ? kEnabledText : kDisabledText);
}

void xpcmdbutton::State(std::int32_t v) {
  state_ = v;
  PropertyChanged("State");
  draw_state();
}

std::string xpcmdbutton::Caption() const {
  return lbl_.Caption();
}

void xpcmdbutton::Caption(std::string_view v) {
  lbl_.Caption(v);
  UpdateAccessKey();
  PropertyChanged("Caption");
}

void xpcmdbutton::Font(const forms::Font& v) {
  font_ = v;
  CanvasFont(font_);
  lbl_.Font(font_);
  UserControl_Resize();
  PropertyChanged("Font");
}

void xpcmdbutton::UpdateAccessKey() {
  if (accessKey_)
    accessKey_->setKey(QKeySequence::mnemonic(QString::fromStdString(lbl_.Caption())));
}

// --- lifecycle -------------------------------------------------------------------------

void xpcmdbutton::UserControl_Initialize() {
  draw_state();
}

void xpcmdbutton::UserControl_InitProperties() {
  Enabled(true);
  Caption(Ambient().DisplayName);
  Font(Ambient().Font);
}

void xpcmdbutton::UserControl_ReadProperties(forms::PropertyBag& PropBag) {
  state_ = PropBag.ReadProperty("State", 0).ToLong();
  Enabled(PropBag.ReadProperty("Enabled", true).ToBool());
  Caption(PropBag.ReadProperty("Caption", Ambient().DisplayName).ToString());
  Font(PropBag.ReadProperty("Font", Ambient().Font).ToFont());
}

void xpcmdbutton::UserControl_WriteProperties(forms::PropertyBag& PropBag) {
  PropBag.WriteProperty("State", state_, 0);
  PropBag.WriteProperty("Enabled", Enabled(), true);
  PropBag.WriteProperty("Caption", Caption(), Ambient().DisplayName);
  PropBag.WriteProperty("Font", font_, Ambient().Font);
}

void xpcmdbutton::UserControl_Resize() {
  draw_state();
  lbl_.Top((ScaleHeight() - lbl_.Height()) / 2);
  lbl_.Left((ScaleWidth() - lbl_.Width()) / 2);
}

// --- painting --------------------------------------------------------------------------

void xpcmdbutton::draw_state() {
  // Only 0 and 1 choose a rest look; other values keep the one before.
  if (state_ == 1)
    restCell_ = kHighlightedCell;
  else if (state_ == 0)
    restCell_ = kNormalCell;
  draw_button(Enabled() ? restCell_ : kDisabledCell);
}

void xpcmdbutton::draw_button(int cell) {
  ScaleMode(forms::vbPixels);
  const float W = ScaleWidth(), H = ScaleHeight();
  const float side = std::nearbyint(H - 6);
  // Corners keep their 3 x 3 pixels, edges stretch along their length, the
  // centre both ways.
  const Piece pieces[] = {
      {0, 0, 3, 3, 0, 0, 3, 3},           {W - 3, 0, 3, 3, 15, 0, 3, 3},
      {W - 3, H - 3, 3, 3, 15, 18, 3, 3}, {0, H - 3, 3, 3, 0, 18, 3, 3},
      {3, 0, W - 6, 3, 3, 0, 12, 3},      {W - 3, 3, 3, side, 15, 3, 3, 15},
      {0, 3, 3, side, 0, 3, 3, 15},       {3, H - 3, W - 6, 3, 3, 18, 12, 3},
      {3, 3, W - 6, side, 3, 3, 12, 15},
  };
  for (const Piece& p : pieces) {
    // Below 6 x 6 pixels the edges and the centre have no room: left out.
    if (p.dw <= 0 || p.dh <= 0) continue;
    PaintPicture(pc_.GraphicCell(cell), p.dx, p.dy, p.dw, p.dh, p.sx, p.sy, p.sw, p.sh);
  }
  DrawFocusMark();
}

void xpcmdbutton::DrawFocusMark() {
  // As on the other controls, the mark shows once the keyboard moves the
  // focus, not after a click or while the form opens.
  const QWidget* self = Widget();
  if (!self || !self->hasFocus() || !self->window()->testAttribute(Qt::WA_KeyboardFocusChange))
    return;
  const int W = static_cast<int>(ScaleWidth()), H = static_cast<int>(ScaleHeight());
  const win::RECT mark{3, 3, W - 3, H - 3};
  win::DrawFocusRect(hDC(), &mark);
  win::InvalidateRect(hWnd(), nullptr, win::FALSE);
}

// --- mouse -----------------------------------------------------------------------------

void xpcmdbutton::UserControl_MouseDown(int& Button, int& Shift, float& X, float& Y) {
  MouseDown(Button, Shift, X, Y);
  draw_button(kPressedCell);
}

void xpcmdbutton::UserControl_MouseMove(int& Button, int& Shift, float& X, float& Y) {
  Timer1_.Enabled(true);
  if (!detail::InsideMove(*this, X, Y)) return;
  MouseMove(Button, Shift, X, Y);
  draw_button(Button == forms::vbLeftButton ? kPressedCell : kHotCell);
}

void xpcmdbutton::UserControl_MouseUp(int& Button, int& Shift, float& X, float& Y) {
  MouseUp(Button, Shift, X, Y);
  // The rest look comes back although the pointer may still be over the button.
  draw_state();
}

// --- keyboard --------------------------------------------------------------------------

void xpcmdbutton::UserControl_KeyDown(int& KeyCode, int& Shift) {
  KeyDown(KeyCode, Shift);
  if (KeyCode == win::VK_SPACE && !spaceDown_) {
    spaceDown_ = true;
    draw_button(kPressedCell);
  } else if (KeyCode == win::VK_RETURN && Enabled()) {
    Click();
  }
}

void xpcmdbutton::UserControl_KeyPress(int& KeyAscii) {
  KeyPress(KeyAscii);
  // While a button has the focus, a letter alone is an access key, as Alt and
  // the letter are everywhere on the form.
  if (KeyAscii <= ' ' || KeyAscii >= 127) return;
  const char key = base::AsciiLower(static_cast<char>(KeyAscii));
  for (forms::Control* c : HostForm().Controls()) {
    auto* b = dynamic_cast<xpcmdbutton*>(c);
    if (b && b->Enabled() && b->Visible() && win::MenuAccessKey(b->Caption()) == key) {
      b->Click();
      return;
    }
  }
}

void xpcmdbutton::UserControl_KeyUp(int& KeyCode, int& Shift) {
  KeyUp(KeyCode, Shift);
  if (KeyCode != win::VK_SPACE || !spaceDown_) return;
  spaceDown_ = false;
  draw_state();
  if (Enabled()) Click();
}

void xpcmdbutton::UserControl_LostFocus() {
  // A press by Space that loses the focus before the key is up is no click.
  spaceDown_ = false;
  draw_state();
}

void xpcmdbutton::Timer1_Timer() {
  if (!detail::PointerOutside(*this)) return;
  Timer1_.Enabled(false);
  MouseOut();
  draw_state();
}

}  // namespace controls
