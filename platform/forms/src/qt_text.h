#pragma once

#include <QString>
#include <string_view>

namespace forms {

// The runtime's text is UTF-8.
inline QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

}  // namespace forms
