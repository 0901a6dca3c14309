// Platform seam: the desktop's windows, the mouse cursor and the system's
// "a screen saver runs" flag, as the screen-saver frame uses them.
//
// Windows: GetForegroundWindow, IsWindow, GetClientRect, ShowCursor and
// SystemParametersInfo(SPI_SETSCREENSAVERRUNNING). Tests use a fake
// (tests/fakes/FakeDesktop.h).
#pragma once

#include "platform/WindowHandle.h"

struct TWindowRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

class IDesktop {
public:
    virtual ~IDesktop() = default;
    // The window the user works in now; 0 when there is none.
    virtual TWindowHandle ForegroundWindow() = 0;
    // Whether the handle names an existing window (0 never does).
    virtual bool IsWindow(TWindowHandle Window) = 0;
    // The window's client area in its own coordinates (Left and Top are
    // 0); false when the handle names no window.
    virtual bool ClientRect(TWindowHandle Window, TWindowRect& Rect) = 0;
    // One step of the system's cursor display counter: the cursor shows
    // while the counter is 0 or more, so every hide needs its own show.
    virtual void ShowCursor(bool Show) = 0;
    // Tells the system whether a screen saver runs (on older systems this
    // keeps the task-switch keys away from a password-protected saver).
    virtual void SetScreenSaverRunning(bool Running) = 0;
};
