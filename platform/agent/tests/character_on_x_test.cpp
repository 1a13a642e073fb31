// The character on a real X server (Xvfb), bare and under a window manager
// (openbox): what the screen shows of it, read back from the server as
// another client sees it.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <cstdlib>
#include <memory>

#include "agent/agent.h"
#include "agent_test_support.h"
#include "character_impl.h"
#include "character_window.h"
#include "testsupport/window_manager.h"
#include "x_connection.h"

namespace {

using agenttest::WaitUntil;
using namespace std::chrono_literals;

[[maybe_unused]] auto* const g_wm =
    ::testing::AddGlobalTestEnvironment(new testsupport::WindowManager);

// Counts the toolkit's repaints of a widget.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
};

class CharacterOnX : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
    c_.reset(xcb_connect(nullptr, nullptr));
    ASSERT_FALSE(xcb_connection_has_error(c_.get()));
    sys_.PutBuilt("Merlin");
    control_.Characters().Load("Merlin", "Merlin.acs");
    merlin_ = control_.Characters()("Merlin");
    window_ = merlin_->Impl().Window();
    merlin_->MoveTo(400, 300);
  }

  // Waits until the program's requests so far have reached the display.
  static void Settle() {
    xcb_connection_t* own = agent::XConnection();
    std::free(xcb_get_input_focus_reply(own, xcb_get_input_focus(own), nullptr));
  }

  xcb_window_t Root() const { return xcb_setup_roots_iterator(xcb_get_setup(c_.get())).data->root; }

  // The screen's pixels (0xRRGGBB) under a window of the program.
  QImage Shot(const QWidget& w) const {
    Settle();
    xcb_connection_t* c = c_.get();
    const agent::XReply<xcb_translate_coordinates_reply_t> at(xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, static_cast<xcb_window_t>(w.winId()), Root(), 0, 0),
        nullptr));
    if (!at) return {};
    const agent::XReply<xcb_get_image_reply_t> shot(
        xcb_get_image_reply(c,
                            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, Root(), at->dst_x,
                                          at->dst_y, static_cast<std::uint16_t>(w.width()),
                                          static_cast<std::uint16_t>(w.height()), ~0u),
                            nullptr));
    if (!shot) return {};
    return QImage(xcb_get_image_data(shot.get()), w.width(), w.height(), QImage::Format_RGB32)
        .copy();
  }

  // How many of the fully opaque pixels of picture `index` the screen does
  // not show as they are; -1 when the picture has too few to tell.
  int Misses(int index) const {
    const QImage& picture = merlin_->Impl().Data().Image(static_cast<std::size_t>(index));
    const QImage screen = Shot(*window_);
    if (screen.size() != picture.size()) return -1;
    int opaque = 0, wrong = 0;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) {
        const QRgb want = picture.pixel(x, y);
        if (qAlpha(want) != 255) continue;
        ++opaque;
        if ((screen.pixel(x, y) & 0xffffff) != (want & 0xffffff)) ++wrong;
      }
    return opaque > 1000 ? wrong : -1;
  }

  struct Disconnect {
    void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
  };
  std::unique_ptr<xcb_connection_t, Disconnect> c_;
  agenttest::SystemFolder sys_;
  agent::AgentControl control_;
  std::shared_ptr<agent::Character> merlin_;
  agent::CharacterWindow* window_ = nullptr;
};

TEST_F(CharacterOnX, EachFrameOfAnAnimationIsOnTheScreenWithoutARepaint) {
  const int rest = merlin_->Impl().Data().File().restImage;
  merlin_->Show();
  ASSERT_TRUE(WaitUntil([&] { return Misses(rest) == 0; }, 10s)) << "at rest";

  // A frame held by the display is shown, not painted: the window's own
  // pixels are not touched while the character waves.
  PaintCounter counter;
  window_->installEventFilter(&counter);
  merlin_->Play("Wave");
  ASSERT_NE(window_->CurrentImage(), rest);
  // A window manager takes a moment to give its frame the new outline.
  EXPECT_TRUE(WaitUntil(
      [&] {
        const int frame = window_->CurrentImage();
        return frame != rest && Misses(frame) == 0;
      },
      2s))
      << "waving";
  ASSERT_TRUE(WaitUntil([&] { return !merlin_->Impl().Busy(); }, 10s));
  EXPECT_TRUE(WaitUntil([&] { return Misses(rest) == 0; }, 5s)) << "back at rest";
  window_->removeEventFilter(&counter);
  EXPECT_EQ(counter.paints, 0);
}

TEST_F(CharacterOnX, TheBalloonGoesBetweenSpeechesAndComesBackWithTheNextText) {
  merlin_->Show();
  ASSERT_TRUE(WaitUntil([&] { return window_->mask().boundingRect().height() > 100; }, 10s));
  QWidget* balloon = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->windowTitle() == "Speech balloon") balloon = w;
  ASSERT_TRUE(balloon);
  // The balloon's pale yellow, as the screen shows it.
  const auto fillShown = [&] {
    const QImage screen = Shot(*balloon);
    int pale = 0;
    for (int y = 0; y < screen.height(); ++y)
      for (int x = 0; x < screen.width(); ++x)
        if ((screen.pixel(x, y) & 0xffffff) == 0xffffe1) ++pale;
    return pale > 200;
  };
  const auto mapped = [&] {
    const agent::XReply<xcb_get_window_attributes_reply_t> a(xcb_get_window_attributes_reply(
        c_.get(), xcb_get_window_attributes(c_.get(), static_cast<xcb_window_t>(balloon->winId())),
        nullptr));
    return a && a->map_state == XCB_MAP_STATE_VIEWABLE;
  };

  merlin_->Speak("Ciao.");
  ASSERT_TRUE(WaitUntil(fillShown, 10s)) << "while it speaks";
  ASSERT_TRUE(WaitUntil([&] { return !merlin_->Impl().Busy(); }, 10s));
  ASSERT_TRUE(WaitUntil([&] { return !window_->BalloonShown(); }, 5s));
  EXPECT_TRUE(WaitUntil([&] { return !fillShown(); }, 5s)) << "after the speech";
  // Gone from the screen, but still the window manager's: the next speech
  // does not take it over again.
  EXPECT_TRUE(mapped());

  merlin_->Speak("Arrivederci a tutti.");
  EXPECT_TRUE(window_->BalloonShown());
  EXPECT_TRUE(WaitUntil(fillShown, 5s)) << "at the next speech";
  EXPECT_EQ(window_->BalloonText(), "Arrivederci a tutti.");
  merlin_->Stop();
  EXPECT_TRUE(WaitUntil([&] { return !fillShown(); }, 5s)) << "after a stop";

  // A character that goes takes its balloon with it for good.
  merlin_->Hide();
  ASSERT_TRUE(WaitUntil([&] { return !window_->isVisible(); }, 5s));
  EXPECT_FALSE(balloon->isVisible());
  EXPECT_TRUE(WaitUntil([&] { return !mapped(); }, 5s));
}

}  // namespace
