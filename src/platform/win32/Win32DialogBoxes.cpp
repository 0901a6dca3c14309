// The modal boxes of the settings dialog (the about box and the help
// text), the help file, and the seam's object that makes them all.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "platform/win32/Win32Backends.h"
#include "platform/win32/Win32DialogForm.h"
#include "platform/win32/Win32Text.h"

namespace Win32Dialog {

namespace {

HWND AsHWND(TWindowHandle Handle) { return reinterpret_cast<HWND>(Handle); }

// A form that a modal run waits for: OK, Escape, Enter and the close box
// close it.
class TModalForm : public TDialogForm {
public:
    using TDialogForm::TDialogForm;
    bool Closed() const { return FClosed; }

protected:
    LRESULT HandleMessage(UINT Msg, WPARAM W, LPARAM L, bool& Handled) override
    {
        switch (Msg) {
        case WM_COMMAND:
            if ((LOWORD(W) == IDOK || LOWORD(W) == IDCANCEL) && HIWORD(W) == BN_CLICKED) {
                Handled = true;
                FClosed = true;
            }
            break;
        case WM_CLOSE:
            Handled = true;
            FClosed = true;
            break;
        default:
            break;
        }
        return HandleBoxMessage(Msg, W, L, Handled);
    }
    virtual LRESULT HandleBoxMessage(UINT Msg, WPARAM W, LPARAM L, bool& Handled)
    {
        (void)Msg, (void)W, (void)L, (void)Handled;
        return 0;
    }

private:
    bool FClosed = false;
};

// Owner disabled, the loop's turns (the idle hook included, so a live
// preview behind the box keeps moving) until the form is closed or the
// loop ends, then Owner enabled and active again.
void RunModal(IMessageLoop& Loop, HWND Owner, TModalForm& Form)
{
    struct TOwnerState {
        HWND Owner;
        HWND Box;
        bool WasEnabled;
        ~TOwnerState()
        {
            if (Owner && WasEnabled)
                EnableWindow(Owner, TRUE);
            ShowWindow(Box, SW_HIDE);   // after the owner is enabled, so that it gets the activation
            if (Owner && IsWindowVisible(Owner)) {
                SetForegroundWindow(Owner);
                SetActiveWindow(Owner);
            }
        }
    };
    const bool Enabled = Owner && IsWindowEnabled(Owner);
    const TOwnerState State{Owner, Form.Wnd(), Enabled};
    if (Enabled)
        EnableWindow(Owner, FALSE);
    Form.ShowCentred(Owner);
    while (!Form.Closed() && !Loop.Terminated())
        Loop.HandleMessage();
}

// Design units (96 DPI) of a length in the window's pixels, rounded up.
int DesignUnits(int Pixels, UINT Dpi)
{
    return static_cast<int>(std::ceil(static_cast<double>(Pixels) * DesignDpi / Dpi));
}

class TAboutForm final : public TModalForm {
    static constexpr int OkButtonTop = 240;

public:
    TAboutForm(IMessageLoop& Loop, HWND Owner, const TAboutBoxContent& Content)
        : TModalForm(Loop), FPicture(Content.Picture), FUrl(Win32Widen(Content.LinkUrl))
    {
        CreateForm(Owner, Win32Widen(Content.Caption), WS_CAPTION | WS_SYSMENU,
                   WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, 414, 279);
        // The warning's first paragraph above, the rest below.
        std::string First = Content.Warning, Rest;
        if (const auto Break = First.find('\n'); Break != std::string::npos) {
            Rest = First.substr(Break + 1);
            First.erase(Break && First[Break - 1] == '\r' ? Break - 1 : Break);
        }
        AddControl(L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, {319, OkButtonTop, 75, 25}, IDOK);
        AddControl(L"STATIC", Win32Widen(Content.ProductName), SS_LEFT | SS_NOPREFIX, 0, {168, 8, 233, 25}, -1,
                   fkTitle);
        AddControl(L"STATIC", Win32Widen(Content.Version), SS_LEFT | SS_NOPREFIX, 0, {172, 24, 0, 0}, -1, fkTitle);
        AddControl(L"STATIC", Win32Widen(Content.Notice), SS_LEFT | SS_NOPREFIX, 0, {168, 44, 237, 37}, -1);
        FLink = AddControl(L"STATIC", Win32Widen(Content.LinkText), SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0,
                           {168, 76, 0, 0}, -1, fkLink);
        SetTextColour(FLink, RGB(0, 0, 255));
        AddHandCursor(FLink);
        AddControl(L"STATIC", Win32Widen(Content.Comments), SS_LEFT | SS_NOPREFIX, 0, {168, 100, 233, 41}, -1);
        FWarning1 = AddControl(L"STATIC", Win32Widen(First), SS_LEFT | SS_NOPREFIX, 0, {16, 156, 381, 16}, -1);
        FWarning2 = AddControl(L"STATIC", Win32Widen(Rest), SS_LEFT | SS_NOPREFIX, 0, {16, 172, 381, 69}, -1);
        LayOut();
    }

private:
    void Scaled() override
    {
        if (!FWarning1 || !FWarning2)
            return;
        // The second paragraph starts below the first however many lines
        // the first takes.
        RECT R{0, 0, Scale(381), 0};
        wchar_t Text[1024] = {};
        const int Length = GetWindowTextW(FWarning1, Text, 1024);
        HDC DC = GetDC(FWarning1);
        HGDIOBJ Old = SelectObject(DC, Font(fkDialog));
        DrawTextW(DC, Text, Length, &R, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(DC, Old);
        ReleaseDC(FWarning1, DC);
        const int Height = DesignUnits(R.bottom, Dpi());
        SetDesignRect(FWarning1, {16, 156, 381, Height});
        // It ends above the OK button, which it would otherwise paint over.
        const int Top = std::max(172, 156 + Height);
        SetDesignRect(FWarning2, {16, Top, 381, std::max(0, std::min(69, OkButtonTop - 4 - Top))});
    }

    LRESULT HandleBoxMessage(UINT Msg, WPARAM W, LPARAM L, bool& Handled) override
    {
        if (Msg == WM_COMMAND && reinterpret_cast<HWND>(L) == FLink && HIWORD(W) == STN_CLICKED) {
            Handled = true;
            ShellExecuteW(Wnd(), L"open", FUrl.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
            return 0;
        }
        if (Msg == WM_PAINT) {
            Handled = true;
            PAINTSTRUCT Ps{};
            HDC DC = BeginPaint(Wnd(), &Ps);
            Paint(DC);
            EndPaint(Wnd(), &Ps);
            return 0;
        }
        return 0;
    }

    void Paint(HDC DC)
    {
        const COLORREF Shadow = GetSysColor(COLOR_BTNSHADOW);
        const COLORREF Highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
        const int Line = Scale(1);
        // The logo's lowered frame.
        const RECT Logo{Scale(8), Scale(18), Scale(8 + 154), Scale(18 + 114)};
        Frame(DC, Logo, Line, Shadow, Highlight);
        // The lowered line across the box.
        const RECT Top{Scale(8), Scale(148), Scale(8 + 397), Scale(148) + Line};
        const RECT Below{Top.left, Top.bottom, Top.right, Top.bottom + Line};
        Fill(DC, Top, Shadow);
        Fill(DC, Below, Highlight);
        const TPicture& P = FPicture;
        if (P.Width > 0 && P.Height > 0 && P.Pixels.size() == std::size_t(P.Width) * std::size_t(P.Height) * 4) {
            BITMAPINFO Info{};
            Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            Info.bmiHeader.biWidth = P.Width;
            Info.bmiHeader.biHeight = -P.Height;   // rows top-down
            Info.bmiHeader.biPlanes = 1;
            Info.bmiHeader.biBitCount = 32;
            Info.bmiHeader.biCompression = BI_RGB;
            SetStretchBltMode(DC, HALFTONE);
            SetBrushOrgEx(DC, 0, 0, nullptr);
            StretchDIBits(DC, Scale(8 + 2), Scale(18 + 2), Scale(P.Width), Scale(P.Height), 0, 0, P.Width, P.Height,
                          P.Pixels.data(), &Info, DIB_RGB_COLORS, SRCCOPY);
        }
    }

    static void Fill(HDC DC, const RECT& R, COLORREF Colour)
    {
        HBRUSH Brush = CreateSolidBrush(Colour);
        FillRect(DC, &R, Brush);
        DeleteObject(Brush);
    }
    static void Frame(HDC DC, const RECT& R, int Width, COLORREF TopLeft, COLORREF BottomRight)
    {
        Fill(DC, {R.left, R.bottom - Width, R.right, R.bottom}, BottomRight);
        Fill(DC, {R.right - Width, R.top, R.right, R.bottom}, BottomRight);
        Fill(DC, {R.left, R.top, R.right - Width, R.top + Width}, TopLeft);
        Fill(DC, {R.left, R.top, R.left + Width, R.bottom - Width}, TopLeft);
    }

    TPicture FPicture;
    std::wstring FUrl;
    HWND FLink = nullptr;
    HWND FWarning1 = nullptr;
    HWND FWarning2 = nullptr;
};

// Line ends as an edit control shows them: CR LF.
std::wstring EditText(const std::string& Text)
{
    std::string Out;
    Out.reserve(Text.size() + Text.size() / 16);
    for (std::size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] == '\n' && (I == 0 || Text[I - 1] != '\r'))
            Out += '\r';
        Out += Text[I];
    }
    return Win32Widen(Out);
}

class THelpTextForm final : public TModalForm {
public:
    THelpTextForm(IMessageLoop& Loop, HWND Owner, const std::string& Caption, const std::string& Text)
        : TModalForm(Loop)
    {
        CreateForm(Owner, Win32Widen(Caption), WS_CAPTION | WS_SYSMENU, WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME,
                   480, 361);
        AddControl(L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, {397, 328, 75, 25}, IDOK);
        FEdit = AddControl(L"EDIT", EditText(Text),
                           ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE,
                           {8, 8, 464, 312}, 100);
        LayOut();
    }

private:
    LRESULT HandleBoxMessage(UINT Msg, WPARAM W, LPARAM L, bool& Handled) override
    {
        if (Msg == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(L) == FEdit) {
            // A read-only edit on the window's own colour, as text is read.
            Handled = true;
            SetBkColor(reinterpret_cast<HDC>(W), GetSysColor(COLOR_WINDOW));
            SetTextColor(reinterpret_cast<HDC>(W), GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        return 0;
    }

    HWND FEdit = nullptr;
};

class TWin32SettingsWindows final : public ISettingsWindows {
public:
    explicit TWin32SettingsWindows(IMessageLoop& Loop) : FLoop(Loop) {}

    std::unique_ptr<ISettingsWindow> CreateSettingsWindow(TWindowHandle Owner, const std::string& Caption,
                                                          ISettingsEvents& Events) override
    {
        return CreateSettingsForm(FLoop, OwnerWnd(Owner), Caption, Events);
    }

    void ShowAboutBox(TWindowHandle Owner, const TAboutBoxContent& Content) override
    {
        TAboutForm Box(FLoop, OwnerWnd(Owner), Content);
        RunModal(FLoop, OwnerWnd(Owner), Box);
    }

    bool OpenHelpFile(TWindowHandle Owner, const std::string& FileName) override
    {
        const std::wstring Name = Win32Widen(FileName);
        const DWORD Attributes = Name.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(Name.c_str());
        if (Attributes == INVALID_FILE_ATTRIBUTES || (Attributes & FILE_ATTRIBUTE_DIRECTORY))
            return false;
        return WinHelpW(OwnerWnd(Owner), Name.c_str(), HELP_CONTENTS, 0) != FALSE;
    }

    void ShowHelpText(TWindowHandle Owner, const std::string& Caption, const std::string& Text) override
    {
        THelpTextForm Box(FLoop, OwnerWnd(Owner), Caption, Text);
        RunModal(FLoop, OwnerWnd(Owner), Box);
    }

private:
    static HWND OwnerWnd(TWindowHandle Owner) { return Owner && IsWindow(AsHWND(Owner)) ? AsHWND(Owner) : nullptr; }

    IMessageLoop& FLoop;
};

} // namespace

} // namespace Win32Dialog

std::unique_ptr<ISettingsWindows> CreateSettingsWindows(IMessageLoop& Loop)
{
    return std::make_unique<Win32Dialog::TWin32SettingsWindows>(Loop);
}
