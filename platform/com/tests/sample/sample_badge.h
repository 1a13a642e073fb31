#pragma once

// What the tests' throw-away control library offers its host, besides being
// a user control: the host reaches the control's own members through this
// interface, as a host reaches a library's control through the interface the
// library publishes.

#include <string>
#include <vector>

class ISampleBadge {
 public:
  virtual ~ISampleBadge() = default;
  virtual std::string Caption() const = 0;
  virtual void Caption(const std::string& caption) = 0;
  // The lifecycle events the control saw, oldest first.
  virtual std::vector<std::string> Events() const = 0;
};

// Class ids and program ids of the sample library.
inline constexpr const char* kSampleBadgeProgId = "Tavrinel.SampleBadge";
inline constexpr const char* kSampleBadgeClsid = "{5A3E0C1B-7D2F-4E8A-9B61-0C4D2E8F1A37}";
inline constexpr const char* kSampleNoteProgId = "Tavrinel.SampleNote";
inline constexpr const char* kSampleNoteClsid = "{5A3E0C1B-7D2F-4E8A-9B61-0C4D2E8F1A38}";
