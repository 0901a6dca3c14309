// Platform seam: the window a frame is drawn into.
//
// Windows: the render window of a run (its device context). Linux: an
// off-screen pbuffer target (platform/headless/HeadlessWindow.h), later an
// SDL or foreign X window. The scene draws on DC's current context and
// shows the frame with the engine's SwapBuffers on the same DC.
#pragma once

#include "platform/GLContext.h"

class IRenderWindow {
public:
    virtual ~IRenderWindow() = default;
    // The drawing area in pixels.
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // The device context the frame is drawn on and swapped.
    virtual TGLDeviceContext DC() const = 0;
    // Gives the window the input focus (full-screen runs).
    virtual void Focus() {}
    virtual bool Visible() const { return true; }
};
