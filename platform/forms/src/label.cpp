#include "forms/label.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QStaticText>
#include <QTextOption>
#include <algorithm>
#include <optional>

#include "light_widget.h"
#include "win/menu.h"

namespace forms {

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
    forms::Font font;
    int width = -1;
    int alignment = 0;
    bool autoSize = false;
    bool wordWrap = false;
    bool border = false;
    bool mnemonic = false;
    bool operator==(const Key&) const = default;
  } key;
  QFont font;            // the font as the display draws it
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
  Layout::Key key{caption_,  font_,     r.width(),         alignment_,
                  autoSize_, wordWrap_, borderStyle_ != 0, useMnemonic_};
  if (!layout_ || !(layout_->key == key)) {
    auto fresh = std::make_unique<Layout>();
    fresh->key = std::move(key);
    fresh->font = font_.ToQFont();
    const QFont& font = fresh->font;
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
  p.setFont(layout_->font);
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

}  // namespace forms
