// The program's windows on Win32: plain borderless windows whose window
// procedure turns messages into the seam's events and catches whatever a
// handler raises.
#include <windows.h>

#include <string>
#include <utility>

#include "platform/win32/Win32Backends.h"

namespace {

const wchar_t* const MainFormClass = L"GlimmoraMainForm";
const wchar_t* const RenderFormClass = L"GlimmoraRenderForm";
const wchar_t* const ChildFormClass = L"GlimmoraChildForm";
const wchar_t* const RenderFormCaption = L"Glimmora 3D";
constexpr UINT_PTR EventTimerId = 1;

std::wstring Wide(const std::string& Text)
{
    if (Text.empty())
        return {};
    const int N = MultiByteToWideChar(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0);
    if (N <= 0)
        return std::wstring(Text.begin(), Text.end());   // not UTF-8: bytes as they are
    std::wstring Out(static_cast<std::size_t>(N), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), Out.data(), N);
    return Out;
}

// Signed client coordinates of a mouse message (negative while captured
// outside the window).
int XOf(LPARAM L) { return static_cast<short>(LOWORD(L)); }
int YOf(LPARAM L) { return static_cast<short>(HIWORD(L)); }

HWND AsHWND(TWindowHandle Handle) { return reinterpret_cast<HWND>(Handle); }
TWindowHandle AsHandle(HWND Wnd) { return reinterpret_cast<TWindowHandle>(Wnd); }

enum TFormKind { fkMain, fkRender, fkChild };

class TWin32Window final : public IWindow {
public:
    TWin32Window(TFormKind Kind, IWindowEvents& Events, IMessageLoop& Loop)
        : FKind(Kind), FEvents(Events), FLoop(Loop)
    {
    }

    ~TWin32Window() override
    {
        if (!FWnd)
            return;
        HWND Wnd = std::exchange(FWnd, nullptr);
        SetWindowLongPtrW(Wnd, GWLP_USERDATA, 0);   // no more events for this object
        if (GetCapture() == Wnd)
            ReleaseCapture();
        DestroyWindow(Wnd);
    }

    bool Create(DWORD ExStyle, const wchar_t* Class, const std::wstring& Caption, DWORD Style,
                const TWindowBounds& B, HWND Parent)
    {
        FWnd = CreateWindowExW(ExStyle, Class, Caption.c_str(), Style, B.Left, B.Top, B.Width, B.Height, Parent,
                               nullptr, GetModuleHandleW(nullptr), this);
        return FWnd != nullptr;
    }

    TWindowHandle Handle() const override { return AsHandle(FWnd); }
    int Width() const override { return ClientRect().right; }
    int Height() const override { return ClientRect().bottom; }
    bool Visible() const override { return FWnd && IsWindowVisible(FWnd); }
    void Show() override { ShowWindow(FWnd, SW_SHOW); }
    void Hide() override
    {
        if (GetCapture() == FWnd)
            ReleaseCapture();
        ShowWindow(FWnd, SW_HIDE);
    }
    void SetTopMost() override { SetWindowPos(FWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }
    void CaptureMouse() override { SetCapture(FWnd); }
    void Focus() override
    {
        if (GetForegroundWindow() != FWnd)
            SetForegroundWindow(FWnd);
        if (GetFocus() != FWnd)
            SetFocus(FWnd);
    }
    void Paint() override { SendMessageW(FWnd, WM_PAINT, 0, 0); }
    TGLDeviceContext GetDC() override { return ::GetDC(FWnd); }
    void ReleaseDC(TGLDeviceContext DC) override { ::ReleaseDC(FWnd, static_cast<HDC>(DC)); }
    void SetPicture(TPicture Picture) override
    {
        FPicture = std::move(Picture);
        InvalidateRect(FWnd, nullptr, FALSE);
    }
    void StartTimer(unsigned Milliseconds) override { SetTimer(FWnd, EventTimerId, Milliseconds, nullptr); }

    static LRESULT CALLBACK WindowProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
    {
        if (Msg == WM_NCCREATE) {
            auto* Create = reinterpret_cast<CREATESTRUCTW*>(L);
            SetWindowLongPtrW(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Create->lpCreateParams));
        }
        auto* Self = reinterpret_cast<TWin32Window*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA));
        if (!Self)
            return DefWindowProcW(Wnd, Msg, W, L);
        // A handler may free this object (and destroy the window): only
        // the loop, which outlives every window, is used after it.
        IMessageLoop& Loop = Self->FLoop;
        try {
            return Self->Handle(Wnd, Msg, W, L);
        } catch (...) {
            Loop.HandleException();
            return 0;
        }
    }

