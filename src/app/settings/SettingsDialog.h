// The settings dialog's logic: fills the video-mode lists from the display
// control, shows the options in the controls and turns what the user does
// with them into option changes. It works on the dialog's controls through
// ISettingsView alone; the window, the preview and the buttons that leave
// the dialog belong to the main form.
//
// The options are kept in three places that the handlers hold in step: the
// TSaverOptions (what OK saves), the display control's full-screen mode
// (what "Preview..." switches to) and the running scene's options (what the
// live preview draws at its next frame).
#pragma once

#include <string>

#include "app/display/DisplayControl.h"
#include "app/saver/MainForm.h"
#include "app/options/Options.h"
#include "platform/SettingsWindow.h"

// "16 bits", "800x600": the texts of the two video-mode lists.
std::string ColorDepthText(int ColorDepth);
std::string ResolutionText(int Width, int Height);

class TSettingsDialog {
public:
    // All borrowed; they must outlive the dialog.
    TSettingsDialog(TSaverOptions& Options, TDisplayControl& Display, IMainFormScene& Scene);

    // The controls to work on; null while there is no window (every call
    // below then does nothing).
    void SetView(ISettingsView* View) { FView = View; }
    ISettingsView* View() const { return FView; }

    // The handlers act only while this is true; ApplyOptionsToDialog sets
    // it, the start of a run clears it.
    bool DialogReady() const { return FDialogReady; }
    void SetDialogReady(bool Value) { FDialogReady = Value; }

    // One item per colour depth of the display control, in its order.
    void FillColorDepths();
    // The resolutions of the colour depth given (the full-screen mode's
    // when none is); an empty list when the display offers no such depth.
    void FillResolutions();
    void FillResolutions(int ColorDepth);
    // The full-screen mode := the mode the two lists show. Does nothing
    // while either list has no valid selection.
    void SelectVideoMode();
    // Shows every option in the controls. The resolution list is refilled
    // for the colour depth selected first, so it always belongs to the
    // depth shown. What is shown is what OK stores: a mode the lists lack
    // gives way to the one they show (unless Desktop Only), and counts
    // outside 0..MaxOptionCount are held to it, in the options and in the
    // live preview alike.
    void ApplyOptionsToDialog();

    // The user's actions, each ignored while DialogReady is false.
    void ComboBoxDepthChange();
    void ComboBoxResolutionChange();
    void CheckBoxDesktopClick();
    void CheckBoxRunAsEXEClick();
    void ButtonDefaultClick();
    void TrackBarVeltoCountChange();
    void TrackBarBublesCountChange();
    void ComboBoxThemesChange();
    void CheckBoxSoundClick();
    // Routes a Changed event of the view to its handler.
    void Changed(TSettingsControl Control);

    // After the scene applied its sound option by itself (a start of the
    // preview): a sound that failed to start is shown as switched off.
    void ReadSceneSound();
    // After a full-screen run: the theme the automatic rotation showed.
    void ReadSceneTheme();

private:
    void SetFullScreenMode(const TScreenMode& Mode);
    TScreenMode FullScreenMode() const;
    void ShowCount(TSettingsControl Bar, TSettingsControl Label, int Count);
    void SelectText(TSettingsControl List, const std::string& Text);
    void PushCountsAndTheme();

    TSaverOptions& FOptions;
    TDisplayControl& FDisplay;
    IMainFormScene& FScene;
    ISettingsView* FView = nullptr;
    bool FDialogReady = false;
};
