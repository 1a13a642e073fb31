#pragma once

#include "forms/control.h"
#include "forms/events.h"
#include "forms/font.h"
#include "forms/tracked.h"
#include "win/types.h"

namespace forms {

// Controls that are Qt widgets attached as windows.
class QtControl : public Control {
 public:
  explicit QtControl(const ControlSite& site);
  ~QtControl() override;
  QWidget* Widget() const override;
  win::HWND hWnd() const { return hwnd_; }
  void Visible(bool v) override;
  bool Visible() const override { return Control::Visible(); }
  void Enabled(bool v) override;
  bool Enabled() const override { return Control::Enabled(); }
  void SetFocus();
  const forms::Font& Font() const { return font_; }
  void Font(const forms::Font& f);
  win::COLORREF BackColor() const { return backColor_; }
  void BackColor(win::COLORREF c);
  win::COLORREF ForeColor() const { return foreColor_; }
  void ForeColor(win::COLORREF c);
  int TabIndex() const { return tabIndex_; }

  Event<> GotFocus;
  Event<> LostFocus;
  KeyEvent KeyDown;
  KeyPressEvent KeyPress;
  KeyEvent KeyUp;

  void SetProperty(std::string_view name, const Value& v) override;

 protected:
  // Takes the widget (owned by the container's widget from now on).
  void Attach(QWidget* widget, const char* className);
  void ApplyColours();
  // The widget has taken a new font.
  virtual void FontChanged() {}
  // A key the control acts on itself once KeyDown and KeyPress have seen
  // it; true takes it from the widget.
  virtual bool OwnKey(int /*keyCode*/) { return false; }

 private:
  // The container's widget owns it and may end it first.
  Tracked<QWidget> widget_;
  win::HWND hwnd_;
  forms::Font font_;
  win::COLORREF backColor_ = 0x80000005;
  win::COLORREF foreColor_ = 0x80000008;
  int tabIndex_ = 0;
  class Filter;
  Filter* filter_ = nullptr;
};

}  // namespace forms
