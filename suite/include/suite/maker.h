#pragma once

// The maker's addresses, as the trainers' menus open them and the menu
// library's about box shows them. Header only: Ornatek.ocx links nothing and
// compiles these in.
//
// Web addresses start with "http://": the about box tells a web link from a
// mail address by that prefix and opens anything else as a mail.

namespace suite::maker {

inline constexpr const char* kWebPage = "http://tavrinel.example.org/";
inline constexpr const char* kLibraryPage = "http://tavrinel.example.org/ornatek/";
inline constexpr const char* kMail = "tavrinel@example.org";
inline constexpr const char* kSupportMail = "tavrinel-support@example.org";

}  // namespace suite::maker
