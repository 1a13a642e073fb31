#pragma once

#include "forms/control.h"
#include "forms/events.h"
#include "forms/picture.h"
#include "forms/surface_window.h"

namespace forms {

// A picture box: a window with a drawing surface that can hold controls.
class PictureBox : public Control, public SurfaceWindow {
 public:
  explicit PictureBox(const ControlSite& site);
  ~PictureBox() override;
  QWidget* Widget() const override;
  QWidget* ClientWidget() const override { return Widget(); }

  const forms::Picture& Picture() const { return CanvasPicture(); }
  void Picture(const forms::Picture& p);
  int Align() const { return align_; }  // 0 none, 1 top, 2 bottom, 3 left, 4 right
  void Align(int a);
  bool AutoSize() const { return autoSize_; }
  void AutoSize(bool on);
  int BorderStyle() const { return borderStyle_; }
  void BorderStyle(int s);
  void Visible(bool v) override;
  bool Visible() const override { return Control::Visible(); }
  void Enabled(bool v) override;
  bool Enabled() const override { return Control::Enabled(); }
  void Refresh();

  Event<> Click;
  Event<> DblClick;
  MouseEvent MouseDown;
  MouseEvent MouseMove;
  MouseEvent MouseUp;
  Event<> Paint;
  Event<> Resize;

  void SetProperty(std::string_view name, const Value& v) override;
  // Re-places an aligned box along its container's edge.
  void ApplyAlign();
  void ContainerResized() override { ApplyAlign(); }

 protected:
  void RaiseMouseDown(int& b, int& s, float& x, float& y) override { MouseDown(b, s, x, y); }
  void RaiseMouseMove(int& b, int& s, float& x, float& y) override { MouseMove(b, s, x, y); }
  void RaiseMouseUp(int& b, int& s, float& x, float& y) override { MouseUp(b, s, x, y); }
  void SurfaceResized() override { Resize(); }
  void OnClick() override { Click(); }
  void OnDblClick() override { DblClick(); }
  void RaisePaint() override { Paint(); }
  void OnResized() override;

 private:
  int align_ = 0;
  bool autoSize_ = false;
  int borderStyle_ = 1;
};

}  // namespace forms
