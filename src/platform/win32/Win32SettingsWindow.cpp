// The settings dialog's window: the preview panel on the left, the option
// controls in their group boxes on the right, the buttons below. Places
// and sizes are the designed ones at 96 DPI; positions inside a group box
// are relative to it (the controls themselves are children of the form, so
// that their notifications and the keyboard navigation stay with it).
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <stdexcept>

#include "platform/win32/Win32DialogForm.h"
#include "platform/win32/Win32Text.h"

namespace Win32Dialog {

namespace {

const wchar_t* const PanelClass = L"GlimmoraPreviewPanel";
constexpr int ClientWidth = 511;
constexpr int ClientHeight = 363;
constexpr TDesignRect PanelPlace{8, 12, 320, 240};
constexpr int PanelBevel = 2;        // outer lowered and inner raised bevel, one pixel each
constexpr int DropDownHeight = 21;   // a closed drop-down list
constexpr int ListHeight = 160;      // its list when dropped
constexpr int TrackBarMax = 100;

int ControlId(TSettingsControl Control)
{
    if (Control == scButtonOk)
        return IDOK;
    if (Control == scButtonCancel)
        return IDCANCEL;
    return 100 + Control;
}

bool ControlOfId(int Id, TSettingsControl& Control)
{
    if (Id == IDOK)
        Control = scButtonOk;
    else if (Id == IDCANCEL)
        Control = scButtonCancel;
    else if (Id >= 100 && Id < 100 + SettingsControlCount)
        Control = static_cast<TSettingsControl>(Id - 100);
    else
        return false;
    return true;
}

bool IsButton(TSettingsControl C)
{
    switch (C) {
    case scButtonDefault:
    case scButtonPreview:
    case scButtonAbout:
    case scButtonHelp:
    case scButtonOk:
    case scButtonCancel:
        return true;
    default:
        return false;
    }
}

bool IsCheckBox(TSettingsControl C) { return C == scCheckDesktop || C == scCheckRunAsExe || C == scCheckSound; }
bool IsList(TSettingsControl C) { return C == scComboDepth || C == scComboResolution || C == scComboThemes; }
bool IsTrackBar(TSettingsControl C) { return C == scTrackDollars || C == scTrackBubbles; }

// Draws a one-sided bevel Width pixels wide: TopLeft on the top and left
// edges, BottomRight on the others; returns the rectangle inside it.
RECT DrawBevel(HDC DC, RECT R, int Width, COLORREF TopLeft, COLORREF BottomRight)
{
    HBRUSH Light = CreateSolidBrush(TopLeft);
    HBRUSH Dark = CreateSolidBrush(BottomRight);
    const RECT Top{R.left, R.top, R.right, R.top + Width};
    const RECT Left{R.left, R.top, R.left + Width, R.bottom};
    const RECT Bottom{R.left, R.bottom - Width, R.right, R.bottom};
    const RECT Right{R.right - Width, R.top, R.right, R.bottom};
    FillRect(DC, &Bottom, Dark);
    FillRect(DC, &Right, Dark);
    FillRect(DC, &Top, Light);
    FillRect(DC, &Left, Light);
    DeleteObject(Light);
    DeleteObject(Dark);
    return RECT{R.left + Width, R.top + Width, R.right - Width, R.bottom - Width};
}

// The preview panel: black, its caption in the middle, a lowered outer
// and a raised inner bevel. The render window the live preview draws into
// covers the inside; WS_CLIPCHILDREN keeps the panel's painting off it.
LRESULT CALLBACK PanelProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    auto* Form = reinterpret_cast<TDialogForm*>(GetWindowLongPtrW(GetParent(Wnd), GWLP_USERDATA));
    switch (Msg) {
    case WM_ERASEBKGND:
        return 1;   // painted whole in WM_PAINT
    case WM_PAINT: {
        PAINTSTRUCT Ps{};
        HDC DC = BeginPaint(Wnd, &Ps);
        RECT R{};
        GetClientRect(Wnd, &R);
        FillRect(DC, &R, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        const int Bevel = Form ? Form->Scale(PanelBevel) : PanelBevel;
        const COLORREF Shadow = GetSysColor(COLOR_BTNSHADOW);
        const COLORREF Highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
        RECT Inner = DrawBevel(DC, R, Bevel / 2, Shadow, Highlight);
        DrawBevel(DC, Inner, Bevel - Bevel / 2, Highlight, Shadow);
        wchar_t Caption[64] = {};
        const int Length = GetWindowTextW(Wnd, Caption, 64);
        HGDIOBJ Old = Form ? SelectObject(DC, Form->Font(fkTitle)) : nullptr;
        SetTextColor(DC, RGB(255, 0, 0));
        SetBkMode(DC, TRANSPARENT);
        DrawTextW(DC, Caption, Length, &R, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (Old)
            SelectObject(DC, Old);
        EndPaint(Wnd, &Ps);
        return 0;
    }
    case WM_NCHITTEST:
        return HTTRANSPARENT;   // clicks and the cursor belong to the form
    default:
        return DefWindowProcW(Wnd, Msg, W, L);
    }
}

void RegisterPanelClass()
{
    static const bool Registered = [] {
        WNDCLASSEXW C{};
        C.cbSize = sizeof(C);
        C.lpfnWndProc = PanelProc;
        C.hInstance = GetModuleHandleW(nullptr);
        C.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        C.lpszClassName = PanelClass;
        RegisterClassExW(&C);
        return true;
    }();
    (void)Registered;
}

class TSettingsForm final : public TDialogForm, public ISettingsWindow {
public:
    TSettingsForm(IMessageLoop& Loop, HWND Owner, const std::string& Caption, ISettingsEvents& Events)
        : TDialogForm(Loop), FEvents(Events)
    {
        INITCOMMONCONTROLSEX Init{sizeof(Init), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&Init);
        RegisterPanelClass();
        CreateForm(Owner, Win32Widen(Caption), WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                   WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME, ClientWidth, ClientHeight);
        CreateControls();
        LayOut();
    }

    // ISettingsView ---------------------------------------------------------
    void ClearItems(TSettingsControl List) override { SendMessageW(ListWnd(List), CB_RESETCONTENT, 0, 0); }
    void AddItem(TSettingsControl List, const std::string& Text) override
    {
        SendMessageW(ListWnd(List), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Win32Widen(Text).c_str()));
    }
    int ItemCount(TSettingsControl List) override
    {
        const LRESULT N = SendMessageW(ListWnd(List), CB_GETCOUNT, 0, 0);
        return N > 0 ? static_cast<int>(N) : 0;
    }
    std::string ItemText(TSettingsControl List, int Index) override
    {
        HWND Wnd = ListWnd(List);
        if (Index < 0 || Index >= ItemCount(List))
            throw std::out_of_range("List index out of bounds (" + std::to_string(Index) + ").");
        const LRESULT Length = SendMessageW(Wnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(Index), 0);
        std::wstring Text(static_cast<std::size_t>(Length > 0 ? Length : 0) + 1, L'\0');
        const LRESULT Got =
            SendMessageW(Wnd, CB_GETLBTEXT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(Text.data()));
        Text.resize(static_cast<std::size_t>(Got > 0 ? Got : 0));
        return Win32Narrow(Text);
    }
    int ItemIndex(TSettingsControl List) override
    {
        const LRESULT I = SendMessageW(ListWnd(List), CB_GETCURSEL, 0, 0);
        return I >= 0 ? static_cast<int>(I) : -1;
    }
    void SetItemIndex(TSettingsControl List, int Index) override
    {
        HWND Wnd = ListWnd(List);
        const int Count = ItemCount(List);
        SendMessageW(Wnd, CB_SETCURSEL, Index >= 0 && Index < Count ? static_cast<WPARAM>(Index) : WPARAM(-1), 0);
    }
    bool Checked(TSettingsControl Box) override
    {
        return SendMessageW(CheckWnd(Box), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void SetChecked(TSettingsControl Box, bool Value) override
    {
        SendMessageW(CheckWnd(Box), BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    int Position(TSettingsControl Bar) override
    {
        return static_cast<int>(SendMessageW(TrackWnd(Bar), TBM_GETPOS, 0, 0));
    }
    void SetPosition(TSettingsControl Bar, int Value) override
    {
        HWND Wnd = TrackWnd(Bar);
        const int Clamped = Value < 0 ? 0 : Value > TrackBarMax ? TrackBarMax : Value;
        FLastPosition[TrackSlot(Bar)] = Clamped;
        SendMessageW(Wnd, TBM_SETPOS, TRUE, Clamped);
    }
    void SetText(TSettingsControl Label, const std::string& Text) override
    {
        HWND Wnd = Control(Label);
        SetWindowTextW(Wnd, Win32Widen(Text).c_str());
        FitToText(Wnd);
    }
    bool Enabled(TSettingsControl C) override { return IsWindowEnabled(Control(C)) != FALSE; }
    void SetEnabled(TSettingsControl C, bool Value) override
    {
        HWND Wnd = Control(C);
        if (!Value && GetFocus() == Wnd) {
            // The keyboard would be lost with the focus on a disabled control.
            if (HWND Next = GetNextDlgTabItem(this->Wnd(), Wnd, FALSE); Next && Next != Wnd)
                SetFocus(Next);
        }
        EnableWindow(Wnd, Value ? TRUE : FALSE);
    }
    void SetCaption(const std::string& Caption) override { SetWindowTextW(Wnd(), Win32Widen(Caption).c_str()); }

    // ISettingsWindow -------------------------------------------------------
    TWindowHandle Handle() const override { return reinterpret_cast<TWindowHandle>(Wnd()); }
    TWindowHandle PreviewPanel() const override { return reinterpret_cast<TWindowHandle>(FPanel); }
    TWindowBounds PreviewBounds() const override
    {
        RECT R{};
        GetClientRect(FPanel, &R);
        const int Inset = Scale(PanelBevel);
        TWindowBounds B{Inset, Inset, R.right - 2 * Inset, R.bottom - 2 * Inset};
        if (B.Width < 0)
            B.Width = 0;
        if (B.Height < 0)
            B.Height = 0;
        return B;
    }
    void Show() override { ShowCentred(GetWindow(Wnd(), GW_OWNER)); }
    void Hide() override { ShowWindow(Wnd(), SW_HIDE); }

private:
    HWND Control(TSettingsControl C) const
    {
        if (C < 0 || C >= SettingsControlCount || !FControls[C])
            throw std::out_of_range("No such control of the settings window.");
        return FControls[C];
    }
    HWND ListWnd(TSettingsControl C) const
    {
        if (!IsList(C))
            throw std::invalid_argument("Not a drop-down list of the settings window.");
        return Control(C);
    }
    HWND CheckWnd(TSettingsControl C) const
    {
        if (!IsCheckBox(C))
            throw std::invalid_argument("Not a check box of the settings window.");
        return Control(C);
    }
    HWND TrackWnd(TSettingsControl C) const
    {
        if (!IsTrackBar(C))
            throw std::invalid_argument("Not a track bar of the settings window.");
        return Control(C);
    }
    static int TrackSlot(TSettingsControl C) { return C == scTrackDollars ? 0 : 1; }

    HWND Add(TSettingsControl C, const wchar_t* Class, const wchar_t* Text, DWORD Style, const TDesignRect& Place)
    {
        HWND Wnd = AddControl(Class, Text, Style, 0, Place, ControlId(C));
        FControls[C] = Wnd;
        if (IsButton(C))
            AddHandCursor(Wnd);
        return Wnd;
    }
    HWND AddButton(TSettingsControl C, const wchar_t* Text, int Left, int Top, int Width = 75, int Height = 25)
    {
        const DWORD Kind = C == scButtonOk ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        return Add(C, L"BUTTON", Text, Kind | BS_NOTIFY | WS_TABSTOP | WS_GROUP, {Left, Top, Width, Height});
    }
    void AddLabel(const wchar_t* Text, int Left, int Top)
    {
        AddControl(L"STATIC", Text, SS_LEFT | SS_NOPREFIX, 0, {Left, Top, 0, 0}, -1);
    }
    void AddGroup(const wchar_t* Text, const TDesignRect& Place)
    {
        // Transparent: the form's clipping leaves its inside to the form.
        AddControl(L"BUTTON", Text, BS_GROUPBOX, WS_EX_TRANSPARENT, Place, -1);
    }
    void AddList(TSettingsControl C, int Left, int Top, int Width)
    {
        Add(C, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
            {Left, Top, Width, DropDownHeight + ListHeight});
    }
    void AddCheckBox(TSettingsControl C, const wchar_t* Text, const TDesignRect& Place)
    {
        Add(C, L"BUTTON", Text, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, Place);
    }
    void AddCount(TSettingsControl Label, TSettingsControl Bar, const wchar_t* Caption, int Left, int Top)
    {
        AddGroup(Caption, {Left, Top, 165, 56});
        AddLabel(L"0", Left + 8, Top + 12);
        AddLabel(L"100", Left + 136, Top + 12);
        FControls[Label] =
            AddControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0, {Left + 70, Top + 12, 0, 0}, ControlId(Label));
        HWND Track = Add(Bar, TRACKBAR_CLASSW, L"",
                         TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | TBS_FIXEDLENGTH | WS_TABSTOP | WS_GROUP,
                         {Left + 8, Top + 24, 145, 21});
        SendMessageW(Track, TBM_SETRANGE, FALSE, MAKELPARAM(0, TrackBarMax));
        SendMessageW(Track, TBM_SETPAGESIZE, 0, 5);
        SendMessageW(Track, TBM_SETLINESIZE, 0, 1);
        SendMessageW(Track, TBM_SETTICFREQ, 5, 0);
    }
    void AddHint(TSettingsControl C, const wchar_t* Text)
    {
        TTTOOLINFOW Tool{};
        Tool.cbSize = TTTOOLINFOW_V2_SIZE;
        Tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        Tool.hwnd = Wnd();
        Tool.uId = reinterpret_cast<UINT_PTR>(FControls[C]);
        Tool.lpszText = const_cast<wchar_t*>(Text);
        SendMessageW(FTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&Tool));
    }

    // In the tab order: OK, Cancel, About, the preview panel, the group
    // boxes with their controls, Help, Preview.
    void CreateControls()
    {
        AddButton(scButtonOk, L"OK", 344, 328);
        AddButton(scButtonCancel, L"Cancel", 428, 328);
        AddButton(scButtonAbout, L"About...", 176, 328);
        FPanel = AddControl(PanelClass, L"Downloading...", WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, PanelPlace, -1,
                            fkTitle);

        constexpr int G1L = 336, G1T = 8;
        AddGroup(L"Video Modes", {G1L, G1T, 165, 113});
        AddLabel(L"Color Depth", G1L + 8, G1T + 20);
        AddLabel(L"Resolution", G1L + 14, G1T + 48);
        AddList(scComboDepth, G1L + 72, G1T + 16, 85);
        AddList(scComboResolution, G1L + 72, G1T + 44, 85);
        AddCheckBox(scCheckDesktop, L"Desktop Only", {G1L + 6, G1T + 76, 89, 17});
        AddButton(scButtonDefault, L"Default", G1L + 97, G1T + 85, 60, 20);
        AddCheckBox(scCheckRunAsExe, L"Run As EXE", {G1L + 6, G1T + 90, 83, 17});

        AddCount(scLabelDollars, scTrackDollars, L"Dollar Count", 336, 130);
        AddCount(scLabelBubbles, scTrackBubbles, L"Bubble Count", 336, 196);

        AddGroup(L"Themes", {336, 260, 165, 45});
        AddList(scComboThemes, 336 + 12, 260 + 16, 145);
        for (const wchar_t* Theme : {L"Auto", L"Immersion", L"Fountain", L"Fishes"})
            SendMessageW(FControls[scComboThemes], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Theme));

        AddGroup(L"Sound", {8, 260, 321, 45});
        AddCheckBox(scCheckSound, L"Enable Sound", {8 + 12, 260 + 20, 97, 17});

        AddButton(scButtonHelp, L"Help...", 260, 328);
        AddButton(scButtonPreview, L"Preview...", 8, 328);

        FTips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0,
                                0, 0, 0, Wnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
        if (FTips) {
            AddHint(scComboDepth, L"Set 16 bits for speedup");
            AddHint(scComboResolution, L"Set 640x480 for speedup");
            AddHint(scCheckDesktop, L"Set Color Depth and Resolution from Desktop");
            AddHint(scCheckRunAsExe, L"Enable If Screen Saver runs without Acceleration");
            AddHint(scComboThemes, L"Change Underwater Background");
        }
    }

    // After every placing: what scales apart from places and fonts.
    void Scaled() override
    {
        for (TSettingsControl C : {scComboDepth, scComboResolution, scComboThemes})
            if (HWND List = FControls[C]) {
                // The closed list is as high as designed, whatever the font.
                RECT R{};
                GetWindowRect(List, &R);
                const LRESULT Field = SendMessageW(List, CB_GETITEMHEIGHT, WPARAM(-1), 0);
                const LRESULT Wanted = Field + Scale(DropDownHeight) - (R.bottom - R.top);
                if (Field > 0 && Wanted > 0 && Wanted != Field)
                    SendMessageW(List, CB_SETITEMHEIGHT, WPARAM(-1), Wanted);
            }
        for (TSettingsControl C : {scTrackDollars, scTrackBubbles})
            if (HWND Bar = FControls[C])
                SendMessageW(Bar, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(Scale(15)), 0);
        if (FTips)
            SendMessageW(FTips, WM_SETFONT, reinterpret_cast<WPARAM>(Font(fkDialog)), FALSE);
        if (FPanel) {
            // The render window inside the panel follows the panel's size.
            const TWindowBounds B = PreviewBounds();
            for (HWND Child = GetWindow(FPanel, GW_CHILD); Child; Child = GetWindow(Child, GW_HWNDNEXT))
                SetWindowPos(Child, nullptr, B.Left, B.Top, B.Width, B.Height, SWP_NOZORDER | SWP_NOACTIVATE);
            InvalidateRect(FPanel, nullptr, TRUE);
        }
    }

    void SetDefaultButton(int Id)
    {
        if (Id == DefaultId())
            return;
        TSettingsControl Old = scButtonOk, New = scButtonOk;
        if (ControlOfId(DefaultId(), Old) && IsButton(Old))
            SendMessageW(FControls[Old], BM_SETSTYLE, BS_PUSHBUTTON | BS_NOTIFY, TRUE);
        if (ControlOfId(Id, New) && IsButton(New))
            SendMessageW(FControls[New], BM_SETSTYLE, BS_DEFPUSHBUTTON | BS_NOTIFY, TRUE);
        SetDefaultId(Id);
    }

    LRESULT HandleMessage(UINT Msg, WPARAM W, LPARAM L, bool& Handled) override
    {
        switch (Msg) {
        case WM_COMMAND: {
            TSettingsControl C;
            if (!ControlOfId(LOWORD(W), C))
                return 0;
            Handled = true;
            const int Code = HIWORD(W);
            if (IsButton(C)) {
                // Enter in a focused push button presses it; elsewhere it
                // presses the default button, OK.
                if (Code == BN_SETFOCUS)
                    SetDefaultButton(LOWORD(W));
                else if (Code == BN_KILLFOCUS)
                    SetDefaultButton(IDOK);
                else if (Code == BN_CLICKED) {
                    if (C == scButtonOk && reinterpret_cast<HWND>(L) != FControls[C] && DefaultId() != IDOK)
                        return 0;   // an Enter meant for another button
                    if (C != scButtonCancel && !IsWindowEnabled(FControls[C]))
                        return 0;
                    FEvents.Clicked(C);   // may free this window: nothing after it
                }
                return 0;
            }
            if ((IsCheckBox(C) && Code == BN_CLICKED) || (IsList(C) && Code == CBN_SELCHANGE))
                FEvents.Changed(C);
            return 0;
        }
        case WM_HSCROLL: {
            for (TSettingsControl C : {scTrackDollars, scTrackBubbles})
                if (reinterpret_cast<HWND>(L) == FControls[C]) {
                    Handled = true;
                    const int Now = Position(C);
                    if (Now != FLastPosition[TrackSlot(C)]) {
                        FLastPosition[TrackSlot(C)] = Now;
                        FEvents.Changed(C);
                    }
                    return 0;
                }
            return 0;
        }
        case WM_CLOSE:
            // The dialog's logic decides whether the window goes.
            Handled = true;
            FEvents.Clicked(scButtonCancel);
            return 0;
        default:
            return 0;
        }
    }

    ISettingsEvents& FEvents;
    std::array<HWND, SettingsControlCount> FControls{};
    std::array<int, 2> FLastPosition{};
    HWND FPanel = nullptr;
    HWND FTips = nullptr;
};

} // namespace

std::unique_ptr<ISettingsWindow> CreateSettingsForm(IMessageLoop& Loop, HWND Owner, const std::string& Caption,
                                                    ISettingsEvents& Events)
{
    return std::make_unique<TSettingsForm>(Loop, Owner, Caption, Events);
}

} // namespace Win32Dialog
