// The bar's menu button: the popup menu opens as soon as the pointer moves
// over it, without a click.

#include "form1.h"
#include "form2.h"

namespace dialogra {

void Form1::Image1_MouseMove() {
  // While the settings form or the about picture is open the button is off.
  if (!Image1.Enabled()) return;
  Form2& holder = forms::Forms::Get<Form2>();
  // Right-aligned at the bar's right end, just below the bar.
  PopupMenu(holder.mnu_file, forms::vbPopupMenuRightAlign, 7110,
            static_cast<float>(BarHeight + 10));
}

}  // namespace dialogra
