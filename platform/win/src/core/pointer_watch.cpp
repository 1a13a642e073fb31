#include "core/pointer_watch.h"

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWindow>

namespace win::detail {

namespace {

// How long the display's answer is trusted without any report of motion. The
// server reports every move a device makes, but not a pointer warped by
// another program; that one is seen within this time.
constexpr qint64 kDisplayAnswerMs = 1000;

// Tells when the pointer moves anywhere on the screen, from the server's raw
// motion reports on the root windows. They are asked for only while a
// remembered answer stands, and dropped at the first one, so that a pointer
// moving over other programs does not wake this one at every step.
class MotionReports : public QAbstractNativeEventFilter {
 public:
  MotionReports() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return;
    const xcb_query_extension_reply_t* input =
        xcb_get_extension_data(x11->connection(), &xcb_input_id);
    if (!input || !input->present) return;
    c_ = x11->connection();
    opcode_ = input->major_opcode;
    qGuiApp->installNativeEventFilter(this);
  }
  ~MotionReports() override {
    if (c_ && qGuiApp) qGuiApp->removeNativeEventFilter(this);
  }
  MotionReports(const MotionReports&) = delete;
  MotionReports& operator=(const MotionReports&) = delete;

  bool Available() const { return c_ != nullptr; }
  // True once the server has reported motion since the last Listen().
  bool Moved() const { return moved_; }

  void Listen() {
    moved_ = false;
    Select(XCB_INPUT_XI_EVENT_MASK_RAW_MOTION);
  }

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    auto* e = static_cast<xcb_ge_generic_event_t*>(message);
    if ((e->response_type & 0x7f) == XCB_GE_GENERIC && e->extension == opcode_ &&
        e->event_type == XCB_INPUT_RAW_MOTION && !moved_) {
      moved_ = true;
      Select(0);
    }
    return false;
  }

 private:
  void Select(std::uint32_t mask) {
    if (!c_ || mask == selected_) return;
    selected_ = mask;
    struct {
      xcb_input_event_mask_t head;
      std::uint32_t bits;
    } request{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, mask};
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c_)); it.rem; xcb_screen_next(&it))
      xcb_input_xi_select_events(c_, it.data->root, 1, &request.head);
    xcb_flush(c_);
  }

  xcb_connection_t* c_ = nullptr;
  std::uint8_t opcode_ = 0;
  std::uint32_t selected_ = 0;
  bool moved_ = true;
};

// Watches the pointer events the display sends to the program's windows.
// While the pointer is over one of them, every move reaches the program and
// the last one says where it is; once it leaves, the display's last answer
// holds until the server reports motion.
class PointerWatch : public QObject {
 public:
  explicit PointerWatch(QGuiApplication& app) : QObject(&app) { app.installEventFilter(this); }

  std::optional<QPoint> Position() const {
    if (over_ && over_->isVisible() && over_->windowState() != Qt::WindowMinimized &&
        over_->geometry().contains(at_))
      return at_;
    if (answered_ && !reports_.Moved() && answeredAt_.elapsed() < kDisplayAnswerMs) return answer_;
    return std::nullopt;
  }
  void Remember(QPoint at) {
    if (!reports_.Available()) return;
    answer_ = at;
    answered_ = true;
    answeredAt_.start();
    reports_.Listen();
  }
  void Forget() {
    over_ = nullptr;
    answered_ = false;
  }

 protected:
  bool eventFilter(QObject* target, QEvent* e) override {
    if (!target->isWindowType()) return false;
    auto* window = static_cast<QWindow*>(target);
    switch (e->type()) {
      // An entry alone is no proof: a window shown under a resting pointer
      // may be told of it by the toolkit rather than by the server. A move
      // the server sent is: from then on it sends every move until the
      // pointer leaves.
      case QEvent::MouseMove:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
        // While a button is held or the pointer is grabbed, moves outside
        // the window reach it too: Position() then finds the point outside
        // the window and sends the caller to the display.
        if (e->spontaneous()) {
          over_ = window;
          at_ = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
        }
        break;
      // A crossing the server sends is no position, but news that the
      // pointer may have moved, as a warp by another program does.
      case QEvent::Enter:
        answered_ = false;
        break;
      case QEvent::Leave:
        answered_ = false;
        if (window == over_) over_ = nullptr;
        break;
      default:
        break;
    }
    return false;
  }

 private:
  QPointer<QWindow> over_;
  QPoint at_;
  MotionReports reports_;
  QPoint answer_;
  bool answered_ = false;
  QElapsedTimer answeredAt_;
};

PointerWatch* Watch() {
  // The application owns its watch: a new application (tests make one after
  // another) gets a new one.
  static QPointer<PointerWatch> watch;
  // Asked at every tick of a pointer poll: the common answer first.
  if (watch && watch->parent() == QCoreApplication::instance()) return watch;
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (!app || QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  watch = std::make_unique<PointerWatch>(*app).release();
  return watch;
}

}  // namespace

std::optional<QPoint> PointerFromEvents() {
  PointerWatch* w = Watch();
  return w ? w->Position() : std::nullopt;
}

void RememberPointer(QPoint at) {
  if (PointerWatch* w = Watch()) w->Remember(at);
}

void ForgetPointer() {
  if (PointerWatch* w = Watch()) w->Forget();
}

}  // namespace win::detail
