#pragma once

// The menu control's icon page. Its file defines MakeBitmapsPage; until it
// is part of the library, a weak default makes none.

#include <memory>

#include "com/property_page.h"

namespace ornatek {

std::unique_ptr<com::PropertyPage> MakeBitmapsPage();

}  // namespace ornatek
