// The character on a real X server (Xvfb), bare and under a window manager
// (openbox): what the screen shows of it, read back from the server as
// another client sees it.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

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

namespace {

using agenttest::WaitUntil;
using namespace std::chrono_literals;

[[maybe_unused]] auto* const g_wm =
    ::testing::AddGlobalTestEnvironment(new testsupport::WindowManager);

struct Free {
  void operator()(void* p) const { std::free(p); }
};
template <class T>
using Reply = std::unique_ptr<T, Free>;

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
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* own = x11->connection();
    std::free(xcb_get_input_focus_reply(own, xcb_get_input_focus(own), nullptr));
  }

  // Expects the screen to show, at every fully opaque pixel of picture
  // `index`, that pixel.
  void ExpectOnScreen(int index, const char* when) {
    Settle();
    xcb_connection_t* c = c_.get();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const Reply<xcb_translate_coordinates_reply_t> at(xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, static_cast<xcb_window_t>(window_->winId()), root, 0, 0),
        nullptr));
    ASSERT_TRUE(at);
    const QImage& picture = merlin_->Impl().Data().Image(static_cast<std::size_t>(index));
    const Reply<xcb_get_image_reply_t> shot(
        xcb_get_image_reply(c,
                            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, at->dst_x, at->dst_y,
                                          static_cast<std::uint16_t>(picture.width()),
                                          static_cast<std::uint16_t>(picture.height()), ~0u),
                            nullptr));
    ASSERT_TRUE(shot);
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(shot.get()));
    int opaque = 0, wrong = 0;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) {
        const QRgb want = picture.pixel(x, y);
        if (qAlpha(want) != 255) continue;
        ++opaque;
        if ((pixels[y * picture.width() + x] & 0xffffff) != (want & 0xffffff)) ++wrong;
      }
    EXPECT_GT(opaque, 1000) << when;
    EXPECT_EQ(wrong, 0) << when << ": picture " << index << " differs at " << wrong << " of "
                        << opaque << " pixels";
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
  ASSERT_TRUE(WaitUntil([&] { return window_->mask().boundingRect().height() > 100; }, 5s));
  agenttest::Pump(300ms);
  ExpectOnScreen(rest, "at rest");

  // A frame held by the display is shown, not painted: the window's own
  // pixels are not touched while the character waves.
  PaintCounter counter;
  window_->installEventFilter(&counter);
  merlin_->Play("Wave");
  ASSERT_NE(window_->CurrentImage(), rest);
  ExpectOnScreen(window_->CurrentImage(), "waving");
  ASSERT_TRUE(WaitUntil([&] { return !merlin_->Impl().Busy(); }, 10s));
  ExpectOnScreen(rest, "back at rest");
  window_->removeEventFilter(&counter);
  EXPECT_EQ(counter.paints, 0);
}

}  // namespace
