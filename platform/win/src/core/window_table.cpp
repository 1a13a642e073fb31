#include "core/window_table.h"

#include <QCoreApplication>
#include <unordered_map>

namespace win::detail {

namespace {

// The layer's handle tables. Handles count up and are never reused, so a
// handle kept past its window's end finds nothing instead of a stranger.
struct Tables {
  std::unordered_map<HWND, std::unique_ptr<Window>> windows;
  std::vector<HWND> order;
  std::uintptr_t nextHandle = 0x10010;
};

Tables& tables() {
  static Tables t;
  return t;
}

}  // namespace

Window* Find(HWND hwnd) {
  auto& t = tables();
  auto it = t.windows.find(hwnd);
  return it == t.windows.end() ? nullptr : it->second.get();
}

Window& Add(std::unique_ptr<Window> window) {
  auto& t = tables();
  HWND h = window->handle;
  t.order.push_back(h);
  return *(t.windows[h] = std::move(window));
}

void Remove(HWND hwnd) {
  auto& t = tables();
  t.windows.erase(hwnd);
  std::erase(t.order, hwnd);
}

HWND NewWindowHandle() {
  auto& t = tables();
  t.nextHandle += 4;
  return HWND(t.nextHandle);
}

std::vector<HWND> AllWindows() {
  return tables().order;
}

HWND FromWidget(const QWidget* w) {
  for (; w; w = w->parentWidget()) {
    QVariant v = w->property("win.hwnd");
    if (v.isValid()) {
      HWND h(v.value<qulonglong>());
      if (Find(h)) return h;
    }
    if (w->isWindow()) break;
  }
  return HWND();
}

}  // namespace win::detail
