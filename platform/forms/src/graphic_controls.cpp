#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStaticText>
#include <QTextOption>
#include <cmath>
#include <optional>

#include "forms/app.h"
#include "forms/controls.h"
#include "light_widget.h"
#include "win/menu.h"

namespace forms {

int ButtonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton:
      return 1;
    case Qt::RightButton:
      return 2;
    case Qt::MiddleButton:
      return 4;
    default:
      return 0;
  }
}

int ButtonsOf(Qt::MouseButtons b) {
  return ((b & Qt::LeftButton) ? 1 : 0) | ((b & Qt::RightButton) ? 2 : 0) |
         ((b & Qt::MiddleButton) ? 4 : 0);
}

int ShiftOf(Qt::KeyboardModifiers m) {
  return ((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) |
         ((m & Qt::AltModifier) ? 4 : 0);
}

QColor ToQColor(unsigned oleColour) {
  const win::COLORREF c = TranslateColor(oleColour);
  return QColor(win::GetRValue(c), win::GetGValue(c), win::GetBValue(c));
}

LightWidget::LightWidget(GraphicControl& control, QWidget* parent)
    : QWidget(parent), control_(&control) {
  setMouseTracking(true);
}

void LightWidget::paintEvent(QPaintEvent*) {
  if (!control_) return;
  QPainter p(this);
  control_->PaintOn(p);
}

void LightWidget::mousePressEvent(QMouseEvent* e) {
  if (!control_) return;
  const int b = ButtonOf(e->button());
  pressed_ |= b;
  afterDouble_ = false;
  control_->PointerDown(b, ShiftOf(e->modifiers()), e->position());
}

void LightWidget::mouseMoveEvent(QMouseEvent* e) {
  if (control_)
    control_->PointerMove(ButtonsOf(e->buttons()), ShiftOf(e->modifiers()), e->position());
}

void LightWidget::mouseReleaseEvent(QMouseEvent* e) {
  if (!control_) return;
  const int b = ButtonOf(e->button());
  const bool wasPressed = pressed_ & b;
  pressed_ &= ~b;
  control_->PointerUp(b, ShiftOf(e->modifiers()), e->position());
  // The handler may have ended the control.
  if (!control_) return;
  if (b == 1 && wasPressed && !afterDouble_ && rect().contains(e->position().toPoint()))
    control_->PointerClick();
  if (b == 1) afterDouble_ = false;
}

void LightWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  if (!control_) return;
  const int b = ButtonOf(e->button());
  pressed_ |= b;
  if (b == 1) {
    afterDouble_ = true;
    control_->PointerDblClick();
  } else {
    control_->PointerDown(b, ShiftOf(e->modifiers()), e->position());
  }
}

// --- GraphicControl ------------------------------------------------------------

GraphicControl::GraphicControl(const ControlSite& site) : Control(site) {
  auto w = std::make_unique<LightWidget>(*this, site.container->ClientWidget());
  widget_ = w.release();  // the container's widget owns it
  widget_->show();
  ApplyGeometry();
}

GraphicControl::~GraphicControl() {
  if (!widget_) return;
  widget_->Detach();
  widget_->hide();
  widget_->deleteLater();
}

QWidget* GraphicControl::Widget() const {
  return widget_;
}

float GraphicControl::UnitsX(double px) const {
  return static_cast<float>(px * 15.0 / GetContainer().TwipsPerUnitX());
}
float GraphicControl::UnitsY(double px) const {
  return static_cast<float>(px * 15.0 / GetContainer().TwipsPerUnitY());
}

void GraphicControl::PointerDown(int button, int shift, QPointF px) {
  float x = UnitsX(px.x()), y = UnitsY(px.y());
  MouseDown(button, shift, x, y);
}

void GraphicControl::PointerMove(int buttons, int shift, QPointF px) {
  float x = UnitsX(px.x()), y = UnitsY(px.y());
  MouseMove(buttons, shift, x, y);
}

void GraphicControl::PointerUp(int button, int shift, QPointF px) {
  float x = UnitsX(px.x()), y = UnitsY(px.y());
  MouseUp(button, shift, x, y);
}

