#include "forms/picture.h"

#include <QFile>
#include <QImageReader>
#include <cmath>

#include "base/ascii_case.h"
#include "forms/errors.h"
#include "shell/folders.h"
#include "win/gdi.h"
#include "win/qt_bridge.h"

namespace forms {

struct Picture::Data {
  QImage image;
  Kind kind = Kind::Bitmap;
  mutable std::uintptr_t handle = 0;
  // False for a handle lent by the caller, which the picture must not free.
  bool own = true;
  win::HPALETTE palette;
  // An icon made from a picture with transparent pixels: its platform
  // handle has a plain mask, each pixel drawn or left, so that drawing it
  // onto a key colour leaves no half-tinted rim.
  bool maskOnly = false;
  // A metafile has no pixels of its own; its size is the frame it was
  // recorded with, in HIMETRIC.
  long frameWidth = 0;
  long frameHeight = 0;

  ~Data() {
    if (!handle || !own) return;
    if (kind == Kind::Icon)
      win::DestroyIcon(win::HICON(handle));
    else if (kind == Kind::EnhMetafile)
      win::DeleteEnhMetaFile(win::HENHMETAFILE(handle));
    else
      win::DeleteObject(win::HBITMAP(handle));
  }
};

Picture Picture::FromImage(QImage image, Kind kind) {
  Picture p;
  if (image.isNull() || kind == Kind::None) return p;
  p.d_ = std::make_shared<Data>();
  p.d_->image = image.convertToFormat(QImage::Format_ARGB32);
  p.d_->kind = kind;
  return p;
}

namespace {

bool HasClearPixels(const QImage& image) {
  if (!image.hasAlphaChannel()) return false;
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < argb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < argb.width(); ++x)
      if (qAlpha(line[x]) < 255) return true;
  }
  return false;
}

// Each pixel wholly drawn or wholly clear, split where the platform's
// icons split them.
QImage MaskOnly(QImage image) {
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      line[x] = qAlpha(line[x]) < 128 ? 0u : (0xFF000000u | line[x]);
  }
  return image;
}

}  // namespace

Picture Picture::FromFileImage(QImage image, bool iconFile) {
  const bool masked = !iconFile && HasClearPixels(image);
  Picture p = FromImage(std::move(image), iconFile || masked ? Kind::Icon : Kind::Bitmap);
  if (p) p.d_->maskOnly = masked;
  return p;
}

Picture Picture::FromHandle(Kind kind, std::uintptr_t handle, bool own, win::HPALETTE palette) {
  Picture p;
  QImage image;
  win::ENHMETAHEADER header;
  switch (kind) {
    case Kind::Bitmap:
      image = win::ToQImage(win::HBITMAP(handle));
      break;
    case Kind::Icon:
      image = win::ToQImage(win::HICON(handle));
      break;
    case Kind::EnhMetafile:
      if (!win::GetEnhMetaFileHeader(win::HENHMETAFILE(handle), sizeof header, &header)) return p;
      break;
    case Kind::None:
      return p;
  }
  if (kind != Kind::EnhMetafile && image.isNull()) return p;
  p.d_ = std::make_shared<Data>();
  p.d_->image = image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32);
  p.d_->kind = kind;
  p.d_->handle = handle;
  p.d_->own = own;
  p.d_->palette = palette;
  if (kind == Kind::EnhMetafile) {
    p.d_->frameWidth = header.rclFrame.right - header.rclFrame.left;
    p.d_->frameHeight = header.rclFrame.bottom - header.rclFrame.top;
  }
  return p;
}

win::HPALETTE Picture::hPal() const {
  return d_ ? d_->palette : win::HPALETTE();
}

Picture::Kind Picture::Type() const {
  return d_ ? d_->kind : Kind::None;
}

namespace {
long Himetric(int pixels) {
  return std::lround(pixels * 2540.0 / 96.0);
}
}  // namespace

long Picture::Width() const {
  if (!d_) return 0;
  return d_->kind == Kind::EnhMetafile ? d_->frameWidth : Himetric(d_->image.width());
}
long Picture::Height() const {
  if (!d_) return 0;
  return d_->kind == Kind::EnhMetafile ? d_->frameHeight : Himetric(d_->image.height());
}
int Picture::PixelWidth() const {
  return d_ ? d_->image.width() : 0;
}
int Picture::PixelHeight() const {
  return d_ ? d_->image.height() : 0;
}

std::uintptr_t Picture::Handle() const {
  if (!d_) return 0;
  if (!d_->handle && d_->kind != Kind::EnhMetafile) {
    d_->handle = d_->kind != Kind::Icon ? win::BitmapFromQImage(d_->image).value
                 : d_->maskOnly         ? win::IconFromQImage(MaskOnly(d_->image)).value
                                        : win::IconFromQImage(d_->image).value;
  }
  return d_->handle;
}

win::HBITMAP Picture::Bitmap() const {
  return Type() == Kind::Bitmap ? win::HBITMAP(Handle()) : win::HBITMAP();
}

win::HICON Picture::Icon() const {
  return Type() == Kind::Icon ? win::HICON(Handle()) : win::HICON();
}

const QImage& Picture::Image() const {
  static const QImage none;
  return d_ ? d_->image : none;
}

namespace {

// The formats Qt reads itself, known by their first bytes. Naming the format
// spares asking every installed image plugin whether it knows the content,
// which loads each plugin with its libraries before the first window shows.
QByteArray BuiltInFormat(QIODevice& device) {
  const QByteArray head = device.peek(8);
  if (head.startsWith("\x89PNG\r\n\x1a\n")) return "png";
  if (head.startsWith("BM")) return "bmp";
  return {};
}

}  // namespace

Picture LoadPicture(std::string_view file) {
  if (file.empty()) return {};
  const std::string name(file);
  const QString path = name.starts_with(":/")
                           ? QString::fromStdString(name)
                           : QString::fromStdString(shell::NativePath(name).string());
  if (!QFile::exists(path)) throw RuntimeError(err::FileNotFound, "File not found: '" + name + "'");
  QFile source(path);
  if (!source.open(QIODevice::ReadOnly))
    throw RuntimeError(err::FileNotFound, "File not found: '" + name + "'");
  QByteArray format;
  QImage image = ReadPicture(source, &format);
  if (image.isNull()) throw RuntimeError(err::InvalidPicture, "Invalid picture: '" + name + "'");
  const bool icon = base::EqualsIgnoreAsciiCase(format.toStdString(), "ico") ||
                    base::EndsWithIgnoreAsciiCase(path.toStdString(), ".ico");
  return Picture::FromFileImage(std::move(image), icon);
}

QImage ReadPicture(QIODevice& source, QByteArray* format) {
  const QByteArray builtIn = BuiltInFormat(source);
  QImageReader reader(&source, builtIn);
  if (builtIn.isEmpty())
    reader.setDecideFormatFromContent(true);  // by its content, whatever its name says
  else
    reader.setAutoDetectImageFormat(false);  // else Qt still asks every plugin
  QImage image = reader.read();
  if (format) *format = reader.format();
  return image;
}

}  // namespace forms
