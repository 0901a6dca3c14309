// Platform seam: the main form's window, for the steps the screen-saver
// frame and the launcher take on it before and after the message loop.
//
// Windows: implemented by the program's main form. Tests use a recording
// fake (tests/fakes/FakeMainFormWindow.h).
#pragma once

#include "platform/WindowHandle.h"

class IMainFormWindow {
public:
    virtual ~IMainFormWindow() = default;
    // The form's size as designed (or as last set).
    virtual int Width() = 0;
    virtual int Height() = 0;
    virtual void SetBounds(int Left, int Top, int Width, int Height) = 0;
    // Makes the form a child of Parent.
    virtual void SetParentWindow(TWindowHandle Parent) = 0;
    // Black, without a border, disabled: a plain surface that takes no
    // input.
    virtual void SetPlainSurface() = 0;
    // Detaches the form's own event handlers (create, destroy, activate,
    // deactivate, close, close query, paint, resize, show), so a refused
    // instance ends without running any of them.
    virtual void DetachHandlers() = 0;
    virtual void Hide() = 0;
    virtual void Close() = 0;
};
