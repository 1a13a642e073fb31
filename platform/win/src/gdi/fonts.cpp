#include "gdi/fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "base/ascii_case.h"
#include "win/qt_bridge.h"

namespace win {
namespace {

struct Substitute {
  std::string_view windowsFace;
  const char* face;
};

// The suite's Windows face names and the installed faces that stand in for them.
constexpr Substitute kSubstitutes[] = {
    {"MS Sans Serif", "Liberation Sans"},
    {"Microsoft Sans Serif", "Liberation Sans"},
    {"MS Shell Dlg", "Liberation Sans"},
    {"MS Shell Dlg 2", "Liberation Sans"},
    {"Tahoma", "Liberation Sans"},
    {"Arial", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"Helv", "Liberation Sans"},
    {"Verdana", "DejaVu Sans"},
    {"Trebuchet MS", "Liberation Sans"},
    {"Segoe UI", "Liberation Sans"},
    {"System", "Liberation Sans"},
    {"Small Fonts", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Times", "Liberation Serif"},
    {"MS Serif", "Liberation Serif"},
    {"Georgia", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},
    {"Lucida Console", "Liberation Mono"},
    {"Fixedsys", "Liberation Mono"},
    {"Terminal", "Liberation Mono"},
    {"Consolas", "Liberation Mono"},
    // SimSun writes Latin letters at half the em, all alike, as the mono
    // face does; text laid out for it (columns at tab stops) then fits.
    {"SimSun", "Noto Sans Mono CJK SC"},
    {"NSimSun", "Noto Sans Mono CJK SC"},
    {"\xE5\xAE\x8B\xE4\xBD\x93", "Noto Sans Mono CJK SC"},              // SimSun
    {"\xE6\x96\xB0\xE5\xAE\x8B\xE4\xBD\x93", "Noto Sans Mono CJK SC"},  // NSimSun
    {"SimHei", "Noto Sans CJK SC"},
    {"\xE9\xBB\x91\xE4\xBD\x93", "Noto Sans CJK SC"},  // SimHei
    {"Microsoft YaHei", "Noto Sans CJK SC"},
    {"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91", "Noto Sans CJK SC"},  // YaHei
    {"MingLiU", "Noto Sans CJK TC"},
    {"PMingLiU", "Noto Sans CJK TC"},
    {"MS Gothic", "Noto Sans CJK JP"},
    {"MS PGothic", "Noto Sans CJK JP"},
    {"MS Mincho", "Noto Sans CJK JP"},
    {"Marlett", "DejaVu Sans"},
    {"Wingdings", "DejaVu Sans"},
    {"Symbol", "DejaVu Sans"},
};

const Substitute* FindSubstitute(std::string_view face) {
  for (const Substitute& s : kSubstitutes)
    if (base::EqualsIgnoreAsciiCase(s.windowsFace, face)) return &s;
  return nullptr;
}

bool IsCjkCharset(BYTE charset) {
  return charset == GB2312_CHARSET || charset == CHINESEBIG5_CHARSET ||
         charset == SHIFTJIS_CHARSET || charset == HANGUL_CHARSET;
}

std::string FaceField(const LOGFONTA& lf) {
  return std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
}

QString FamilyFor(const LOGFONTA& lf) {
  const std::string face = FaceField(lf);
  if (IsCjkCharset(lf.lfCharSet)) {
    const Substitute* s = FindSubstitute(face);
    if (!s || std::string_view(s->face).find("CJK") == std::string_view::npos)
      return lf.lfCharSet == CHINESEBIG5_CHARSET ? "Noto Sans CJK TC" : "Noto Sans CJK SC";
  }
  if (face.empty()) {
    const int family = lf.lfPitchAndFamily & 0xF0;
    if (family == FF_ROMAN) return "Liberation Serif";
    if (family == FF_MODERN || (lf.lfPitchAndFamily & 0x03) == FIXED_PITCH)
      return "Liberation Mono";
    return "Liberation Sans";
  }
  return SubstituteFace(face);
}

}  // namespace

QString SubstituteFace(std::string_view windowsFace) {
  if (const Substitute* s = FindSubstitute(windowsFace)) return QString::fromUtf8(s->face);
  return QString::fromUtf8(windowsFace.data(), static_cast<qsizetype>(windowsFace.size()));
}

QFont ToQFont(const LOGFONTA& lf) {
  QFont font(FamilyFor(lf));
  font.setKerning(false);
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setWeight(
      static_cast<QFont::Weight>(std::clamp<int>(lf.lfWeight ? lf.lfWeight : 400, 1, 1000)));
  font.setItalic(lf.lfItalic != 0);
  font.setUnderline(lf.lfUnderline != 0);
  font.setStrikeOut(lf.lfStrikeOut != 0);
  if (lf.lfQuality == NONANTIALIASED_QUALITY) font.setStyleStrategy(QFont::NoAntialias);
  int em;
  if (lf.lfHeight < 0) {
    em = -lf.lfHeight;
  } else if (lf.lfHeight > 0) {
    // A positive height is the cell (ascent + descent); find the em that gives it.
    QFont probe = font;
    probe.setPixelSize(1000);
    const QFontMetricsF m(probe);
    const double cell = m.ascent() + m.descent();
    em = cell > 0 ? static_cast<int>(std::lround(lf.lfHeight * 1000.0 / cell)) : lf.lfHeight;
  } else {
    em = 12;
  }
  font.setPixelSize(std::max(em, 1));
  return font;
}

}  // namespace win

namespace win::detail {

namespace {
TEXTMETRICA MetricsOf(const LOGFONTA& lf, const QFont& font, const QFontMetricsF& m) {
  TEXTMETRICA tm;
  tm.tmAscent = static_cast<LONG>(std::lround(m.ascent()));
  tm.tmDescent = static_cast<LONG>(std::lround(m.descent()));
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - font.pixelSize());
  tm.tmExternalLeading = std::max<LONG>(0, static_cast<LONG>(std::lround(m.leading())));
  tm.tmAveCharWidth = static_cast<LONG>(std::lround(m.averageCharWidth()));
  if (tm.tmAveCharWidth <= 0)
    tm.tmAveCharWidth = static_cast<LONG>(std::lround(m.horizontalAdvance('x')));
  tm.tmMaxCharWidth = static_cast<LONG>(std::lround(m.maxWidth()));
  tm.tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
  tm.tmOverhang = 0;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = lf.lfItalic ? 1 : 0;
  tm.tmUnderlined = lf.lfUnderline ? 1 : 0;
  tm.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
  const bool fixed = QFontInfo(font).fixedPitch();
  // The low bit set means a variable pitch; outline faces are vector and TrueType-like.
  tm.tmPitchAndFamily =
      static_cast<BYTE>((fixed ? 0 : 0x01) | 0x02 | 0x04 | (fixed ? FF_MODERN : FF_SWISS));
  tm.tmCharSet = lf.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : lf.lfCharSet;
  return tm;
}
}  // namespace

std::shared_ptr<const FontFace> FaceOf(HFONT handle) {
  // Faces come from Qt's font database, which lives with the GUI application.
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return nullptr;
  FontObject* f = Find<FontObject>(handle);
  if (!f) f = Find<FontObject>(HFONT(Stock(SYSTEM_FONT)));
  if (!f->face) {
    auto face = std::make_shared<FontFace>(ToQFont(f->logical));
    face->tm = MetricsOf(f->logical, face->font, face->metrics);
    const std::string requested = FaceField(f->logical);
    face->faceName =
        !requested.empty() && (FindSubstitute(requested) ||
                               QFontDatabase::hasFamily(QString::fromStdString(requested)))
            ? requested
            : QFontInfo(face->font).family().toStdString();
    f->face = std::move(face);
  }
  return f->face;
}

QString DecodeText(const char* text, int length, std::vector<int>* byteLengths) {
  if (!text) return QString();
  const std::size_t n = length < 0 ? std::strlen(text) : static_cast<std::size_t>(length);
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString s = decoder(QByteArrayView(text, static_cast<qsizetype>(n)));
  const bool utf8 = !decoder.hasError();
  if (!utf8) s = QString::fromLatin1(text, static_cast<qsizetype>(n));
  if (byteLengths) {
    byteLengths->clear();
    for (qsizetype i = 0; i < s.size(); ++i) {
      if (!utf8) {
        byteLengths->push_back(1);
        continue;
      }
      const char16_t u = s.at(i).unicode();
      if (QChar::isHighSurrogate(u) && i + 1 < s.size()) {
        byteLengths->push_back(4);
        byteLengths->push_back(0);
        ++i;
      } else {
        byteLengths->push_back(u < 0x80 ? 1 : (u < 0x800 ? 2 : 3));
      }
    }
  }
  return s;
}

}  // namespace win::detail
