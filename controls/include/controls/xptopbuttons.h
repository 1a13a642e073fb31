#pragma once

// The caption button of the skinned frame: close, maximise, minimise or
// restore, each in four looks. The host does the window action on Click.

#include <array>
#include <cstdint>
#include <functional>

#include "forms/controls.h"
#include "forms/events.h"
#include "forms/user_control.h"

class QColor;

namespace controls {

class xptopbuttons : public forms::UserControl {
 public:
  explicit xptopbuttons(const forms::ControlSite& site);

  bool Enabled() const override { return UserControl::Enabled(); }
  // Sends no change notification.
  void Enabled(bool v) override;
  // 0 close, 1 maximise, 2 minimise, 3 restore; other values keep the glyph.
  std::int32_t Value() const { return value_; }
  void Value(std::int32_t v);

  forms::Event<> Click;
  forms::Event<> MouseOut;
  forms::MouseEvent MouseDown;
  forms::MouseEvent MouseMove;
  forms::MouseEvent MouseUp;

  // The looks of each glyph set.
  static constexpr int kNormalCell = 0;
  static constexpr int kHotCell = 1;
  static constexpr int kPressedCell = 2;
  static constexpr int kDisabledCell = 3;
  // The fixed size: 21 x 21 pixels.
  static constexpr double kSideTwips = 315;

 protected:
  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(forms::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(forms::PropertyBag& PropBag) override;
  void UserControl_Show() override { draw_glyph(); }
  void UserControl_Resize() override { KeepFixedSize(); }
  void UserControl_Click() override { Click(); }
  void UserControl_MouseDown(int& Button, int& Shift, float& X, float& Y) override;
  void UserControl_MouseMove(int& Button, int& Shift, float& X, float& Y) override;
  void UserControl_MouseUp(int& Button, int& Shift, float& X, float& Y) override;
  void OnResized() override;

 private:
  // The frame tells the buttons on its caption bar what lies behind them.
  friend class xp_canvas;

  void draw_glyph();
  void ShowCell(int cell);
  void KeepFixedSize();
  void Timer1_Timer();
  // Lays the glyph strips over `ground`, the colour of the caption bar behind
  // each row of the button, so that the rounded corners blend into the bar
  // as it is painted now (active or inactive); the look on show follows.
  void LayOver(const std::function<QColor(int row)>& ground);

  forms::FormTimer& Timer1_;
  forms::ControlArray<forms::PictureClip> pc_;
  // The strips as drawn, with see-through corners, by glyph set.
  std::array<forms::Picture, 4> strips_;

  std::int32_t value_ = 0;
  int glyphIndex_ = 0;
  int cell_ = kNormalCell;  // the look on show
};

}  // namespace controls
