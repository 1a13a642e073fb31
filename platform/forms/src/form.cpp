#include "forms/form.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QIcon>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <map>

#include "caret_rest.h"
#include "description.h"
#include "forms/app.h"
#include "forms/controls.h"
#include "forms/menu.h"
#include "forms/testing.h"
#include "forms/user_control.h"
#include "shell/instance.h"
#include "start_warm_up.h"
#include "win/menu.h"
#include "win/qt_window.h"

namespace forms {

namespace {

// Halves go to the even pixel, as the runtime rounds every number.
int Px(double twips) {
  return static_cast<int>(std::nearbyint(twips / 15.0));
}

win::DWORD StyleFor(int borderStyle) {
  using namespace win;
  switch (borderStyle) {
    case 0:
      return WS_POPUP | WS_CLIPCHILDREN;
    case 1:
    case 3:
      return WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    case 4:
      return WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    default:
      return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  }
}

struct Registry {
  std::map<std::type_index, std::unique_ptr<Form>> forms;
  std::vector<std::unique_ptr<Form>> ending;  // unloaded, deleted when the current event is done
};

Registry& registry() {
  static Registry r;
  return r;
}

template <class F>
void ForEachUserControl(const std::vector<Control*>& controls, F&& f) {
  for (Control* c : controls)
    if (auto* uc = dynamic_cast<UserControl*>(c)) f(*uc);
}

}  // namespace

Form::Form(std::string_view description) {
  const QJsonObject doc = LoadDescription(description);
  // Its first text, list or combo box connects the accessibility bridge to
  // the session bus: for the program's first form, the connection is begun
  // now, beside the form's making. Later forms find the bridge made.
  if (registry().forms.empty() && ListsWidgetControls(doc.value("Controls").toArray()))
    busWarmUp_ = std::make_unique<detail::SessionBusWarmUp>();
  name_ = doc.value("Form").toString("Form").toStdString();
  auto props = PropertiesOf(doc);
  // What the window is made of must be known before it is made.
  for (const auto& [k, v] : props) {
    if (k == "BorderStyle")
      borderStyle_ = v.ToLong();
    else if (k == "ShowInTaskbar")
      showInTaskbar_ = v.ToBool();
    else if (k == "Left")
      left_ = v.ToDouble();
    else if (k == "Top")
      top_ = v.ToDouble();
    else if (k == "Width")
      width_ = v.ToDouble();
    else if (k == "Height")
      height_ = v.ToDouble();
  }
  const win::DWORD ex = showInTaskbar_ ? 0 : win::WS_EX_TOOLWINDOW;
  CreateHostWindow(StyleFor(borderStyle_), ex, win::HWND(), Px(left_), Px(top_), Px(width_),
                   Px(height_), name_.c_str());
  caption_ = name_;
  for (const auto& [k, v] : props) ApplyFormProperty(k, v);
  MakeControls(doc.value("Controls").toArray(), *this, *this, controls_);
  BuildMenus(*this);
}

Form::~Form() {
  ForEachUserControl(Controls(), [](UserControl& uc) { uc.Terminate(); });
  DestroyControls(controls_);
  DestroyHostWindow();
}

void Form::ApplyFormProperty(std::string_view name, const Value& v) {
  if (ApplySurfaceProperty(name, v)) return;
  if (name == "Caption")
    Caption(v.ToString());
  else if (name == "Picture")
    CanvasPicture(v.ToPicture());
  else if (name == "Icon")
    Icon(v.ToPicture());
  else if (name == "MousePointer")
    MousePointer(v.ToLong());
  else if (name == "StartUpPosition")
    startUpPosition_ = v.ToLong();
  else if (name == "WindowState")
    WindowState(v.ToLong());
  else if (name == "BorderStyle" || name == "ShowInTaskbar" || name == "Left" || name == "Top" ||
           name == "Width" || name == "Height" || name == "ControlBox" || name == "MaxButton" ||
           name == "MinButton" || name == "KeyPreview" || name == "LinkTopic" ||
           name == "Moveable" || name == "Appearance" || name == "ClipControls" ||
           name == "HasDC" || name == "Visible") {
    // Kept by the window as it was made, or nothing depends on them.
  } else {
    throw RuntimeError(err::InvalidPropertyValue,
                       "Form " + name_ + " has no property " + std::string(name));
  }
}

Control* Form::FindControl(std::string_view name, int index) const {
  for (const auto& c : controls_)
    if (c->Name() == name && c->Index() == index) return c.get();
  return nullptr;
}

std::vector<Control*> Form::Controls() const {
  std::vector<Control*> all;
  for (const auto& c : controls_) all.push_back(c.get());
  return all;
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  inLoad_ = true;
  Form_Initialize();
  ForEachUserControl(Controls(), [](UserControl& uc) { uc.InitOrReadProperties(); });
  Form_Load();
  inLoad_ = false;
  if (!loaded_) return;
  for (const auto& c : controls_) c->AfterLoad();
}

void Form::Show(int modal, Form* owner) {
  Load();
  if (!loaded_ || !hWnd()) return;
  const bool startsModal = modal == vbModal && !modalRunning_;
  // A modal form belongs to the form that shows it (the active one unless
  // the caller names it): it stays above that form and is centred over it.
  Form* over = startsModal ? (owner ? owner : Screen::ActiveForm()) : nullptr;
  if (over == this || (over && !over->hWnd())) over = nullptr;
  const win::HWND self = hWnd();
  const auto ownerBefore = win::GetWindowLongPtrA(self, win::GWLP_HWNDPARENT);
  const bool topmostBefore = win::GetWindowLongPtrA(self, win::GWL_EXSTYLE) & win::WS_EX_TOPMOST;
  if (over)
    win::SetWindowLongPtrA(self, win::GWLP_HWNDPARENT,
                           static_cast<win::LONG_PTR>(over->hWnd().value));
  if (startUpPosition_ == 2 || startUpPosition_ == 1) {
    CentreOver(over);
    startUpPosition_ = 0;
  }
  // Showing a shown form changes nothing (it does not take the focus again).
  if (!win::IsWindowVisible(self)) win::ShowWindow(self, win::SW_SHOW);
  if (!startsModal) return;
  // A modal form keeps the others from input until it is hidden or unloaded.
  std::vector<QPointer<QWidget>> disabled;
  for (Form* f : Forms::All())
    if (f != this && f->hWnd())
      if (QWidget* w = f->HostWidget(); w && w->isEnabled()) {
        w->setEnabled(false);
        disabled.emplace_back(w);
      }
  modalRunning_ = true;
  QEventLoop loop;
  QPointer<QWidget> widget = HostWidget();
  QTimer watch;
  watch.setInterval(20);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (!widget || !widget->isVisible()) loop.quit();
  });
  watch.start();
  loop.exec();
  for (auto& w : disabled)
    if (w) w->setEnabled(true);
  // The window goes with the form: while it stands, the form does too.
  if (!win::IsWindow(self)) return;
  modalRunning_ = false;
  if (!over) return;
  win::SetWindowLongPtrA(self, win::GWLP_HWNDPARENT, ownerBefore);
  if (!topmostBefore)
    win::SetWindowPos(self, win::HWND_NOTOPMOST, 0, 0, 0, 0,
                      win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOACTIVATE);
}

