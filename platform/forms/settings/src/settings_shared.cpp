#include "settings_shared.h"

#include <time.h>

#include <algorithm>
#include <iostream>
#include <mutex>
#include <set>
#include <unordered_map>
#include <utility>

namespace forms::settings_detail {

namespace {

struct Shared {
  std::mutex mutex;
  std::unordered_map<std::string, CachedStore> versions;
  std::set<std::string> logged;
  std::set<std::string> noticed;
  std::vector<std::string> pending;
};

Shared& shared() {
  static Shared s;
  return s;
}

}  // namespace

bool SettledNow(const FileIdentity& identity) {
  constexpr long long kTimeTickNs = 50'000'000;  // well above any file system's tick
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  const long long nowNs = static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
  return std::max(identity.modifiedNs, identity.changedNs) + kTimeTickNs < nowNs;
}

std::optional<CachedStore> CachedVersion(const std::filesystem::path& store) {
  auto& s = shared();
  const std::lock_guard lock(s.mutex);
  const auto it = s.versions.find(store.string());
  if (it == s.versions.end()) return std::nullopt;
  return it->second;
}

void RememberVersion(const std::filesystem::path& store, CachedStore version) {
  auto& s = shared();
  const std::lock_guard lock(s.mutex);
  s.versions.insert_or_assign(store.string(), std::move(version));
}

void MarkDamageHandled(const std::filesystem::path& store, const FileIdentity& identity) {
  auto& s = shared();
  const std::lock_guard lock(s.mutex);
  const auto it = s.versions.find(store.string());
  if (it != s.versions.end() && it->second.identity == identity) it->second.damageHandled = true;
}

void LogOnce(const std::string& line) {
  auto& s = shared();
  const std::lock_guard lock(s.mutex);
  if (s.logged.insert(line).second) std::cerr << "Tavrinel settings: " << line << '\n';
}

void NoticeOnce(const std::string& message) {
  auto& s = shared();
  const std::lock_guard lock(s.mutex);
  if (s.noticed.insert(message).second) s.pending.push_back(message);
}

std::vector<std::string> TakeNotices() {
  auto& s = shared();
  const std::lock_guard lock(s.mutex);
  return std::exchange(s.pending, {});
}

}  // namespace forms::settings_detail
