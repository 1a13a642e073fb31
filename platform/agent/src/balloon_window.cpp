#include "balloon_window.h"

#include <QGuiApplication>
#include <QHideEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QShowEvent>
#include <QTextDocument>
#include <cmath>
#include <vector>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include "x_connection.h"

namespace agent {

namespace {

constexpr int kTextWidth = 240;
constexpr int kPadding = 10;
constexpr int kTail = 16;
constexpr int kPageChars = 180;
const QColor kFill(255, 255, 225);

QString DocumentHtml(const QString& said, const QString& rest) {
  return "<div style='white-space:pre-wrap'><span style='color:#000000'>" + said.toHtmlEscaped() +
         "</span><span style='color:#8c8c8c'>" + rest.toHtmlEscaped() + "</span></div>";
}

QSize DocumentSize(const QString& text, const QFont& font) {
  // Measured as it is painted, and rounded up: a width cut to the last
  // fraction of a pixel would break a short line in two.
  QTextDocument doc;
  doc.setDefaultFont(font);
  doc.setDocumentMargin(0);
  doc.setHtml(DocumentHtml(text.isEmpty() ? QStringLiteral(" ") : text, QString()));
  doc.setTextWidth(kTextWidth);
  const qreal width = std::min<qreal>(kTextWidth, std::ceil(doc.idealWidth()) + 2);
  doc.setTextWidth(width);
  return QSize(static_cast<int>(width), static_cast<int>(std::ceil(doc.size().height())));
}

}  // namespace

QSize BalloonWindow::LargestSize(const QFont& font) {
  const QSize text = DocumentSize(QStringLiteral("WWWW ").repeated(kPageChars / 5), font);
  return {kTextWidth + 2 * kPadding + 2, text.height() + 2 * kPadding + kTail + 2};
}

BalloonWindow::BalloonWindow()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus) {
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowTitle("Speech balloon");
  QFont f = font();
  f.setPointSize(11);
  setFont(f);
}

void BalloonWindow::SetText(const QString& text) {
  text_ = text;
  spokenEnd_ = 0;
  pageStart_ = 0;
  Relayout();
}

void BalloonWindow::SetSpoken(int spokenEnd) {
  const int end = std::clamp(spokenEnd, 0, static_cast<int>(text_.size()));
  if (end == spokenEnd_) return;
  spokenEnd_ = end;
  if (spokenEnd_ > pageEnd_ && pageEnd_ < text_.size()) {
    pageStart_ = pageEnd_;
    Relayout();
  }
  // Only the text changes colour (with a margin for a glyph that reaches past
  // its line): the outline around it is not drawn again and, with its many
  // edges, not sent to the display again.
  update(TextArea().adjusted(-3, -3, 3, 3));
}

QRect BalloonWindow::TextArea() const {
  return {kPadding + 1, kPadding + 1 + (tailUp_ ? kTail : 0), width() - 2 * kPadding - 2,
          height() - 2 * kPadding - kTail - 2};
}

void BalloonWindow::Relayout() {
  // A page ends at a blank near kPageChars characters.
  pageEnd_ = static_cast<int>(text_.size());
  if (pageEnd_ - pageStart_ > kPageChars) {
    const int blank = text_.lastIndexOf(' ', pageStart_ + kPageChars);
    pageEnd_ = blank > pageStart_ ? blank + 1 : pageStart_ + kPageChars;
  }
  const QSize text = DocumentSize(PageText(), font());
  resize(text.width() + 2 * kPadding + 2, text.height() + 2 * kPadding + kTail + 2);
  if (character_.isValid()) Place(character_);
  update();
}

QString BalloonWindow::PageText() const {
  return text_.mid(pageStart_, pageEnd_ - pageStart_);
}

