// The pointer position on a real X server (Xvfb), the pointer moved as a
// device moves it (through the server's test extension) over the program's
// window, off it, over another program's window that covers part of it, and
// while another program holds the pointer; and warped by another program.

#include <gtest/gtest.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <QGuiApplication>
#include <QProcess>
#include <utility>

#include "testsupport/event_pump.h"
#include "win/win.h"

using namespace win;

namespace {

// Moves the pointer as a person's mouse does and lets the program see what
// follows.
void MoveTo(int x, int y) {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  xcb_test_fake_input(c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root, static_cast<int16_t>(x),
                      static_cast<int16_t>(y), 0);
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
  xcb_disconnect(c);
  testsupport::RunEventsFor(100);
}

// Another program puts the pointer somewhere without moving a device.
void WarpTo(int x, int y) {
  QProcess xdotool;
  xdotool.start("xdotool", {"mousemove", QString::number(x), QString::number(y)});
  ASSERT_TRUE(xdotool.waitForStarted()) << "xdotool is missing";
  ASSERT_TRUE(xdotool.waitForFinished(10000));
  testsupport::RunEventsFor(100);
}

std::pair<int, int> Pointer() {
  POINT p{-1, -1};
  GetCursorPos(&p);
  return {p.x, p.y};
}

// Another program: a window of its own on its own connection, and a grab of
// the pointer.
class OtherProgram {
 public:
  OtherProgram() {
    c_ = xcb_connect(nullptr, nullptr);
    root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
  }
  ~OtherProgram() { xcb_disconnect(c_); }

  // A window above everything, without a window manager's say.
  void ShowWindow(int x, int y, int w, int h) {
    const xcb_window_t id = xcb_generate_id(c_);
    const uint32_t values[] = {1, XCB_EVENT_MASK_POINTER_MOTION};
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, id, root_, static_cast<int16_t>(x),
                      static_cast<int16_t>(y), static_cast<uint16_t>(w), static_cast<uint16_t>(h),
                      0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    xcb_map_window(c_, id);
    Sync();
  }
  bool GrabPointer() {
    auto* r = xcb_grab_pointer_reply(
        c_,
        xcb_grab_pointer(c_, 0, root_, XCB_EVENT_MASK_POINTER_MOTION, XCB_GRAB_MODE_ASYNC,
                         XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, XCB_CURRENT_TIME),
        nullptr);
    const bool ok = r && r->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(r);
    return ok;
  }
  void UngrabPointer() {
    xcb_ungrab_pointer(c_, XCB_CURRENT_TIME);
    Sync();
  }

 private:
  void Sync() { std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr)); }

  xcb_connection_t* c_;
  xcb_window_t root_;
};

class PointerOnX : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
    static bool registered = false;
    if (!registered) {
      WNDCLASSEXA wc;
      wc.lpfnWndProc = DefWindowProcA;
      wc.lpszClassName = "PointerTarget";
      RegisterClassExA(&wc);
      registered = true;
    }
    // The window spans (100, 100) to (400, 250).
    window_ = CreateWindowExA(0, "PointerTarget", "target", WS_POPUP, 100, 100, 300, 150, HWND(),
                              HMENU(), HINSTANCE(), nullptr);
    ShowWindow(window_, SW_SHOW);
    testsupport::RunEventsFor(300);
  }
  void TearDown() override {
    if (window_) DestroyWindow(window_);
    testsupport::RunEventsFor(100);
  }

  HWND window_;
};

}  // namespace

TEST_F(PointerOnX, FollowsThePointerOverTheWindowAndAfterItLeaves) {
  MoveTo(150, 150);
  EXPECT_EQ(Pointer(), std::make_pair(150, 150));
  MoveTo(390, 240);
  EXPECT_EQ(Pointer(), std::make_pair(390, 240));
  // Off the window, the program hears no more of the pointer.
  MoveTo(600, 500);
  EXPECT_EQ(Pointer(), std::make_pair(600, 500));
  MoveTo(700, 20);
  EXPECT_EQ(Pointer(), std::make_pair(700, 20));
  MoveTo(200, 200);
  EXPECT_EQ(Pointer(), std::make_pair(200, 200));
}

TEST_F(PointerOnX, FollowsThePointerOverAnotherProgramsWindowOnTopOfIt) {
  OtherProgram other;
  other.ShowWindow(250, 100, 150, 150);
  testsupport::RunEventsFor(100);
  MoveTo(150, 150);
  EXPECT_EQ(Pointer(), std::make_pair(150, 150));
  // Still within the window's rectangle, but over the other program.
  MoveTo(300, 200);
  EXPECT_EQ(Pointer(), std::make_pair(300, 200));
  MoveTo(320, 210);
  EXPECT_EQ(Pointer(), std::make_pair(320, 210));
}

TEST_F(PointerOnX, FollowsThePointerWhileAnotherProgramHoldsIt) {
  MoveTo(150, 150);
  EXPECT_EQ(Pointer(), std::make_pair(150, 150));
  OtherProgram other;
  ASSERT_TRUE(other.GrabPointer());
  testsupport::RunEventsFor(100);
  MoveTo(200, 180);
  EXPECT_EQ(Pointer(), std::make_pair(200, 180));
  MoveTo(700, 500);
  EXPECT_EQ(Pointer(), std::make_pair(700, 500));
  other.UngrabPointer();
  testsupport::RunEventsFor(100);
  EXPECT_EQ(Pointer(), std::make_pair(700, 500));
}

TEST_F(PointerOnX, FollowsThePointerAfterTheWindowUnderItIsHidden) {
  MoveTo(150, 150);
  EXPECT_EQ(Pointer(), std::make_pair(150, 150));
  ShowWindow(window_, SW_HIDE);
  testsupport::RunEventsFor(100);
  MoveTo(160, 170);
  EXPECT_EQ(Pointer(), std::make_pair(160, 170));
}

TEST_F(PointerOnX, FollowsThePointerWarpedByAnotherProgramWithinASecond) {
  MoveTo(600, 500);
  EXPECT_EQ(Pointer(), std::make_pair(600, 500));
  // A warp off the window reports no motion; the position is asked again
  // once the last answer is a second old.
  WarpTo(700, 20);
  testsupport::RunEventsFor(1100);
  EXPECT_EQ(Pointer(), std::make_pair(700, 20));
  // Onto the window, the window hears of it at once.
  WarpTo(150, 150);
  EXPECT_EQ(Pointer(), std::make_pair(150, 150));
}
