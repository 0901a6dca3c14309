// The dialog windows of the Win32 backend (settings window, about box,
// help text): a top-level window of our own class with standard controls,
// laid out at designed places and sizes for 96 DPI and scaled by the
// window's DPI. Keyboard navigation comes from the message loop, which
// hands messages of WS_EX_CONTROLPARENT windows to IsDialogMessage.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/MessageLoop.h"
#include "platform/SettingsWindow.h"

namespace Win32Dialog {

// The forms' background: red 91, green 203, blue 223.
inline constexpr COLORREF FormColor = RGB(91, 203, 223);
inline constexpr int DesignDpi = 96;

// The DPI of a window (GetDpiForWindow where user32 has it), else the
// screen's logical DPI.
UINT WindowDpi(HWND Wnd);
// The work area of Reference's monitor (the primary one for none).
RECT WorkArea(HWND Reference);

struct TDesignRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;    // 0 with Height 0: sized to the text (one line)
    int Height = 0;
};

enum TFontKind {
    fkDialog,    // "MS Shell Dlg", 11 pixels at 96 DPI
    fkTitle,     // Arial bold, 13 pixels
    fkLink,      // the dialog font underlined
    fkFontCount
};

class TDialogForm {
public:
    explicit TDialogForm(IMessageLoop& Loop);
    virtual ~TDialogForm();
    TDialogForm(const TDialogForm&) = delete;
    TDialogForm& operator=(const TDialogForm&) = delete;

    HWND Wnd() const { return FWnd; }
    UINT Dpi() const { return FDpi; }
    int Scale(int Value) const { return MulDiv(Value, static_cast<int>(FDpi), DesignDpi); }
    HFONT Font(TFontKind Kind) const { return FFonts[Kind]; }
    // Centred on the work area of Reference's monitor (the primary one
    // without a reference), shown, activated, focus on the first tab stop.
    void ShowCentred(HWND Reference);

    static LRESULT CALLBACK WindowProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);

protected:
    // The top-level window, hidden, sized for a client area of
    // ClientWidth x ClientHeight design pixels.
    void CreateForm(HWND Owner, const std::wstring& Caption, DWORD Style, DWORD ExStyle, int ClientWidth,
                    int ClientHeight);
    HWND AddControl(const wchar_t* Class, const std::wstring& Text, DWORD Style, DWORD ExStyle,
                    const TDesignRect& Place, int Id, TFontKind Font = fkDialog);
    // Moves a control to another designed place (applied now).
    void SetDesignRect(HWND Control, const TDesignRect& Place);
    // Sizes the window for the DPI and places every control again.
    void LayOut();
    // A control sized to its text is sized again (after its text changed).
    void FitToText(HWND Control);
    // Push buttons and links show the hand cursor.
    void AddHandCursor(HWND Control) { FHandControls.push_back(Control); }
    // Text colour of a static control (links); background stays the form's.
    void SetTextColour(HWND Control, COLORREF Colour);
    // The id Enter presses (DM_GETDEFID).
    void SetDefaultId(int Id) { FDefaultId = Id; }
    int DefaultId() const { return FDefaultId; }
    IMessageLoop& Loop() const { return FLoop; }

    // What a form adds to the common handling; Handled false passes the
    // message on to the common handling and DefWindowProc.
    virtual LRESULT HandleMessage(UINT Msg, WPARAM W, LPARAM L, bool& Handled) = 0;
    // After the fonts and places were scaled for a new DPI.
    virtual void Scaled() {}

private:
    struct TControl {
        HWND Wnd = nullptr;
        TDesignRect Place;
        TFontKind Font = fkDialog;
        bool HasColour = false;
        COLORREF Colour = 0;
    };
    LRESULT Handle(UINT Msg, WPARAM W, LPARAM L);
    void MakeFonts();
    void FreeFonts();
    TControl* Find(HWND Control);
    void PlaceControl(const TControl& C);

    IMessageLoop& FLoop;
    HWND FWnd = nullptr;
    UINT FDpi = DesignDpi;
    DWORD FStyle = 0;
    DWORD FExStyle = 0;
    int FClientWidth = 0;
    int FClientHeight = 0;
    HBRUSH FBrush = nullptr;
    HFONT FFonts[fkFontCount] = {};
    std::vector<TControl> FControls;
    std::vector<HWND> FHandControls;
    HWND FLastFocus = nullptr;
    int FDefaultId = IDOK;
};

std::unique_ptr<ISettingsWindow> CreateSettingsForm(IMessageLoop& Loop, HWND Owner, const std::string& Caption,
                                                    ISettingsEvents& Events);

} // namespace Win32Dialog
