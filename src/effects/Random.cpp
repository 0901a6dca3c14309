#include "effects/Random.h"

double TRandomGenerator::Random()
{
    // 53 random bits, so the result is exact in a double and never 1.
    const uint64_t High = FEngine() >> 5;   // 27 bits
    const uint64_t Low = FEngine() >> 6;    // 26 bits
    return static_cast<double>((High << 26) | Low) * (1.0 / 9007199254740992.0);
}

int32_t TRandomGenerator::RandomInt(int32_t N)
{
    if (N <= 0)
        return 0;
    const auto R = static_cast<int32_t>(Random() * N);
    return R < N ? R : N - 1;
}
