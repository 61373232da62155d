// The one random generator of the game. It is seeded once, by the main window, and never
// reseeded; the core never reads a clock itself.
#pragma once

#include <cstdint>
#include <random>

class Random_Source {
public:
  virtual ~Random_Source() = default;
  // A uniform integer in [0, n), n >= 1.
  virtual int Random(int n) = 0;
};

class Seeded_Random : public Random_Source {
public:
  explicit Seeded_Random(std::uint32_t seed = 0) : Engine(seed) {}
  // The program seeds its generator once, when the main window has been built.
  void Seed(std::uint32_t seed) { Engine.seed(seed); }
  int Random(int n) override { return std::uniform_int_distribution<int>(0, n - 1)(Engine); }

private:
  std::mt19937 Engine;
};
