// Message delivery: the hook chain, the window procedure chain, registered
// messages and window timers.

#include <unistd.h>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <map>
#include <memory>

#include "core/window_table.h"

namespace win {

namespace {

struct Hook {
  HHOOK handle;
  HOOKPROC proc = nullptr;
  bool alive = true;
};

// Hooks belong to the thread that set them, as on the platform.
struct ThreadHooks {
  std::vector<Hook> callWndProc;  // newest first
};
thread_local ThreadHooks t_hooks;
std::atomic<std::uintptr_t> g_nextHook{0x20000};

LRESULT RunHook(std::size_t from, int code, WPARAM wParam, LPARAM lParam) {
  auto& chain = t_hooks.callWndProc;
  for (std::size_t i = from; i < chain.size(); ++i)
    if (chain[i].alive) return chain[i].proc(code, wParam, lParam);
  return 0;
}

void DropDeadHooks() {
  std::erase_if(t_hooks.callWndProc, [](const Hook& h) { return !h.alive; });
}

struct TimerKey {
  HWND hwnd;
  std::uintptr_t id;
  auto operator<=>(const TimerKey& o) const {
    if (auto c = hwnd.value <=> o.hwnd.value; c != 0) return c;
    return id <=> o.id;
  }
};
std::map<TimerKey, std::unique_ptr<QTimer>>& timers() {
  static std::map<TimerKey, std::unique_ptr<QTimer>> t;
  return t;
}
std::uintptr_t g_nextTimerId = 0x7000;

struct Translation {
  HWND hwnd;
  bool passToQt = false;
};
thread_local std::vector<Translation*> t_translations;

}  // namespace

namespace detail {

LRESULT Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!t_hooks.callWndProc.empty()) {
    CWPSTRUCT cwp{lParam, wParam, msg, hwnd};
    RunHook(0, HC_ACTION, 1, reinterpret_cast<LPARAM>(&cwp));
    DropDeadHooks();
  }
  Window* w = Find(hwnd);
  if (!w || !w->proc) return 0;
  return w->proc(hwnd, msg, wParam, lParam);
}

void PassEventToQt() {
  if (!t_translations.empty()) t_translations.back()->passToQt = true;
}

// Sends one message made from a Qt event to an attached control and says
// whether the control's own handling should go on.
bool DispatchForQt(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Translation t{hwnd};
  t_translations.push_back(&t);
  Dispatch(hwnd, msg, wParam, lParam);
  t_translations.pop_back();
  return t.passToQt;
}

void KillTimersOf(HWND hwnd) {
  auto& all = timers();
  for (auto it = all.begin(); it != all.end();) {
    if (it->first.hwnd == hwnd) {
      it->second->stop();
      it->second.release()->deleteLater();
      it = all.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace detail

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!detail::Find(hwnd)) return 0;
  return detail::Dispatch(hwnd, msg, wParam, lParam);
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  return proc(hwnd, msg, wParam, lParam);
}

UINT RegisterWindowMessageA(const char* name) {
  static std::map<std::string, UINT, base::LessIgnoreAsciiCase> names;
  if (!name || !*name) return 0;
  auto [it, added] = names.try_emplace(name, static_cast<UINT>(0xC000 + names.size()));
  return it->second;
}

void PostQuitMessage(int exitCode) {
  QCoreApplication::exit(exitCode);
}

HHOOK SetWindowsHookExA(int idHook, HOOKPROC proc, HINSTANCE, DWORD threadId) {
  if (idHook != WH_CALLWNDPROC || !proc) return HHOOK();
  if (threadId != 0 && threadId != GetCurrentThreadId()) return HHOOK();
  HHOOK h(g_nextHook += 4);
  auto& chain = t_hooks.callWndProc;
  chain.insert(chain.begin(), Hook{h, proc});
  return h;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
  for (auto& h : t_hooks.callWndProc)
    if (h.handle == hook && h.alive) {
      // Marked, not erased: the chain may be running right now.
      h.alive = false;
      return TRUE;
    }
  return FALSE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
  auto& chain = t_hooks.callWndProc;
  for (std::size_t i = 0; i < chain.size(); ++i)
    if (chain[i].handle == hook) return RunHook(i + 1, code, wParam, lParam);
  return 0;
}

DWORD GetCurrentThreadId() {
  return static_cast<DWORD>(gettid());
}

std::uintptr_t SetTimer(HWND hwnd, std::uintptr_t id, UINT elapseMs, TIMERPROC proc) {
  if (hwnd && !detail::Find(hwnd)) return 0;
  if (!hwnd) id = ++g_nextTimerId;
  auto& slot = timers()[TimerKey{hwnd, id}];
  if (!slot) slot = std::make_unique<QTimer>();
  slot->disconnect();
  slot->setInterval(static_cast<int>(std::max<UINT>(elapseMs, 10)));
  QObject::connect(slot.get(), &QTimer::timeout, [hwnd, id, proc] {
    if (!hwnd) {
      proc(HWND(), WM_TIMER, id, 0);
    } else if (detail::Find(hwnd)) {
      detail::Dispatch(hwnd, WM_TIMER, id, reinterpret_cast<LPARAM>(proc));
    }
  });
  slot->start();
  return hwnd ? 1 : id;
}

BOOL KillTimer(HWND hwnd, std::uintptr_t id) {
  auto& all = timers();
  auto it = all.find(TimerKey{hwnd, id});
  if (it == all.end()) return FALSE;
  it->second->stop();
  it->second.release()->deleteLater();
  all.erase(it);
  return TRUE;
}

}  // namespace win
