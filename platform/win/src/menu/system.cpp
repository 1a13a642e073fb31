// The layer's version and system parameters.

#include <cstring>

#include "win/system.h"
#include "win/window.h"

namespace win {

namespace {

LOGFONTA Font(const char* face, LONG height, LONG weight) {
  LOGFONTA lf;
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

}  // namespace

BOOL GetVersionExA(OSVERSIONINFOA* info) {
  if (!info || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA)) return FALSE;
  info->dwMajorVersion = LAYER_VERSION_MAJOR;
  info->dwMinorVersion = LAYER_VERSION_MINOR;
  info->dwBuildNumber = 2600;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
  return TRUE;
}

LOGFONTA MenuLogFont() {
  return Font("Liberation Sans", -12, FW_NORMAL);
}

BOOL SystemParametersInfoA(UINT action, UINT, void* data, UINT) {
  if (!data) return FALSE;
  switch (action) {
    case SPI_GETNONCLIENTMETRICS: {
      auto* m = static_cast<NONCLIENTMETRICSA*>(data);
      if (m->cbSize != sizeof(NONCLIENTMETRICSA)) return FALSE;
      m->iBorderWidth = 1;
      m->iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
      m->iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
      m->iCaptionWidth = GetSystemMetrics(SM_CYCAPTION) - 1;
      m->iCaptionHeight = GetSystemMetrics(SM_CYCAPTION) - 1;
      m->lfCaptionFont = Font("Liberation Sans", -12, FW_BOLD);
      m->iSmCaptionWidth = 12;
      m->iSmCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION) - 1;
      m->lfSmCaptionFont = Font("Liberation Sans", -12, FW_BOLD);
      m->iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
      m->iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
      m->lfMenuFont = MenuLogFont();
      m->lfStatusFont = MenuLogFont();
      m->lfMessageFont = MenuLogFont();
      return TRUE;
    }
    case SPI_GETICONTITLELOGFONT:
      *static_cast<LOGFONTA*>(data) = MenuLogFont();
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace win