void Form::CentreOver(const Form* over) {
  const QRect screen(0, 0, Px(Screen::Width()), Px(Screen::Height()));
  win::RECT r{};
  const bool onOwner = over && over->Visible() && over->WindowState() == vbNormal &&
                       win::GetWindowRect(over->hWnd(), &r);
  const QRect around = onOwner ? QRect(r.left, r.top, r.right - r.left, r.bottom - r.top) : screen;
  const int w = Px(width_), h = Px(height_);
  QPoint at = around.center() - QPoint(w / 2, h / 2);
  // Over an owner near the edge, the form still shows whole where it can.
  if (onOwner) {
    at.setX(std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() + 1 - w)));
    at.setY(std::clamp(at.y(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - h)));
    Move(static_cast<float>(at.x() * 15.0), static_cast<float>(at.y() * 15.0));
    return;
  }
  Move(static_cast<float>((Screen::Width() - width_) / 2),
       static_cast<float>((Screen::Height() - height_) / 2));
}

void Form::Hide() {
  if (hWnd()) win::ShowWindow(hWnd(), win::SW_HIDE);
}

void Form::Refresh() {
  if (!hWnd()) return;
  win::InvalidateRect(hWnd(), nullptr, win::TRUE);
  win::UpdateWindow(hWnd());
}

