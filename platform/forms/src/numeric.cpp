#include "forms/numeric.h"

#include <QDateTime>
#include <QTime>
#include <bit>
#include <cfenv>
#include <cmath>
#include <cstring>

#include "forms/errors.h"

namespace forms {

namespace {

double RoundHalfEven(double v) {
  const int mode = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double r = std::nearbyint(v);
  std::fesetround(mode);
  return r;
}

[[noreturn]] void Overflow() {
  throw RuntimeError(err::Overflow, "Overflow");
}

// The generator's 24-bit state; the runtime starts every program on the
// same sequence until it is seeded.
thread_local std::uint32_t t_seed = 0x50000;

std::uint32_t Step(std::uint32_t seed) {
  return (seed * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
}

}  // namespace

std::int16_t CInt(double v) {
  if (!std::isfinite(v)) Overflow();
  const double r = RoundHalfEven(v);
  if (r < -32768.0 || r > 32767.0) Overflow();
  return static_cast<std::int16_t>(r);
}

std::int32_t CLng(double v) {
  if (!std::isfinite(v)) Overflow();
  const double r = RoundHalfEven(v);
  if (r < -2147483648.0 || r > 2147483647.0) Overflow();
  return static_cast<std::int32_t>(r);
}

float CSng(double v) {
  if (std::isfinite(v) && std::fabs(v) > 3.402823466e38) Overflow();
  return static_cast<float>(v);
}

double Int(double v) {
  return std::floor(v);
}
double Fix(double v) {
  return std::trunc(v);
}

std::int16_t AddInt(std::int16_t a, std::int16_t b) {
  const int r = a + b;
  if (r < -32768 || r > 32767) Overflow();
  return static_cast<std::int16_t>(r);
}

std::int16_t SubInt(std::int16_t a, std::int16_t b) {
  const int r = a - b;
  if (r < -32768 || r > 32767) Overflow();
  return static_cast<std::int16_t>(r);
}

double Timer() {
  const QTime t = QTime::currentTime();
  return t.msecsSinceStartOfDay() / 1000.0;
}

float Rnd() {
  t_seed = Step(t_seed);
  return static_cast<float>(t_seed) / 16777216.0f;
}

float Rnd(float n) {
  if (n == 0.0f) return static_cast<float>(t_seed) / 16777216.0f;
  if (n < 0.0f) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(n);
    t_seed = (bits + (bits >> 24)) & 0xFFFFFFu;
  }
  return Rnd();
}

void Randomize() {
  Randomize(Timer());
}

void Randomize(double seed) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(seed);
  std::uint32_t hi = static_cast<std::uint32_t>(bits >> 32);
  hi = ((hi & 0xFFFFu) ^ (hi >> 16)) << 8;
  t_seed = (t_seed & 0xFFu) | (hi & 0xFFFF00u);
}

std::uint32_t RandomSeed() {
  return t_seed;
}
void SetRandomSeed(std::uint32_t seed) {
  t_seed = seed & 0xFFFFFFu;
}

}  // namespace forms
