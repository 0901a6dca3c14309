// The common part of the dialog windows: the window class, scaling by
// DPI, fonts, the background colour and focus and default-button
// bookkeeping.
#include "platform/win32/Win32DialogForm.h"

#include <stdexcept>
#include <utility>

namespace Win32Dialog {

namespace {

const wchar_t* const FormClass = L"GlimmoraDialogForm";

template <class TFunction>
TFunction User32Function(const char* Name)
{
    HMODULE User = GetModuleHandleW(L"user32.dll");
    return User ? reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(User, Name))) : nullptr;
}

void RegisterFormClass()
{
    static const bool Registered = [] {
        WNDCLASSEXW C{};
        C.cbSize = sizeof(C);
        C.lpfnWndProc = TDialogForm::WindowProc;
        C.hInstance = GetModuleHandleW(nullptr);
        C.hIcon = LoadIconW(C.hInstance, L"MAINICON");
        C.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        C.lpszClassName = FormClass;
        RegisterClassExW(&C);
        return true;
    }();
    (void)Registered;
}

HFONT MakeFont(const wchar_t* Face, int Height, int Weight, bool Underline)
{
    LOGFONTW F{};
    F.lfHeight = Height;
    F.lfWeight = Weight;
    F.lfUnderline = Underline ? TRUE : FALSE;
    F.lfCharSet = DEFAULT_CHARSET;
    F.lfQuality = DEFAULT_QUALITY;
    wcsncpy(F.lfFaceName, Face, LF_FACESIZE - 1);
    return CreateFontIndirectW(&F);
}

std::wstring WindowText(HWND Wnd)
{
    std::wstring Text(static_cast<std::size_t>(GetWindowTextLengthW(Wnd)) + 1, L'\0');
    Text.resize(static_cast<std::size_t>(GetWindowTextW(Wnd, Text.data(), static_cast<int>(Text.size()))));
    return Text;
}

} // namespace

UINT WindowDpi(HWND Wnd)
{
    using TGetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto GetDpi = User32Function<TGetDpiForWindow>("GetDpiForWindow");
    if (GetDpi && Wnd)
        if (const UINT Dpi = GetDpi(Wnd))
            return Dpi;
    HDC DC = GetDC(nullptr);
    const int Dpi = DC ? GetDeviceCaps(DC, LOGPIXELSY) : 0;
    if (DC)
        ReleaseDC(nullptr, DC);
    return Dpi > 0 ? static_cast<UINT>(Dpi) : DesignDpi;
}

RECT WorkArea(HWND Reference)
{
    MONITORINFO Info{};
    Info.cbSize = sizeof(Info);
    HMONITOR Monitor = Reference ? MonitorFromWindow(Reference, MONITOR_DEFAULTTOPRIMARY)
                                 : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (Monitor && GetMonitorInfoW(Monitor, &Info))
        return Info.rcWork;
    RECT R{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &R, 0);
    return R;
}

TDialogForm::TDialogForm(IMessageLoop& Loop) : FLoop(Loop) {}

TDialogForm::~TDialogForm()
{
    if (FWnd) {
        HWND Wnd = std::exchange(FWnd, nullptr);
        SetWindowLongPtrW(Wnd, GWLP_USERDATA, 0);   // no more messages for this object
        DestroyWindow(Wnd);
    }
    FreeFonts();
    if (FBrush)
        DeleteObject(FBrush);
}

void TDialogForm::CreateForm(HWND Owner, const std::wstring& Caption, DWORD Style, DWORD ExStyle, int ClientWidth,
                             int ClientHeight)
{
    RegisterFormClass();
    FStyle = Style;
    FExStyle = ExStyle;
    FClientWidth = ClientWidth;
    FClientHeight = ClientHeight;
    FBrush = CreateSolidBrush(FormColor);
    // Made on the monitor it will be centred on, so that it is made at
    // that monitor's DPI.
    const RECT Area = WorkArea(Owner);
    FWnd = CreateWindowExW(ExStyle, FormClass, Caption.c_str(), Style, (Area.left + Area.right) / 2,
                           (Area.top + Area.bottom) / 2, ClientWidth, ClientHeight, Owner, nullptr,
                           GetModuleHandleW(nullptr), this);
    if (!FWnd)
        throw std::runtime_error("The dialog window cannot be created.");
    FDpi = WindowDpi(FWnd);
    MakeFonts();
    LayOut();
}

