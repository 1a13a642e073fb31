#pragma once

// Class and interface identifiers, written as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace com {

struct GUID {
  std::uint32_t Data1 = 0;
  std::uint16_t Data2 = 0;
  std::uint16_t Data3 = 0;
  std::array<std::uint8_t, 8> Data4{};
  friend constexpr bool operator==(const GUID&, const GUID&) = default;
};
using CLSID = GUID;
using IID = GUID;

// Upper-case hexadecimal in braces.
std::string ToString(const GUID& guid);
// Braces optional, hexadecimal digits in either case; nullopt for anything else.
std::optional<GUID> GuidFromString(std::string_view text);

}  // namespace com
