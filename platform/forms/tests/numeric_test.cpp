// The runtime's numeric rules.

#include <gtest/gtest.h>

#include "forms/errors.h"
#include "forms/numeric.h"

using namespace forms;

TEST(Numeric, CIntRoundsHalvesToEvenAndOverflowsPast16Bits) {
  EXPECT_EQ(CInt(2.5), 2);
  EXPECT_EQ(CInt(3.5), 4);
  EXPECT_EQ(CInt(-2.5), -2);
  EXPECT_EQ(CInt(-3.5), -4);
  EXPECT_EQ(CInt(0.5), 0);
  EXPECT_EQ(CInt(1.5), 2);
  EXPECT_EQ(CInt(2.4999), 2);
  EXPECT_EQ(CInt(32767.4), 32767);
  EXPECT_EQ(CInt(-32768.0), -32768);
  try {
    CInt(32767.5);  // rounds to 32768
    FAIL() << "no overflow";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::Overflow);
  }
  EXPECT_THROW(CInt(-32768.6), RuntimeError);
  EXPECT_THROW(CInt(std::numeric_limits<double>::quiet_NaN()), RuntimeError);
  EXPECT_EQ(CLng(2147483647.0), 2147483647);
  EXPECT_THROW(CLng(2147483648.0), RuntimeError);
  EXPECT_EQ(AddInt(32000, 767), 32767);
  EXPECT_THROW(AddInt(32000, 768), RuntimeError);
  EXPECT_THROW(SubInt(-32768, 1), RuntimeError);
}

TEST(Numeric, IntFloorsAndFixTruncates) {
  EXPECT_EQ(Int(2.7), 2);
  EXPECT_EQ(Int(-2.3), -3);
  EXPECT_EQ(Fix(-2.7), -2);
  EXPECT_EQ(Int((11000.0 - 10000) / 100), 10);
}

TEST(Numeric, RndFollowsTheRuntimeSequence) {
  SetRandomSeed(0x50000);  // the state every program starts in
  EXPECT_NEAR(Rnd(), 0.7055475, 1e-6);
  EXPECT_NEAR(Rnd(), 0.533424, 1e-6);
  EXPECT_NEAR(Rnd(), 0.5795186, 1e-6);
  const float last = Rnd(0);
  EXPECT_EQ(Rnd(0), last);  // 0 repeats the last number

  // A negative argument always restarts the same sequence.
  const float a = Rnd(-3);
  const float b = Rnd();
  EXPECT_EQ(Rnd(-3), a);
  EXPECT_EQ(Rnd(), b);

  // One seed, one sequence; every number lies in [0, 1). Seeding keeps the
  // low byte of the state it finds, so both runs start from the same state.
  SetRandomSeed(0x50000);
  Randomize(12345.678);
  std::vector<float> first;
  for (int i = 0; i < 100; ++i) first.push_back(Rnd());
  SetRandomSeed(0x50000);
  Randomize(12345.678);
  for (int i = 0; i < 100; ++i) {
    const float r = Rnd();
    EXPECT_EQ(r, first[static_cast<std::size_t>(i)]);
    EXPECT_GE(r, 0.0f);
    EXPECT_LT(r, 1.0f);
  }
}

TEST(Numeric, RndCoversItsRangeEvenly) {
  Randomize(42.0);
  int buckets[50] = {};
  for (int i = 0; i < 50000; ++i) ++buckets[static_cast<int>(Int(Rnd() * 50))];
  for (int b : buckets) {
    EXPECT_GT(b, 800);
    EXPECT_LT(b, 1200);
  }
}