HWND TDialogForm::AddControl(const wchar_t* Class, const std::wstring& Text, DWORD Style, DWORD ExStyle,
                             const TDesignRect& Place, int Id, TFontKind Font)
{
    HWND Control = CreateWindowExW(ExStyle, Class, Text.c_str(), WS_CHILD | WS_VISIBLE | Style, 0, 0, 0, 0, FWnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), GetModuleHandleW(nullptr),
                                   nullptr);
    if (!Control)
        throw std::runtime_error("A control of the dialog window cannot be created.");
    FControls.push_back({Control, Place, Font});
    SendMessageW(Control, WM_SETFONT, reinterpret_cast<WPARAM>(FFonts[Font]), FALSE);
    PlaceControl(FControls.back());
    return Control;
}

void TDialogForm::SetDesignRect(HWND Control, const TDesignRect& Place)
{
    if (TControl* C = Find(Control)) {
        C->Place = Place;
        PlaceControl(*C);
    }
}

void TDialogForm::FitToText(HWND Control)
{
    if (TControl* C = Find(Control))
        PlaceControl(*C);
}

void TDialogForm::SetTextColour(HWND Control, COLORREF Colour)
{
    if (TControl* C = Find(Control)) {
        C->HasColour = true;
        C->Colour = Colour;
        InvalidateRect(Control, nullptr, TRUE);
    }
}

TDialogForm::TControl* TDialogForm::Find(HWND Control)
{
    for (TControl& C : FControls)
        if (C.Wnd == Control)
            return &C;
    return nullptr;
}

void TDialogForm::PlaceControl(const TControl& C)
{
    int Width = Scale(C.Place.Width);
    int Height = Scale(C.Place.Height);
    if (C.Place.Width == 0 && C.Place.Height == 0) {
        // Sized to its text, as an auto-sized label is.
        const std::wstring Text = WindowText(C.Wnd);
        HDC DC = GetDC(C.Wnd);
        HGDIOBJ Old = SelectObject(DC, FFonts[C.Font]);
        SIZE Size{};
        GetTextExtentPoint32W(DC, Text.empty() ? L" " : Text.c_str(), Text.empty() ? 1 : static_cast<int>(Text.size()),
                              &Size);
        TEXTMETRICW Metrics{};
        GetTextMetricsW(DC, &Metrics);
        SelectObject(DC, Old);
        ReleaseDC(C.Wnd, DC);
        Width = Text.empty() ? 0 : Size.cx;
        Height = Metrics.tmHeight;
    }
    SetWindowPos(C.Wnd, nullptr, Scale(C.Place.Left), Scale(C.Place.Top), Width, Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TDialogForm::LayOut()
{
    using TAdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto AdjustForDpi = User32Function<TAdjustForDpi>("AdjustWindowRectExForDpi");
    RECT R{0, 0, Scale(FClientWidth), Scale(FClientHeight)};
    if (!AdjustForDpi || !AdjustForDpi(&R, FStyle, FALSE, FExStyle, FDpi))
        AdjustWindowRectEx(&R, FStyle, FALSE, FExStyle);
    SetWindowPos(FWnd, nullptr, 0, 0, R.right - R.left, R.bottom - R.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    for (const TControl& C : FControls) {
        SendMessageW(C.Wnd, WM_SETFONT, reinterpret_cast<WPARAM>(FFonts[C.Font]), FALSE);
        PlaceControl(C);
    }
    Scaled();
    InvalidateRect(FWnd, nullptr, TRUE);
}

void TDialogForm::MakeFonts()
{
    FreeFonts();
    FFonts[fkDialog] = MakeFont(L"MS Shell Dlg", -Scale(11), FW_NORMAL, false);
    FFonts[fkTitle] = MakeFont(L"Arial", -Scale(13), FW_BOLD, false);
    FFonts[fkLink] = MakeFont(L"MS Shell Dlg", -Scale(11), FW_NORMAL, true);
}

void TDialogForm::FreeFonts()
{
    for (HFONT& F : FFonts)
        if (F)
            DeleteObject(std::exchange(F, nullptr));
}

void TDialogForm::ShowCentred(HWND Reference)
{
    RECT Area = WorkArea(Reference);
    RECT R{};
    GetWindowRect(FWnd, &R);
    const int W = R.right - R.left;
    const int H = R.bottom - R.top;
    const int Left = Area.left + (Area.right - Area.left - W) / 2;
    const int Top = Area.top + (Area.bottom - Area.top - H) / 2;
    SetWindowPos(FWnd, nullptr, Left, Top, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(FWnd, SW_SHOW);
    SetForegroundWindow(FWnd);
    SetActiveWindow(FWnd);
    if (HWND First = GetNextDlgTabItem(FWnd, nullptr, FALSE))
        SetFocus(First);
}

LRESULT CALLBACK TDialogForm::WindowProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    if (Msg == WM_NCCREATE) {
        auto* Create = reinterpret_cast<CREATESTRUCTW*>(L);
        auto* Form = static_cast<TDialogForm*>(Create->lpCreateParams);
        Form->FWnd = Wnd;
        SetWindowLongPtrW(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Form));
    }
    auto* Self = reinterpret_cast<TDialogForm*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA));
    if (!Self)
        return DefWindowProcW(Wnd, Msg, W, L);
    // A handler may free this object: only the loop, which outlives every
    // window, is used after it.
    IMessageLoop& Loop = Self->FLoop;
    try {
        bool Handled = false;
        const LRESULT Result = Self->HandleMessage(Msg, W, L, Handled);
        if (Handled)
            return Result;
        return Self->Handle(Msg, W, L);
    } catch (...) {
        Loop.HandleException();
        return 0;
    }
}

