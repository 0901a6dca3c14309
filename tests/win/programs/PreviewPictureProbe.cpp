// Runs the saver's preview (the program's /p path, with the real Win32
// backends) inside a window of this same process. Wine shows what a child
// window draws only when one process owns both windows, so this is where
// the still picture can be looked at on the screen.
//
//   PreviewPictureProbe.exe REPORT
//
// Writes "client: X Y W H" (its client area in screen coordinates) and
// "ready" to REPORT, then runs the preview until Q destroys the window.
// The exit code is the program's; 2 on bad usage.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "app/saver/SaverProgram.h"
#include "platform/win32/Win32Text.h"
#include "programs/win32/Win32SaverSystem.h"

namespace {

LRESULT CALLBACK HostProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    switch (Msg) {
    case WM_ERASEBKGND: {
        RECT R;
        GetClientRect(Wnd, &R);
        HBRUSH Brush = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(reinterpret_cast<HDC>(W), &R, Brush);
        DeleteObject(Brush);
        return 1;
    }
    case WM_KEYDOWN:
        if (W == 'Q')
            DestroyWindow(Wnd);
        return 0;
    }
    return DefWindowProcW(Wnd, Msg, W, L);
}

} // namespace

int WINAPI WinMain(HINSTANCE Inst, HINSTANCE, LPSTR, int)
{
    int Argc = 0;
    LPWSTR* Argv = CommandLineToArgvW(GetCommandLineW(), &Argc);
    if (!Argv || Argc < 2)
        return 2;
    const std::string ReportName = Win32Narrow(Argv[1]);
    LocalFree(Argv);

    WNDCLASSW Wc{};
    Wc.lpfnWndProc = HostProc;
    Wc.hInstance = Inst;
    Wc.lpszClassName = L"GlimmoraPictureHost";
    Wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassW(&Wc);
    HWND Wnd = CreateWindowExW(0, Wc.lpszClassName, L"Glimmora Picture Host",
                               WS_POPUP | WS_BORDER | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 322, 242, nullptr,
                               nullptr, Inst, nullptr);
    SetForegroundWindow(Wnd);
    SetFocus(Wnd);
    RECT Client;
    GetClientRect(Wnd, &Client);
    POINT Origin{0, 0};
    ClientToScreen(Wnd, &Origin);
    {
        std::ofstream Report(ReportName);
        Report << "client: " << Origin.x << " " << Origin.y << " " << Client.right << " " << Client.bottom << "\n";
        Report << "ready\n";
    }

    const TWin32SaverSystem Backends;
    const std::vector<std::string> Params{"C:\\Probe\\PreviewPictureProbe.exe", "/p",
                                          std::to_string(reinterpret_cast<std::uintptr_t>(Wnd))};
    return RunScreenSaver(Backends.System(), Params);
}
