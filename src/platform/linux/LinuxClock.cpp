#include <time.h>

#include "platform/linux/LinuxSystem.h"

namespace {

class TLinuxClock final : public TClockWithoutPeriods {
public:
    uint32_t Now() override
    {
        timespec Ts{};
        clock_gettime(CLOCK_MONOTONIC, &Ts);
        // Keep the low 32 bits, as the Windows clock does.
        const uint64_t Ms = uint64_t(Ts.tv_sec) * 1000u + uint64_t(Ts.tv_nsec) / 1000000u;
        return static_cast<uint32_t>(Ms);
    }
};

} // namespace

std::unique_ptr<IMillisecondClock> CreateSystemClock() { return std::make_unique<TLinuxClock>(); }
