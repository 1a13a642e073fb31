#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/errors.h"
#include "forms/events.h"
#include "forms/font.h"
#include "forms/picture.h"
#include "forms/scale.h"
#include "forms/value.h"
#include "win/types.h"

class QJsonObject;
class QWidget;

namespace forms {

class Container;
class Form;
class PropertyBag;

// Everything a form description says about one control, handed to the code
// that makes the control.
struct ControlSite {
  std::string type;
  std::string name;
  int index = -1;  // its index in a control array, or -1
  Container* container = nullptr;
  Form* form = nullptr;
  std::vector<std::pair<std::string, Value>> properties;  // in description order
  std::shared_ptr<PropertyBag> bag;  // user controls: stored properties, or null
};

// A control placed on a form or in a container control. Its position and size
// are kept in twips and read and set in the container's scale units.
class Control {
 public:
  explicit Control(const ControlSite& site);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& TypeName() const { return type_; }
  int Index() const { return index_; }
  Container& GetContainer() const { return *container_; }
  Form& Parent() const { return *form_; }

  float Left() const;
  void Left(float v);
  float Top() const;
  void Top(float v);
  float Width() const;
  void Width(float v);
  float Height() const;
  void Height(float v);
  void Move(float left, float top = -1e30f, float width = -1e30f, float height = -1e30f);

  virtual bool Visible() const { return visible_; }
  virtual void Visible(bool v);
  virtual bool Enabled() const { return enabled_; }
  virtual void Enabled(bool v);
  const std::string& ToolTipText() const { return toolTip_; }
  void ToolTipText(std::string_view v);
  const std::string& Tag() const { return tag_; }
  void Tag(std::string_view v) { tag_ = v; }
  int MousePointer() const { return mousePointer_; }
  void MousePointer(int v);
  const Picture& MouseIcon() const { return mouseIcon_; }
  void MouseIcon(const Picture& v);
  void ZOrder(int position = 0);

  // Geometry in twips, whatever the container's scale.
  double LeftTwips() const { return left_; }
  double TopTwips() const { return top_; }
  double WidthTwips() const { return width_; }
  double HeightTwips() const { return height_; }
  void MoveTwips(double left, double top, double width, double height);

  // The Qt widget that shows the control (null for invisible controls such as
  // timers).
  virtual QWidget* Widget() const = 0;
  // A design-time property from the form description. Unknown names are an
  // error in the description.
  virtual void SetProperty(std::string_view name, const Value& v);
  // Called once every control of the form exists.
  virtual void AfterLoad() {}
  // The container's scale changed: place the widget again.
  void Relayout() { ApplyGeometry(); }
  // The form took a new size, before its Resize event: a control that follows
  // the form's size (an aligned box, a frame over the whole form) places
  // itself again.
  virtual void ContainerResized() {}
  // The form was activated or deactivated (by the user, the program or the
  // desktop): a control that shows whether its form is active looks again.
  virtual void ContainerActivationChanged() {}

 protected:
  // Puts the widget where the twips say.
  virtual void ApplyGeometry();
  // The control's size changed (after the widget has its new size).
  virtual void OnResized() {}
  void ApplyCursor();

 private:
  // A container that goes first leaves its controls without one.
  friend class Container;

  std::string type_;
  std::string name_;
  int index_;
  Container* container_;
  Form* form_;
  double left_ = 0, top_ = 0, width_ = 1200, height_ = 480;
  bool visible_ = true;
  bool enabled_ = true;
  std::string toolTip_;
  std::string tag_;
  int mousePointer_ = 0;
  Picture mouseIcon_;
};

// Controls of one name that differ by index.
template <class T>
class ControlArray {
 public:
  T& operator[](int index) const {
    auto it = items_.find(index);
    if (it == items_.end())
      throw RuntimeError(err::SubscriptOutOfRange, "Control array element does not exist");
    return *it->second;
  }
  int Count() const { return static_cast<int>(items_.size()); }
  int LBound() const { return items_.empty() ? 0 : items_.begin()->first; }
  int UBound() const { return items_.empty() ? -1 : items_.rbegin()->first; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  void Add(int index, T* control) { items_[index] = control; }

 private:
  std::map<int, T*> items_;
};

// Something that holds controls and has a scale: forms, picture boxes,
// frames, user controls.
class Container {
 public:
  virtual ~Container();

  int ScaleMode() const { return scaleMode_; }
  void ScaleMode(int mode);
  float ScaleLeft() const { return scaleLeft_; }
  void ScaleLeft(float v);
  float ScaleTop() const { return scaleTop_; }
  void ScaleTop(float v);
  float ScaleWidth() const;
  void ScaleWidth(float v);
  float ScaleHeight() const;
  void ScaleHeight(float v);
  // Converts between scale modes; a scale of 0 means this container's own.
  float ScaleX(float v, int fromScale = vbHimetric, int toScale = -1) const;
  float ScaleY(float v, int fromScale = vbHimetric, int toScale = -1) const;

  // Twips in one unit of the current scale.
  double TwipsPerUnitX() const;
  double TwipsPerUnitY() const;
  // Positions: units of this container <-> twips from its client origin.
  double ToTwipsX(double units) const { return (units - scaleLeft_) * TwipsPerUnitX(); }
  double ToTwipsY(double units) const { return (units - scaleTop_) * TwipsPerUnitY(); }
  double FromTwipsX(double twips) const { return twips / TwipsPerUnitX() + scaleLeft_; }
  double FromTwipsY(double twips) const { return twips / TwipsPerUnitY() + scaleTop_; }

  // The widget in which the contained controls' widgets live.
  virtual QWidget* ClientWidget() const = 0;
  // The client area's size in pixels.
  virtual int ClientPixelWidth() const;
  virtual int ClientPixelHeight() const;
  const std::vector<Control*>& Children() const { return children_; }
  void AddChild(Control* c) { children_.push_back(c); }
  void RemoveChild(Control* c);

 protected:
  void RelayoutChildren();

 private:
  int scaleMode_ = vbTwips;
  float scaleLeft_ = 0, scaleTop_ = 0;
  float userWidth_ = 0, userHeight_ = 0;  // user scale extent, when set
  std::vector<Control*> children_;
};

}  // namespace forms
