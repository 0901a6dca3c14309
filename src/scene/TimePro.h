// Frame timer: elapsed time for the animation and the frames-per-second
// count, measured on the platform's millisecond clock.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/Clock.h"

class TTime {
public:
    uint32_t Milliseconds = 0;   // total
    uint32_t MSecPart = 0;       // total mod 1000
    uint32_t SecPart = 0;        // (total mod 60000) div 1000
    uint32_t MinPart = 0;        // (total mod 3600000) div 60000
    uint32_t HourPart = 0;       // (total mod 86400000) div 3600000
    uint32_t DayPart = 0;        // total div 86400000

    void SetTotal(uint32_t Total);
    void Clear();
    long double Total() const { return static_cast<long double>(Milliseconds); }
    long double Seconds() const { return static_cast<long double>(Milliseconds) / 1000.0L; }
};

class TTimerPro {
public:
    static constexpr uint32_t NoPeriod = 0xFFFFFFFFu;

    // Raises the system timer resolution for the timer's whole life. The
    // clock is borrowed and must outlive the timer.
    explicit TTimerPro(IMillisecondClock& Clock);
    ~TTimerPro();
    TTimerPro(const TTimerPro&) = delete;
    TTimerPro& operator=(const TTimerPro&) = delete;

    void Start();                 // resets only when not running
    void Stop();                  // freezes the time
    const TTime& Elapsed();       // updates when running, then returns the time

    bool Running() const { return FRunning; }
    uint32_t Period() const { return FPeriod; }

private:
    IMillisecondClock& FClock;
    TTime FTime;
    uint32_t FLastTick = 0;
    bool FRunning = false;
    uint32_t FPeriod = NoPeriod;
};