LRESULT TDialogForm::Handle(UINT Msg, WPARAM W, LPARAM L)
{
    switch (Msg) {
    case WM_ERASEBKGND: {
        RECT R{};
        GetClientRect(FWnd, &R);
        FillRect(reinterpret_cast<HDC>(W), &R, FBrush);
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        HDC DC = reinterpret_cast<HDC>(W);
        const TControl* C = Find(reinterpret_cast<HWND>(L));
        if (C && C->HasColour)
            SetTextColor(DC, C->Colour);
        SetBkColor(DC, FormColor);
        SetBkMode(DC, TRANSPARENT);
        return reinterpret_cast<LRESULT>(FBrush);
    }
    case WM_SETCURSOR:
        if (LOWORD(L) == HTCLIENT)
            for (HWND Control : FHandControls)
                if (reinterpret_cast<HWND>(W) == Control) {
                    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
                    return TRUE;
                }
        break;
    case DM_GETDEFID:
        return MAKELRESULT(FDefaultId, DC_HASDEFID);
    case WM_ACTIVATE:
        // The focus goes back to the control that had it.
        if (LOWORD(W) == WA_INACTIVE) {
            HWND Focus = GetFocus();
            if (Focus && IsChild(FWnd, Focus))
                FLastFocus = Focus;
        } else {
            HWND Focus = FLastFocus && IsWindow(FLastFocus) && IsWindowEnabled(FLastFocus)
                             ? FLastFocus
                             : GetNextDlgTabItem(FWnd, nullptr, FALSE);
            if (Focus)
                SetFocus(Focus);
        }
        return 0;
    case WM_DPICHANGED: {
        FDpi = HIWORD(W) ? HIWORD(W) : DesignDpi;
        MakeFonts();
        LayOut();
        const RECT* Suggested = reinterpret_cast<const RECT*>(L);
        SetWindowPos(FWnd, nullptr, Suggested->left, Suggested->top, Suggested->right - Suggested->left,
                     Suggested->bottom - Suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(FWnd, Msg, W, L);
}

} // namespace Win32Dialog
