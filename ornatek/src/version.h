#pragma once

// The library's version, as its about box shows it.

namespace ornatek::version {

inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 1;
inline constexpr int kVersionRevision = 0;

}  // namespace ornatek::version
