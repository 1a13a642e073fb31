// One word window per user: a second start ends at once, the first stays.

#include <gtest/gtest.h>

#include "testsupport/single_instance.h"

TEST(Instance, ASecondStartOfTheWordTrainerEndsAtOnceAndTheFirstStays) {
  testsupport::ExpectASecondStartToEndAtOnce("Vocabra");
}
