// System metrics of a 96 dots-per-inch desktop.

#include <QGuiApplication>
#include <QScreen>
#include <QStyleHints>

#include "win/window.h"

namespace win {

int GetSystemMetrics(int index) {
  const QScreen* s = QGuiApplication::primaryScreen();
  const QRect g = s ? s->geometry() : QRect(0, 0, 1024, 768);
  const QRect avail = s ? s->availableGeometry() : g;
  switch (index) {
    case SM_CXSCREEN:
      return g.width();
    case SM_CYSCREEN:
      return g.height();
    case SM_CXFULLSCREEN:
      return avail.width();
    case SM_CYFULLSCREEN:
      return avail.height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
      return 17;
    case SM_CYCAPTION:
      return 23;
    case SM_CYSMCAPTION:
      return 17;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CYMENU:
      return 20;
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE:
      return 19;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
      return 13;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
      return 4;
    default:
      return 0;
  }
}

}  // namespace win
