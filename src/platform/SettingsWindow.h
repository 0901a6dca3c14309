// Platform seam: the settings dialog's windows. The dialog's logic
// (app/SettingsDialog.h) works on ISettingsView alone; the window behind
// it holds the real controls, the preview panel the live scene is drawn
// into, and reports what the user does through ISettingsEvents. The about
// box and the help file are shown by the same seam.
//
// Windows: a dialog-bordered top-level window with standard controls
// (combo boxes, check boxes, track bars, group boxes, labels, buttons,
// tooltips), laid out at the designed sizes scaled by the monitor's DPI.
// Tests use a fake (tests/fakes/FakeSettingsWindow.h).
#pragma once

#include <memory>
#include <string>

#include "platform/MessageLoop.h"
#include "platform/WindowHandle.h"
#include "platform/Windowing.h"

// The controls of the dialog that the logic reads or writes.
enum TSettingsControl {
    scComboDepth,         // drop-down list: "16 bits", "32 bits", ...
    scComboResolution,    // drop-down list: "800x600", ...
    scCheckDesktop,       // "Desktop Only"
    scButtonDefault,      // "Default"
    scCheckRunAsExe,      // "Run As EXE"
    scLabelDollars,       // the dollar count shown above its track bar
    scTrackDollars,       // track bar 0..100
    scLabelBubbles,       // the bubble count shown above its track bar
    scTrackBubbles,       // track bar 0..100
    scComboThemes,        // drop-down list: "Auto", "Immersion", "Fountain", "Fishes"
    scCheckSound,         // "Enable Sound"
    scButtonPreview,      // "Preview..."
    scButtonAbout,        // "About..."
    scButtonHelp,         // "Help..."
    scButtonOk,           // "OK"
    scButtonCancel,       // "Cancel"; also Escape and the window's close box
};
inline constexpr int SettingsControlCount = scButtonCancel + 1;

// What the dialog's logic sees of its controls. Setting a value from here
// raises no event (only the user's actions do).
class ISettingsView {
public:
    virtual ~ISettingsView() = default;
    // Drop-down lists.
    virtual void ClearItems(TSettingsControl List) = 0;
    virtual void AddItem(TSettingsControl List, const std::string& Text) = 0;
    virtual int ItemCount(TSettingsControl List) = 0;
    virtual std::string ItemText(TSettingsControl List, int Index) = 0;
    // -1 when nothing is selected.
    virtual int ItemIndex(TSettingsControl List) = 0;
    virtual void SetItemIndex(TSettingsControl List, int Index) = 0;
    // Check boxes.
    virtual bool Checked(TSettingsControl Box) = 0;
    virtual void SetChecked(TSettingsControl Box, bool Value) = 0;
    // Track bars (0..100).
    virtual int Position(TSettingsControl Bar) = 0;
    virtual void SetPosition(TSettingsControl Bar, int Value) = 0;
    // Labels.
    virtual void SetText(TSettingsControl Label, const std::string& Text) = 0;
    // Any control.
    virtual bool Enabled(TSettingsControl Control) = 0;
    virtual void SetEnabled(TSettingsControl Control, bool Value) = 0;
    // The window's caption.
    virtual void SetCaption(const std::string& Caption) = 0;
};

// What the user does in the dialog.
class ISettingsEvents {
public:
    virtual ~ISettingsEvents() = default;
    // A list's selection, a check box or a track bar's position changed.
    virtual void Changed(TSettingsControl Control) = 0;
    // A button was pressed. Escape and the window's close box arrive as
    // scButtonCancel, Enter on the default button as scButtonOk.
    virtual void Clicked(TSettingsControl Button) = 0;
};

// The dialog window: the view, the panel the live preview goes into, and
// the window itself.
class ISettingsWindow : public ISettingsView {
public:
    // Destroys the window and its controls (no event).
    ~ISettingsWindow() override = default;
    virtual TWindowHandle Handle() const = 0;
    // The preview panel: the render window is made a child of it, at
    // PreviewBounds (the panel's client area inset by the panel's border,
    // in the panel's own pixels).
    virtual TWindowHandle PreviewPanel() const = 0;
    virtual TWindowBounds PreviewBounds() const = 0;
    // Shows the window centred on the desktop and gives it the focus.
    virtual void Show() = 0;
    virtual void Hide() = 0;
};

// What the about box shows.
struct TAboutBoxContent {
    std::string Caption;        // "About Glimmora 3D Screen Saver"
    std::string ProductName;    // "Glimmora 3D Screen Saver"
    std::string Version;        // "Version " and MAJOR.MINOR
    std::string Notice;         // the maker's notice
    std::string Comments;       // the OpenGL summary of the running context
    std::string Warning;        // the legal warning (two paragraphs, CR LF between)
    std::string LinkText;       // the maker's web page as shown
    std::string LinkUrl;        // and as opened
    TPicture Picture;           // painted inside the logo frame
};

class ISettingsWindows {
public:
    virtual ~ISettingsWindows() = default;
    // The settings dialog with every control, not yet shown. Owner: the
    // window the system asked the dialog for (0 for none).
    virtual std::unique_ptr<ISettingsWindow> CreateSettingsWindow(TWindowHandle Owner, const std::string& Caption,
                                                                  ISettingsEvents& Events) = 0;
    // The about box, modal over Owner; returns when it is closed. The
    // message loop's idle turns go on meanwhile (the preview keeps moving).
    virtual void ShowAboutBox(TWindowHandle Owner, const TAboutBoxContent& Content) = 0;
    // Opens a help file at its contents; false when the file does not
    // exist or no viewer took it.
    virtual bool OpenHelpFile(TWindowHandle Owner, const std::string& FileName) = 0;
    // The program's own help text in a window of its own, modal over
    // Owner, with the idle turns going on as for the about box.
    virtual void ShowHelpText(TWindowHandle Owner, const std::string& Caption, const std::string& Text) = 0;
};
