#include "scene/TimePro.h"

void TTime::SetTotal(uint32_t Total)
{
    Milliseconds = Total;
    DayPart = Total / 86400000u;
    uint32_t Rest = Total % 86400000u;
    HourPart = Rest / 3600000u;
    Rest %= 3600000u;
    MinPart = Rest / 60000u;
    Rest %= 60000u;
    SecPart = Rest / 1000u;
    MSecPart = Rest % 1000u;
}

void TTime::Clear() { *this = TTime{}; }

TTimerPro::TTimerPro(IMillisecondClock& Clock) : FClock(Clock)
{
    uint32_t MinPeriod = 0, MaxPeriod = 0;
    if (!FClock.GetDevCaps(MinPeriod, MaxPeriod)) {
        FClock.BeginPeriod(1);
        return;
    }
    FPeriod = MinPeriod > 1 ? MinPeriod : 1;
    if (!FClock.BeginPeriod(FPeriod)) {
        FPeriod = NoPeriod;
        FClock.BeginPeriod(1);
    }
}

TTimerPro::~TTimerPro()
{
    // Also with NoPeriod: the system then refuses the call without effect.
    FClock.EndPeriod(FPeriod);
}

void TTimerPro::Start()
{
    if (!FRunning) {
        FLastTick = FClock.Now();
        FTime.Clear();
    }
    FRunning = true;
}

void TTimerPro::Stop()
{
    if (FRunning)
        Elapsed();
    FRunning = false;
}

const TTime& TTimerPro::Elapsed()
{
    if (FRunning) {
        const uint32_t Now = FClock.Now();
        // A signed difference: a clock that stands still or steps back adds
        // nothing, and the 32-bit wrap-around gives a small positive step.
        const int32_t Delta = static_cast<int32_t>(Now - FLastTick);
        if (Delta > 0)
            FTime.SetTotal(FTime.Milliseconds + static_cast<uint32_t>(Delta));
        FLastTick = Now;
    }
    return FTime;
}
