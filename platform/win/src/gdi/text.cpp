// Text output and measuring. Glyphs are rasterised by Qt into a coverage
// mask and blended into the buffer through the DC's clipping.

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "gdi/canvas.h"
#include "gdi/fonts.h"
#include "gdi/layer_calls.h"
#include "win/gdi.h"

namespace win::detail {
namespace {

double Advance(const FontFace& face, const QString& s) {
  if (s.isEmpty()) return 0;
  return face.metrics.horizontalAdvance(s);
}

int Extent(const FontFace& face, const QString& s) {
  return static_cast<int>(std::lround(Advance(face, s)));
}

// Draws pieces of text whose cells start at target x positions on the row
// whose cell top is `top`; `clip` (target coordinates) limits the pixels.
struct Piece {
  QString text;
  double x;
};

void Render(const Canvas& c, const FontFace& face, const std::vector<Piece>& pieces, int top,
            const QRect& clip, COLORREF colour) {
  if (pieces.empty()) return;
  double left = pieces.front().x, right = left;
  for (const Piece& p : pieces) {
    left = std::min(left, p.x);
    right = std::max(right, p.x + Advance(face, p.text));
  }
  const int pad = face.font.pixelSize() / 2 + 2;
  const int originX = static_cast<int>(std::floor(left)) - pad;
  const int originY = top - pad;
  const int width = static_cast<int>(std::ceil(right)) - originX + pad;
  const int height = face.tm.tmHeight + 2 * pad;
  // Only the visible part is rasterised, at its place on the pixel grid.
  const QRect area = QRect(originX, originY, width, height) & clip & c.clipBounds();
  if (area.isEmpty()) return;
  QImage mask(area.size(), QImage::Format_ARGB32_Premultiplied);
  mask.fill(0);
  {
    QPainter painter(&mask);
    painter.setFont(face.font);
    painter.setPen(QColor(255, 255, 255));
    for (const Piece& p : pieces)
      painter.drawText(QPointF(p.x - area.left(), top + face.tm.tmAscent - area.top()), p.text);
  }
  const std::uint32_t ink = c.domain(colour);
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y - area.top()));
    for (int x = area.left(); x <= area.right(); ++x) {
      const int a = qAlpha(line[x - area.left()]);
      if (a == 0 || !c.visible(x, y)) continue;
      if (c.mono()) {
        if (a >= 128) c.write(x, y, ink);
        continue;
      }
      if (a == 255) {
        c.write(x, y, ink);
        continue;
      }
      const std::uint32_t d = c.read(x, y);
      auto mix = [&](int ch) {
        const int s = static_cast<int>((ink >> ch) & 0xFF), t = static_cast<int>((d >> ch) & 0xFF);
        return (s * a + t * (255 - a) + 127) / 255;
      };
      c.write(x, y, MakeRgb(mix(16), mix(8), mix(0)));
    }
  }
}

void FillCell(const Canvas& c, const QRect& cell, const QRect& clip, COLORREF colour) {
  c.fillRect(cell & clip, Pattern::Solid(c.domain(colour)), 0xF0);
}

const QRect kNoClip(-(1 << 28), -(1 << 28), 1 << 29, 1 << 29);

}  // namespace
}  // namespace win::detail

