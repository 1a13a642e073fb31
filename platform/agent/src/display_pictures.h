#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

class QWidget;
struct xcb_connection_t;

namespace agent {

// Shows a window's pictures from the X display's own memory. Each picture is
// sent to the display once; showing one that was sent is then two small
// requests with no answer to wait for: no painting, no copying of pixels and
// no wait for the display, however often a character moves its mouth.
//
// The pictures are the background of a window of its own inside the shown
// window, which the display redraws by itself. That window takes no input:
// the mouse reaches the shown window as before.
//
// Only on X, and only where the display keeps pixels as the toolkit's
// premultiplied ARGB (or RGB) images hold them; elsewhere Attach() is false
// and the window paints itself.
class DisplayPictures {
 public:
  explicit DisplayPictures(QWidget& window);
  ~DisplayPictures();
  DisplayPictures(const DisplayPictures&) = delete;
  DisplayPictures& operator=(const DisplayPictures&) = delete;

  // Sets up once the window has its native window; false where the pictures
  // cannot be shown this way.
  bool Attach();
  bool Attached() const { return inner_ != 0; }

  // Shows picture `index` of `count`, sending `image` the first time.
  void Show(std::size_t index, std::size_t count, const QImage& image);
  // Shows a picture that is not kept (one step of growing in or out).
  void ShowOnce(const QImage& image);

 private:
  // A pixmap on the display holding the image, or 0.
  std::uint32_t Send(const QImage& image);
  void SetBackground(std::uint32_t pixmap);
  void Release();

  QWidget& window_;
  // The application's connection to the display, once attached: asked of
  // the toolkit once, not at every frame.
  xcb_connection_t* c_ = nullptr;
  bool tried_ = false;
  std::uint8_t depth_ = 0;
  std::uint32_t inner_ = 0;
  std::uint32_t gc_ = 0;
  std::vector<std::uint32_t> pixmaps_;
};

}  // namespace agent
