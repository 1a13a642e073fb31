#pragma once

// What a host program sees of the menu control "Ornatek.VIroDazu": its
// identity and the members a host calls. The control lives in Ornatek.ocx;
// a host loads it by its program id (com::UseRegisteredClass) and reaches
// these members by dynamic_cast of the control its form made.

#include <cstdint>
#include <memory>
#include <string>

#include "forms/menu.h"
#include "forms/picture.h"
#include "forms/std_font.h"
#include "win/types.h"

namespace ornatek {

inline constexpr const char* kVIroDazuProgId = "Ornatek.VIroDazu";
inline constexpr const char* kVIroDazuClassId = "{114792DF-6E9F-4DA9-A8C1-AB9A0FFA1FFF}";
inline constexpr const char* kVIroDazuInterfaceId = "{F19395DB-E882-4A33-BF78-5280BD092BA3}";
inline constexpr const char* kOrnatekLibraryId = "{74238AF8-8108-44A9-B3DE-D652F61AB8DC}";
inline constexpr const char* kOrnatekLibraryFile = "Ornatek.ocx";
inline constexpr std::uint32_t kDefaultMaskColor = 0xFF00FF;

// The members of the control's default interface, with their dispatch ids.
enum class VIroDazuDispId : std::int32_t {
  About = -552,
  SelectDisabled = 0x68030014,
  BitmapSize = 0x68030013,
  UseSystemFont = 0x68030012,
  Font = 0x68030011,
  Init = 0x60030015,
  SetBitmap = 0x60030016,
  SetBitmapByCaption = 0x60030017,
};

class __attribute__((visibility("default"))) IVIroDazu {
 public:
  virtual ~IVIroDazu() = default;
  virtual void About() = 0;
  virtual bool SelectDisabled() const = 0;
  virtual void SelectDisabled(bool on) = 0;
  // Shared by every menu control of the thread.
  virtual int BitmapSize() const = 0;
  virtual void BitmapSize(int pixels) = 0;
  virtual bool UseSystemFont() const = 0;
  virtual void UseSystemFont(bool on) = 0;
  // The control's one font object; setting copies into it.
  virtual std::shared_ptr<forms::StdFont> Font() const = 0;
  virtual void Font(const forms::StdFont& font) = 0;
  virtual void Init(win::HWND& hwnd) = 0;
  // An empty picture removes the item's picture.
  virtual void SetBitmap(const forms::Menu& menu, const forms::Picture& picture,
                         std::uint32_t maskColor = kDefaultMaskColor) = 0;
  virtual void SetBitmapByCaption(std::string menuKey, const forms::Picture& picture,
                                  std::uint32_t maskColor = kDefaultMaskColor) = 0;
};

}  // namespace ornatek