private:
    RECT ClientRect() const
    {
        RECT R{};
        if (FWnd)
            GetClientRect(FWnd, &R);
        return R;
    }

    // Ends the paint cycle even when the handler raises or frees the window.
    struct TPaintCycle {
        HWND Wnd;
        PAINTSTRUCT Ps{};
        explicit TPaintCycle(HWND W) : Wnd(W) { BeginPaint(Wnd, &Ps); }
        ~TPaintCycle() { EndPaint(Wnd, &Ps); }
    };

    void DrawPicture(HDC DC)
    {
        const TPicture& P = FPicture;
        if (P.Width <= 0 || P.Height <= 0 || P.Pixels.size() != std::size_t(P.Width) * std::size_t(P.Height) * 4)
            return;
        const RECT R = ClientRect();
        BITMAPINFO Info{};
        Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        Info.bmiHeader.biWidth = P.Width;
        Info.bmiHeader.biHeight = -P.Height;   // rows top-down
        Info.bmiHeader.biPlanes = 1;
        Info.bmiHeader.biBitCount = 32;
        Info.bmiHeader.biCompression = BI_RGB;
        SetStretchBltMode(DC, HALFTONE);
        SetBrushOrgEx(DC, 0, 0, nullptr);
        StretchDIBits(DC, 0, 0, R.right, R.bottom, 0, 0, P.Width, P.Height, P.Pixels.data(), &Info,
                      DIB_RGB_COLORS, SRCCOPY);
    }

    LRESULT Handle(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
    {
        switch (Msg) {
        case WM_PAINT: {
            TPaintCycle Cycle(Wnd);
            if (!FPicture.Pixels.empty())
                DrawPicture(Cycle.Ps.hdc);
            FEvents.Paint();
            return 0;
        }
        case WM_ERASEBKGND:
            if (FKind == fkRender || !FPicture.Pixels.empty())
                return 1;   // the frame or the picture covers everything
            break;
        case WM_SETCURSOR:
            if (FKind == fkRender && LOWORD(L) == HTCLIENT) {
                SetCursor(nullptr);
                return TRUE;
            }
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            FEvents.KeyDown(static_cast<unsigned>(W));
            return 0;
        case WM_LBUTTONDOWN:
            FEvents.MouseDown(mbLeft, XOf(L), YOf(L));
            return 0;
        case WM_RBUTTONDOWN:
            FEvents.MouseDown(mbRight, XOf(L), YOf(L));
            return 0;
        case WM_MBUTTONDOWN:
            FEvents.MouseDown(mbMiddle, XOf(L), YOf(L));
            return 0;
        case WM_XBUTTONDOWN:
            FEvents.MouseDown(mbOther, XOf(L), YOf(L));
            return TRUE;
        case WM_MOUSEMOVE:
            FEvents.MouseMove(XOf(L), YOf(L));
            return 0;
        case WM_TIMER:
            if (W == EventTimerId) {
                FEvents.Timer();
                return 0;
            }
            break;
        case WM_DESTROY:
            // Destroyed from outside (the parent went away): the object
            // stays, without a window.
            SetWindowLongPtrW(Wnd, GWLP_USERDATA, 0);
            FWnd = nullptr;
            FEvents.Destroyed();
            return 0;
        default:
            break;
        }
        return DefWindowProcW(Wnd, Msg, W, L);
    }

    TFormKind FKind;
    IWindowEvents& FEvents;
    IMessageLoop& FLoop;
    HWND FWnd = nullptr;
    TPicture FPicture;
};

