#pragma once

#include <stdexcept>
#include <string>

namespace forms {

// A run-time error of the forms runtime, with the runtime's error number, so
// that callers can tell them apart ("On Error" in the programs' own terms).
class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int number, const std::string& description)
      : std::runtime_error(description), number_(number) {}
  int Number() const { return number_; }

 private:
  int number_;
};

namespace err {
inline constexpr int InvalidCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int ObjectNotSet = 91;
inline constexpr int ResourceNotFound = 326;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int CantMoveOrSize = 384;  // a minimised or maximised form
inline constexpr int InvalidPicture = 481;
}  // namespace err

}  // namespace forms
