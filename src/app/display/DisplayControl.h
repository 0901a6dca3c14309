// The display control of the main form: the accepted video modes grouped
// by colour depth for the settings dialog (filtered through OnEnumerate),
// the desktop's mode, the chosen full-screen mode and the full-screen
// state that switches the display and back.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "app/display/VideoModeClass.h"
#include "platform/DisplaySettings.h"

// Screen modes in the order added, each at most once.
class TScreenModes {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EGlimmoraError outside 0..Count-1.
    const TScreenMode& Item(int Index) const;
    // Appended only when no equal entry exists.
    void Add(int32_t Width, int32_t Height, int32_t ColorDepth);
    // The first entry with this colour depth, width and height, or -1.
    int IndexOf(int32_t Width, int32_t Height, int32_t ColorDepth) const;
    void Clear() { FItems.clear(); }

private:
    std::vector<TScreenMode> FItems;
};

class TColorDepthMode {
public:
    explicit TColorDepthMode(int32_t ColorDepth) : ColorDepth(ColorDepth) {}
    int32_t ColorDepth;
    TScreenModes Modes;
};

// Colour depths in the order first seen, each with its screen modes.
// References from Item stay valid until the next Add or Clear.
class TColorDepthModes {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raise EGlimmoraError outside 0..Count-1.
    const TColorDepthMode& Item(int Index) const;
    TColorDepthMode& Item(int Index);
    // The index of the entry for ColorDepth, appended (with no screen
    // modes) when there is none.
    int Add(int32_t ColorDepth);
    // The first entry with this depth, or -1.
    int IndexOf(int32_t ColorDepth) const;
    void Clear() { FItems.clear(); }

private:
    std::vector<TColorDepthMode> FItems;
};

class TDisplayControl;

// Decides whether an enumerated mode is offered; Accept comes in true.
using TVideoModeEnumEvent = std::function<void(int32_t ColorDepth, int32_t Width, int32_t Height, bool& Accept)>;
using TDisplayNotifyEvent = std::function<void(TDisplayControl& Sender)>;

class TDisplayControl {
public:
    // The display service is borrowed and must outlive the control. A new
    // control is not full screen and has 16 bits at 640 x 480 as its
    // full-screen mode.
    explicit TDisplayControl(IDisplaySettings& Display);
    // A switch still in force is undone (no events are raised).
    ~TDisplayControl() = default;
    TDisplayControl(const TDisplayControl&) = delete;
    TDisplayControl& operator=(const TDisplayControl&) = delete;

    bool AutoEnumerate = false;
    TVideoModeEnumEvent OnEnumerate;
    TDisplayNotifyEvent OnBeforeChange;
    TDisplayNotifyEvent OnAfterChange;

    // Called once the owner has set the control up: enumerates when
    // AutoEnumerate is set, so the lists are ready before options are read.
    void Loaded();
    // Rebuilds the colour-depth lists from the system's accepted modes,
    // keeping those OnEnumerate accepts (all of them when it is not set).
    void Enumerate();
    const TColorDepthModes& ColorDepthModes() const { return FColorDepthModes; }
    const TVideoModesList& VideoModes() const { return FVideoModes; }

    // The desktop's mode, captured once and then returned unchanged.
    TScreenMode DesktopMode();
    // The mode the display is in: the mode switched to while FullScreen is
    // true, the desktop's otherwise. A window that must cover the screen
    // takes its size from here, never from FullScreenMode, which may name a
    // mode the system refused.
    TScreenMode CurrentMode();

    bool FullScreen() const { return FFullScreen; }
    // True switches to FullScreenMode, false restores the desktop's mode;
    // setting the value it already has does nothing. A refused switch
    // leaves FullScreen as it was.
    void SetFullScreen(bool Value);
    const TScreenMode& FullScreenMode() const { return FFullScreenMode; }
    // Takes the mode; while full screen, switches to it at once.
    void SetFullScreenMode(const TScreenMode& Value);

    // Switch and restore, raising OnBeforeChange and OnAfterChange around
    // them. ChangeMode returns whether the system accepted the mode.
    bool ChangeMode(int32_t Width, int32_t Height, int32_t ColorDepth);
    void RestoreMode();

private:
    TVideoModesList FVideoModes;
    TColorDepthModes FColorDepthModes;
    bool FFullScreen = false;
    TScreenMode FFullScreenMode{16, 640, 480};
};

// The main form's OnEnumerate handler: only 16-bit and 32-bit modes are
// offered.
void DisplayControlEnumerate(int32_t ColorDepth, int32_t Width, int32_t Height, bool& Accept);