void Form::SetFocus() {
  if (hWnd()) {
    win::SetActiveWindow(hWnd());
    win::SetFocus(hWnd());
  }
}

void Form::ZOrder(int position) {
  if (hWnd())
    win::SetWindowPos(hWnd(), position == 0 ? win::HWND_TOP : win::HWND_BOTTOM, 0, 0, 0, 0,
                      win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOACTIVATE);
}

void Form::Caption(std::string_view text) {
  caption_ = text;
  if (!hWnd()) return;
  win::SetWindowTextA(hWnd(), caption_.c_str());
  // The desktop (task switcher, window list) shows the caption as it reads,
  // as the frame's label does: "&&" is one "&".
  if (QWidget* w = HostWidget())
    w->setWindowTitle(QString::fromStdString(win::TextWithoutMarkers(caption_)));
}

void Form::PlaceWindow() {
  if (!hWnd()) return;
  // The size rounds on its own, not from the rounded edges: a form is as many
  // pixels wide wherever it stands, and a picture of its width fills it.
  const int left = Px(left_), top = Px(top_), width = Px(width_), height = Px(height_);
  // A form placed where it already stands, as a bar that sets its height at
  // every tick of a timer, asks nothing of its window.
  win::RECT r;
  if (win::GetWindowRect(hWnd(), &r) && r.left == left && r.top == top &&
      r.right - r.left == width && r.bottom - r.top == height)
    return;
  win::MoveWindow(hWnd(), left, top, width, height, win::TRUE);
}

void Form::Left(float v) {
  Load();
  RequireNormalState();
  left_ = v;
  PlaceWindow();
}

void Form::Top(float v) {
  Load();
  RequireNormalState();
  top_ = v;
  PlaceWindow();
}

void Form::Width(float v) {
  Load();
  RequireNormalState();
  width_ = std::max(0.0f, v);
  PlaceWindow();
}

void Form::Height(float v) {
  Load();
  RequireNormalState();
  height_ = std::max(0.0f, v);
  PlaceWindow();
}

void Form::Move(float left, float top, float width, float height) {
  Load();
  RequireNormalState();
  left_ = left;
  if (top > -1e29f) top_ = top;
  if (width > -1e29f) width_ = std::max(0.0f, width);
  if (height > -1e29f) height_ = std::max(0.0f, height);
  PlaceWindow();
}

void Form::RequireNormalState() const {
  // As on the platform: the window manager owns the place of such a window.
  if (WindowState() != vbNormal)
    throw RuntimeError(err::CantMoveOrSize,
                       "A form can't be moved or sized while minimized or maximized");
}

void Form::SyncFromWindow() {
  win::RECT r;
  if (!hWnd() || !win::GetWindowRect(hWnd(), &r)) return;
  // The window moved or changed size by itself (a drag, the window manager):
  // the twips follow, unless they already round to where it is.
  if (Px(left_) != r.left || Px(top_) != r.top) {
    left_ = r.left * 15.0;
    top_ = r.top * 15.0;
  }
  if (Px(width_) != r.right - r.left) width_ = (r.right - r.left) * 15.0;
  if (Px(height_) != r.bottom - r.top) height_ = (r.bottom - r.top) * 15.0;
}

