// Platform seam: the program's windows, their input, the mouse cursor,
// message boxes and the screen.
//
// Windows: plain Win32 windows without borders (the main form, the
// full-screen render window and the still picture inside another
// process's window), ShowCursor, MessageBox, GetSystemMetrics and
// GetDeviceCaps. Events arrive on the message loop's thread
// (platform/MessageLoop.h); what a handler raises goes to the loop's
// exception hook. Tests use a fake (tests/fakes/FakeWindowing.h).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/GLContext.h"
#include "platform/MessageLoop.h"
#include "platform/WindowHandle.h"

struct TWindowBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TWindowBounds&) const = default;
};

struct TScreenInfo {
    int Width = 0;
    int Height = 0;
    int BitsPerPixel = 0;
};

// A picture for a window to show stretched over its client area: rows
// top-down, four bytes a pixel in the order blue, green, red, unused.
struct TPicture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;
};

enum TMouseButton { mbLeft, mbRight, mbMiddle, mbOther };

// What a window reports. Coordinates are relative to its client area.
class IWindowEvents {
public:
    virtual ~IWindowEvents() = default;
    virtual void Paint() {}
    virtual void KeyDown(unsigned Key) { (void)Key; }
    virtual void MouseDown(TMouseButton Button, int X, int Y) { (void)Button, (void)X, (void)Y; }
    virtual void MouseMove(int X, int Y) { (void)X, (void)Y; }
    virtual void Timer() {}
    // The window was destroyed by someone else (its parent went away);
    // its object stays but only its destructor may be called.
    virtual void Destroyed() {}
};

class IWindow {
public:
    // Destroys the window (no Destroyed event).
    virtual ~IWindow() = default;
    virtual TWindowHandle Handle() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Visible() const = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    // Above every window that is not top-most, without moving or sizing.
    virtual void SetTopMost() = 0;
    // Mouse input goes to this window wherever the pointer is.
    virtual void CaptureMouse() = 0;
    // The keyboard focus and the foreground.
    virtual void Focus() = 0;
    // Delivers Paint now, before returning (a synchronous paint message).
    virtual void Paint() = 0;
    // The window's device context for OpenGL; give it back with ReleaseDC.
    virtual TGLDeviceContext GetDC() = 0;
    virtual void ReleaseDC(TGLDeviceContext DC) = 0;
    // The window shows this picture stretched over its client area.
    virtual void SetPicture(TPicture Picture) = 0;
    // Timer events every Milliseconds until the window is destroyed.
    virtual void StartTimer(unsigned Milliseconds) = 0;
};

enum TMessageBoxStyle : unsigned {
    mbsOk = 0x0,          // MB_OK
    mbsIconError = 0x10,  // MB_ICONERROR
};

// The desktop's side (foreground window, other windows, the cursor
// counter, the screen-saver-running flag) is the IDesktop seam; the
// program's windows come on top of it.
class IWindowSystem : public IDesktop {
public:
    virtual ~IWindowSystem() = default;

    // The program's main form outside the preview: no border, black,
    // disabled, no taskbar button, shown at Bounds (which may lie off the
    // screen and have no size).
    virtual std::unique_ptr<IWindow> CreateMainForm(const std::string& Caption, const TWindowBounds& Bounds,
                                                    IWindowEvents& Events) = 0;
    // A window to render into: no owner, no border, black, no mouse
    // cursor over it, not yet shown.
    virtual std::unique_ptr<IWindow> CreateRenderForm(const TWindowBounds& Bounds, IWindowEvents& Events) = 0;
    // A child window of Parent (a window of any process): no border,
    // black, disabled (it takes no input), shown. Null when Parent is not
    // a window.
    virtual std::unique_ptr<IWindow> CreateChildForm(TWindowHandle Parent, const TWindowBounds& Bounds,
                                                     IWindowEvents& Events) = 0;

    // A modal message box; Owner 0 for none. Returns the button pressed.
    virtual int ShowMessageBox(TWindowHandle Owner, const std::string& Text, const std::string& Caption,
                           unsigned Style) = 0;
    // The primary display as it is now.
    virtual TScreenInfo Screen() = 0;
};
