#include "display_pictures.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QSysInfo>
#include <QWidget>
#include <algorithm>

#include "x_connection.h"

namespace agent {

namespace {

// True when the display keeps a pixel of this depth and visual as four bytes
// of blue, green, red and a last byte (alpha, or unused), in this order in
// memory: then an image's bytes are sent as they are.
bool TakesImageBytesAsTheyAre(xcb_connection_t* c, std::uint8_t depth, xcb_visualid_t visual) {
  if (depth != 24 && depth != 32) return false;
  const xcb_setup_t* setup = xcb_get_setup(c);
  if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST ||
      QSysInfo::ByteOrder != QSysInfo::LittleEndian)
    return false;
  bool format = false;
  for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
    if (f.data->depth == depth) format = f.data->bits_per_pixel == 32 && f.data->scanline_pad == 32;
  if (!format) return false;
  for (auto s = xcb_setup_roots_iterator(setup); s.rem; xcb_screen_next(&s))
    for (auto d = xcb_screen_allowed_depths_iterator(s.data); d.rem; xcb_depth_next(&d)) {
      if (d.data->depth != depth) continue;
      for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v))
        if (v.data->visual_id == visual)
          return v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR && v.data->red_mask == 0xff0000 &&
                 v.data->green_mask == 0xff00 && v.data->blue_mask == 0xff;
    }
  return false;
}

}  // namespace

DisplayPictures::DisplayPictures(QWidget& window) : window_(window) {}

DisplayPictures::~DisplayPictures() {
  Release();
}

void DisplayPictures::Release() {
  // The connection goes with the application.
  xcb_connection_t* c = qGuiApp ? c_ : nullptr;
  if (!c) return;
  // The inner window goes with the shown one.
  for (const std::uint32_t p : pixmaps_)
    if (p) xcb_free_pixmap(c, p);
  pixmaps_.clear();
  if (gc_) xcb_free_gc(c, gc_);
  gc_ = 0;
  xcb_flush(c);
}

bool DisplayPictures::Attach() {
  if (tried_) return Attached();
  tried_ = true;
  xcb_connection_t* c = XConnection();
  if (!c || !window_.isWindow()) return false;
  c_ = c;
  const auto outer = static_cast<xcb_window_t>(window_.winId());
  // Both asked at once: one wait for the display, once in the window's life.
  const auto geometryCookie = xcb_get_geometry(c, outer);
  const auto attributesCookie = xcb_get_window_attributes(c, outer);
  const XReply<xcb_get_geometry_reply_t> geometry(
      xcb_get_geometry_reply(c, geometryCookie, nullptr));
  const XReply<xcb_get_window_attributes_reply_t> attributes(
      xcb_get_window_attributes_reply(c, attributesCookie, nullptr));
  if (!geometry || !attributes || !TakesImageBytesAsTheyAre(c, geometry->depth, attributes->visual))
    return false;
  depth_ = geometry->depth;
  // Of the shown window's depth and visual, and selecting no input, so that
  // the pointer's presses and moves go on to the shown window.
  inner_ = xcb_generate_id(c);
  xcb_create_window(c, XCB_COPY_FROM_PARENT, inner_, outer, 0, 0,
                    static_cast<std::uint16_t>(std::max(1, window_.width())),
                    static_cast<std::uint16_t>(std::max(1, window_.height())), 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
  xcb_map_window(c, inner_);
  xcb_flush(c);
  return true;
}

std::uint32_t DisplayPictures::Send(const QImage& picture) {
  xcb_connection_t* c = c_;
  if (!inner_) return 0;
  QImage image = picture.isNull() ? QImage(window_.size(), QImage::Format_ARGB32_Premultiplied)
                                  : picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (picture.isNull()) image.fill(Qt::transparent);
  const auto w = static_cast<std::uint16_t>(image.width());
  const auto h = static_cast<std::uint16_t>(image.height());
  const std::uint32_t pixmap = xcb_generate_id(c);
  xcb_create_pixmap(c, depth_, pixmap, inner_, w, h);
  if (!gc_) {
    gc_ = xcb_generate_id(c);
    xcb_create_gc(c, gc_, pixmap, 0, nullptr);
  }
  // In bands that each fit in one request.
  const auto line = static_cast<std::size_t>(image.bytesPerLine());
  const std::size_t most = static_cast<std::size_t>(xcb_get_maximum_request_length(c)) * 4 - 64;
  const int band = static_cast<int>(std::max<std::size_t>(1, most / line));
  for (int y = 0; y < h; y += band) {
    const int rows = std::min(band, h - y);
    xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc_, w, static_cast<std::uint16_t>(rows), 0,
                  static_cast<std::int16_t>(y), 0, depth_,
                  static_cast<std::uint32_t>(line * static_cast<std::size_t>(rows)),
                  image.constScanLine(y));
  }
  return pixmap;
}

void DisplayPictures::SetBackground(std::uint32_t pixmap) {
  xcb_connection_t* c = c_;
  if (!inner_ || !pixmap) return;
  xcb_change_window_attributes(c, inner_, XCB_CW_BACK_PIXMAP, &pixmap);
  xcb_clear_area(c, 0, inner_, 0, 0, 0, 0);
  xcb_flush(c);
}

void DisplayPictures::Show(std::size_t index, std::size_t count, const QImage& image) {
  if (!inner_) return;
  if (pixmaps_.size() < count) pixmaps_.resize(count, 0);
  if (index >= pixmaps_.size()) return;
  if (!pixmaps_[index]) pixmaps_[index] = Send(image);
  SetBackground(pixmaps_[index]);
}

void DisplayPictures::ShowOnce(const QImage& image) {
  xcb_connection_t* c = c_;
  const std::uint32_t pixmap = Send(image);
  if (!pixmap) return;
  SetBackground(pixmap);
  // The window keeps its background for as long as it needs it.
  xcb_free_pixmap(c, pixmap);
  xcb_flush(c);
}

}  // namespace agent
