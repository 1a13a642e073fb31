#include "mdi_forward.h"

#include <algorithm>
#include <vector>

namespace ornatek {

using namespace win;

namespace {

struct Forwarding {
  HWND from;
  UINT msg;
};
thread_local std::vector<Forwarding> t_forwarding;

}  // namespace

std::optional<LRESULT> ForwardToActiveMdiChild(HWND hwnd, HWND activeChild, UINT uMsg,
                                               WPARAM wParam, LPARAM lParam) {
  if (!activeChild || activeChild == hwnd) return std::nullopt;
  const bool loops =
      std::any_of(t_forwarding.begin(), t_forwarding.end(), [&](const Forwarding& f) {
        return f.msg == uMsg && (f.from == activeChild || f.from == hwnd);
      });
  if (loops) return std::nullopt;
  t_forwarding.push_back({hwnd, uMsg});
  const LRESULT answer = SendMessageA(activeChild, uMsg, wParam, lParam);
  t_forwarding.pop_back();
  return answer;
}

}  // namespace ornatek