class TWin32WindowSystem final : public IWindowSystem {
public:
    explicit TWin32WindowSystem(IMessageLoop& Loop) : FLoop(Loop)
    {
        HINSTANCE Instance = GetModuleHandleW(nullptr);
        HICON Icon = LoadIconW(Instance, L"MAINICON");
        Register(MainFormClass, 0, LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)), Icon);
        // Its own device context for the OpenGL context; no class cursor,
        // so nothing shows over a render window.
        Register(RenderFormClass, CS_OWNDC, nullptr, Icon);
        // A child window may carry an OpenGL context too (the live preview
        // inside the settings dialog): its own device context as well.
        Register(ChildFormClass, CS_OWNDC, LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)), nullptr);
    }

    std::unique_ptr<IWindow> CreateMainForm(const std::string& Caption, const TWindowBounds& Bounds,
                                            IWindowEvents& Events) override
    {
        auto W = std::make_unique<TWin32Window>(fkMain, Events, FLoop);
        if (!W->Create(WS_EX_TOOLWINDOW, MainFormClass, Wide(Caption), WS_POPUP | WS_DISABLED | WS_VISIBLE,
                       Bounds, nullptr))
            throw std::runtime_error("The main window cannot be created.");
        return W;
    }

    std::unique_ptr<IWindow> CreateRenderForm(const TWindowBounds& Bounds, IWindowEvents& Events) override
    {
        auto W = std::make_unique<TWin32Window>(fkRender, Events, FLoop);
        if (!W->Create(0, RenderFormClass, RenderFormCaption, WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                       Bounds, nullptr))
            throw std::runtime_error("The render window cannot be created.");
        return W;
    }

    std::unique_ptr<IWindow> CreateChildForm(TWindowHandle Parent, const TWindowBounds& Bounds,
                                             IWindowEvents& Events) override
    {
        if (!IsWindow(Parent))
            return nullptr;
        auto W = std::make_unique<TWin32Window>(fkChild, Events, FLoop);
        if (!W->Create(0, ChildFormClass, L"", WS_CHILD | WS_DISABLED | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                       Bounds,
                       AsHWND(Parent)))
            return nullptr;
        return W;
    }

    bool IsWindow(TWindowHandle Window) override { return Window != 0 && ::IsWindow(AsHWND(Window)); }

    bool ClientRect(TWindowHandle Window, TWindowRect& Rect) override
    {
        RECT R;
        if (!IsWindow(Window) || !GetClientRect(AsHWND(Window), &R))
            return false;
        Rect = {R.left, R.top, R.right, R.bottom};
        return true;
    }
    TWindowHandle ForegroundWindow() override { return AsHandle(GetForegroundWindow()); }
    void ShowCursor(bool Show) override { ::ShowCursor(Show ? TRUE : FALSE); }
    void SetScreenSaverRunning(bool Running) override
    {
        UINT Scratch = 0;
        SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, Running ? TRUE : FALSE, &Scratch, 0);
    }
    int ShowMessageBox(TWindowHandle Owner, const std::string& Text, const std::string& Caption, unsigned Style) override
    {
        return MessageBoxW(AsHWND(Owner), Wide(Text).c_str(), Wide(Caption).c_str(), Style);
    }

    TScreenInfo Screen() override
    {
        TScreenInfo S;
        S.Width = GetSystemMetrics(SM_CXSCREEN);
        S.Height = GetSystemMetrics(SM_CYSCREEN);
        if (HDC DC = ::GetDC(nullptr)) {
            S.BitsPerPixel = GetDeviceCaps(DC, BITSPIXEL) * GetDeviceCaps(DC, PLANES);
            ::ReleaseDC(nullptr, DC);
        }
        return S;
    }

private:
    static void Register(const wchar_t* Name, UINT Style, HCURSOR Cursor, HICON Icon)
    {
        WNDCLASSEXW C{};
        C.cbSize = sizeof(C);
        C.style = Style;
        C.lpfnWndProc = TWin32Window::WindowProc;
        C.hInstance = GetModuleHandleW(nullptr);
        C.hIcon = Icon;
        C.hCursor = Cursor;
        C.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        C.lpszClassName = Name;
        RegisterClassExW(&C);   // a second window system finds the class registered
    }

    IMessageLoop& FLoop;
};

static_assert(mbsIconError == MB_ICONERROR && mbsOk == MB_OK);

} // namespace

std::unique_ptr<IWindowSystem> CreateWindowSystem(IMessageLoop& Loop)
{
    return std::make_unique<TWin32WindowSystem>(Loop);
}