bool Form::Visible() const {
  return hWnd() && win::IsWindowVisible(hWnd());
}

void Form::Visible(bool v) {
  if (inLoad_) visibleSetInLoad_ = true;
  if (v) {
    Show();
  } else {
    Load();
    Hide();
  }
}

bool Form::Enabled() const {
  return hWnd() && win::IsWindowEnabled(hWnd());
}
void Form::Enabled(bool v) {
  if (hWnd()) win::EnableWindow(hWnd(), v);
}

int Form::WindowState() const {
  if (!hWnd()) return vbNormal;
  if (win::IsIconic(hWnd())) return vbMinimized;
  if (win::IsZoomed(hWnd())) return vbMaximized;
  return vbNormal;
}

void Form::WindowState(int state) {
  if (!hWnd()) return;
  const bool visible = win::IsWindowVisible(hWnd());
  QWidget* w = HostWidget();
  if (!visible && w) {
    // A hidden form takes the state it will show in.
    w->setWindowState(state == vbMaximized   ? Qt::WindowMaximized
                      : state == vbMinimized ? Qt::WindowMinimized
                                             : Qt::WindowNoState);
    return;
  }
  win::ShowWindow(hWnd(), state == vbMaximized   ? win::SW_MAXIMIZE
                          : state == vbMinimized ? win::SW_MINIMIZE
                                                 : win::SW_RESTORE);
}

void Form::MousePointer(int v) {
  mousePointer_ = v;
  if (QWidget* w = HostWidget()) {
    if (v == vbDefault)
      w->unsetCursor();
    else
      w->setCursor(v == vbHourglass ? Qt::WaitCursor : Qt::ArrowCursor);
  }
}

void Form::Icon(const Picture& p) {
  icon_ = p;
  if (QWidget* w = HostWidget(); w && p) w->setWindowIcon(QIcon(QPixmap::fromImage(p.Image())));
}

win::LRESULT Form::OnMessage(win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
  using namespace win;
  switch (msg) {
    case WM_SIZE:
      SyncFromWindow();
      return SurfaceWindow::OnMessage(msg, wp, lp);
    case WM_MOVE:
      SyncFromWindow();
      return 0;
    case WM_ACTIVATE: {
      // A copy: a control's answer may add or remove controls.
      const std::vector<Control*> children = Children();
      for (Control* c : children) c->ContainerActivationChanged();
      if (loaded_) LOWORD(wp) == WA_INACTIVE ? Form_Deactivate() : Form_Activate();
      return 0;
    }
    case WM_CLOSE:
      QueryAndUnload(vbFormControlMenu);
      return 0;
    case WM_COMMAND:
    case WM_INITMENUPOPUP:
      if (RouteMenuMessage(*this, msg, wp, lp)) return 0;
      return SurfaceWindow::OnMessage(msg, wp, lp);
    default:
      return SurfaceWindow::OnMessage(msg, wp, lp);
  }
}

void Form::SurfaceResized() {
  // A copy: a control placing itself lets events run, which may add controls.
  const std::vector<Control*> children = Children();
  for (Control* c : children) c->ContainerResized();
  if (loaded_) Form_Resize();
}

void Form::OnKeyDown(int keyCode, int shift) {
  Form_KeyDown(keyCode, shift);
}
void Form::OnKeyPress(int keyAscii) {
  Form_KeyPress(keyAscii);
}
void Form::OnKeyUp(int keyCode, int shift) {
  Form_KeyUp(keyCode, shift);
}

bool Form::QueryAndUnload(int mode) {
  if (!loaded_ || unloading_) return true;
  unloading_ = true;
  int cancel = 0;
  Form_QueryUnload(cancel, mode);
  if (!cancel) Form_Unload(cancel);
  unloading_ = false;
  if (cancel) return false;
  loaded_ = false;
  ForEachUserControl(Controls(), [](UserControl& uc) { uc.Terminate(); });
  Hide();
  Forms::Release(*this);
  return true;
}

