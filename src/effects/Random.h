// The program's one source of random numbers. Effects take it by
// reference, so the owner decides the seed (the clock, at each start) and
// tests hand in their own numbers.
#pragma once

#include <cstdint>
#include <random>

class IRandomSource {
public:
    virtual ~IRandomSource() = default;
    // Uniform in [0, 1).
    virtual double Random() = 0;
    // Uniform integer from 0 to N-1; 0 when N is 0 or less.
    virtual int32_t RandomInt(int32_t N) = 0;
};

// Mersenne twister: the same numbers for the same seed on every platform.
class TRandomGenerator final : public IRandomSource {
public:
    explicit TRandomGenerator(uint32_t Seed = 5489u) : FEngine(Seed) {}
    void SetSeed(uint32_t Seed) { FEngine.seed(Seed); }
    double Random() override;
    int32_t RandomInt(int32_t N) override;

private:
    std::mt19937 FEngine;
};
