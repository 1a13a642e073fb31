// The clipboard poll on a real X server (Xvfb), with the clipboard owned by
// another client: one that answers, and one that has frozen.

#include <xcb/xcb.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <cstring>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>

#include "frm_main.h"
#include "program_fixture.h"

using namespace reader;

namespace {

// Another program that copied `text` last. A frozen one takes the clipboard
// and then never reads a request again.
class ForeignOwner {
 public:
  ForeignOwner(std::string text, bool frozen) : text_(std::move(text)) {
    c_ = xcb_connect(nullptr, nullptr);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
    window_ = xcb_generate_id(c_);
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
    clipboard_ = Atom("CLIPBOARD");
    utf8_ = Atom("UTF8_STRING");
    xcb_set_selection_owner(c_, window_, clipboard_, XCB_CURRENT_TIME);
    auto* owner =
        xcb_get_selection_owner_reply(c_, xcb_get_selection_owner(c_, clipboard_), nullptr);
    owns_ = owner && owner->owner == window_;
    std::free(owner);
    if (!frozen) answering_ = std::jthread([this](std::stop_token stop) { Answer(stop); });
  }
  ~ForeignOwner() {
    answering_ = {};
    xcb_disconnect(c_);
  }
  bool Owns() const { return owns_; }

 private:
  xcb_atom_t Atom(const char* name) {
    auto* r = xcb_intern_atom_reply(
        c_, xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(r);
    return atom;
  }

  void Answer(const std::stop_token& stop) {
    while (!stop.stop_requested()) {
      xcb_generic_event_t* e = xcb_poll_for_event(c_);
      if (!e) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        continue;
      }
      if ((e->response_type & ~0x80) == XCB_SELECTION_REQUEST) {
        const auto* rq = reinterpret_cast<xcb_selection_request_event_t*>(e);
        xcb_selection_notify_event_t answer{};
        answer.response_type = XCB_SELECTION_NOTIFY;
        answer.time = rq->time;
        answer.requestor = rq->requestor;
        answer.selection = rq->selection;
        answer.target = rq->target;
        answer.property = XCB_ATOM_NONE;
        if (rq->target == utf8_) {
          xcb_change_property(c_, XCB_PROP_MODE_REPLACE, rq->requestor, rq->property, utf8_, 8,
                              static_cast<uint32_t>(text_.size()), text_.data());
          answer.property = rq->property;
        }
        xcb_send_event(c_, 0, rq->requestor, 0, reinterpret_cast<const char*>(&answer));
        xcb_flush(c_);
      }
      std::free(e);
    }
  }

  std::string text_;
  xcb_connection_t* c_;
  xcb_window_t window_;
  xcb_atom_t clipboard_, utf8_;
  bool owns_ = false;
  std::jthread answering_;
};

class ReaderOnX : public readdict::testing::ProgramFixture {
 protected:
  frmMain& StartWithAutoRead() {
    frmMain& f = forms::Forms::Get<frmMain>();
    f.CurrentHour = [] { return 9; };
    f.Show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(f.chkAutoReadClip.Widget()->window()));
    QTest::mouseClick(f.chkAutoReadClip.Widget(), Qt::LeftButton, {},
                      QPoint(8, f.chkAutoReadClip.Widget()->height() / 2));
    EXPECT_TRUE(f.Timer1.Enabled());
    requests.clear();
    return f;
  }

  // The milliseconds one tick of the poll holds the form.
  qint64 Tick() {
    QElapsedTimer held;
    held.start();
    clock.Advance(1000);
    return held.elapsed();
  }

  // Lets the event loop run until `done` holds or `ms` have passed.
  template <class Done>
  bool WaitUntil(Done done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) {
      QApplication::processEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
  }
};

}  // namespace

TEST_F(ReaderOnX, TextCopiedByAnotherProgramIsRead) {
  frmMain& f = StartWithAutoRead();
  ForeignOwner owner("Buongiorno a tutti", false);
  ASSERT_TRUE(owner.Owns());
  EXPECT_LT(Tick(), 500);
  EXPECT_TRUE(WaitUntil([&] { return !Spoken().empty(); }, 5000));
  EXPECT_EQ(f.txtTextToRead.Text(), "Buongiorno a tutti");
  EXPECT_EQ(Spoken(), std::vector<std::string>{"Buongiorno a tutti"});
}

TEST_F(ReaderOnX, AFrozenClipboardOwnerNeverHoldsTheForm) {
  frmMain& f = StartWithAutoRead();
  f.txtTextToRead.Text("");
  {
    ForeignOwner frozen("never given", true);
    ASSERT_TRUE(frozen.Owns());
    for (int second = 0; second < 8; ++second) {
      EXPECT_LT(Tick(), 500) << "at second " << second;
      // Typing goes on meanwhile.
      QTest::keyClick(f.txtTextToRead.Widget(), Qt::Key_A);
      WaitUntil([] { return false; }, 100);
    }
    EXPECT_EQ(f.txtTextToRead.Text(), "aaaaaaaa");
    EXPECT_TRUE(Spoken().empty());
  }
  // Once the frozen program has gone, copied text is read again.
  ForeignOwner owner("ancora", false);
  ASSERT_TRUE(owner.Owns());
  EXPECT_TRUE(WaitUntil(
      [&] {
        Tick();
        return !Spoken().empty();
      },
      12000));
  EXPECT_EQ(Spoken(), std::vector<std::string>{"ancora"});
}
