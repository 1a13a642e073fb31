#pragma once

// The runtime's numeric rules: 16-bit integers that overflow as errors,
// rounding halves to even, and the runtime's random-number sequence.

#include <cstdint>

namespace forms {

// Rounds half to even and checks the 16-bit range (error 6 "Overflow").
std::int16_t CInt(double v);
// Rounds half to even and checks the 32-bit range.
std::int32_t CLng(double v);
float CSng(double v);
// Int: the largest whole number not above v; Fix: v without its fraction.
double Int(double v);
double Fix(double v);
// 16-bit arithmetic that overflows as the runtime's does.
std::int16_t AddInt(std::int16_t a, std::int16_t b);
std::int16_t SubInt(std::int16_t a, std::int16_t b);

// Seconds since midnight, as the runtime's Timer function.
double Timer();

// The runtime's generator: a 24-bit linear congruential sequence. Rnd() is the
// next number in [0, 1); Rnd(0) repeats the last; Rnd(negative) reseeds from
// the number itself and returns the first of its sequence.
float Rnd();
float Rnd(float n);
// Seeds from the clock (Timer) or from a given number.
void Randomize();
void Randomize(double seed);

// The whole state of the generator, for tests that need a known sequence.
std::uint32_t RandomSeed();
void SetRandomSeed(std::uint32_t seed);

}  // namespace forms
