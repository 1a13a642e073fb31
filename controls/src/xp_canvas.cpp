#include "controls/xp_canvas.h"

#include <algorithm>

#include "controls/xptopbuttons.h"
#include "forms/app.h"
#include "forms/scale.h"
#include "skin_ground.h"
#include "skip_failures.h"
#include "win/window.h"

namespace controls {

using detail::Step;

namespace {

constexpr int kCaptionHeight = 29;
constexpr int kEdge = 5;  // the side and bottom edges, and each caption corner slice
constexpr int kGrip = 9;
constexpr double kTwipsPerPixel = 15;

constexpr int kAlignTop = 1;
constexpr int kAlignBottom = 2;
constexpr int kAlignLeft = 3;
constexpr int kAlignRight = 4;

// Paints the whole of `picture` stretched over the whole of `box`.
void PaintStretched(forms::PictureBox& box, const forms::Picture& picture) {
  box.PaintPicture(picture, 0, 0, box.ScaleWidth(), box.ScaleHeight(), 0.0f, 0.0f,
                   static_cast<float>(picture.PixelWidth()),
                   static_cast<float>(picture.PixelHeight()));
}

}  // namespace

xp_canvas::xp_canvas(const forms::ControlSite& site)
    : UserControl(site, ":/controls/xp_canvas.json"),
      pictop_(Get<forms::PictureBox>("pictop")),
      picbottom_(Get<forms::PictureBox>("picbottom")),
      picleft_(Get<forms::PictureBox>("picleft")),
      picright_(Get<forms::PictureBox>("picright")),
      lblcaption_(Get<forms::Label>("lblcaption")),
      lblshadow_(Get<forms::Label>("lblshadow")),
      imgicon_(Get<forms::Image>("imgicon")),
      imgresize_(Array<forms::Image>("imgresize")),
      Image1_(Get<forms::Image>("Image1")),
      imgtop_(Get<forms::Image>("imgtop")),
      imgtopmax_(Get<forms::Image>("imgtopmax")),
      imgleft_(Get<forms::Image>("imgleft")),
      imgright_(Get<forms::Image>("imgright")),
      imgbottom_(Get<forms::Image>("imgbottom")),
      Timer1_(Get<forms::FormTimer>("Timer1")),
      Timer2_(Get<forms::FormTimer>("Timer2")) {
  Timer1_.Timer = [this] { Timer1_Timer(); };
  Timer2_.Timer = [this] { Timer2_Timer(); };
  WireMouseHandling();
}

// --- public members ------------------------------------------------------------------

std::string xp_canvas::Caption() const {
  return lblcaption_.Caption();
}

void xp_canvas::Caption(std::string_view vNewCaption) {
  lblcaption_.Caption(vNewCaption);
  lblshadow_.Caption(vNewCaption);
  HostForm().Caption(vNewCaption);
  LayoutPass();
  PropertyChanged("Caption");
}

void xp_canvas::Icon(const forms::Picture& New_Icon) {
  icon_ = New_Icon;
  imgicon_.Picture(icon_);
  PropertyChanged("Icon");
}

void xp_canvas::SetFocus() {
  Timer1_.Enabled(false);
  Timer2_.Enabled(false);
  skin_active();
  LayoutPass();
}

void xp_canvas::Fixed_Single(bool vNewValue) {
  fixedSingle_ = vNewValue;
  LayoutPass();
}

// --- lifecycle -----------------------------------------------------------------------

void xp_canvas::UserControl_Initialize() {
  skin_active();
  LayoutPass();
}

void xp_canvas::UserControl_InitProperties() {
  Caption(Ambient().DisplayName);
  Fixed_Single(false);
  Icon(Image1_.Picture());
}

void xp_canvas::UserControl_ReadProperties(forms::PropertyBag& PropBag) {
  Caption(PropBag.ReadProperty("Caption", Ambient().DisplayName).ToString());
  Icon(PropBag.ReadProperty("Icon", Image1_.Picture()).ToPicture());
  Fixed_Single(PropBag.ReadProperty("Fixed_Single", false).ToBool());
}

void xp_canvas::UserControl_WriteProperties(forms::PropertyBag& PropBag) {
  PropBag.WriteProperty("Caption", Caption(), Ambient().DisplayName);
  PropBag.WriteProperty("Icon", icon_, Image1_.Picture());
  PropBag.WriteProperty("Fixed_Single", fixedSingle_, false);
}

void xp_canvas::UserControl_Resize() {
  LayoutPass();
}

void xp_canvas::ContainerResized() {
  // Whatever changed the host's size (a drag on the frame, maximising,
  // restoring, the program itself), the frame follows, so that its own resize
  // lays it out for the new size and window state before the host's Resize
  // event remakes the region. A minimised host keeps the frame as it was.
  forms::Form& host = HostForm();
  if (host.WindowState() == forms::vbMinimized) return;
  MoveTwips(0, 0, host.ClientPixelWidth() * forms::Screen::TwipsPerPixelX(),
            host.ClientPixelHeight() * forms::Screen::TwipsPerPixelY());
}

// --- activation tracking ---------------------------------------------------------------
//
// The deactivation poll (Timer1) switches to the inactive skin when the host
// is no longer the active form; the activation poll (Timer2) switches to the
// active skin when it is. The answer can change only when the host is
// activated or deactivated, so a poll that finds nothing to change stops, and
// the host's activation message starts both again: the skin still follows
// within one tick, and a window that waits wakes nobody. While no window of
// the program is active at all the comparison simply fails, which shows the
// inactive look.

void xp_canvas::Timer1_Timer() {
  bool hostActive = true;
  Step([&] { hostActive = win::GetActiveWindow() == HostForm().hWnd(); });
  if (!hostActive) {
    skin_inactive();
    LayoutPass();
  }
  Step([&] { Timer1_.Enabled(false); });
}

void xp_canvas::Timer2_Timer() {
  bool hostActive = false;
  Step([&] { hostActive = win::GetActiveWindow() == HostForm().hWnd(); });
  if (hostActive) {
    skin_active();
    LayoutPass();
  }
  Step([&] { Timer2_.Enabled(false); });
}

void xp_canvas::ContainerActivationChanged() {
  Timer1_.Enabled(true);
  Timer2_.Enabled(true);
}

void xp_canvas::UserControl_EnterFocus() {
  Timer1_.Enabled(false);
  skin_active();
  LayoutPass();
}

void xp_canvas::UserControl_ExitFocus() {
  Timer1_.Enabled(true);
  Timer2_.Enabled(true);
}

void xp_canvas::UserControl_GotFocus() {
  Timer1_.Enabled(false);
  Timer2_.Enabled(false);
  skin_active();
  LayoutPass();
}

void xp_canvas::skin_active() {
  imgleft_.Picture(Get<forms::Image>("imgleft1").Picture());
  imgright_.Picture(Get<forms::Image>("imgright1").Picture());
  imgtop_.Picture(Get<forms::Image>("imgtop1").Picture());
  imgtopmax_.Picture(Get<forms::Image>("imgtopmax1").Picture());
  imgbottom_.Picture(Get<forms::Image>("imgbottom1").Picture());
}

void xp_canvas::skin_inactive() {
  imgleft_.Picture(Get<forms::Image>("imgleft2").Picture());
  imgright_.Picture(Get<forms::Image>("imgright2").Picture());
  imgtop_.Picture(Get<forms::Image>("imgtop2").Picture());
  imgtopmax_.Picture(Get<forms::Image>("imgtopmax2").Picture());
  imgbottom_.Picture(Get<forms::Image>("imgbottom2").Picture());
}

// --- layout pass -----------------------------------------------------------------------
//
// Every step that fails is skipped and the pass goes on; the strips are
// painted completely each time, from the working picture set.

void xp_canvas::LayoutPass() {
  forms::Form& host = HostForm();
  Step([&] { host.ScaleMode(forms::vbPixels); });

  KeepCaptionButtonsRight();
  // The load and every activation poll run a pass; one that finds the frame
  // as it was painted leaves the strips alone instead of clearing and
  // repainting them pixel for pixel.
  const PaintedFor now = PaintedNow();
  if (now != paintedFor_) {
    paintedFor_.reset();
    bool whole = true;
    auto paint = [&](auto&& step) { whole = Step(step) && whole; };
    paint([&] { AutoRedraw(true); });
    paint([&] { BackColor(detail::kSkinFace); });
    paint([&] { ScaleMode(forms::vbPixels); });
    paint([&] { Cls(); });

    paint([&] { picleft_.Width(kEdge); });
    paint([&] { picright_.Width(kEdge); });
    paint([&] { pictop_.Height(kCaptionHeight); });
    paint([&] { picbottom_.Height(kEdge); });

    paint([&] { picleft_.Align(kAlignLeft); });
    paint([&] { picright_.Align(kAlignRight); });
    paint([&] { pictop_.Align(kAlignTop); });
    paint([&] { picbottom_.Align(kAlignBottom); });

    paint([&] { PaintStretched(picleft_, imgleft_.Picture()); });
    paint([&] { PaintStretched(picright_, imgright_.Picture()); });
    PaintCaptionBar();
    GroundCaptionButtons();
    paint([&] { PaintStretched(picbottom_, imgbottom_.Picture()); });
    if (whole) paintedFor_ = now;
  }

  Step([&] { lblcaption_.Top(6); });
  Step([&] { lblcaption_.Left(26); });
  Step([&] { lblshadow_.Top(8); });
  Step([&] { lblshadow_.Left(28); });

  PlaceGrips();
  SetFrameCursors();

  Step([] { forms::DoEvents(); });
  Resize();
}

xp_canvas::PaintedFor xp_canvas::PaintedNow() const {
  PaintedFor now;
  now.width = WidthTwips();
  now.height = HeightTwips();
  now.state = -1;
  Step([&] { now.state = HostForm().WindowState(); });
  for (const forms::Image* skin : {&imgtop_, &imgtopmax_, &imgleft_, &imgright_, &imgbottom_})
    now.skin.push_back(skin->Picture());
  for (const xptopbuttons* button : CaptionButtons())
    now.buttons.insert(now.buttons.end(), {button->LeftTwips(), button->TopTwips(),
                                           button->WidthTwips(), button->HeightTwips()});
  return now;
}

void xp_canvas::PaintCaptionBar() {
  int state = forms::vbNormal;
  Step([&] { state = HostForm().WindowState(); });
  // A minimised host keeps whatever the bar showed.
  if (state == forms::vbMinimized) return;
  const forms::Picture& source = (state == forms::vbMaximized ? imgtopmax_ : imgtop_).Picture();
  const float W = pictop_.Width(), H = pictop_.Height();
  const auto w = static_cast<float>(source.PixelWidth()),
             h = static_cast<float>(source.PixelHeight());
  // The corners keep their width; the middle stretches between them.
  Step([&] { pictop_.PaintPicture(source, 0, 0, kEdge, H, 0.0f, 0.0f, kEdge, h); });
  Step([&] {
    pictop_.PaintPicture(source, kEdge, 0, W - 2 * kEdge, H, static_cast<float>(kEdge), 0.0f,
                         w - 2 * kEdge, h);
  });
  Step([&] { pictop_.PaintPicture(source, W - kEdge, 0, kEdge, H, w - kEdge, 0.0f, kEdge, h); });
}

void xp_canvas::PlaceGrips() {
  // Grips 5 and 7 keep their design places in the left corners.
  Step([&] { imgresize_[6].Top(0); });
  Step([&] { imgresize_[6].Left(HostForm().ScaleWidth() - kGrip); });
  Step([&] { imgresize_[4].Top(picbottom_.ScaleHeight() - kGrip); });
  Step([&] { imgresize_[4].Left(picbottom_.ScaleWidth() - kGrip); });
  Step([&] { imgresize_[2].Width(pictop_.ScaleWidth() - 2 * kGrip); });
  Step([&] { imgresize_[2].Left(kGrip); });
}

void xp_canvas::SetFrameCursors() {
  int state = forms::vbNormal;
  Step([&] { state = HostForm().WindowState(); });
  if (!fixedSingle_ && state == forms::vbMinimized) return;
  // Only a host in the normal state can be resized by the frame.
  const bool sizable = !fixedSingle_ && state == forms::vbNormal;
  auto cursor = [&](forms::Control& c, int sizing) {
    Step([&] { c.MousePointer(sizable ? sizing : forms::vbDefault); });
  };
  cursor(picleft_, forms::vbSizeWE);
  cursor(picright_, forms::vbSizeWE);
  cursor(picbottom_, forms::vbSizeNS);
  cursor(imgresize_[2], forms::vbSizeNS);
  cursor(imgresize_[4], forms::vbSizeNWSE);
  cursor(imgresize_[5], forms::vbSizeNESW);
  cursor(imgresize_[6], forms::vbSizeNESW);
  cursor(imgresize_[7], forms::vbSizeNWSE);
}

// --- caption buttons ---------------------------------------------------------------------
//
// The caption buttons are the host's controls, placed by the host over the
// right end of the caption bar for its design width. The frame keeps each at
// the distance from its right edge that the host gave it, whatever width the
// host takes since (a drag on an edge, maximising, restoring, the program).

std::vector<xptopbuttons*> xp_canvas::CaptionButtons() const {
  std::vector<xptopbuttons*> found;
  Step([&] {
    forms::Form& host = HostForm();
    for (forms::Control* c : host.Controls()) {
      auto* button = dynamic_cast<xptopbuttons*>(c);
      if (button && &button->GetContainer() == &static_cast<forms::Container&>(host) &&
          button->TopTwips() >= 0 &&
          button->TopTwips() + button->HeightTwips() <= kCaptionHeight * kTwipsPerPixel)
        found.push_back(button);
    }
  });
  return found;
}

void xp_canvas::KeepCaptionButtonsRight() {
  const double width = WidthTwips();
  // Moved by the change since the last placing, so that a host that places a
  // button anew keeps that place relative to the right edge.
  if (buttonsPlacedFor_ >= 0 && width != buttonsPlacedFor_) {
    const double shift = width - buttonsPlacedFor_;
    for (xptopbuttons* button : CaptionButtons())
      Step([&] {
        button->MoveTwips(button->LeftTwips() + shift, button->TopTwips(), button->WidthTwips(),
                          button->HeightTwips());
      });
  }
  buttonsPlacedFor_ = width;
}

void xp_canvas::GroundCaptionButtons() {
  int state = forms::vbNormal;
  Step([&] { state = HostForm().WindowState(); });
  // A minimised host's bar is not painted: the buttons keep their ground.
  if (state == forms::vbMinimized) return;
  for (xptopbuttons* button : CaptionButtons()) {
    const auto x =
        static_cast<float>((button->LeftTwips() + button->WidthTwips() / 2) / kTwipsPerPixel);
    const auto top = static_cast<int>(button->TopTwips() / kTwipsPerPixel);
    Step([&] {
      button->LayOver([&](int row) {
        const win::COLORREF c =
            pictop_.Point(x, static_cast<float>(std::clamp(top + row, 0, kCaptionHeight - 1)));
        return QColor(win::GetRValue(c), win::GetGValue(c), win::GetBValue(c));
      });
    });
  }
}

win::SIZE xp_canvas::SmallestHost() const {
  // The caption buttons keep their distance from the right edge, so the bar
  // stays whole while the one farthest from it still lies right of the icon
  // (with no buttons, the right corner); the caption bar above the bottom edge.
  double fromRight = kEdge * kTwipsPerPixel;
  for (const xptopbuttons* button : CaptionButtons())
    fromRight = std::max(fromRight, WidthTwips() - button->LeftTwips());
  return {static_cast<win::LONG>(imgicon_.LeftTwips() + imgicon_.WidthTwips() + fromRight),
          static_cast<win::LONG>((kCaptionHeight + kEdge) * kTwipsPerPixel)};
}

}  // namespace controls
