// Platform seam: the display's modes, the test of a mode, a temporary
// switch to one and the return to the mode the user set up.
//
// Windows: EnumDisplaySettings and ChangeDisplaySettings of the current
// display device, GetDeviceCaps of the whole screen's device context. The
// enumeration order, the de-duplication, the driver probe and the fallback
// table live above this seam (app/VideoModeClass.h); a backend only asks
// the system and translates. Tests use a fake (tests/fakes).
#pragma once

#include <cstdint>
#include <memory>

// One display mode as the system reports it or as we ask for it.
struct TDisplayModeRecord {
    uint32_t Width = 0;          // pixels
    uint32_t Height = 0;
    uint32_t BitsPerPixel = 0;
    // Refresh rate in Hz as the system reported it; 0 leaves the choice to
    // the system (the record then names only size and depth).
    uint32_t Frequency = 0;

    bool operator==(const TDisplayModeRecord&) const = default;
};

// The system's answer to a test, a switch or a reset.
enum TDisplayChangeResult {
    dcSuccessful,    // accepted (DISP_CHANGE_SUCCESSFUL)
    dcRestart,       // would need a restart of the computer
    dcBadMode,       // the mode is not supported
    dcFailed,        // the driver failed it, or any other refusal
};

// The desktop's mode in the units GetDeviceCaps gives (BITSPIXEL, HORZRES,
// VERTRES).
struct TDesktopCaps {
    int32_t BitsPerPixel = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};

class IDisplaySettings {
public:
    virtual ~IDisplaySettings() = default;

    // The mode numbered Index (0, 1, 2, ...) of the current display device;
    // false when there is no such mode. Modes may repeat (several refresh
    // rates of one size).
    virtual bool EnumMode(uint32_t Index, TDisplayModeRecord& Mode) = 0;
    // Would the system switch to Mode for a full-screen run (CDS_TEST |
    // CDS_FULLSCREEN)? Nothing changes on the display.
    virtual TDisplayChangeResult TestMode(const TDisplayModeRecord& Mode) = 0;
    // Switches to Mode for this process only (CDS_FULLSCREEN): the system
    // undoes it when the process ends.
    virtual TDisplayChangeResult SwitchMode(const TDisplayModeRecord& Mode) = 0;
    // Back to the mode stored in the user's settings.
    virtual TDisplayChangeResult ResetMode() = 0;
    // The mode in force now, read from the screen's device context.
    virtual TDesktopCaps DesktopCaps() = 0;
};
