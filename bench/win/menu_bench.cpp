// Time from TrackPopupMenu to the popup's first paint, for a popup of twelve
// owner-drawn items whose owner draws each item as the menu library does
// (fill, frame, text). Run by hand: win_menu_bench [benchmark flags].

#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>

#include "gdi/layer_calls.h"
#include "win/win.h"

namespace {

using namespace win;
using Clock = std::chrono::steady_clock;

Clock::time_point g_start;
double g_firstPaintSeconds = 0;
bool g_measured = false;
UINT g_drawn = 0;

LRESULT Owner(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
      mi->itemWidth = 180;
      mi->itemHeight = 23;
      return TRUE;
    }
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(l);
      HBRUSH back = CreateSolidBrush(RGB(0xF9, 0xF8, 0xF7));
      FillRect(d->hDC, &d->rcItem, back);
      DeleteObject(back);
      RECT column{d->rcItem.left, d->rcItem.top, d->rcItem.left + 26, d->rcItem.bottom};
      HBRUSH col = CreateSolidBrush(RGB(0xDB, 0xD8, 0xD1));
      FillRect(d->hDC, &column, col);
      DeleteObject(col);
      RECT text{d->rcItem.left + 33, d->rcItem.top, d->rcItem.right, d->rcItem.bottom};
      DrawTextA(d->hDC, "Menu item text", -1, &text, DT_SINGLELINE | DT_VCENTER);
      if (++g_drawn == 12 && !g_measured) {
        g_firstPaintSeconds = std::chrono::duration<double>(Clock::now() - g_start).count();
        g_measured = true;
      }
      return TRUE;
    }
    case WM_ENTERIDLE:
      EndMenu();
      return 0;
    default:
      return DefWindowProcA(h, m, w, l);
  }
}

void BM_TrackPopupToFirstPaint(benchmark::State& state) {
  WNDCLASSEXA wc;
  wc.lpfnWndProc = Owner;
  wc.lpszClassName = "BenchOwner";
  RegisterClassExA(&wc);
  HWND owner = CreateWindowExA(0, "BenchOwner", "o", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, HWND(),
                               HMENU(), HINSTANCE(), nullptr);
  HMENU menu = CreatePopupMenu();
  for (UINT id = 1; id <= 12; ++id) AppendMenuA(menu, MF_OWNERDRAW, id, nullptr);
  for (auto _ : state) {
    g_drawn = 0;
    g_measured = false;
    g_start = Clock::now();
    TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, owner, nullptr);
    state.SetIterationTime(g_firstPaintSeconds);
  }
  DestroyMenu(menu);
  DestroyWindow(owner);
}
BENCHMARK(BM_TrackPopupToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
