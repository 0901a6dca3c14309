// Stands in for the Display Properties window: a top-level window with a
// magenta client area for a saver's preview to live in.
//
//   PreviewHost.exe REPORT
//
// Writes "hwnd: N" (the window handle in decimal) and "client: X Y W H"
// (the client area in screen coordinates) to REPORT, then "ready". Five
// times a second it writes its child windows to REPORT.children, one line
// each: "child: CLASS X Y W H STYLE OTHERPROCESS" (position in the client
// area, style in hex, 1 when another process owns the child). Q destroys
// the window; the process stays 5 s longer, so a preview that ends has
// followed the window, not the process. Exit code 0, 2 on bad usage.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <fstream>
#include <string>
#include "platform/win32/Win32Text.h"

namespace {

const COLORREF HostColor = RGB(255, 0, 255);
std::string ChildrenName;


BOOL CALLBACK ListChild(HWND Child, LPARAM Param)
{
    auto& Out = *reinterpret_cast<std::string*>(Param);
    wchar_t Class[128] = {};
    GetClassNameW(Child, Class, 128);
    RECT R;
    GetWindowRect(Child, &R);
    MapWindowPoints(nullptr, GetParent(Child), reinterpret_cast<POINT*>(&R), 2);
    DWORD Pid = 0;
    GetWindowThreadProcessId(Child, &Pid);
    char Style[16];
    wsprintfA(Style, "%08lx", static_cast<unsigned long>(GetWindowLongW(Child, GWL_STYLE)));
    Out += "child: " + Win32Narrow(Class) + " " + std::to_string(R.left) + " " + std::to_string(R.top) + " " +
           std::to_string(R.right - R.left) + " " + std::to_string(R.bottom - R.top) + " " + Style + " " +
           (Pid != GetCurrentProcessId() ? "1" : "0") + "\n";
    return TRUE;
}

void WriteChildren(HWND Wnd)
{
    std::string Lines;
    EnumChildWindows(Wnd, ListChild, reinterpret_cast<LPARAM>(&Lines));
    const std::string Temp = ChildrenName + ".new";
    {
        std::ofstream Out(Temp, std::ios::binary | std::ios::trunc);
        Out << Lines;
    }
    MoveFileExA(Temp.c_str(), ChildrenName.c_str(), MOVEFILE_REPLACE_EXISTING);
}

LRESULT CALLBACK HostProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    switch (Msg) {
    case WM_PAINT: {
        PAINTSTRUCT Ps;
        HDC Dc = BeginPaint(Wnd, &Ps);
        HBRUSH Brush = CreateSolidBrush(HostColor);
        RECT R;
        GetClientRect(Wnd, &R);
        FillRect(Dc, &R, Brush);
        DeleteObject(Brush);
        EndPaint(Wnd, &Ps);
        return 0;
    }
    case WM_TIMER:
        WriteChildren(Wnd);
        return 0;
    case WM_KEYDOWN:
        if (W == 'Q')
            DestroyWindow(Wnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
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
    ChildrenName = ReportName + ".children";
    LocalFree(Argv);

    WNDCLASSW Wc{};
    Wc.lpfnWndProc = HostProc;
    Wc.hInstance = Inst;
    Wc.lpszClassName = L"GlimmoraPreviewHost";
    Wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassW(&Wc);
    // WS_CLIPCHILDREN: the host paints around the preview, not over it.
    HWND Wnd = CreateWindowExW(0, Wc.lpszClassName, L"Glimmora Preview Host",
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
        Report << "hwnd: " << reinterpret_cast<std::uintptr_t>(Wnd) << "\n";
        Report << "client: " << Origin.x << " " << Origin.y << " " << Client.right << " " << Client.bottom << "\n";
        Report << "ready\n";
    }

    SetTimer(Wnd, 1, 200, nullptr);
    MSG Msg;
    while (GetMessageW(&Msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&Msg);
        DispatchMessageW(&Msg);
    }
    Sleep(5000);
    return 0;
}
