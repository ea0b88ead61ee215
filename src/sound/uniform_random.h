#pragma once

#include <random>

namespace melodane {

// Uniform pseudo-random numbers in [0, 1).
class UniformRandom {
 public:
  virtual ~UniformRandom() = default;
  virtual double Next() = 0;
};

// The runtime's default sequence, never seeded by the program: every run draws the same
// numbers, as the velocity's small variation needs no more.
class RuntimeRandom final : public UniformRandom {
 public:
  // 32 random bits over 2^32: exact, and never 1.
  double Next() override { return engine_() / 4294967296.0; }

 private:
  std::mt19937 engine_;
};

}  // namespace melodane
