#include "pending_platform_calls.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cmath>
#include <cstring>
#include <thread>

extern char** environ;

namespace ornatek::pending {

HRESULT OleTranslateColor(OLE_COLOR colour, win::HPALETTE, win::COLORREF* out) {
  win::COLORREF rgb = 0;
  switch (colour >> 24) {
    case 0x00:
    case 0x02:
      rgb = colour & 0xFFFFFF;
      break;
    case 0x80: {
      const OLE_COLOR index = colour & 0xFFFFFF;
      if (index > 30) return E_INVALIDARG;
      rgb = win::GetSysColor(static_cast<int>(index));
      break;
    }
    default:
      return E_INVALIDARG;
  }
  if (out) *out = rgb;
  return S_OK;
}

namespace {

long PixelsToHimetric(long pixels) {
  return std::lround(static_cast<double>(pixels) * 2540.0 / 96.0);
}

win::SIZE BitmapSize(win::HBITMAP bitmap) {
  win::BITMAP bm;
  if (!bitmap || !win::GetObjectA(bitmap, sizeof bm, &bm)) return {};
  return {bm.bmWidth, bm.bmHeight};
}

}  // namespace

StdPicture::StdPicture(const PICTDESC& desc, bool own) : desc_(desc), own_(own) {
  win::SIZE size;
  if (desc.picType == PICTYPE_BITMAP) {
    size = BitmapSize(desc.hbitmap);
  } else if (desc.picType == PICTYPE_ICON) {
    win::ICONINFO info;
    if (win::GetIconInfo(desc.hicon, &info)) {
      size = info.hbmColor ? BitmapSize(info.hbmColor) : BitmapSize(info.hbmMask);
      // A mask without colour holds the AND and the XOR halves one above the other.
      if (!info.hbmColor) size.cy /= 2;
      if (info.hbmColor) win::DeleteObject(info.hbmColor);
      if (info.hbmMask) win::DeleteObject(info.hbmMask);
    }
  }
  width_ = PixelsToHimetric(size.cx);
  height_ = PixelsToHimetric(size.cy);
}

StdPicture::~StdPicture() {
  if (!own_) return;
  switch (desc_.picType) {
    case PICTYPE_BITMAP:
      if (desc_.hbitmap) win::DeleteObject(desc_.hbitmap);
      break;
    case PICTYPE_ICON:
      if (desc_.hicon) win::DestroyIcon(desc_.hicon);
      break;
    case PICTYPE_ENHMETAFILE:
      if (desc_.hemf) win::DeleteEnhMetaFile(desc_.hemf);
      break;
    default:
      break;
  }
}

std::uintptr_t StdPicture::Handle() const {
  switch (desc_.picType) {
    case PICTYPE_BITMAP:
      return desc_.hbitmap.value;
    case PICTYPE_ICON:
      return desc_.hicon.value;
    case PICTYPE_ENHMETAFILE:
      return desc_.hemf.value;
    default:
      return 0;
  }
}

Picture OleCreatePictureIndirect(const PICTDESC& desc, bool own) {
  if (desc.cbSizeofstruct < 8) return nullptr;
  return std::make_shared<StdPicture>(desc, own);
}

void StdFont::SetSize(double points) {
  Size = std::nearbyint(points * 10000.0) / 10000.0;
}

namespace {

// The faces the suite's dialogs were designed with; the layer substitutes the
// installed metric-compatible face.
win::LOGFONTA SystemFace() {
  win::LOGFONTA lf;
  lf.lfHeight = -11;
  lf.lfWeight = win::FW_NORMAL;
  lf.lfCharSet = win::DEFAULT_CHARSET;
  std::strncpy(lf.lfFaceName, "Tahoma", win::LF_FACESIZE - 1);
  return lf;
}

}  // namespace

win::BOOL SystemParametersInfoA(win::UINT action, win::UINT param, void* data, win::UINT) {
  if (!data) return win::FALSE;
  if (action == SPI_GETICONTITLELOGFONT) {
    if (param != sizeof(win::LOGFONTA)) return win::FALSE;
    const win::LOGFONTA lf = SystemFace();
    std::memcpy(data, &lf, sizeof lf);
    return win::TRUE;
  }
  if (action == SPI_GETNONCLIENTMETRICS) {
    auto* m = static_cast<NONCLIENTMETRICSA*>(data);
    if (param != sizeof(NONCLIENTMETRICSA) || m->cbSize != sizeof(NONCLIENTMETRICSA))
      return win::FALSE;
    NONCLIENTMETRICSA filled;
    filled.iBorderWidth = 1;
    filled.iScrollWidth = filled.iScrollHeight = win::GetSystemMetrics(win::SM_CXVSCROLL);
    filled.iCaptionWidth = filled.iCaptionHeight = win::GetSystemMetrics(win::SM_CYCAPTION);
    filled.iSmCaptionWidth = filled.iSmCaptionHeight = win::GetSystemMetrics(win::SM_CYSMCAPTION);
    filled.iMenuWidth = filled.iMenuHeight = win::GetSystemMetrics(win::SM_CYMENU);
    filled.lfCaptionFont = SystemFace();
    filled.lfCaptionFont.lfWeight = win::FW_BOLD;
    filled.lfSmCaptionFont = filled.lfCaptionFont;
    filled.lfMenuFont = SystemFace();
    filled.lfStatusFont = SystemFace();
    filled.lfMessageFont = SystemFace();
    *m = filled;
    return win::TRUE;
  }
  return win::FALSE;
}

win::HMENU GetSystemMenu(win::HWND, win::BOOL) {
  return win::HMENU();
}

namespace {

void OpenWithDesktop(const ShellRequest& request) {
  if (request.file.empty()) return;
  const char* argv[] = {"xdg-open", request.file.c_str(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char* const*>(argv), environ) !=
      0)
    return;
  // Reap the opener when it is done, so that no zombie is left behind.
  std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
}

thread_local ShellLauncher t_launcher;

}  // namespace

void SetShellLauncher(ShellLauncher launcher) {
  t_launcher = std::move(launcher);
}

std::intptr_t ShellExecuteA(win::HWND owner, const char* verb, const char* file,
                            const char* parameters, const char* directory, int show) {
  ShellRequest r{owner,
                 verb ? verb : "",
                 file ? file : "",
                 parameters ? parameters : "",
                 directory ? directory : "",
                 show};
  if (r.file.empty()) return 2;  // the platform's "file not found"
  if (t_launcher)
    t_launcher(r);
  else
    OpenWithDesktop(r);
  return 42;  // above 32: success, as the platform reports it
}

}  // namespace ornatek::pending