namespace win {
using namespace detail;

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length,
                 const int* dx) {
  auto c = Canvas::Of(hdc);
  if (!c) return FALSE;
  DcState& s = c->dc().state;
  auto face = FaceOf(s.font);
  if (!face) return FALSE;
  std::vector<int> bytes;
  const QString str = text ? DecodeText(text, static_cast<int>(length), &bytes) : QString();
  // Positions of the pieces: one piece, or one a character when spacing is given.
  std::vector<Piece> pieces;
  double width = 0;
  if (dx && !str.isEmpty()) {
    std::size_t di = 0;
    for (qsizetype i = 0; i < str.size(); ++i) {
      const int n = bytes[static_cast<std::size_t>(i)];
      if (n == 0) continue;
      const qsizetype len =
          (i + 1 < str.size() && bytes[static_cast<std::size_t>(i + 1)] == 0) ? 2 : 1;
      pieces.push_back(Piece{str.mid(i, len), width});
      for (int k = 0; k < n && di < length; ++k) width += dx[di++];
    }
  } else if (!str.isEmpty()) {
    width = Advance(*face, str);
    pieces.push_back(Piece{str, 0});
  }
  // Text starts at its point's top left.
  const int w = static_cast<int>(std::lround(width));
  const int left = x, top = y;
  QRect clip = kNoClip;
  QRect box;
  if (rect) {
    box = QRect(c->toTarget(rect->left, rect->top),
                QSize(rect->right - rect->left, rect->bottom - rect->top));
    if (options & ETO_CLIPPED) clip = box;
    if (options & ETO_OPAQUE) FillCell(*c, box, kNoClip, s.bkColour);
  }
  if (pieces.empty()) return TRUE;
  const QPoint cellTopLeft = c->toTarget(left, top);
  if (s.bkMode == OPAQUE)
    FillCell(*c, QRect(cellTopLeft, QSize(w, face->tm.tmHeight)), clip, s.bkColour);
  for (Piece& p : pieces) p.x += cellTopLeft.x();
  Render(*c, *face, pieces, cellTopLeft.y(), clip, s.textColour);
  return TRUE;
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int length) {
  if (length < 0) return FALSE;
  return ExtTextOutA(hdc, x, y, 0, nullptr, text, static_cast<UINT>(length), nullptr);
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int length, SIZE* size) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc || !size || length < 0 || (!text && length > 0)) return FALSE;
  auto face = FaceOf(dc->state.font);
  if (!face) return FALSE;
  const QString s = DecodeText(text, length);
  *size = SIZE{Extent(*face, s), face->tm.tmHeight};
  return TRUE;
}

BOOL GetTextExtentPointA(HDC hdc, LPCSTR text, int length, SIZE* size) {
  return GetTextExtentPoint32A(hdc, text, length, size);
}

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* metrics) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc || !metrics) return FALSE;
  auto face = FaceOf(dc->state.font);
  if (!face) return FALSE;
  *metrics = face->tm;
  return TRUE;
}

int GetTextFaceA(HDC hdc, int size, LPSTR face) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return 0;
  auto matched = FaceOf(dc->state.font);
  if (!matched) return 0;
  const std::string& name = matched->faceName;
  if (!face) return static_cast<int>(name.size()) + 1;
  if (size <= 0) return 0;
  const std::size_t n = std::min(name.size(), static_cast<std::size_t>(size - 1));
  std::memcpy(face, name.data(), n);
  face[n] = '\0';
  return static_cast<int>(n) + 1;
}

// ---- DrawText ---------------------------------------------------------------

namespace {

struct Line {
  QString text;
  std::vector<bool> underline;  // one flag a character
  int bytes = 0;
};

struct Layout {
  const FontFace& face;
  double tabWidth;

  // Width of a line, tabs moving to the next stop.
  double width(const QString& s) const {
    double pos = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= s.size(); ++i) {
      if (i == s.size() || s.at(i) == '\t') {
        pos += Advance(face, s.mid(start, i - start));
        if (i < s.size()) pos = (std::floor(pos / tabWidth) + 1) * tabWidth;
        start = i + 1;
      }
    }
    return pos;
  }
  // Start of each character, for underlines and tab-separated pieces.
  double offset(const QString& s, qsizetype index) const { return width(s.left(index)); }
};

// Removes the access-key marks: "&&" shows "&", "&x" shows an underlined x.
Line StripPrefixes(const QString& s, bool process) {
  Line line;
  for (qsizetype i = 0; i < s.size(); ++i) {
    if (process && s.at(i) == '&') {
      if (i + 1 < s.size() && s.at(i + 1) == '&') {
        line.text += '&';
        line.underline.push_back(false);
        ++i;
        continue;
      }
      if (i + 1 < s.size()) {
        line.text += s.at(i + 1);
        line.underline.push_back(true);
        ++i;
      }
      continue;
    }
    line.text += s.at(i);
    line.underline.push_back(false);
  }
  return line;
}

