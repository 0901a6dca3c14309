// A tiny Windows program that exercises the integration harness itself:
// it covers the screen with one colour, writes a registry value and quits
// with exit code 7 when Q is pressed.
#include <windows.h>

namespace {

const COLORREF ProbeColor = RGB(0, 128, 255);

LRESULT CALLBACK ProbeProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    switch (Msg) {
    case WM_PAINT: {
        PAINTSTRUCT Ps;
        HDC Dc = BeginPaint(Wnd, &Ps);
        HBRUSH Brush = CreateSolidBrush(ProbeColor);
        RECT R;
        GetClientRect(Wnd, &R);
        FillRect(Dc, &R, Brush);
        DeleteObject(Brush);
        EndPaint(Wnd, &Ps);
        return 0;
    }
    case WM_KEYDOWN:
        if (W == 'Q')
            PostQuitMessage(7);
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
    HKEY Key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Tarnwick Software\\Glimmora Harness Probe", 0,
                        nullptr, 0, KEY_WRITE, nullptr, &Key, nullptr) == ERROR_SUCCESS) {
        DWORD One = 1;
        RegSetValueExW(Key, L"Started", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&One), sizeof(One));
        RegCloseKey(Key);
    }
    WNDCLASSW Wc{};
    Wc.lpfnWndProc = ProbeProc;
    Wc.hInstance = Inst;
    Wc.lpszClassName = L"GlimmoraHarnessProbe";
    Wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassW(&Wc);
    HWND Wnd = CreateWindowExW(WS_EX_TOPMOST, Wc.lpszClassName, L"Glimmora Harness Probe", WS_POPUP | WS_VISIBLE,
                               0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                               nullptr, Inst, nullptr);
    SetForegroundWindow(Wnd);
    SetFocus(Wnd);
    MSG Msg;
    while (GetMessageW(&Msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&Msg);
        DispatchMessageW(&Msg);
    }
    return static_cast<int>(Msg.wParam);
}
