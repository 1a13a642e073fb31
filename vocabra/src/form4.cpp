#include "form4.h"

namespace vocabra {

Form4::Form4() : Form(":/forms/vocabra/Form4.json"), Image1(Get<forms::Image>("Image1")) {
  Image1.Click = [this] { forms::Unload(*this); };
}

}  // namespace vocabra
