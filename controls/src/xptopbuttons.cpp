#include "controls/xptopbuttons.h"

#include "forms/scale.h"
#include "pointer_poll.h"
#include "skin_ground.h"

namespace controls {

xptopbuttons::xptopbuttons(const forms::ControlSite& site)
    : UserControl(site, ":/controls/xptopbuttons.json"),
      Timer1_(Get<forms::FormTimer>("Timer1")),
      pc_(Array<forms::PictureClip>("pc")) {
  for (const auto& [index, clip] : pc_) strips_.at(index) = clip->Picture();
  // Until the frame says otherwise, the active caption bar lies behind.
  LayOver(detail::CaptionBarBehindButton);
  Timer1_.Timer = [this] { Timer1_Timer(); };
}

void xptopbuttons::LayOver(const std::function<QColor(int row)>& ground) {
  for (const auto& [index, clip] : pc_) clip->Picture(detail::LaidOver(strips_.at(index), ground));
  ShowCell(cell_);
}

void xptopbuttons::Enabled(bool v) {
  UserControl::Enabled(v);
  ShowCell(v ? kNormalCell : kDisabledCell);
}

void xptopbuttons::Value(std::int32_t v) {
  value_ = v;
  PropertyChanged("Value");
  draw_glyph();
}

void xptopbuttons::draw_glyph() {
  if (value_ >= 0 && value_ <= 3) glyphIndex_ = value_;
  ShowCell(Enabled() ? kNormalCell : kDisabledCell);
}

void xptopbuttons::ShowCell(int cell) {
  // The cell becomes the picture of the button's own surface, unstretched.
  cell_ = cell;
  CanvasPicture(pc_[glyphIndex_].GraphicCell(cell));
}

void xptopbuttons::KeepFixedSize() {
  if (WidthTwips() != kSideTwips || HeightTwips() != kSideTwips)
    MoveTwips(LeftTwips(), TopTwips(), kSideTwips, kSideTwips);
}

void xptopbuttons::OnResized() {
  UserControl::OnResized();
  // Sizes set from code take effect at once, shown or not.
  KeepFixedSize();
}

void xptopbuttons::UserControl_Initialize() {
  draw_glyph();
  ShowCell(kNormalCell);
}

void xptopbuttons::UserControl_InitProperties() {
  Value(0);
  Enabled(true);
}

void xptopbuttons::UserControl_ReadProperties(forms::PropertyBag& PropBag) {
  value_ = PropBag.ReadProperty("Value", 0).ToLong();
  Enabled(PropBag.ReadProperty("Enabled", true).ToBool());
}

void xptopbuttons::UserControl_WriteProperties(forms::PropertyBag& PropBag) {
  PropBag.WriteProperty("Value", value_, 0);
  PropBag.WriteProperty("Enabled", Enabled(), true);
}

void xptopbuttons::UserControl_MouseDown(int& Button, int& Shift, float& X, float& Y) {
  ShowCell(kPressedCell);
  MouseDown(Button, Shift, X, Y);
}

void xptopbuttons::UserControl_MouseMove(int& Button, int& Shift, float& X, float& Y) {
  Timer1_.Enabled(true);
  if (!detail::InsideMove(*this, X, Y)) return;
  MouseMove(Button, Shift, X, Y);
  ShowCell(Button == forms::vbLeftButton ? kPressedCell : kHotCell);
}

void xptopbuttons::UserControl_MouseUp(int& Button, int& Shift, float& X, float& Y) {
  ShowCell(kNormalCell);
  MouseUp(Button, Shift, X, Y);
}

void xptopbuttons::Timer1_Timer() {
  if (!detail::PointerOutside(*this)) return;
  Timer1_.Enabled(false);
  MouseOut();
  // A disabled button keeps the picture it has.
  if (Enabled()) ShowCell(kNormalCell);
}

}  // namespace controls
