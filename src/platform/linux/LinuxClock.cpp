#include <time.h>

#include "platform/Clock.h"

namespace {

class TLinuxClock final : public IMillisecondClock {
public:
    uint32_t Now() override
    {
        timespec Ts{};
        clock_gettime(CLOCK_MONOTONIC, &Ts);
        // Keep the low 32 bits, as the Windows clock does.
        const uint64_t Ms = uint64_t(Ts.tv_sec) * 1000u + uint64_t(Ts.tv_nsec) / 1000000u;
        return static_cast<uint32_t>(Ms);
    }
    bool GetDevCaps(uint32_t& MinPeriod, uint32_t& MaxPeriod) override
    {
        MinPeriod = 1;
        MaxPeriod = 1000000;
        return true;
    }
    bool BeginPeriod(uint32_t) override { return true; }
    void EndPeriod(uint32_t) override {}
};

} // namespace

std::unique_ptr<IMillisecondClock> CreateSystemClock() { return std::make_unique<TLinuxClock>(); }