Line Slice(const Line& l, qsizetype from, qsizetype count) {
  Line out;
  out.text = l.text.mid(from, count);
  const auto b = l.underline.begin() + std::min<qsizetype>(from, l.underline.size());
  const auto e = l.underline.begin() + std::min<qsizetype>(from + count, l.underline.size());
  out.underline.assign(b, e);
  return out;
}

// Breaks a line into lines no wider than `limit` at spaces; a word wider
// than the limit stays whole on its own line.
std::vector<Line> WrapLine(const Line& line, const Layout& layout, double limit) {
  std::vector<Line> out;
  const QString& t = line.text;
  qsizetype start = 0;
  while (start < t.size()) {
    qsizetype lastBreak = -1, i = start;
    qsizetype end = t.size();
    for (; i < t.size(); ++i) {
      if (t.at(i) == ' ' || t.at(i) == '\t') lastBreak = i;
      if (layout.width(t.mid(start, i - start + 1)) > limit && i > start) {
        end = lastBreak > start ? lastBreak : -1;
        break;
      }
    }
    if (i == t.size()) {
      out.push_back(Slice(line, start, t.size() - start));
      break;
    }
    if (end < 0) {
      // No space before the limit: the word runs on to its end.
      qsizetype j = i;
      while (j < t.size() && t.at(j) != ' ') ++j;
      end = j;
    }
    out.push_back(Slice(line, start, end - start));
    start = end;
    while (start < t.size() && t.at(start) == ' ') ++start;
  }
  if (out.empty()) out.push_back(Line{});
  return out;
}

void Ellipsize(Line& line, const Layout& layout, double limit) {
  if (layout.width(line.text) <= limit) return;
  const QString dots = QStringLiteral("...");
  qsizetype n = line.text.size();
  while (n > 0 && layout.width(line.text.left(n) + dots) > limit) --n;
  if (n > 0 && line.text.at(n - 1).isHighSurrogate()) --n;
  line = Slice(line, 0, n);
  line.text += dots;
  line.underline.resize(static_cast<std::size_t>(line.text.size()), false);
}

}  // namespace

