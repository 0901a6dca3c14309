#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/Win32System.h"
#include "platform/win32/Win32SystemLibrary.h"

namespace {

// The multimedia timer of WINMM.DLL, loaded from the system folder. Without
// it the clock falls back to the tick count and the resolution is left
// alone.
using TTimeGetTime = DWORD(WINAPI*)();
using TTimeGetDevCaps = MMRESULT(WINAPI*)(LPTIMECAPS, UINT);
using TTimePeriod = MMRESULT(WINAPI*)(UINT);

class TWin32Clock final : public IMillisecondClock {
public:
    uint32_t Now() override { return FGetTime ? FGetTime() : GetTickCount(); }
    bool GetDevCaps(uint32_t& MinPeriod, uint32_t& MaxPeriod) override
    {
        TIMECAPS Caps{};
        if (!FGetDevCaps || FGetDevCaps(&Caps, sizeof(Caps)) != TIMERR_NOERROR)
            return false;
        MinPeriod = Caps.wPeriodMin;
        MaxPeriod = Caps.wPeriodMax;
        return true;
    }
    bool BeginPeriod(uint32_t Period) override { return FBeginPeriod && FBeginPeriod(Period) == TIMERR_NOERROR; }
    void EndPeriod(uint32_t Period) override
    {
        if (FEndPeriod)
            FEndPeriod(Period);
    }

private:
    TTimeGetTime FGetTime = SystemEntry<TTimeGetTime>(L"winmm.dll", "timeGetTime");
    TTimeGetDevCaps FGetDevCaps = SystemEntry<TTimeGetDevCaps>(L"winmm.dll", "timeGetDevCaps");
    TTimePeriod FBeginPeriod = SystemEntry<TTimePeriod>(L"winmm.dll", "timeBeginPeriod");
    TTimePeriod FEndPeriod = SystemEntry<TTimePeriod>(L"winmm.dll", "timeEndPeriod");
};

} // namespace

std::unique_ptr<IMillisecondClock> CreateSystemClock() { return std::make_unique<TWin32Clock>(); }
