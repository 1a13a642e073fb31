#include <functional>

#include "agent/agent.h"
#include "character_impl.h"

namespace agent {

namespace {

// The two seams the design names; set and called on the GUI thread only.
std::function<void(const RequestRecord&)>& RequestObserver() {
  static std::function<void(const RequestRecord&)> observer;
  return observer;
}

std::function<void(const PlaybackRecord&)>& PlaybackObserver() {
  static std::function<void(const PlaybackRecord&)> observer;
  return observer;
}

}  // namespace

void SetRequestObserver(std::function<void(const RequestRecord&)> observer) {
  RequestObserver() = std::move(observer);
}

void SetPlaybackObserver(std::function<void(const PlaybackRecord&)> observer) {
  PlaybackObserver() = std::move(observer);
}

void NotifyRequest(const RequestRecord& record) {
  // A copy, so that an observer may replace itself.
  if (auto observer = RequestObserver()) observer(record);
}

void NotifyPlayback(const PlaybackRecord& record) {
  if (auto observer = PlaybackObserver()) observer(record);
}

}  // namespace agent
