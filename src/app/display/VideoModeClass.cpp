#include "app/display/VideoModeClass.h"

#include <algorithm>
#include <limits>
#include <string>

#include "gl/Errors.h"

namespace {

// A mode the program can carry: sizes fit the 16 bits of TScreenMode,
// depths fit an Integer. Anything else from a driver is not offered.
bool Representable(uint32_t Width, uint32_t Height, uint32_t BitsPerPixel)
{
    return Width >= 1 && Width <= 0xFFFFu && Height >= 1 && Height <= 0xFFFFu && BitsPerPixel >= 1 &&
           BitsPerPixel <= static_cast<uint32_t>(std::numeric_limits<int32_t>::max());
}

// An impossible mode: a driver whose test accepts it accepts anything, so
// its test says nothing and only the modes it reports are listed.
constexpr TDisplayModeRecord DriverProbe{42, 37, 8, 0};

// Low resolutions that older drivers switch to without reporting them.
// Size-major: every size at every depth of FallbackDepths.
struct TSize {
    uint32_t Width, Height;
};
constexpr TSize FallbackSizes[] = {
    {320, 200}, {320, 240}, {320, 350}, {320, 400}, {320, 480}, {360, 200},
    {360, 240}, {360, 350}, {360, 400}, {360, 480}, {400, 300}, {512, 384},
};
constexpr uint32_t FallbackDepths[] = {8, 15, 16, 24, 32};

} // namespace

TVideoModesList::TVideoModesList(IDisplaySettings& Display) : FDisplay(Display) {}

TVideoModesList::~TVideoModesList()
{
    if (FChanged)
        Restore();
}

TVideoMode TVideoModesList::Item(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EGlimmoraError("List index out of bounds (" + std::to_string(Index) + ")");
    return FModes[static_cast<size_t>(Index)];
}

void TVideoModesList::AddCandidate(const TDisplayModeRecord& Record)
{
    if (!Representable(Record.Width, Record.Height, Record.BitsPerPixel))
        return;
    const TVideoMode Mode{static_cast<int32_t>(Record.Width), static_cast<int32_t>(Record.Height),
                          static_cast<int32_t>(Record.BitsPerPixel)};
    // The same size and depth at another refresh rate is the same mode here.
    if (std::find(FModes.begin(), FModes.end(), Mode) != FModes.end())
        return;
    if (FDisplay.TestMode(Record) == dcSuccessful)
        FModes.push_back(Mode);
}

void TVideoModesList::Enumerate()
{
    FModes.clear();
    TDisplayModeRecord Record;
    for (uint32_t Index = 0; FDisplay.EnumMode(Index, Record); ++Index)
        AddCandidate(Record);

    if (FDisplay.TestMode(DriverProbe) == dcSuccessful)
        return;
    for (const TSize& Size : FallbackSizes)
        for (uint32_t Depth : FallbackDepths)
            AddCandidate(TDisplayModeRecord{Size.Width, Size.Height, Depth, 0});
}

void TVideoModesList::CaptureDesktop()
{
    if (FDesktopCaptured)
        return;
    const TDesktopCaps Caps = FDisplay.DesktopCaps();
    FDesktop = TVideoMode{Caps.Width, Caps.Height, Caps.BitsPerPixel};
    FDesktopCaptured = true;
}

TVideoMode TVideoModesList::DesktopMode()
{
    CaptureDesktop();
    return FDesktop;
}

bool TVideoModesList::SetMode(int32_t Width, int32_t Height, int32_t BitsPerPixel)
{
    // Captured before the first switch, while the desktop's mode is in force.
    CaptureDesktop();
    if (Width < 1 || Width > 0xFFFF || Height < 1 || Height > 0xFFFF || BitsPerPixel < 1)
        return false;
    const TDisplayModeRecord Record{static_cast<uint32_t>(Width), static_cast<uint32_t>(Height),
                                    static_cast<uint32_t>(BitsPerPixel), 0};
    if (FDisplay.SwitchMode(Record) != dcSuccessful)
        return false;
    FChanged = true;
    FSwitched = TVideoMode{Width, Height, BitsPerPixel};
    return true;
}

void TVideoModesList::Restore()
{
    FDisplay.ResetMode();
    FChanged = false;
}

TScreenMode::TScreenMode(int32_t ColorDepth, int32_t Width, int32_t Height) : ColorDepth(ColorDepth)
{
    SetWidth(Width);
    SetHeight(Height);
}

void TScreenMode::SetWidth(int32_t Value)
{
    const uint32_t Packed = (static_cast<uint32_t>(ScreenSize) & 0xFFFFu) | ((static_cast<uint32_t>(Value) & 0xFFFFu) << 16);
    ScreenSize = static_cast<int32_t>(Packed);
}

void TScreenMode::SetHeight(int32_t Value)
{
    const uint32_t Packed = (static_cast<uint32_t>(ScreenSize) & 0xFFFF0000u) | (static_cast<uint32_t>(Value) & 0xFFFFu);
    ScreenSize = static_cast<int32_t>(Packed);
}
