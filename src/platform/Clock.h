// Platform seam: the millisecond clock and the system timer resolution.
//
// Windows: the multimedia timer (timeGetTime, timeGetDevCaps,
// timeBeginPeriod, timeEndPeriod). Linux: a monotonic clock; the resolution
// calls succeed and change nothing. Tests use a fake (tests/fakes).
#pragma once

#include <cstdint>
#include <memory>

class IMillisecondClock {
public:
    virtual ~IMillisecondClock() = default;
    // Milliseconds since an arbitrary origin; wraps around after 2^32 ms.
    virtual uint32_t Now() = 0;
    // The minimum and maximum timer period in milliseconds; false when the
    // system cannot tell.
    virtual bool GetDevCaps(uint32_t& MinPeriod, uint32_t& MaxPeriod) = 0;
    // Raise / release the system timer resolution; BeginPeriod returns false
    // when the request is refused.
    virtual bool BeginPeriod(uint32_t Period) = 0;
    virtual void EndPeriod(uint32_t Period) = 0;
};

// A clock with no system timer resolution to set (Linux, clocks moved by
// hand): the resolution calls succeed and change nothing.
class TClockWithoutPeriods : public IMillisecondClock {
public:
    bool GetDevCaps(uint32_t& MinPeriod, uint32_t& MaxPeriod) override
    {
        MinPeriod = 1;
        MaxPeriod = 1000000;
        return true;
    }
    bool BeginPeriod(uint32_t) override { return true; }
    void EndPeriod(uint32_t) override {}
};
