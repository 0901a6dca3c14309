#include <windows.h>

#include "platform/win32/Win32AppServices.h"

namespace {

HWND ToHwnd(TWindowHandle Window) { return reinterpret_cast<HWND>(Window); }

class TWin32Desktop final : public IDesktop {
public:
    TWindowHandle ForegroundWindow() override { return reinterpret_cast<TWindowHandle>(GetForegroundWindow()); }
    bool IsWindow(TWindowHandle Window) override { return Window != 0 && ::IsWindow(ToHwnd(Window)); }
    bool ClientRect(TWindowHandle Window, TWindowRect& Rect) override
    {
        RECT R;
        if (Window == 0 || !GetClientRect(ToHwnd(Window), &R))
            return false;
        Rect = {R.left, R.top, R.right, R.bottom};
        return true;
    }
    void ShowCursor(bool Show) override { ::ShowCursor(Show ? TRUE : FALSE); }
    void SetScreenSaverRunning(bool Running) override
    {
        UINT Scratch = 0;
        SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, Running ? 1 : 0, &Scratch, 0);
    }
};

} // namespace

std::unique_ptr<IDesktop> CreateWin32Desktop() { return std::make_unique<TWin32Desktop>(); }
