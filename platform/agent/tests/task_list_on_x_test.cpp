// The characters' windows on a real X server (Xvfb), bare and under a window
// manager (openbox): they must not show in task bars, pagers and task
// switchers as programs of their own, each time they are shown.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

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

// Reads window properties over a connection of its own, as another client
// of the display (a task bar) does.
class Display {
 public:
  Display() : c_(xcb_connect(nullptr, nullptr)) {}
  bool Ok() const { return !xcb_connection_has_error(c_.get()); }

  xcb_atom_t Atom(const char* name) const {
    const agent::XReply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(
        c_.get(), xcb_intern_atom(c_.get(), 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
  }
  bool Has(xcb_window_t w, const char* property) const {
    const agent::XReply<xcb_get_property_reply_t> r(xcb_get_property_reply(
        c_.get(), xcb_get_property(c_.get(), 0, w, Atom(property), XCB_ATOM_ANY, 0, 0), nullptr));
    return r && r->type != XCB_ATOM_NONE;
  }
  std::vector<xcb_atom_t> State(xcb_window_t w) const {
    const agent::XReply<xcb_get_property_reply_t> r(xcb_get_property_reply(
        c_.get(), xcb_get_property(c_.get(), 0, w, Atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 1024),
        nullptr));
    if (!r || r->format != 32) return {};
    const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(r.get()));
    return {data, data + xcb_get_property_value_length(r.get()) / 4};
  }

 private:
  struct Disconnect {
    void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
  };
  std::unique_ptr<xcb_connection_t, Disconnect> c_;
};

class TaskListOnX : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
    ASSERT_TRUE(display_.Ok());
    sys_.PutBuilt("Merlin");
    control_.Characters().Load("Merlin", "Merlin.acs");
    merlin_ = control_.Characters()("Merlin");
    merlin_->MoveTo(400, 400);
  }

  static QWidget* Balloon() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->windowTitle() == "Speech balloon") return w;
    return nullptr;
  }

  // Waits until the shown window is mapped (and, under a window manager,
  // taken over by it), then expects each skip hint in its state once.
  void ExpectLeftOut(QWidget& window, const char* what) {
    const auto id = static_cast<xcb_window_t>(window.winId());
    const bool managed = std::getenv("TAVRINEL_TEST_WM") != nullptr;
    ASSERT_TRUE(WaitUntil([&] { return !managed || display_.Has(id, "WM_STATE"); }, 20s))
        << what << " was never taken over by the window manager";
    agenttest::Pump(200ms);  // the manager's own update of the state
    const auto state = display_.State(id);
    for (const char* hint : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"})
      EXPECT_EQ(std::ranges::count(state, display_.Atom(hint)), 1) << what << ": " << hint;
  }

  Display display_;
  agenttest::SystemFolder sys_;
  agent::AgentControl control_;
  std::shared_ptr<agent::Character> merlin_;
};

TEST_F(TaskListOnX, ACharacterAndItsBalloonStayOutOfTheTaskListEachTimeTheyShow) {
  agent::CharacterWindow& window = *merlin_->Impl().Window();
  for (int showing = 0; showing < 2; ++showing) {
    SCOPED_TRACE(showing == 0 ? "first showing" : "shown again");
    merlin_->Show();
    merlin_->Speak("Ciao a tutti, oggi parliamo piano.");
    ASSERT_TRUE(window.isVisible());
    QWidget* balloon = Balloon();
    ASSERT_TRUE(balloon && balloon->isVisible());
    ExpectLeftOut(window, "the character");
    ExpectLeftOut(*balloon, "the balloon");
    merlin_->Stop();
    merlin_->Hide();
    ASSERT_TRUE(WaitUntil([&] { return !window.isVisible() && !balloon->isVisible(); }, 20s));
  }
}

}  // namespace
