#include <windows.h>
#include <mmsystem.h>

#include "platform/Clock.h"

namespace {

class TWin32Clock final : public IMillisecondClock {
public:
    uint32_t Now() override { return timeGetTime(); }
    bool GetDevCaps(uint32_t& MinPeriod, uint32_t& MaxPeriod) override
    {
        TIMECAPS Caps{};
        if (timeGetDevCaps(&Caps, sizeof(Caps)) != TIMERR_NOERROR)
            return false;
        MinPeriod = Caps.wPeriodMin;
        MaxPeriod = Caps.wPeriodMax;
        return true;
    }
    bool BeginPeriod(uint32_t Period) override { return timeBeginPeriod(Period) == TIMERR_NOERROR; }
    void EndPeriod(uint32_t Period) override { timeEndPeriod(Period); }
};

} // namespace

std::unique_ptr<IMillisecondClock> CreateSystemClock() { return std::make_unique<TWin32Clock>(); }
