#include "forms/control.h"

#include <QBitmap>
#include <QCursor>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "forms/form.h"
#include "win/qt_window.h"

namespace forms {

double TwipsPerUnit(int scaleMode, bool horizontal) {
  switch (scaleMode) {
    case vbTwips:
      return 1.0;
    case vbPoints:
      return 20.0;
    case vbPixels:
      return 15.0;
    case vbCharacters:
      return horizontal ? 120.0 : 240.0;
    case vbInches:
      return 1440.0;
    case vbMillimeters:
      return 1440.0 / 25.4;
    case vbCentimeters:
      return 1440.0 / 2.54;
    case vbHimetric:
      return 1440.0 / 2540.0;
    default:
      return 0.0;
  }
}

namespace {

// Halves go to the even pixel, as the runtime rounds every number.
int Px(double twips) {
  return static_cast<int>(std::nearbyint(twips / 15.0));
}

Qt::CursorShape CursorFor(int pointer) {
  switch (pointer) {
    case vbArrow:
      return Qt::ArrowCursor;
    case vbCrosshair:
      return Qt::CrossCursor;
    case vbIbeam:
      return Qt::IBeamCursor;
    case vbSizePointer:
    case vbSizeAll:
      return Qt::SizeAllCursor;
    case vbSizeNESW:
      return Qt::SizeBDiagCursor;
    case vbSizeNS:
      return Qt::SizeVerCursor;
    case vbSizeNWSE:
      return Qt::SizeFDiagCursor;
    case vbSizeWE:
      return Qt::SizeHorCursor;
    case vbUpArrow:
      return Qt::UpArrowCursor;
    case vbHourglass:
      return Qt::WaitCursor;
    case vbNoDrop:
      return Qt::ForbiddenCursor;
    case vbArrowHourglass:
      return Qt::BusyCursor;
    case vbArrowQuestion:
      return Qt::WhatsThisCursor;
    default:
      return Qt::ArrowCursor;
  }
}

}  // namespace

Control::Control(const ControlSite& site)
    : type_(site.type),
      name_(site.name),
      index_(site.index),
      container_(site.container),
      form_(site.form) {}

Control::~Control() {
  if (container_) container_->RemoveChild(this);
}

float Control::Left() const {
  return static_cast<float>(container_->FromTwipsX(left_));
}
float Control::Top() const {
  return static_cast<float>(container_->FromTwipsY(top_));
}
float Control::Width() const {
  return static_cast<float>(width_ / container_->TwipsPerUnitX());
}
float Control::Height() const {
  return static_cast<float>(height_ / container_->TwipsPerUnitY());
}

void Control::Left(float v) {
  MoveTwips(container_->ToTwipsX(v), top_, width_, height_);
}
void Control::Top(float v) {
  MoveTwips(left_, container_->ToTwipsY(v), width_, height_);
}

void Control::Width(float v) {
  if (v < 0) throw RuntimeError(err::InvalidPropertyValue, "Invalid property value");
  MoveTwips(left_, top_, v * container_->TwipsPerUnitX(), height_);
}

void Control::Height(float v) {
  if (v < 0) throw RuntimeError(err::InvalidPropertyValue, "Invalid property value");
  MoveTwips(left_, top_, width_, v * container_->TwipsPerUnitY());
}

void Control::Move(float left, float top, float width, float height) {
  const double l = container_->ToTwipsX(left);
  const double t = top > -1e29f ? container_->ToTwipsY(top) : top_;
  const double w = width > -1e29f ? width * container_->TwipsPerUnitX() : width_;
  const double h = height > -1e29f ? height * container_->TwipsPerUnitY() : height_;
  MoveTwips(l, t, std::max(0.0, w), std::max(0.0, h));
}

void Control::MoveTwips(double left, double top, double width, double height) {
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  ApplyGeometry();
  if (resized) OnResized();
}

void Control::ApplyGeometry() {
  if (QWidget* w = Widget()) {
    // A form's menu bar lies above its client area, where controls count from.
    const QPoint origin = win::WidgetClientArea(container_->ClientWidget()).topLeft();
    // The size rounds from the control's own width and height, not from its
    // rounded edges: with halves going to the even pixel, a control centred
    // at a half pixel would otherwise lose a pixel of what it was sized for.
    w->setGeometry(Px(left_) + origin.x(), Px(top_) + origin.y(), std::max(0, Px(width_)),
                   std::max(0, Px(height_)));
  }
}

void Control::Visible(bool v) {
  visible_ = v;
  if (QWidget* w = Widget()) w->setVisible(v);
}

void Control::Enabled(bool v) {
  enabled_ = v;
  if (QWidget* w = Widget()) w->setEnabled(v);
}

void Control::ToolTipText(std::string_view v) {
  toolTip_ = v;
  if (QWidget* w = Widget()) w->setToolTip(QString::fromStdString(toolTip_));
}

void Control::MousePointer(int v) {
  mousePointer_ = v;
  ApplyCursor();
}

void Control::MouseIcon(const Picture& v) {
  mouseIcon_ = v;
  ApplyCursor();
}

void Control::ApplyCursor() {
  QWidget* w = Widget();
  if (!w) return;
  if (mousePointer_ == vbDefault) {
    w->unsetCursor();
  } else if (mousePointer_ == vbCustom && mouseIcon_) {
    w->setCursor(QCursor(QPixmap::fromImage(mouseIcon_.Image())));
  } else {
    w->setCursor(CursorFor(mousePointer_));
  }
}

void Control::ZOrder(int position) {
  if (QWidget* w = Widget()) position == 0 ? w->raise() : w->lower();
}

void Control::SetProperty(std::string_view name, const Value& v) {
  if (name == "Left")
    left_ = container_->ToTwipsX(v.ToDouble());
  else if (name == "Top")
    top_ = container_->ToTwipsY(v.ToDouble());
  else if (name == "Width")
    width_ = v.ToDouble() * container_->TwipsPerUnitX();
  else if (name == "Height")
    height_ = v.ToDouble() * container_->TwipsPerUnitY();
  else if (name == "Visible")
    Visible(v.ToBool());
  else if (name == "Enabled")
    Enabled(v.ToBool());
  else if (name == "ToolTipText")
    ToolTipText(v.ToString());
  else if (name == "Tag")
    Tag(v.ToString());
  else if (name == "MousePointer")
    MousePointer(v.ToLong());
  else if (name == "MouseIcon")
    MouseIcon(v.ToPicture());
  else if (name == "TabIndex" || name == "TabStop" || name == "HelpContextID" ||
           name == "WhatsThisHelpID") {
    // Keyboard order and help topics: accepted, nothing depends on them.
  } else {
    throw RuntimeError(err::InvalidPropertyValue, "Control " + name_ + " (" + type_ +
                                                      ") has no property " + std::string(name));
  }
  if (name == "Left" || name == "Top" || name == "Width" || name == "Height") ApplyGeometry();
}

// --- Container ------------------------------------------------------------------

void Container::ScaleMode(int mode) {
  if (mode < vbUser || mode > vbHimetric)
    throw RuntimeError(err::InvalidPropertyValue, "Invalid property value");
  scaleMode_ = mode;
  if (mode != vbUser) {
    scaleLeft_ = scaleTop_ = 0;
    userWidth_ = userHeight_ = 0;
  }
  RelayoutChildren();
}

void Container::ScaleLeft(float v) {
  scaleLeft_ = v;
  if (scaleMode_ != vbUser) {
    userWidth_ = ScaleWidth();
    userHeight_ = ScaleHeight();
    scaleMode_ = vbUser;
  }
}

void Container::ScaleTop(float v) {
  scaleTop_ = v;
  if (scaleMode_ != vbUser) {
    userWidth_ = ScaleWidth();
    userHeight_ = ScaleHeight();
    scaleMode_ = vbUser;
  }
}

int Container::ClientPixelWidth() const {
  return win::WidgetClientArea(ClientWidget()).width();
}

int Container::ClientPixelHeight() const {
  return win::WidgetClientArea(ClientWidget()).height();
}

double Container::TwipsPerUnitX() const {
  if (scaleMode_ != vbUser) return TwipsPerUnit(scaleMode_, true);
  const double clientTwips = ClientPixelWidth() * 15.0;
  return userWidth_ != 0 ? clientTwips / userWidth_ : 1.0;
}

double Container::TwipsPerUnitY() const {
  if (scaleMode_ != vbUser) return TwipsPerUnit(scaleMode_, false);
  const double clientTwips = ClientPixelHeight() * 15.0;
  return userHeight_ != 0 ? clientTwips / userHeight_ : 1.0;
}

float Container::ScaleWidth() const {
  if (scaleMode_ == vbUser) return userWidth_;
  return static_cast<float>(ClientPixelWidth() * 15.0 / TwipsPerUnitX());
}

float Container::ScaleHeight() const {
  if (scaleMode_ == vbUser) return userHeight_;
  return static_cast<float>(ClientPixelHeight() * 15.0 / TwipsPerUnitY());
}

void Container::ScaleWidth(float v) {
  if (scaleMode_ != vbUser) userHeight_ = ScaleHeight();
  userWidth_ = v;
  scaleMode_ = vbUser;
  RelayoutChildren();
}

void Container::ScaleHeight(float v) {
  if (scaleMode_ != vbUser) userWidth_ = ScaleWidth();
  userHeight_ = v;
  scaleMode_ = vbUser;
  RelayoutChildren();
}

float Container::ScaleX(float v, int fromScale, int toScale) const {
  const double from = fromScale == vbUser ? TwipsPerUnitX() : TwipsPerUnit(fromScale, true);
  const double to =
      toScale < 0 || toScale == vbUser ? TwipsPerUnitX() : TwipsPerUnit(toScale, true);
  return static_cast<float>(v * from / to);
}

float Container::ScaleY(float v, int fromScale, int toScale) const {
  const double from = fromScale == vbUser ? TwipsPerUnitY() : TwipsPerUnit(fromScale, false);
  const double to =
      toScale < 0 || toScale == vbUser ? TwipsPerUnitY() : TwipsPerUnit(toScale, false);
  return static_cast<float>(v * from / to);
}

Container::~Container() {
  for (Control* c : children_) c->container_ = nullptr;
}

void Container::RemoveChild(Control* c) {
  std::erase(children_, c);
}

void Container::RelayoutChildren() {
  // Positions live in twips, so a new scale moves nothing on the screen;
  // aligned boxes still follow the container's size.
  for (Control* c : children_) c->Relayout();
}

}  // namespace forms
