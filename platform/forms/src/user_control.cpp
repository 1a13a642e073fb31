#include "forms/user_control.h"

#include <QApplication>
#include <QWidget>

#include "description.h"
#include "forms/form.h"
#include "win/qt_window.h"

namespace forms {

UserControl::UserControl(const ControlSite& site, std::string_view description)
    : Control(site), stored_(site.bag) {
  win::HWND parent = win::WidgetWindow(site.container->ClientWidget());
  CreateHostWindow(win::WS_CHILD | win::WS_VISIBLE | win::WS_CLIPCHILDREN, 0, parent, 0, 0, 80, 32);
  const QJsonObject doc = LoadDescription(description);
  for (const auto& [k, v] : PropertiesOf(doc)) ApplyOwnProperty(k, v);
  MakeControls(doc.value("Controls").toArray(), *this, *site.form, constituents_);
  focusWatch_ = std::make_unique<QObject>();
  QObject::connect(qApp, &QApplication::focusChanged, focusWatch_.get(),
                   [this](QWidget* old, QWidget* now) { FocusChanged(old, now); });
}

UserControl::~UserControl() {
  focusWatch_.reset();
  DestroyControls(constituents_);
  DestroyHostWindow();
}

QWidget* UserControl::Widget() const {
  return HostWidget();
}

void UserControl::ApplyOwnProperty(std::string_view name, const Value& v) {
  if (ApplySurfaceProperty(name, v)) return;
  if (name == "Picture")
    CanvasPicture(v.ToPicture());
  else if (name == "CanGetFocus") {
    // A control that can take the focus is one of its form's tab stops.
    const auto style = win::GetWindowLongPtrA(hWnd(), win::GWL_STYLE);
    win::SetWindowLongPtrA(hWnd(), win::GWL_STYLE,
                           v.ToBool() ? style | win::WS_TABSTOP : style & ~win::WS_TABSTOP);
  } else if (name == "Width" || name == "Height") {
    // The design size of the control; the host decides its real size.
  } else {
    throw RuntimeError(err::InvalidPropertyValue,
                       "User control " + TypeName() + " has no property " + std::string(name));
  }
}

Control* UserControl::FindConstituent(std::string_view name, int index) const {
  for (const auto& c : constituents_)
    if (c->Name() == name && c->Index() == index) return c.get();
  return nullptr;
}

void UserControl::InitOrReadProperties() {
  if (!initialized_) {
    initialized_ = true;
    UserControl_Initialize();
  }
  if (stored_) {
    UserControl_ReadProperties(*stored_);
  } else {
    UserControl_InitProperties();
  }
  UserControl_Resize();
}

PropertyBag UserControl::SaveProperties() {
  PropertyBag bag;
  UserControl_WriteProperties(bag);
  return bag;
}

void UserControl::Terminate() {
  // A control that never initialised has nothing to end.
  if (terminated_ || !initialized_) return;
  terminated_ = true;
  UserControl_Terminate();
}

AmbientProperties UserControl::Ambient() const {
  AmbientProperties a;
  a.DisplayName = Name();
  a.Font = Parent().CanvasFont();
  a.BackColor = Parent().BackColor();
  a.ForeColor = Parent().ForeColor();
  return a;
}

void UserControl::PropertyChanged(std::string_view name) {
  changed_.emplace_back(name);
}

void UserControl::Visible(bool v) {
  Control::Visible(v);
  if (hWnd()) win::ShowWindow(hWnd(), v ? win::SW_SHOWNA : win::SW_HIDE);
}

void UserControl::Enabled(bool v) {
  Control::Enabled(v);
  if (hWnd()) win::EnableWindow(hWnd(), v);
}

void UserControl::OnResized() {
  CanvasResized();
  // A shown control hears of its new size from its window (WM_SIZE); a
  // hidden one's window reports nothing until it shows, yet the control
  // must hear of it now, as a control sized while hidden may size itself back.
  if (initialized_ && Widget() && !Widget()->isVisible()) UserControl_Resize();
}

void UserControl::FocusChanged(QWidget* /*old*/, QWidget* now) {
  QWidget* self = Widget();
  if (!self) return;
  const bool inside = now && (now == self || self->isAncestorOf(now));
  if (inside && !hadFocus_) {
    hadFocus_ = true;
    UserControl_EnterFocus();
  } else if (!inside && hadFocus_) {
    hadFocus_ = false;
    UserControl_ExitFocus();
  }
}

win::LRESULT UserControl::OnMessage(win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
  using namespace win;
  switch (msg) {
    case WM_SHOWWINDOW:
      if (initialized_) wp ? UserControl_Show() : UserControl_Hide();
      return 0;
    case WM_SETFOCUS:
      UserControl_GotFocus();
      return 0;
    case WM_KILLFOCUS:
      UserControl_LostFocus();
      return 0;
    default:
      return SurfaceWindow::OnMessage(msg, wp, lp);
  }
}

void UserControl::OnKeyDown(int keyCode, int shift) {
  UserControl_KeyDown(keyCode, shift);
}
void UserControl::OnKeyPress(int keyAscii) {
  UserControl_KeyPress(keyAscii);
}
void UserControl::OnKeyUp(int keyCode, int shift) {
  UserControl_KeyUp(keyCode, shift);
}

}  // namespace forms