bool Unload(Form& form) {
  return form.QueryAndUnload(vbFormCode);
}

// --- Forms ------------------------------------------------------------------------

Form* Forms::Lookup(std::type_index type) {
  auto& r = registry().forms;
  auto it = r.find(type);
  return it == r.end() ? nullptr : it->second.get();
}

void Forms::Adopt(std::type_index type, std::unique_ptr<Form> form) {
  registry().forms[type] = std::move(form);
}

namespace testing {
void ReleaseAllForms() {
  registry().ending.clear();
  registry().forms.clear();
}
}  // namespace testing

std::vector<Form*> Forms::All() {
  std::vector<Form*> all;
  for (auto& [t, f] : registry().forms) all.push_back(f.get());
  return all;
}

void Forms::Release(Form& form) {
  auto& r = registry();
  for (auto it = r.forms.begin(); it != r.forms.end(); ++it) {
    if (it->second.get() != &form) continue;
    r.ending.push_back(std::move(it->second));
    r.forms.erase(it);
    break;
  }
  // The form may be in the middle of its own event: it ends afterwards.
  QTimer::singleShot(0, [] { registry().ending.clear(); });
  bool anyLoaded = false;
  for (auto& [t, f] : r.forms) anyLoaded = anyLoaded || f->Loaded();
  if (!anyLoaded)
    QTimer::singleShot(0, [] {
      bool stillNone = true;
      for (auto& [t, f] : registry().forms) stillNone = stillNone && !f->Loaded();
      if (stillNone) QCoreApplication::quit();
    });
}

int RunProgram(int argc, char** argv, const std::function<Form&()>& startup) {
  // The suite's windows are small and repaint a line or a character at a
  // time, in the trainers many times a second. Through shared memory the
  // toolkit waits for the display to be done with the last picture before
  // it paints again, a round trip at every repaint; sent over the
  // connection, a repaint waits for nothing. Asked for only while the
  // display opens, so that programs started from here keep their own way.
  // Set before any other thread runs; being the last entry of the
  // environment, its removal moves no other entry under a thread reading it.
  const bool plainImages = qEnvironmentVariableIsEmpty("QT_XCB_NO_MITSHM");
  if (plainImages) qputenv("QT_XCB_NO_MITSHM", "1");
  // Started before the display is opened, so that the two overlap.
  const detail::FontConfigWarmUp fonts;
  QApplication app(argc, argv);
  if (plainImages) qunsetenv("QT_XCB_NO_MITSHM");
  app.setApplicationName(QFileInfo(QString::fromLocal8Bit(argv[0])).fileName());
  app.setQuitOnLastWindowClosed(false);
  const detail::CaretRest caretRest;
  // The first copy answers the requests of later copies to come forward.
  std::unique_ptr<shell::ActivationListener> listener;
  if (!App::PrevInstance()) {
    listener =
        std::make_unique<shell::ActivationListener>(App::EXEName(), [](const std::string& title) {
          if (title.empty() || title != App::Title()) return false;
          for (Form* f : Forms::All())
            if (f->Loaded() && f->Visible()) {
              win::SetForegroundWindow(f->hWnd());
              return true;
            }
          // Nothing on show to bring forward: the asking copy must know.
          return false;
        });
  }
  Form& main = startup();
  main.Load();
  if (main.Loaded() && !main.VisibilityDecidedInLoad()) main.Show();
  bool anyLoaded = false;
  for (Form* f : Forms::All()) anyLoaded = anyLoaded || f->Loaded();
  if (!anyLoaded) return 0;
  const int rc = app.exec();
  registry().ending.clear();
  registry().forms.clear();
  return rc;
}

}  // namespace forms
