#include "testsupport/seed.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

namespace testsupport {

unsigned RandomSeed() {
  unsigned seed = 0;
  if (const char* given = std::getenv("TAVRINEL_TEST_SEED"); given && *given) {
    seed = static_cast<unsigned>(std::stoul(given));
  } else {
    seed = std::random_device{}();
  }
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::cout << "[   SEED   ] "
            << (info ? std::string(info->test_suite_name()) + "." + info->name() : "") << ": "
            << seed << " (TAVRINEL_TEST_SEED=" << seed << " repeats it)" << std::endl;
  testing::Test::RecordProperty("seed", std::to_string(seed));
  return seed;
}

}  // namespace testsupport
