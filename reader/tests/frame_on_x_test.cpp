// The skinned frame on a real X server (Xvfb), with the pointer moved and
// its buttons pressed through the server itself (xdotool), as a person does;
// run once without and once with a window manager (openbox), which takes
// over a caption drag. The forms run on their real clock.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <cstdlib>
#include <memory>

#include "form1.h"
#include "forms/app.h"
#include "forms/testing.h"
#include "frm_main.h"
#include "program_fixture.h"
#include "testsupport/event_pump.h"
#include "testsupport/window_manager.h"
#include "win/window.h"

namespace {

// Runs xdotool while the program keeps running (a caption press holds the
// program in its move loop until the button is up), then lets it settle.
void Xdo(const QStringList& args, int ms = 80) {
  QProcess xdotool;
  xdotool.start("xdotool", args);
  ASSERT_TRUE(xdotool.waitForStarted()) << "xdotool is missing";
  QElapsedTimer t;
  t.start();
  while (xdotool.state() != QProcess::NotRunning && t.elapsed() < 20000) {
    QApplication::processEvents();
    xdotool.waitForFinished(2);
  }
  ASSERT_EQ(xdotool.exitCode(), 0) << args.join(' ').toStdString();
  testsupport::RunEventsFor(ms);
}

[[maybe_unused]] auto* const g_wm =
    ::testing::AddGlobalTestEnvironment(new testsupport::WindowManager);

template <class F>
class FrameOnX : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
    setenv("TAVRINEL_AUDIO", "none", 1);
    setenv("TAVRINEL_SYSTEM_DIR", (testsupport::BinDir() / "system").c_str(), 1);
    controls::Register();
    // No message box may wait for a person (the reader's character list
    // speaks up when its form goes at the end of a test).
    forms::SetMessageBoxPresenter(
        [](std::string_view, int, std::string_view) { return forms::vbOK; });
  }
  void TearDown() override { forms::testing::ReleaseAllForms(); }

  F& Start() {
    F& f = forms::Forms::Get<F>();
    f.Load();
    f.Show();
    testsupport::RunEventsFor(800);
    return f;
  }

  static win::RECT Place(const F& f) {
    win::RECT r{};
    win::GetWindowRect(f.hWnd(), &r);
    return r;
  }
  static QStringList At(int x, int y) {
    return {"mousemove", QString::number(x), QString::number(y)};
  }
  // Presses `button` at (x, y) and releases it after moving by (dx, dy) in
  // `steps` even steps, the pointer resting a little after each.
  static void Drag(int button, int x, int y, int dx, int dy, int steps = 4) {
    QStringList args = At(x, y);
    args << "sleep"
         << "0.1"
         << "mousedown" << QString::number(button);
    for (int i = 1; i <= steps; ++i)
      args << "sleep"
           << "0.1" << At(x + dx * i / steps, y + dy * i / steps);
    args << "sleep"
         << "0.2"
         << "mouseup" << QString::number(button);
    Xdo(args, 500);
  }
};

using Hosts = ::testing::Types<dictionary::Form1, reader::frmMain>;
TYPED_TEST_SUITE(FrameOnX, Hosts);

TYPED_TEST(FrameOnX, AClickOnTheTopEdgeLeavesTheWindowWhereItWas) {
  auto& f = this->Start();
  const win::RECT before = this->Place(f);
  Xdo(this->At(before.left + 140, before.top + 2));
  Xdo({"click", "1"}, 400);
  const win::RECT after = this->Place(f);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.bottom, before.bottom);
}

TYPED_TEST(FrameOnX, TheCaptionMovesTheWindowWithTheLeftOrRightButtonAllTheWay) {
  auto& f = this->Start();
  for (int button : {1, 3}) {
    const win::RECT before = this->Place(f);
    this->Drag(button, before.left + 200, before.top + 15, 60, 40);
    const win::RECT after = this->Place(f);
    EXPECT_EQ(after.left, before.left + 60) << "button " << button;
    EXPECT_EQ(after.top, before.top + 40) << "button " << button;
    EXPECT_EQ(after.right - after.left, before.right - before.left);
  }
}

}  // namespace
