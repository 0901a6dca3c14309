// Platform seam: a window on the screen that the scene draws into and that
// reports what happened to it (keys, buttons, moves, closing, resizing).
//
// Linux: an SDL window of the program's own (platform/linux/SDLWindow.h),
// or a window of another program drawn through EGL (the screen-saver
// daemon's, platform/linux/ForeignWindow.h), which reports no input. The
// run loop (app/LinuxWindowRun.h) polls it once per frame; tests use a fake.
#pragma once

#include <string>

#include "platform/RenderWindow.h"

enum TWindowEventKind {
    wePointerMove,   // X, Y: the pointer's position in the window
    weButton,        // any mouse button pressed
    weKey,           // any key pressed; Escape tells the Escape key
    weClose,         // the user (or the window manager) closes the window
};

struct TWindowEvent {
    TWindowEventKind Kind = weClose;
    int X = 0, Y = 0;
    bool Escape = false;
};

class IEventWindow : public IRenderWindow {
public:
    // The next pending event; false when there is none.
    virtual bool PollEvent(TWindowEvent& Event) = 0;
    virtual void SetTitle(const std::string& Title) = 0;
    // Waits for the display's refresh at each swap (1) or not (0); false
    // when the driver does not offer it.
    virtual bool SetSwapInterval(int Interval) = 0;
};
