// A millisecond clock the test moves by hand, recording resolution calls.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Clock.h"

class TFakeClock : public IMillisecondClock {
public:
    uint32_t Time = 0;
    bool CapsOk = true;
    uint32_t CapsMin = 1, CapsMax = 1000000;
    bool BeginOk = true;            // refuse every BeginPeriod when false
    std::vector<uint32_t> Begun, Ended;

    uint32_t Now() override { return Time; }
    bool GetDevCaps(uint32_t& MinPeriod, uint32_t& MaxPeriod) override
    {
        if (!CapsOk)
            return false;
        MinPeriod = CapsMin;
        MaxPeriod = CapsMax;
        return true;
    }
    bool BeginPeriod(uint32_t Period) override
    {
        Begun.push_back(Period);
        return BeginOk;
    }
    void EndPeriod(uint32_t Period) override { Ended.push_back(Period); }
};
