#pragma once

// The about picture of the word trainer: one picture, closed by a click on it.

#include "forms/forms.h"

namespace vocabra {

class Form4 : public forms::Form {
 public:
  Form4();
  forms::Image& Image1;
};

}  // namespace vocabra
