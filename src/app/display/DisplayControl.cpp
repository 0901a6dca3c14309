#include "app/display/DisplayControl.h"

#include <string>

#include "gl/Errors.h"

namespace {

[[noreturn]] void ListIndexError(int Index)
{
    throw EGlimmoraError("List index out of bounds (" + std::to_string(Index) + ")");
}

} // namespace

const TScreenMode& TScreenModes::Item(int Index) const
{
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
    return FItems[static_cast<size_t>(Index)];
}

void TScreenModes::Add(int32_t Width, int32_t Height, int32_t ColorDepth)
{
    if (IndexOf(Width, Height, ColorDepth) < 0)
        FItems.emplace_back(ColorDepth, Width, Height);
}

int TScreenModes::IndexOf(int32_t Width, int32_t Height, int32_t ColorDepth) const
{
    for (int I = 0; I < Count(); ++I) {
        const TScreenMode& M = FItems[static_cast<size_t>(I)];
        if (M.ColorDepth == ColorDepth && M.Width() == Width && M.Height() == Height)
            return I;
    }
    return -1;
}

const TColorDepthMode& TColorDepthModes::Item(int Index) const
{
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
    return FItems[static_cast<size_t>(Index)];
}

TColorDepthMode& TColorDepthModes::Item(int Index)
{
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
    return FItems[static_cast<size_t>(Index)];
}

int TColorDepthModes::Add(int32_t ColorDepth)
{
    const int Index = IndexOf(ColorDepth);
    if (Index >= 0)
        return Index;
    FItems.emplace_back(ColorDepth);
    return Count() - 1;
}

int TColorDepthModes::IndexOf(int32_t ColorDepth) const
{
    for (int I = 0; I < Count(); ++I)
        if (FItems[static_cast<size_t>(I)].ColorDepth == ColorDepth)
            return I;
    return -1;
}

TDisplayControl::TDisplayControl(IDisplaySettings& Display) : FVideoModes(Display) {}

void TDisplayControl::Loaded()
{
    if (AutoEnumerate)
        Enumerate();
}

void TDisplayControl::Enumerate()
{
    FColorDepthModes.Clear();
    FVideoModes.Enumerate();
    for (int I = 0; I < FVideoModes.Count(); ++I) {
        const TVideoMode Mode = FVideoModes.Item(I);
        bool Accept = true;
        if (OnEnumerate)
            OnEnumerate(Mode.BitsPerPixel, Mode.Width, Mode.Height, Accept);
        if (Accept) {
            const int Depth = FColorDepthModes.Add(Mode.BitsPerPixel);
            FColorDepthModes.Item(Depth).Modes.Add(Mode.Width, Mode.Height, Mode.BitsPerPixel);
        }
    }
}

TScreenMode TDisplayControl::DesktopMode()
{
    const TVideoMode Desktop = FVideoModes.DesktopMode();
    return TScreenMode(Desktop.BitsPerPixel, Desktop.Width, Desktop.Height);
}

TScreenMode TDisplayControl::CurrentMode()
{
    if (!FFullScreen)
        return DesktopMode();
    // The mode the system accepted last. It equals FullScreenMode unless a
    // later change of FullScreenMode was refused while full screen.
    const TVideoMode Switched = FVideoModes.SwitchedMode();
    return TScreenMode(Switched.BitsPerPixel, Switched.Width, Switched.Height);
}

void TDisplayControl::SetFullScreen(bool Value)
{
    if (Value == FFullScreen)
        return;
    if (Value)
        ChangeMode(FFullScreenMode.Width(), FFullScreenMode.Height(), FFullScreenMode.ColorDepth);
    else
        RestoreMode();
}

void TDisplayControl::SetFullScreenMode(const TScreenMode& Value)
{
    FFullScreenMode = Value;
    if (FFullScreen)
        ChangeMode(FFullScreenMode.Width(), FFullScreenMode.Height(), FFullScreenMode.ColorDepth);
}

bool TDisplayControl::ChangeMode(int32_t Width, int32_t Height, int32_t ColorDepth)
{
    if (OnBeforeChange)
        OnBeforeChange(*this);
    const bool Result = FVideoModes.SetMode(Width, Height, ColorDepth);
    FFullScreen = FVideoModes.Changed();
    if (OnAfterChange)
        OnAfterChange(*this);
    return Result;
}

void TDisplayControl::RestoreMode()
{
    if (OnBeforeChange)
        OnBeforeChange(*this);
    FVideoModes.Restore();
    FFullScreen = FVideoModes.Changed();
    if (OnAfterChange)
        OnAfterChange(*this);
}

void DisplayControlEnumerate(int32_t ColorDepth, int32_t /*Width*/, int32_t /*Height*/, bool& Accept)
{
    Accept = ColorDepth == 16 || ColorDepth == 32;
}
