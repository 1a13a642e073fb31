#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/canvas.h"
#include "forms/control.h"
#include "forms/property_bag.h"
#include "forms/surface_window.h"

class QObject;

namespace forms {

// What the container tells a user control about its surroundings.
struct AmbientProperties {
  std::string DisplayName;  // the name the host gives this instance
  forms::Font Font;         // the host form's font
  win::COLORREF BackColor = 0x8000000F;
  win::COLORREF ForeColor = 0x80000012;
  bool UserMode = true;
};

// A control built from other controls, with stored properties. The
// program's class derives from it, loads its own description of constituent
// controls and handles the UserControl_* events.
class UserControl : public Control, public SurfaceWindow {
 public:
  // `description` names the resource describing the constituent controls.
  UserControl(const ControlSite& site, std::string_view description);
  ~UserControl() override;

  QWidget* Widget() const override;
  QWidget* ClientWidget() const override { return Widget(); }
  using WindowHost::hWnd;

  void Visible(bool v) override;
  bool Visible() const override { return Control::Visible(); }
  void Enabled(bool v) override;
  bool Enabled() const override { return Control::Enabled(); }

  // Runs Initialize, then InitProperties (new instance) or ReadProperties
  // (stored bag), then Resize; the host form does this as it loads.
  void InitOrReadProperties();
  // The stored properties as WriteProperties gives them now.
  PropertyBag SaveProperties();
  // Runs Terminate once, while the host form still stands; the host form
  // does this as it unloads or ends.
  void Terminate();
  // Names passed to PropertyChanged, oldest first.
  const std::vector<std::string>& ChangedProperties() const { return changed_; }

  // Constituent controls by name.
  template <class T>
  T& Get(std::string_view name, int index = -1) const {
    auto* t = dynamic_cast<T*>(FindConstituent(name, index));
    if (!t)
      throw RuntimeError(err::TypeMismatch,
                         "No constituent " + std::string(name) + " of that kind");
    return *t;
  }
  template <class T>
  ControlArray<T> Array(std::string_view name) const {
    ControlArray<T> arr;
    for (auto& c : constituents_)
      if (c->Name() == name && c->Index() >= 0)
        if (auto* t = dynamic_cast<T*>(c.get())) arr.Add(c->Index(), t);
    return arr;
  }
  Control* FindConstituent(std::string_view name, int index = -1) const;

 protected:
  AmbientProperties Ambient() const;
  void PropertyChanged(std::string_view name);
  // The form that hosts this control.
  Form& HostForm() const { return Parent(); }

  virtual void UserControl_Initialize() {}
  virtual void UserControl_Terminate() {}
  virtual void UserControl_InitProperties() {}
  virtual void UserControl_ReadProperties(PropertyBag& /*PropBag*/) {}
  virtual void UserControl_WriteProperties(PropertyBag& /*PropBag*/) {}
  virtual void UserControl_Resize() {}
  virtual void UserControl_Show() {}
  virtual void UserControl_Hide() {}
  virtual void UserControl_Paint() {}
  virtual void UserControl_Click() {}
  virtual void UserControl_DblClick() {}
  virtual void UserControl_MouseDown(int& /*Button*/, int& /*Shift*/, float& /*X*/, float& /*Y*/) {}
  virtual void UserControl_MouseMove(int& /*Button*/, int& /*Shift*/, float& /*X*/, float& /*Y*/) {}
  virtual void UserControl_MouseUp(int& /*Button*/, int& /*Shift*/, float& /*X*/, float& /*Y*/) {}
  virtual void UserControl_KeyDown(int& /*KeyCode*/, int& /*Shift*/) {}
  virtual void UserControl_KeyPress(int& /*KeyAscii*/) {}
  virtual void UserControl_KeyUp(int& /*KeyCode*/, int& /*Shift*/) {}
  virtual void UserControl_GotFocus() {}
  virtual void UserControl_LostFocus() {}
  virtual void UserControl_EnterFocus() {}
  virtual void UserControl_ExitFocus() {}

  win::LRESULT OnMessage(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam) override;
  void RaiseMouseDown(int& b, int& s, float& x, float& y) override {
    UserControl_MouseDown(b, s, x, y);
  }
  void RaiseMouseMove(int& b, int& s, float& x, float& y) override {
    UserControl_MouseMove(b, s, x, y);
  }
  void RaiseMouseUp(int& b, int& s, float& x, float& y) override {
    UserControl_MouseUp(b, s, x, y);
  }
  void SurfaceResized() override {
    if (initialized_) UserControl_Resize();
  }
  void OnClick() override { UserControl_Click(); }
  void OnDblClick() override { UserControl_DblClick(); }
  void OnKeyDown(int keyCode, int shift) override;
  void OnKeyPress(int keyAscii) override;
  void OnKeyUp(int keyCode, int shift) override;
  void RaisePaint() override { UserControl_Paint(); }
  void OnResized() override;

  // Properties of the user control itself from its own description.
  virtual void ApplyOwnProperty(std::string_view name, const Value& v);

 private:
  void FocusChanged(QWidget* old, QWidget* now);
  std::vector<std::unique_ptr<Control>> constituents_;
  std::shared_ptr<PropertyBag> stored_;
  std::vector<std::string> changed_;
  bool hadFocus_ = false;
  bool initialized_ = false;
  bool terminated_ = false;
  // The receiver of the application's focus changes; its end disconnects them.
  std::unique_ptr<QObject> focusWatch_;
};

// User control types by the name form descriptions use for them.
using ControlMaker = std::function<std::unique_ptr<Control>(const ControlSite&)>;
void RegisterControlType(std::string_view type, ControlMaker maker);

template <class T>
void RegisterControlType(std::string_view type) {
  RegisterControlType(type, [](const ControlSite& s) -> std::unique_ptr<Control> {
    return std::make_unique<T>(s);
  });
}

}  // namespace forms
