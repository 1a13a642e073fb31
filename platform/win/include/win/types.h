#pragma once

// The basic types of the window system: handles, geometry, colours and the
// message parameter types. Handles are opaque numbers looked up in tables, so
// a stale or foreign handle makes a call fail instead of crashing.

#include <cstddef>
#include <cstdint>
#include <functional>

namespace win {

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using BOOL = int;
using ATOM = WORD;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LONG_PTR = std::intptr_t;
using COLORREF = DWORD;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

template <class Tag>
struct Handle {
  std::uintptr_t value = 0;
  constexpr Handle() = default;
  constexpr Handle(std::nullptr_t) {}
  constexpr explicit Handle(std::uintptr_t v) : value(v) {}
  constexpr explicit operator bool() const { return value != 0; }
  friend constexpr bool operator==(Handle, Handle) = default;
};

struct WindowTag;
struct DcTag;
struct GdiTag;
struct MenuTag;
struct HookTag;
struct InstanceTag;
struct CursorTag;
struct IconTag;

using HWND = Handle<WindowTag>;
using HDC = Handle<DcTag>;
using HMENU = Handle<MenuTag>;
using HHOOK = Handle<HookTag>;
using HINSTANCE = Handle<InstanceTag>;
using HMODULE = HINSTANCE;
using HCURSOR = Handle<CursorTag>;
using HICON = Handle<IconTag>;

// Every drawing object converts to HGDIOBJ; the reverse takes an explicit cast,
// as SelectObject's result is cast back to what the caller knows it is.
using HGDIOBJ = Handle<GdiTag>;
template <class Kind>
struct GdiHandle : HGDIOBJ {
  constexpr GdiHandle() = default;
  constexpr GdiHandle(std::nullptr_t) {}
  constexpr explicit GdiHandle(std::uintptr_t v) : HGDIOBJ(v) {}
  constexpr explicit GdiHandle(HGDIOBJ h) : HGDIOBJ(h) {}
  friend constexpr bool operator==(GdiHandle, GdiHandle) = default;
};
struct BitmapKind;
struct BrushKind;
struct PenKind;
struct FontKind;
struct RegionKind;
struct PaletteKind;
using HBITMAP = GdiHandle<BitmapKind>;
using HBRUSH = GdiHandle<BrushKind>;
using HPEN = GdiHandle<PenKind>;
using HFONT = GdiHandle<FontKind>;
using HRGN = GdiHandle<RegionKind>;
using HPALETTE = GdiHandle<PaletteKind>;

struct POINT {
  LONG x = 0;
  LONG y = 0;
  friend constexpr bool operator==(const POINT&, const POINT&) = default;
};

struct SIZE {
  LONG cx = 0;
  LONG cy = 0;
  friend constexpr bool operator==(const SIZE&, const SIZE&) = default;
};

struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
  friend constexpr bool operator==(const RECT&, const RECT&) = default;
};

constexpr COLORREF RGB(int r, int g, int b) {
  return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF c) {
  return static_cast<BYTE>(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c) {
  return static_cast<BYTE>((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c) {
  return static_cast<BYTE>((c >> 16) & 0xFF);
}
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

constexpr WORD LOWORD(std::uintptr_t v) {
  return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t v) {
  return static_cast<WORD>((v >> 16) & 0xFFFF);
}
constexpr LPARAM MAKELPARAM(int lo, int hi) {
  return static_cast<LPARAM>(static_cast<DWORD>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}
// Signed coordinates packed in an LPARAM (mouse messages).
constexpr int GET_X_LPARAM(LPARAM lp) {
  return static_cast<std::int16_t>(lp & 0xFFFF);
}
constexpr int GET_Y_LPARAM(LPARAM lp) {
  return static_cast<std::int16_t>((lp >> 16) & 0xFFFF);
}

}  // namespace win

template <class Tag>
struct std::hash<win::Handle<Tag>> {
  std::size_t operator()(win::Handle<Tag> h) const noexcept {
    return std::hash<std::uintptr_t>()(h.value);
  }
};