int DrawTextExA(HDC hdc, LPSTR text, int length, RECT* rect, UINT format, DRAWTEXTPARAMS* params) {
  auto c = Canvas::Of(hdc);
  DeviceContext* dc = FindDc(hdc);
  if (!dc || !rect || (!text && length != 0)) return 0;
  if (params && params->cbSize != sizeof(DRAWTEXTPARAMS)) return 0;
  DcState& s = dc->state;
  auto face = FaceOf(s.font);
  if (!face) return 0;
  int tabChars = 8;
  if (format & DT_TABSTOP) {
    // The tab length takes the place of the flags in bits 8 to 15.
    tabChars = static_cast<int>((format >> 8) & 0xFF);
    format &= ~0xFF00u;
  }
  if (params && params->iTabLength > 0) tabChars = params->iTabLength;
  const Layout layout{*face,
                      std::max(1.0, static_cast<double>(tabChars) * face->tm.tmAveCharWidth)};
  const QString all = text ? DecodeText(text, length) : QString();
  const int leftMargin = params ? params->iLeftMargin : 0;
  const int rightMargin = params ? params->iRightMargin : 0;
  const double limit = std::max(0, (rect->right - rect->left) - leftMargin - rightMargin);
  const bool prefixes = !(format & DT_NOPREFIX);
  const bool single = format & DT_SINGLELINE;

  // Lines: split at line ends unless single-line, then wrapped at words.
  std::vector<Line> lines;
  QStringList parts;
  if (single) {
    QString flat = all;
    flat.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    flat.replace('\n', ' ');
    flat.replace('\r', ' ');
    parts << flat;
  } else {
    QString norm = all;
    norm.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    norm.replace('\r', '\n');
    parts = norm.split('\n');
  }
  for (const QString& part : parts) {
    QString p = part;
    if (!(format & DT_EXPANDTABS)) p.replace('\t', ' ');
    const Line stripped = StripPrefixes(p, prefixes);
    if ((format & DT_WORDBREAK) && !single) {
      for (Line& l : WrapLine(stripped, layout, limit)) lines.push_back(std::move(l));
    } else {
      lines.push_back(stripped);
    }
  }
  if (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS))
    for (Line& l : lines) Ellipsize(l, layout, limit);

  const int lineHeight =
      face->tm.tmHeight + ((format & DT_EXTERNALLEADING) ? face->tm.tmExternalLeading : 0);
  const int textHeight = lineHeight * static_cast<int>(lines.size());
  int widest = 0;
  for (const Line& l : lines)
    widest = std::max(widest, static_cast<int>(std::lround(layout.width(l.text))));
  if (params)
    params->uiLengthDrawn = text ? static_cast<UINT>(length < 0 ? std::strlen(text) : length) : 0;

  if (format & DT_CALCRECT) {
    rect->right = rect->left + widest + leftMargin + rightMargin;
    rect->bottom = rect->top + textHeight;
    return textHeight;
  }
  int y = rect->top;
  if (single && (format & DT_VCENTER))
    y = rect->top + ((rect->bottom - rect->top) - textHeight) / 2;
  if (single && (format & DT_BOTTOM)) y = rect->bottom - textHeight;
  const int result =
      (single && (format & (DT_VCENTER | DT_BOTTOM))) ? y - rect->top + textHeight : textHeight;
  if (!c) return result;
  const QRect clip = (format & DT_NOCLIP)
                         ? kNoClip
                         : QRect(c->toTarget(rect->left, rect->top),
                                 QSize(rect->right - rect->left, rect->bottom - rect->top));
  const bool showUnderline = prefixes && !(format & DT_HIDEPREFIX);
  const bool onlyUnderline = prefixes && (format & DT_PREFIXONLY);
  for (const Line& l : lines) {
    const double w = layout.width(l.text);
    double x = rect->left + leftMargin;
    if (format & DT_CENTER)
      x = rect->left + leftMargin + (limit - w) / 2;
    else if (format & DT_RIGHT)
      x = rect->right - rightMargin - w;
    const int lx = static_cast<int>(std::lround(x));
    const QPoint origin = c->toTarget(lx, y);
    // Tab-separated pieces, each placed at its own stop.
    std::vector<Piece> pieces;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= l.text.size(); ++i) {
      if (i == l.text.size() || l.text.at(i) == '\t') {
        if (i > start)
          pieces.push_back(
              Piece{l.text.mid(start, i - start), origin.x() + layout.offset(l.text, start)});
        start = i + 1;
      }
    }
    if (s.bkMode == OPAQUE && !onlyUnderline)
      FillCell(*c, QRect(origin, QSize(static_cast<int>(std::lround(w)), lineHeight)), clip,
               s.bkColour);
    if (!onlyUnderline) Render(*c, *face, pieces, origin.y(), clip, s.textColour);
    if (showUnderline || onlyUnderline) {
      for (std::size_t i = 0; i < l.underline.size(); ++i) {
        if (!l.underline[i]) continue;
        const auto k = static_cast<qsizetype>(i);
        const int x0 = origin.x() + static_cast<int>(std::lround(layout.offset(l.text, k)));
        const int x1 = origin.x() + static_cast<int>(std::lround(layout.offset(l.text, k + 1)));
        const int uy = origin.y() + face->tm.tmAscent + 1;
        const QRect bar(x0, uy, std::max(1, x1 - x0), 1);
        c->fillRect(bar & clip, Pattern::Solid(c->domain(s.textColour)), 0xF0);
      }
    }
    y += lineHeight;
  }
  return result;
}

int DrawTextA(HDC hdc, LPCSTR text, int length, RECT* rect, UINT format) {
  return DrawTextExA(hdc, const_cast<LPSTR>(text), length, rect, format, nullptr);
}

}  // namespace win
