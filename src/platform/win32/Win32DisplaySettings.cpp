#include <windows.h>

#include "platform/win32/Win32Backends.h"

namespace {

constexpr DWORD SizeFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
static_assert(SizeFields == 0x1C0000);
static_assert((CDS_TEST | CDS_FULLSCREEN) == 6);
// The ANSI record has no pointers, so it is the same on 32-bit and 64-bit
// Windows; its size always comes from the SDK.
static_assert(sizeof(DEVMODEA) == 156);

DEVMODEA ToDevMode(const TDisplayModeRecord& Mode)
{
    DEVMODEA DM{};
    DM.dmSize = sizeof(DEVMODEA);
    DM.dmDriverExtra = 0;
    DM.dmFields = SizeFields;
    DM.dmPelsWidth = Mode.Width;
    DM.dmPelsHeight = Mode.Height;
    DM.dmBitsPerPel = Mode.BitsPerPixel;
    if (Mode.Frequency != 0) {
        DM.dmFields |= DM_DISPLAYFREQUENCY;
        DM.dmDisplayFrequency = Mode.Frequency;
    }
    return DM;
}

TDisplayChangeResult ToResult(LONG Result)
{
    switch (Result) {
    case DISP_CHANGE_SUCCESSFUL:
        return dcSuccessful;
    case DISP_CHANGE_RESTART:
        return dcRestart;
    case DISP_CHANGE_BADMODE:
        return dcBadMode;
    default:
        return dcFailed;
    }
}

class TWin32DisplaySettings final : public IDisplaySettings {
public:
    bool EnumMode(uint32_t Index, TDisplayModeRecord& Mode) override
    {
        DEVMODEA DM{};
        DM.dmSize = sizeof(DEVMODEA);
        DM.dmDriverExtra = 0;   // no room for driver data after the record
        if (!EnumDisplaySettingsA(nullptr, Index, &DM))
            return false;
        Mode = TDisplayModeRecord{};
        Mode.Width = DM.dmPelsWidth;
        Mode.Height = DM.dmPelsHeight;
        Mode.BitsPerPixel = DM.dmBitsPerPel;
        if (DM.dmFields & DM_DISPLAYFREQUENCY)
            Mode.Frequency = DM.dmDisplayFrequency;
        return true;
    }

    TDisplayChangeResult TestMode(const TDisplayModeRecord& Mode) override
    {
        DEVMODEA DM = ToDevMode(Mode);
        return ToResult(ChangeDisplaySettingsA(&DM, CDS_TEST | CDS_FULLSCREEN));
    }

    TDisplayChangeResult SwitchMode(const TDisplayModeRecord& Mode) override
    {
        DEVMODEA DM = ToDevMode(Mode);
        return ToResult(ChangeDisplaySettingsA(&DM, CDS_FULLSCREEN));
    }

    TDisplayChangeResult ResetMode() override
    {
        // No record and no flags: the documented way back to the registry's
        // mode after a temporary switch.
        return ToResult(ChangeDisplaySettingsA(nullptr, 0));
    }

    TDesktopCaps DesktopCaps() override
    {
        TDesktopCaps Caps;
        HDC DC = GetDC(nullptr);
        if (DC == nullptr)
            return Caps;
        Caps.BitsPerPixel = GetDeviceCaps(DC, BITSPIXEL);
        Caps.Width = GetDeviceCaps(DC, HORZRES);
        Caps.Height = GetDeviceCaps(DC, VERTRES);
        ReleaseDC(nullptr, DC);
        return Caps;
    }
};

} // namespace

std::unique_ptr<IDisplaySettings> CreateWin32DisplaySettings() { return std::make_unique<TWin32DisplaySettings>(); }
