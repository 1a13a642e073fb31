#pragma once

#include "forms/canvas.h"
#include "forms/control.h"
#include "forms/value.h"
#include "forms/window_host.h"

namespace forms {

// A window with a drawing surface that holds controls: what forms, picture
// boxes and user controls have in common. It paints the surface, follows its
// size and hands the mouse on in its own scale units.
class SurfaceWindow : public Container, public Canvas, public WindowHost {
 public:
  SurfaceWindow() : Canvas(static_cast<Container&>(*this)) {}

 protected:
  win::LRESULT OnMessage(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam) override;
  void OnMouseDown(int button, int shift, QPoint px) override;
  void OnMouseMove(int button, int shift, QPoint px) override;
  void OnMouseUp(int button, int shift, QPoint px) override;
  win::HWND CanvasWindow() const override { return hWnd(); }
  // A design-time property of the surface or its scale; false for others.
  bool ApplySurfaceProperty(std::string_view name, const Value& v);

  // The window took a new size (surface and contained controls follow first).
  virtual void SurfaceResized() {}
  // Mouse events in this surface's scale units.
  virtual void RaiseMouseDown(int& /*Button*/, int& /*Shift*/, float& /*X*/, float& /*Y*/) {}
  virtual void RaiseMouseMove(int& /*Button*/, int& /*Shift*/, float& /*X*/, float& /*Y*/) {}
  virtual void RaiseMouseUp(int& /*Button*/, int& /*Shift*/, float& /*X*/, float& /*Y*/) {}
};

}  // namespace forms