// --- Label -----------------------------------------------------------------------

Label::Label(const ControlSite& site) : GraphicControl(site) {}

Label::~Label() = default;

std::string Label::DisplayText() const {
  return useMnemonic_ ? win::TextWithoutMarkers(caption_) : caption_;
}

void Label::Caption(std::string_view text) {
  if (caption_ == text) return;
  caption_ = text;
  Fit();
  widget_->update();
  Change();
}

void Label::Alignment(int a) {
  alignment_ = a;
  widget_->update();
}

void Label::AutoSize(bool on) {
  autoSize_ = on;
  Fit();
}

void Label::WordWrap(bool on) {
  wordWrap_ = on;
  Fit();
  widget_->update();
}

void Label::BackStyle(int s) {
  backStyle_ = s;
  widget_->update();
}

void Label::BackColor(win::COLORREF c) {
  backColor_ = c;
  widget_->update();
}

void Label::ForeColor(win::COLORREF c) {
  foreColor_ = c;
  widget_->update();
}

void Label::BorderStyle(int s) {
  borderStyle_ = s;
  widget_->update();
}

void Label::Font(const forms::Font& f) {
  font_ = f;
  Fit();
  widget_->update();
}

void Label::UseMnemonic(bool on) {
  useMnemonic_ = on;
  Fit();
  widget_->update();
}

void Label::OnResized() {
  if (autoSize_ && wordWrap_) Fit();
}

bool Label::LineFits(const QString& text) const {
  // Measured in whole pixels, as a label that sizes itself to one line is:
  // given that width back, a wrapping label keeps the line in one piece.
  const int border = borderStyle_ ? 2 : 0;
  return !text.contains('\n') &&
         QFontMetrics(font_.ToQFont()).horizontalAdvance(text) <= widget_->width() - border;
}

