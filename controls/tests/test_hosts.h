#pragma once

// Host forms and helpers shared by the skin control tests.

#include <QImage>
#include <QJsonObject>
#include <string>
#include <string_view>

#include "controls/controls.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "win/types.h"

namespace controls_test {

// A borderless form carrying the frame, as the suite's hosts carry it; it
// counts the frame's Resize events.
class FrameHost : public forms::Form {
 public:
  FrameHost();
  explicit FrameHost(std::string_view description);
  controls::xp_canvas& Frame() const { return Get<controls::xp_canvas>("xp_canvas1"); }
  int resizes = 0;

 protected:
  void Form_Load() override;
};

// A second borderless form of the program.
class Plain : public forms::Form {
 public:
  Plain();
};

// Two push buttons and two caption buttons; the second of each kind comes
// with stored properties.
class ButtonHost : public forms::Form {
 public:
  ButtonHost();
  explicit ButtonHost(std::string_view description);
  controls::xpcmdbutton& Push(int n) const {
    return Get<controls::xpcmdbutton>("xpcmdbutton" + std::to_string(n));
  }
  controls::xptopbuttons& Top(int n) const {
    return Get<controls::xptopbuttons>("xptopbuttons" + std::to_string(n));
  }
};

// Lets queued window-system events run.
void Settle();
// Makes the window carrying `hwnd` (or a bare widget) the active window and
// waits until the window system says so.
bool Activate(win::HWND hwnd);
bool ActivateWidget(class QWidget* widget);

// A client point of `hwnd` on the screen.
win::POINT ToScreen(win::HWND hwnd, int x, int y);
// Puts the pointer on a client point of `hwnd`.
void PointAt(win::HWND hwnd, int x, int y);

// A description resource with a stored property bag given to control `name`,
// written to a temporary file; returns its path. The file lives as long as
// the test program.
std::string DescriptionWithBag(std::string_view resource, std::string_view name,
                               const QJsonObject& bag);

// The colour of a picture's pixel as the drawing layer reports colours.
win::COLORREF PixelOf(const QImage& image, int x, int y);

}  // namespace controls_test
