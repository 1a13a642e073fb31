#pragma once

#include "win/window.h"

class QPoint;
class QWidget;

namespace forms {

// A window of the runtime's own, whose messages come here first (after any
// procedure that subclasses it) and become the owner's events.
class WindowHost {
 public:
  virtual ~WindowHost();
  win::HWND hWnd() const { return hwnd_; }

 protected:
  WindowHost() = default;
  WindowHost(const WindowHost&) = delete;
  WindowHost& operator=(const WindowHost&) = delete;

  // Makes the window; parent 0 makes a top-level window.
  void CreateHostWindow(win::DWORD style, win::DWORD exStyle, win::HWND parent, int x, int y,
                        int width, int height, const char* caption = "");
  void DestroyHostWindow();
  QWidget* HostWidget() const;

  // The window's own procedure; what it leaves goes to DefWindowProcA.
  virtual win::LRESULT OnMessage(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam);

  // Mouse and key input, already in the runtime's terms: button 1 left, 2
  // right, 4 middle; shift 1 shift, 2 ctrl, 4 alt; position in pixels.
  virtual void OnMouseDown(int button, int shift, QPoint px);
  virtual void OnMouseMove(int button, int shift, QPoint px);
  virtual void OnMouseUp(int button, int shift, QPoint px);
  virtual void OnClick() {}
  virtual void OnDblClick() {}
  virtual void OnKeyDown(int /*keyCode*/, int /*shift*/) {}
  virtual void OnKeyPress(int /*keyAscii*/) {}
  virtual void OnKeyUp(int /*keyCode*/, int /*shift*/) {}

 private:
  static win::LRESULT Procedure(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
  win::HWND hwnd_;
  int pressed_ = 0;  // buttons pressed on this window
  bool afterDouble_ = false;
};

}  // namespace forms