void BalloonWindow::Place(const QRect& character) {
  character_ = character;
  QScreen* screen = QGuiApplication::screenAt(character.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
  int x = character.center().x() - width() / 2;
  x = std::clamp(x, area.left(), std::max(area.left(), area.right() - width()));
  int y = character.top() - height() + 6;
  tailUp_ = y < area.top();
  if (tailUp_) y = character.bottom() - 6;
  move(x, y);
  tailX_ = std::clamp(character.center().x() - x, kTail + 6, width() - kTail - 6);
  Reshape();
  update();
}

void BalloonWindow::Reshape() {
  // A concealed balloon takes its shape when it is revealed.
  if (concealed_) return;
  // Without a compositing manager only the mask makes the window's shape;
  // the same mask again would only cost the display a new shape.
  const QRegion shape(Outline().toFillPolygon().toPolygon());
  if (shape != mask()) setMask(shape);
}

void BalloonWindow::Reveal() {
  if (!concealed_ || !isVisible()) {
    concealed_ = false;
    show();
    raise();
    taskListHints_.Confirm(*this);
    return;
  }
  concealed_ = false;
  // The new page first, while the balloon has no shape: it then appears
  // with its own text, not for a moment with the last one.
  repaint();
  const QRegion shape(Outline().toFillPolygon().toPolygon());
  setMask(shape);
  // The toolkit may take the shape for the one it gave before the balloon
  // was concealed, and not send it.
  SendShape(shape);
  raise();
}

void BalloonWindow::Conceal() {
  if (!isVisible() || concealed_) return;
  if (!SendShape(QRegion())) {
    hide();
    return;
  }
  concealed_ = true;
}

bool BalloonWindow::SendShape(const QRegion& shape) {
  xcb_connection_t* c = XConnection();
  if (!c) return false;
  const xcb_query_extension_reply_t* shapes = xcb_get_extension_data(c, &xcb_shape_id);
  if (!shapes || !shapes->present) return false;
  std::vector<xcb_rectangle_t> rects;
  for (const QRect& r : shape)
    rects.push_back({static_cast<std::int16_t>(r.x()), static_cast<std::int16_t>(r.y()),
                     static_cast<std::uint16_t>(r.width()),
                     static_cast<std::uint16_t>(r.height())});
  // The bounding shape also bounds where the window takes the pointer.
  xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_UNSORTED,
                       static_cast<xcb_window_t>(winId()), 0, 0,
                       static_cast<std::uint32_t>(rects.size()), rects.data());
  xcb_flush(c);
  return true;
}

const QPainterPath& BalloonWindow::Outline() {
  // Made anew only when the size or the tail changed: a repaint for the next
  // spoken word draws the same outline.
  const OutlineKey key{size(), tailUp_, tailX_};
  if (key != outlineKey_) {
    outline_ = MakeOutline();
    outlineKey_ = key;
  }
  return outline_;
}

QPainterPath BalloonWindow::MakeOutline() const {
  const QRectF body(0.5, tailUp_ ? kTail + 0.5 : 0.5, width() - 1.0, height() - kTail - 1.0);
  QPainterPath path;
  path.addRoundedRect(body, 9, 9);
  QPainterPath tail;
  if (tailUp_) {
    tail.moveTo(tailX_ - 8, body.top() + 1);
    tail.lineTo(tailX_, 0.5);
    tail.lineTo(tailX_ + 8, body.top() + 1);
  } else {
    tail.moveTo(tailX_ - 8, body.bottom() - 1);
    tail.lineTo(tailX_, height() - 0.5);
    tail.lineTo(tailX_ + 8, body.bottom() - 1);
  }
  tail.closeSubpath();
  return path.united(tail);
}

void BalloonWindow::resizeEvent(QResizeEvent*) {
  Reshape();
}

void BalloonWindow::hideEvent(QHideEvent* e) {
  // Hidden for good while concealed: it gets its shape back now, as the
  // toolkit does not send it again when it maps the window.
  if (e->spontaneous() || !concealed_) return;
  concealed_ = false;
  SendShape(mask().isEmpty() ? QRegion(rect()) : mask());
}

void BalloonWindow::showEvent(QShowEvent* e) {
  // Before the window is mapped: a window manager reads the hints then.
  if (!e->spontaneous()) taskListHints_.Apply(*this);
}

void BalloonWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(kFill);
  p.drawPath(Outline());

  const QString page = PageText();
  const int said = std::clamp(spokenEnd_ - pageStart_, 0, static_cast<int>(page.size()));
  const QRect area = TextArea();
  QTextDocument& doc = Document(page, said, area.width());
  p.translate(area.topLeft());
  doc.drawContents(&p);
}

QTextDocument& BalloonWindow::Document(const QString& page, int said, int width) {
  if (page == documentPage_ && said == documentSaid_ && width == documentWidth_) return document_;
  documentPage_ = page;
  documentSaid_ = said;
  documentWidth_ = width;
  document_.setDefaultFont(font());
  document_.setDocumentMargin(0);
  document_.setHtml(DocumentHtml(page.left(said), page.mid(said)));
  document_.setTextWidth(width);
  return document_;
}

}  // namespace agent
