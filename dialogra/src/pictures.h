#pragma once

// The picture forms: the splash shown at start and the about picture.

#include "forms/forms.h"

namespace dialogra {

class Form4 : public forms::Form {
 public:
  Form4();
  forms::Image& Image1;
};

class Form7 : public forms::Form {
 public:
  Form7();
  forms::Image& Image1;

 protected:
  void Form_Load() override;
};

}  // namespace dialogra
