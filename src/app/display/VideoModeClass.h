// Video modes: the display modes the adapter accepts, the desktop's mode,
// a temporary switch to one mode and the way back (TVideoModesList), and
// the packed mode the options and the settings dialog carry (TScreenMode).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/DisplaySettings.h"

struct TVideoMode {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t BitsPerPixel = 0;

    bool operator==(const TVideoMode&) const = default;
};

class TVideoModesList {
public:
    // The display service is borrowed and must outlive the list.
    explicit TVideoModesList(IDisplaySettings& Display);
    // Returns the display to the user's mode when a switch is in force.
    ~TVideoModesList();
    TVideoModesList(const TVideoModesList&) = delete;
    TVideoModesList& operator=(const TVideoModesList&) = delete;

    int Count() const { return static_cast<int>(FModes.size()); }
    // A copy of the mode at Index; raises EGlimmoraError outside 0..Count-1.
    TVideoMode Item(int Index) const;

    // Rebuilds the list: the system's modes in the order it reports them,
    // then, unless the driver accepts anything (the 42 x 37 probe), the
    // fallback table. Every mode is tested with the system before it is
    // listed; a mode already listed is not added again; nothing is sorted.
    void Enumerate();

    // The desktop's mode, read from the system on the first request of the
    // desktop or of a switch and then kept.
    TVideoMode DesktopMode();

    // Temporary switch (the system undoes it when the process ends). True
    // when the system accepted it; a refused switch changes nothing.
    bool SetMode(int32_t Width, int32_t Height, int32_t BitsPerPixel);
    // Back to the user's mode; a failed reset is not reported.
    void Restore();

    bool Changed() const { return FChanged; }
    // The mode last switched to successfully (zeros before any switch).
    TVideoMode SwitchedMode() const { return FSwitched; }

private:
    void CaptureDesktop();
    void AddCandidate(const TDisplayModeRecord& Record);

    IDisplaySettings& FDisplay;
    TVideoMode FDesktop;
    bool FDesktopCaptured = false;
    TVideoMode FSwitched;
    bool FChanged = false;
    std::vector<TVideoMode> FModes;
};

// A colour depth and a screen size packed as the options store it: width
// in the high 16 bits of ScreenSize, height in the low 16 bits.
class TScreenMode {
public:
    int32_t ColorDepth = 0;
    int32_t ScreenSize = 0;

    TScreenMode() = default;
    TScreenMode(int32_t ColorDepth, int32_t Width, int32_t Height);

    int32_t Width() const { return static_cast<int32_t>(static_cast<uint32_t>(ScreenSize) >> 16); }
    int32_t Height() const { return static_cast<int32_t>(static_cast<uint32_t>(ScreenSize) & 0xFFFFu); }
    // Each keeps the other half; the value is cut to 16 bits.
    void SetWidth(int32_t Value);
    void SetHeight(int32_t Value);

    bool operator==(const TScreenMode&) const = default;
};
