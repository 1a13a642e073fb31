#pragma once

// The suite's push button: one of five looks cut from a strip, stretched over
// the button by nine-slice painting, with its caption centred on it.

#include <cstdint>
#include <string>
#include <string_view>

#include "forms/controls.h"
#include "forms/events.h"
#include "forms/font.h"
#include "forms/tracked.h"
#include "forms/user_control.h"

class QShortcut;

namespace controls {

class xpcmdbutton : public forms::UserControl {
 public:
  explicit xpcmdbutton(const forms::ControlSite& site);

  bool Enabled() const override { return UserControl::Enabled(); }
  void Enabled(bool v) override;
  // Returns/sets the state of the command button when mouse_out.
  std::int32_t State() const { return state_; }
  void State(std::int32_t v);
  std::string Caption() const;
  void Caption(std::string_view v);
  const forms::Font& Font() const { return font_; }
  void Font(const forms::Font& v);

  forms::Event<> Click;
  forms::KeyEvent KeyDown;
  forms::KeyPressEvent KeyPress;
  forms::KeyEvent KeyUp;
  forms::Event<> MouseOut;
  forms::MouseEvent MouseDown;
  forms::MouseEvent MouseMove;
  forms::MouseEvent MouseUp;

  // The strip's cells.
  static constexpr int kNormalCell = 0;
  static constexpr int kPressedCell = 1;
  static constexpr int kDisabledCell = 2;
  static constexpr int kHotCell = 3;
  static constexpr int kHighlightedCell = 4;

 protected:
  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(forms::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(forms::PropertyBag& PropBag) override;
  void UserControl_Show() override { draw_state(); }
  void UserControl_Resize() override;
  void UserControl_Click() override { Click(); }
  void UserControl_MouseDown(int& Button, int& Shift, float& X, float& Y) override;
  void UserControl_MouseMove(int& Button, int& Shift, float& X, float& Y) override;
  void UserControl_MouseUp(int& Button, int& Shift, float& X, float& Y) override;
  // Space presses the button and lets it go with a click; Enter clicks it.
  void UserControl_KeyDown(int& KeyCode, int& Shift) override;
  void UserControl_KeyPress(int& KeyAscii) override;
  void UserControl_KeyUp(int& KeyCode, int& Shift) override;
  // The focus mark comes and goes with the focus.
  void UserControl_GotFocus() override { draw_state(); }
  void UserControl_LostFocus() override;

 private:
  void draw_state();
  void draw_button(int cell);
  void Timer1_Timer();
  void UpdateAccessKey();
  // The dotted focus mark inside the border, while the button has the focus.
  void DrawFocusMark();

  forms::Label& lbl_;
  forms::FormTimer& Timer1_;
  forms::PictureClip& pc_;

  std::int32_t state_ = 0;
  int restCell_ = kNormalCell;
  forms::Font font_;
  bool spaceDown_ = false;  // Space went down on the button and is not up yet
  // Alt plus the caption's marked letter clicks the button. The shortcut
  // belongs to the control's window.
  forms::Tracked<QShortcut> accessKey_;
};

}  // namespace controls