bool Label::FitsOnOneLine(std::string_view text) const {
  return LineFits(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void Label::Fit() {
  if (!autoSize_) return;
  const QFontMetrics fm(font_.ToQFont());
  const QString text = QString::fromStdString(DisplayText());
  QSize size;
  if (wordWrap_ && LineFits(text)) {
    const QRect r = fm.boundingRect(QRect(0, 0, 100000, 100000), 0, text);
    size = QSize(widget_->width(), std::max(r.height(), fm.height()));
  } else if (wordWrap_) {
    const QRect r = fm.boundingRect(QRect(0, 0, widget_->width(), 100000), Qt::TextWordWrap, text);
    size = QSize(widget_->width(), r.height());
  } else {
    const QRect r = fm.boundingRect(QRect(0, 0, 100000, 100000), 0, text);
    size = QSize(fm.horizontalAdvance(text), std::max(r.height(), fm.height()));
  }
  const int border = borderStyle_ ? 2 : 0;
  MoveTwips(LeftTwips(), TopTwips(), (size.width() + border) * 15.0,
            (size.height() + border) * 15.0);
}

// What painting the caption needs that only the caption, the font, the
// width and the label's text options change: a label repainted because
// something moved over it, or beside it, lays out no text.
struct Label::Layout {
  struct Key {
    std::string caption;
    QFont font;
    int width = -1;
    int alignment = 0;
    bool autoSize = false;
    bool wordWrap = false;
    bool border = false;
    bool mnemonic = false;
    bool operator==(const Key&) const = default;
  } key;
  bool oneLine = false;  // a wrapping label that sizes itself keeps one line
  // The caption laid out on one line, when it is drawn so: left-aligned, no
  // access key, no line break or tab, and not wider than the label.
  std::optional<QStaticText> line;
};

void Label::PaintOn(QPainter& p) {
  const QRect r = widget_->rect();
  if (backStyle_ == 1) p.fillRect(r, ToQColor(backColor_));
  if (borderStyle_) {
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(0, 0, -1, -1));
  }
  const QRect area = r.adjusted(borderStyle_ ? 1 : 0, borderStyle_ ? 1 : 0, 0, 0);
  const QFont font = font_.ToQFont();
  Layout::Key key{caption_,  font,      r.width(),         alignment_,
                  autoSize_, wordWrap_, borderStyle_ != 0, useMnemonic_};
  if (!layout_ || !(layout_->key == key)) {
    auto fresh = std::make_unique<Layout>();
    fresh->key = std::move(key);
    fresh->oneLine = autoSize_ && wordWrap_ && LineFits(QString::fromStdString(DisplayText()));
    const bool wraps = (wordWrap_ || !autoSize_) && !fresh->oneLine;
    if (alignment_ == 0 &&
        caption_.find_first_of(useMnemonic_ ? "&\n\r\t" : "\n\r\t") == std::string::npos) {
      QStaticText line(QString::fromStdString(caption_));
      line.setTextFormat(Qt::PlainText);
      QTextOption option;
      option.setWrapMode(QTextOption::NoWrap);
      line.setTextOption(option);
      line.prepare(QTransform(), font);
      if (!wraps || line.size().width() <= area.width()) fresh->line = std::move(line);
    }
    layout_ = std::move(fresh);
  }
  p.setFont(font);
  p.setPen(Enabled() ? ToQColor(foreColor_) : QColor(128, 128, 128));
  if (layout_->line) {
    // As the text is drawn into a rectangle: cut at its edges.
    p.save();
    p.setClipRect(area, Qt::IntersectClip);
    p.drawStaticText(area.topLeft(), *layout_->line);
    p.restore();
    return;
  }
  int flags = alignment_ == 1 ? Qt::AlignRight : alignment_ == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
  flags |= Qt::AlignTop;
  if ((wordWrap_ || !autoSize_) && !layout_->oneLine) flags |= Qt::TextWordWrap;
  if (useMnemonic_) flags |= Qt::TextShowMnemonic;
  // A label keeps leading blanks: they scroll text in.
  p.drawText(area, flags, QString::fromStdString(caption_));
}

void Label::SetProperty(std::string_view name, const Value& v) {
  if (name == "Caption")
    Caption(v.ToString());
  else if (name == "Alignment")
    Alignment(v.ToLong());
  else if (name == "AutoSize")
    AutoSize(v.ToBool());
  else if (name == "WordWrap")
    WordWrap(v.ToBool());
  else if (name == "BackStyle")
    BackStyle(v.ToLong());
  else if (name == "BackColor")
    BackColor(static_cast<win::COLORREF>(v.ToDouble()));
  else if (name == "ForeColor")
    ForeColor(static_cast<win::COLORREF>(v.ToDouble()));
  else if (name == "BorderStyle")
    BorderStyle(v.ToLong());
  else if (name == "Font")
    Font(v.ToFont());
  else if (name == "UseMnemonic")
    UseMnemonic(v.ToBool());
  else if (name == "DataSource")
    dataSource_ = v.ToString();
  else if (name == "DataField")
    dataField_ = v.ToString();
  else
    GraphicControl::SetProperty(name, v);
}

// --- Image -----------------------------------------------------------------------

Image::Image(const ControlSite& site) : GraphicControl(site) {}

void Image::Picture(const forms::Picture& p) {
  picture_ = p;
  Fit();
  widget_->update();
}

void Image::Stretch(bool on) {
  stretch_ = on;
  Fit();
  widget_->update();
}

void Image::BorderStyle(int s) {
  borderStyle_ = s;
  widget_->update();
}

void Image::Fit() {
  // Without stretching, the image takes the size of its picture.
  if (stretch_ || !picture_) return;
  MoveTwips(LeftTwips(), TopTwips(), picture_.PixelWidth() * 15.0, picture_.PixelHeight() * 15.0);
}

void Image::PaintOn(QPainter& p) {
  if (picture_) {
    if (stretch_)
      p.drawImage(widget_->rect(), picture_.Image());
    else
      p.drawImage(0, 0, picture_.Image());
  }
  if (borderStyle_) {
    p.setPen(Qt::black);
    p.drawRect(widget_->rect().adjusted(0, 0, -1, -1));
  }
}

void Image::SetProperty(std::string_view name, const Value& v) {
  if (name == "Picture")
    Picture(v.ToPicture());
  else if (name == "Stretch")
    Stretch(v.ToBool());
  else if (name == "BorderStyle")
    BorderStyle(v.ToLong());
  else
    GraphicControl::SetProperty(name, v);
}

// --- Shape -----------------------------------------------------------------------

Shape::Shape(const ControlSite& site) : GraphicControl(site) {
  widget_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::ShapeKind(int s) {
  shape_ = s;
  widget_->update();
}
void Shape::BackColor(win::COLORREF c) {
  backColor_ = c;
  widget_->update();
}
void Shape::BackStyle(int s) {
  backStyle_ = s;
  widget_->update();
}
void Shape::BorderColor(win::COLORREF c) {
  borderColor_ = c;
  widget_->update();
}
void Shape::BorderStyle(int s) {
  borderStyle_ = s;
  widget_->update();
}
void Shape::BorderWidth(int w) {
  borderWidth_ = std::max(1, w);
  widget_->update();
}
void Shape::FillColor(win::COLORREF c) {
  fillColor_ = c;
  widget_->update();
}
void Shape::FillStyle(int s) {
  fillStyle_ = s;
  widget_->update();
}

void Shape::PaintOn(QPainter& p) {
  QRectF r = widget_->rect();
  if (shape_ == 1 || shape_ == 3 || shape_ == 5) {
    const double side = std::min(r.width(), r.height());
    r = QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
  }
  const double inset = borderWidth_ / 2.0;
  const QRectF inner = r.adjusted(inset, inset, -inset, -inset);
  auto draw = [&](const QBrush& brush, const QPen& pen) {
    p.setBrush(brush);
    p.setPen(pen);
    if (shape_ == 2 || shape_ == 3)
      p.drawEllipse(inner);
    else if (shape_ == 4 || shape_ == 5)
      p.drawRoundedRect(inner, inner.width() / 10, inner.height() / 10);
    else
      p.drawRect(inner);
  };
  if (backStyle_ == 1) draw(ToQColor(backColor_), Qt::NoPen);
  if (fillStyle_ == 0) draw(ToQColor(fillColor_), Qt::NoPen);
  const QRect whole = widget_->rect();
  if (shape_ == 0 && borderStyle_ == 1 && borderWidth_ == 1 && whole.width() >= 2 &&
      whole.height() >= 2 && !p.deviceTransform().isScaling()) {
    // The same pixels as the outline a pen draws, filled as four edges: a
    // border around a whole form is drawn again for every label repainted
    // beneath it, and filling only what the repaint shows costs far less
    // than drawing the line along the whole border.
    const QColor c = ToQColor(borderColor_);
    const int w = whole.width(), h = whole.height();
    p.fillRect(QRect(0, 0, w, 1), c);
    p.fillRect(QRect(0, h - 1, w, 1), c);
    p.fillRect(QRect(0, 0, 1, h), c);
    p.fillRect(QRect(w - 1, 0, 1, h), c);
    return;
  }
  if (borderStyle_ != 0) {
    QPen pen(ToQColor(borderColor_), borderWidth_);
    if (borderStyle_ == 2)
      pen.setStyle(Qt::DashLine);
    else if (borderStyle_ == 3)
      pen.setStyle(Qt::DotLine);
    draw(Qt::NoBrush, pen);
  }
}

void Shape::SetProperty(std::string_view name, const Value& v) {
  if (name == "Shape")
    ShapeKind(v.ToLong());
  else if (name == "BackColor")
    BackColor(static_cast<win::COLORREF>(v.ToDouble()));
  else if (name == "BackStyle")
    BackStyle(v.ToLong());
  else if (name == "BorderColor")
    BorderColor(static_cast<win::COLORREF>(v.ToDouble()));
  else if (name == "BorderStyle")
    BorderStyle(v.ToLong());
  else if (name == "BorderWidth")
    BorderWidth(v.ToLong());
  else if (name == "FillColor")
    FillColor(static_cast<win::COLORREF>(v.ToDouble()));
  else if (name == "FillStyle")
    FillStyle(v.ToLong());
  else
    GraphicControl::SetProperty(name, v);
}

}  // namespace forms
