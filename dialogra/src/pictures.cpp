#include "pictures.h"

#include "form1.h"
#include "options.h"

namespace dialogra {

Form4::Form4() : Form(":/forms/dialogra/Form4.json"), Image1(Get<forms::Image>("Image1")) {
  // A click on the splash shows the bar at once and starts its intro there.
  Image1.Click = [this] {
    forms::Forms::Get<Form1>().Show();
    forms::Unload(*this);
    module().IntroCountdown = 50;
  };
}

Form7::Form7() : Form(":/forms/dialogra/Form7.json"), Image1(Get<forms::Image>("Image1")) {
  Image1.Click = [this] {
    forms::Unload(*this);
    forms::Forms::Get<Form1>().Image1.Enabled(true);
  };
}

void Form7::Form_Load() {
  forms::Forms::Get<Form1>().Image1.Enabled(false);
}

}  // namespace dialogra
