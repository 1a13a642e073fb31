// Until the icon page's own file defines it, the library has no icon page.

#include "page_bitmaps.h"

namespace ornatek {

__attribute__((weak)) std::unique_ptr<com::PropertyPage> MakeBitmapsPage() {
  return nullptr;
}

}  // namespace ornatek
