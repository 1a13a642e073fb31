#pragma once

// The maker of the library as its about box names it: defined here once.

namespace ornatek::maker {

inline constexpr const char* kHomePage = "https://tavrinel.example.org/";
inline constexpr const char* kLibraryPage = "https://tavrinel.example.org/ornatek/";
inline constexpr const char* kMail = "ornatek@tavrinel.example.org";
inline constexpr const char* kSupportMail = "support@tavrinel.example.org";

// The library's version, as its about box shows it.
inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 1;
inline constexpr int kVersionRevision = 0;

}  // namespace ornatek::maker
