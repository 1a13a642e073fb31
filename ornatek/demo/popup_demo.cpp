// A host form with one plain popup-menu window, restyled by the library's
// hook: flat border, image column and shadow over the screen behind it. With
// --shots <folder> it writes a picture of the screen and of the about box
// into the folder and ends.

#include <filesystem>
#include <string>
#include <vector>

#include "forms/forms.h"
#include "frm_about.h"
#include "mem_dc.h"
#include "module_state.h"
#include "sub_class.h"
#include "system_hook.h"
#include "win/win.h"

namespace {

using namespace win;

std::filesystem::path g_shots;
HWND g_popup;

const std::vector<std::string>& Items() {
  static const std::vector<std::string> items{"Apri\tCtrl+O", "Salva", "-", "Impostazioni...",
                                              "Esci"};
  return items;
}
constexpr int kItemHeight = 23;

// The popup's own procedure: what the layer's menu code will do for items
// that are not owner-drawn, kept small: text on the painted background.
LRESULT PopupProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m != WM_PAINT) return DefWindowProcA(h, m, w, l);
  PAINTSTRUCT ps;
  BeginPaint(h, &ps);
  ornatek::cMemDC dc;
  dc.Init(0, 0, HDC(), ps.hdc);
  dc.Font(ornatek::cMemDC::SystemMenuFont());
  dc.BackStyle(TRANSPARENT);
  RECT r;
  GetClientRect(h, &r);
  const COLORREF marks[] = {0x2A6FB8, 0x3C9A4A, 0, 0x8A5A2B, 0x2B45C8};
  int top = 3;
  for (std::size_t i = 0; i < Items().size(); ++i) {
    const std::string& item = Items()[i];
    if (item == "-") {
      dc.FillRect(35, top + 2, r.right - 8, top + 3, ornatek::kSysColour + COLOR_BTNSHADOW);
      top += 6;
      continue;
    }
    dc.FillRect(8, top + 4, 24, top + 20, marks[i]);
    const auto tab = item.find('\t');
    int l = 40, t = top, rr = r.right - 12, b = top + kItemHeight;
    dc.DrawText(item.substr(0, tab), l, t, rr, b, DT_SINGLELINE | DT_VCENTER);
    if (tab != std::string::npos) {
      l = 40, t = top, rr = r.right - 30, b = top + kItemHeight;
      dc.DrawText(item.substr(tab + 1), l, t, rr, b, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }
    top += kItemHeight;
  }
  EndPaint(h, &ps);
  return 0;
}

void Shoot(const std::string& name, HWND window) {
  if (window) {
    SaveWindowPng(window, (g_shots / name).string());
    return;
  }
  const HDC screen = GetDC(HWND());
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  ornatek::cMemDC copy;
  copy.Init(w, h);
  BitBlt(copy.hDC(), 0, 0, w, h, screen, 0, 0, SRCCOPY);
  ReleaseDC(HWND(), screen);
  const HBITMAP bitmap = copy.DetachBitmap();
  SaveBitmapPng(bitmap, (g_shots / name).string());
  DeleteObject(bitmap);
}

class PopupHost : public forms::Form {
 public:
  PopupHost() : Form(":/ornatek_demo/PopupHost.json") {}

 protected:
  void Form_Load() override {
    // What a bound menu control does: hold the host window, register with the hook.
    auto& m = ornatek::Module();
    m.SharedSubClass = std::make_shared<ornatek::cSubClass>();
    m.SharedSubClass->SubClassHwnd(hWnd(), true);
    m.ImageColumnWidth = kItemHeight;
    ornatek::MenuHookInstaller().InstallHook();
    SetTimer(hWnd(), 1, 400, &Step);
  }

  void Form_Unload(int&) override {
    ornatek::MenuHookInstaller().UnInstallHook();
    if (g_popup) DestroyWindow(g_popup);
  }

 private:
  static void Step(HWND host, UINT, std::uintptr_t, DWORD) {
    static int step = 0;
    switch (step++) {
      case 0: {
        WNDCLASSEXA existing;
        if (!GetClassInfoExA(HINSTANCE(), "#32768", &existing)) {
          WNDCLASSEXA wc;
          wc.style = CS_DROPSHADOW | CS_SAVEBITS;
          wc.lpfnWndProc = PopupProc;
          wc.lpszClassName = "#32768";
          RegisterClassExA(&wc);
        }
        ornatek::Module().OwnPopupActive = true;
        RECT hr;
        GetWindowRect(host, &hr);
        const int x = hr.left + 60, y = hr.top + 70, w = 190, h = 4 * kItemHeight + 6 + 6;
        g_popup =
            CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW, "#32768", "",
                            WS_POPUP | WS_BORDER, x, y, w, h, host, HMENU(), HINSTANCE(), nullptr);
        // The layer's menu code tells the popup where it goes before it shows it.
        WINDOWPOS pos{g_popup, HWND(), x, y, w, h, 0};
        SendMessageA(g_popup, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
        SetWindowPos(g_popup, HWND(), pos.x, pos.y, pos.cx, pos.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        break;
      }
      case 1:
        if (!g_shots.empty()) {
          Shoot("popup_screen.png", HWND());
          Shoot("popup_window.png", g_popup);
        }
        forms::Forms::Get<ornatek::frmAbout>().Show();
        break;
      case 2:
        if (!g_shots.empty()) {
          Shoot("about.png", forms::Forms::Get<ornatek::frmAbout>().hWnd());
          KillTimer(host, 1);
          PostQuitMessage(0);
        }
        break;
      default:
        break;
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--shots") g_shots = argv[i + 1];
  if (!g_shots.empty()) std::filesystem::create_directories(g_shots);
  return forms::RunProgram(argc, argv, []() -> forms::Form& {
    forms::App::SetTitle("Ornatek demo");
    return forms::Forms::Get<PopupHost>();
  });
}
