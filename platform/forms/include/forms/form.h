#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

#include "forms/control.h"
#include "forms/surface_window.h"

namespace forms {

class Menu;

// A form: a top-level window described by a form description file (its
// properties and controls), whose event procedures are the virtual Form_*
// members of the program's class.
namespace detail {
class SessionBusWarmUp;
}

class Form : public SurfaceWindow {
 public:
  // `description` names the form description resource, e.g.
  // ":/forms/dialogra/Form1.json".
  explicit Form(std::string_view description);
  ~Form() override;

  const std::string& Name() const { return name_; }

  // Loads the form (once): user controls read their properties, then
  // Form_Load runs, then data controls open.
  void Load();
  bool Loaded() const { return loaded_; }
  // Whether Form_Load itself showed or hid the form (the startup form is then
  // not shown after its load).
  bool VisibilityDecidedInLoad() const { return visibleSetInLoad_; }
  // A modal form is owned by `owner` (by default the active form) while it is
  // shown: it stays above it, and a centred form is centred over it.
  void Show(int modal = vbModeless, Form* owner = nullptr);
  void Hide();
  void Refresh();
  void SetFocus();
  void ZOrder(int position = 0);
  // Pops up a menu of this or another form (its owner hears the commands) at
  // x, y in this form's scale units (the pointer where they are left out);
  // returns once a chosen command's Click has run.
  void PopupMenu(Menu& menu, int flags = 0, std::optional<float> x = {},
                 std::optional<float> y = {});

  std::string Caption() const { return caption_; }
  void Caption(std::string_view text);
  // Position and size of the window, always in twips.
  float Left() const { return static_cast<float>(left_); }
  void Left(float v);
  float Top() const { return static_cast<float>(top_); }
  void Top(float v);
  float Width() const { return static_cast<float>(width_); }
  void Width(float v);
  float Height() const { return static_cast<float>(height_); }
  void Height(float v);
  void Move(float left, float top = -1e30f, float width = -1e30f, float height = -1e30f);
  bool Visible() const;
  void Visible(bool v);
  bool Enabled() const;
  void Enabled(bool v);
  int WindowState() const;
  void WindowState(int state);
  int BorderStyle() const { return borderStyle_; }
  int MousePointer() const { return mousePointer_; }
  void MousePointer(int v);
  const Picture& Icon() const { return icon_; }
  void Icon(const Picture& p);

  // Controls by name.
  template <class T>
  T& Get(std::string_view name, int index = -1) const {
    Control* c = FindControl(name, index);
    auto* t = dynamic_cast<T*>(c);
    if (!t)
      throw RuntimeError(err::TypeMismatch, "No control " + std::string(name) + " of that kind");
    return *t;
  }
  template <class T>
  ControlArray<T>& Array(std::string_view name) {
    auto& arr = arrays_[std::string(name)];
    if (!arr) {
      auto holder = std::make_shared<ControlArray<T>>();
      for (auto& c : controls_)
        if (c->Name() == name && c->Index() >= 0)
          if (auto* t = dynamic_cast<T*>(c.get())) holder->Add(c->Index(), t);
      arr = holder;
    }
    return *std::static_pointer_cast<ControlArray<T>>(arr);
  }
  Control* FindControl(std::string_view name, int index = -1) const;
  std::vector<Control*> Controls() const;

  QWidget* ClientWidget() const override { return HostWidget(); }

 protected:
  // Event procedures.
  virtual void Form_Initialize() {}
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_Deactivate() {}
  virtual void Form_QueryUnload(int& /*Cancel*/, int /*UnloadMode*/) {}
  virtual void Form_Unload(int& /*Cancel*/) {}
  virtual void Form_Resize() {}
  virtual void Form_Paint() {}
  virtual void Form_Click() {}
  virtual void Form_DblClick() {}
  virtual void Form_MouseDown(int& /*Button*/, int& /*Shift*/, float& /*X*/, float& /*Y*/) {}
  virtual void Form_MouseMove(int& /*Button*/, int& /*Shift*/, float& /*X*/, float& /*Y*/) {}
  virtual void Form_MouseUp(int& /*Button*/, int& /*Shift*/, float& /*X*/, float& /*Y*/) {}
  virtual void Form_KeyDown(int& /*KeyCode*/, int& /*Shift*/) {}
  virtual void Form_KeyPress(int& /*KeyAscii*/) {}
  virtual void Form_KeyUp(int& /*KeyCode*/, int& /*Shift*/) {}

  win::LRESULT OnMessage(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam) override;
  void RaiseMouseDown(int& b, int& s, float& x, float& y) override { Form_MouseDown(b, s, x, y); }
  void RaiseMouseMove(int& b, int& s, float& x, float& y) override { Form_MouseMove(b, s, x, y); }
  void RaiseMouseUp(int& b, int& s, float& x, float& y) override { Form_MouseUp(b, s, x, y); }
  void SurfaceResized() override;
  void OnClick() override { Form_Click(); }
  void OnDblClick() override { Form_DblClick(); }
  void OnKeyDown(int keyCode, int shift) override;
  void OnKeyPress(int keyAscii) override;
  void OnKeyUp(int keyCode, int shift) override;
  void RaisePaint() override { Form_Paint(); }

 private:
  friend bool Unload(Form& form);
  friend class Forms;
  void ApplyFormProperty(std::string_view name, const Value& v);
  // Error 384 unless the form is in the normal state.
  void RequireNormalState() const;
  void PlaceWindow();
  void SyncFromWindow();
  // Centres the form over `over` when it is on show, else on the screen.
  void CentreOver(const Form* over);
  bool QueryAndUnload(int mode);

  std::string name_;
  std::string caption_;
  double left_ = 0, top_ = 0, width_ = 4800, height_ = 3600;
  int borderStyle_ = 2;
  bool showInTaskbar_ = true;
  bool topmost_ = false;
  int startUpPosition_ = 0;
  int mousePointer_ = 0;
  Picture icon_;
  bool loaded_ = false;
  bool unloading_ = false;
  bool visibleSetInLoad_ = false;
  bool inLoad_ = false;
  bool modalRunning_ = false;
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<std::string, std::shared_ptr<void>> arrays_;
  std::unique_ptr<detail::SessionBusWarmUp> busWarmUp_;
};

// Unloads a form: QueryUnload and Unload may cancel; otherwise the form's
// window goes, and the form object ends once the current event is done. The
// program ends when its last form is unloaded. Returns false if cancelled.
bool Unload(Form& form);

// The program's forms. A form is created on first use and released when it
// is unloaded; the next use creates it anew.
class Forms {
 public:
  template <class F>
  static F& Get() {
    if (Form* f = Lookup(typeid(F))) return static_cast<F&>(*f);
    auto made = std::make_unique<F>();
    F& ref = *made;
    Adopt(typeid(F), std::move(made));
    return ref;
  }
  template <class F>
  static F* Find() {
    return static_cast<F*>(Lookup(typeid(F)));
  }
  static std::vector<Form*> All();

 private:
  friend class Form;
  static Form* Lookup(std::type_index type);
  static void Adopt(std::type_index type, std::unique_ptr<Form> form);
  static void Release(Form& form);
};

// The program's entry: makes the application, loads the startup form and
// shows it (unless its load handler decided on its visibility), and runs the
// event loop until the last form is unloaded or End is called.
int RunProgram(int argc, char** argv, const std::function<Form&()>& startup);

}  // namespace forms
