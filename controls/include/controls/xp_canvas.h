#pragma once

// The skinned window frame of a borderless form: caption bar with icon and
// shadowed caption, side and bottom edges, active and inactive looks that
// follow the host's activation, and moving, maximising and resizing the host
// by the frame.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/controls.h"
#include "forms/events.h"
#include "forms/form.h"
#include "forms/user_control.h"
#include "win/types.h"

namespace controls {

class xptopbuttons;

class xp_canvas : public forms::UserControl {
 public:
  explicit xp_canvas(const forms::ControlSite& site);

  // Clears `frm`, switches it to pixels, paints the rounded caption corners
  // onto it while it is in the normal state, and cuts the key colour
  // RGB(255, 0, 255) out of its window region.
  void make_trans(forms::Form& frm);

  std::string Caption() const;
  // Sets the caption and shadow labels and the host's caption, then lays out.
  void Caption(std::string_view vNewCaption);
  const forms::Picture& Icon() const { return icon_; }
  void Icon(const forms::Picture& New_Icon);
  // Stops both activation polls and shows the active skin.
  void SetFocus();
  bool Fixed_Single() const { return fixedSingle_; }
  // Sends no change notification.
  void Fixed_Single(bool vNewValue);

  forms::Event<> Click;
  forms::Event<> DblClick;
  forms::Event<> Resize;  // at the end of every layout pass
  forms::KeyEvent KeyDown;
  forms::KeyPressEvent KeyPress;
  forms::KeyEvent KeyUp;
  forms::MouseEvent MouseDown;
  forms::MouseEvent MouseMove;
  forms::MouseEvent MouseUp;

 protected:
  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(forms::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(forms::PropertyBag& PropBag) override;
  void UserControl_Resize() override;
  // The host took a new size: the frame covers its whole client area again.
  void ContainerResized() override;
  // The host was activated or deactivated: both polls look again.
  void ContainerActivationChanged() override;
  void UserControl_EnterFocus() override;
  void UserControl_ExitFocus() override;
  void UserControl_GotFocus() override;
  void UserControl_Click() override { Click(); }
  void UserControl_DblClick() override { DblClick(); }
  void UserControl_KeyDown(int& KeyCode, int& Shift) override { KeyDown(KeyCode, Shift); }
  void UserControl_KeyPress(int& KeyAscii) override { KeyPress(KeyAscii); }
  void UserControl_KeyUp(int& KeyCode, int& Shift) override { KeyUp(KeyCode, Shift); }
  void UserControl_MouseDown(int& Button, int& Shift, float& X, float& Y) override {
    MouseDown(Button, Shift, X, Y);
  }
  void UserControl_MouseMove(int& Button, int& Shift, float& X, float& Y) override {
    MouseMove(Button, Shift, X, Y);
  }
  void UserControl_MouseUp(int& Button, int& Shift, float& X, float& Y) override {
    MouseUp(Button, Shift, X, Y);
  }

 private:
  void LayoutPass();
  void PaintCaptionBar();
  void PlaceGrips();
  void SetFrameCursors();
  // The host's caption buttons that lie on the caption bar.
  std::vector<xptopbuttons*> CaptionButtons() const;
  // Moves the caption buttons with the frame's right edge.
  void KeepCaptionButtonsRight();
  // Gives the caption buttons the colours of the bar as it is painted now.
  void GroundCaptionButtons();
  // The smallest host, in twips, at which the caption bar keeps its icon,
  // both corners and every caption button whole.
  win::SIZE SmallestHost() const;
  void skin_active();
  void skin_inactive();
  void Timer1_Timer();
  void Timer2_Timer();
  // The caption, edge and grip handlers that move, maximise and resize the host.
  void WireMouseHandling();
  void CaptionPress();
  void CaptionDoubleClick();
  void EdgePress(win::POINT where);
  void EdgeRelease(win::POINT where, int code);

  forms::PictureBox& pictop_;
  forms::PictureBox& picbottom_;
  forms::PictureBox& picleft_;
  forms::PictureBox& picright_;
  forms::Label& lblcaption_;
  forms::Label& lblshadow_;
  forms::Image& imgicon_;
  forms::ControlArray<forms::Image> imgresize_;
  forms::Image& Image1_;
  forms::Image& imgtop_;
  forms::Image& imgtopmax_;
  forms::Image& imgleft_;
  forms::Image& imgright_;
  forms::Image& imgbottom_;
  forms::FormTimer& Timer1_;
  forms::FormTimer& Timer2_;

  forms::Picture icon_;
  bool fixedSingle_ = false;
  // One press point serves every edge and grip; a release uses the last one.
  win::POINT pressPoint_{};
  win::POINT releasePoint_{};
  // A press of an edge or grip waits for its release.
  bool pressed_ = false;
  // The frame's width (twips) when the caption buttons were last placed;
  // negative until the first layout pass has seen them.
  double buttonsPlacedFor_ = -1;
  // What the strips were last painted for. A pass that finds the same size,
  // skin, window state and caption buttons has nothing to repaint; none while
  // no pass has painted them whole.
  struct PaintedFor {
    double width = 0, height = 0;
    int state = 0;
    std::vector<forms::Picture> skin;
    std::vector<double> buttons;  // left, top, width and height of each, twips
    bool operator==(const PaintedFor&) const = default;
  };
  PaintedFor PaintedNow() const;
  std::optional<PaintedFor> paintedFor_;
};

}  // namespace controls
