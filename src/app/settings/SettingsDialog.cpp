#include "app/settings/SettingsDialog.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/SameText.h"

namespace {

// The theme list as designed: "Auto" first, then the themes by index.
constexpr std::array<const char*, 4> ThemeItems = {"Auto", "Immersion", "Fountain", "Fishes"};
int BarPosition(int Count) { return std::clamp(Count, 0, MaxOptionCount); }

// Every mode the display control offers, as the options check them.
std::vector<TOptionsMode> OfferedModes(const TDisplayControl& Display)
{
    std::vector<TOptionsMode> Modes;
    const TColorDepthModes& Depths = Display.ColorDepthModes();
    for (int D = 0; D < Depths.Count(); ++D) {
        const TScreenModes& List = Depths.Item(D).Modes;
        for (int I = 0; I < List.Count(); ++I)
            Modes.push_back(TOptionsMode{List.Item(I).ColorDepth, List.Item(I).Width(), List.Item(I).Height()});
    }
    return Modes;
}

} // namespace

std::string ColorDepthText(int ColorDepth) { return std::to_string(ColorDepth) + " bits"; }

std::string ResolutionText(int Width, int Height) { return std::to_string(Width) + "x" + std::to_string(Height); }

TSettingsDialog::TSettingsDialog(TSaverOptions& Options, TDisplayControl& Display, IMainFormScene& Scene)
    : FOptions(Options), FDisplay(Display), FScene(Scene)
{
}

TScreenMode TSettingsDialog::FullScreenMode() const
{
    const TOptionsMode& M = FOptions.FullScreenMode;
    return TScreenMode(M.ColorDepth, M.Width, M.Height);
}

void TSettingsDialog::SetFullScreenMode(const TScreenMode& Mode)
{
    FOptions.FullScreenMode = TOptionsMode{Mode.ColorDepth, Mode.Width(), Mode.Height()};
    FDisplay.SetFullScreenMode(Mode);
}

void TSettingsDialog::FillColorDepths()
{
    if (!FView)
        return;
    FView->ClearItems(scComboDepth);
    const TColorDepthModes& Depths = FDisplay.ColorDepthModes();
    for (int I = 0; I < Depths.Count(); ++I)
        FView->AddItem(scComboDepth, ColorDepthText(Depths.Item(I).ColorDepth));
}

void TSettingsDialog::FillResolutions() { FillResolutions(FOptions.FullScreenMode.ColorDepth); }

void TSettingsDialog::FillResolutions(int ColorDepth)
{
    if (!FView)
        return;
    FView->ClearItems(scComboResolution);
    const TColorDepthModes& Depths = FDisplay.ColorDepthModes();
    const int Index = Depths.IndexOf(ColorDepth);
    if (Index < 0)
        return;
    const TScreenModes& Modes = Depths.Item(Index).Modes;
    for (int I = 0; I < Modes.Count(); ++I)
        FView->AddItem(scComboResolution, ResolutionText(Modes.Item(I).Width(), Modes.Item(I).Height()));
}

void TSettingsDialog::SelectVideoMode()
{
    if (!FView)
        return;
    const TColorDepthModes& Depths = FDisplay.ColorDepthModes();
    const int Depth = FView->ItemIndex(scComboDepth);
    if (Depth < 0 || Depth >= Depths.Count())
        return;
    const TScreenModes& Modes = Depths.Item(Depth).Modes;
    const int Mode = FView->ItemIndex(scComboResolution);
    if (Mode < 0 || Mode >= Modes.Count())
        return;
    SetFullScreenMode(Modes.Item(Mode));
}

void TSettingsDialog::SelectText(TSettingsControl List, const std::string& Text)
{
    const int Count = FView->ItemCount(List);
    for (int I = 0; I < Count; ++I) {
        if (SameText(FView->ItemText(List, I), Text)) {
            FView->SetItemIndex(List, I);
            return;
        }
    }
    FView->SetItemIndex(List, Count > 0 ? 0 : -1);
}

void TSettingsDialog::ShowCount(TSettingsControl Bar, TSettingsControl Label, int Count)
{
    // A stored count beyond the bar's range puts the bar at its end; the
    // label tells the count the scene really draws.
    FView->SetPosition(Bar, BarPosition(Count));
    FView->SetText(Label, std::to_string(Count));
}

void TSettingsDialog::ApplyOptionsToDialog()
{
    if (!FView)
        return;
    FDialogReady = false;
    const TOptionsMode& Mode = FOptions.FullScreenMode;
    SelectText(scComboDepth, ColorDepthText(Mode.ColorDepth));
    // The resolutions of the depth now shown, which is not the mode's own
    // when the display lacks that depth.
    const TColorDepthModes& Depths = FDisplay.ColorDepthModes();
    const int Depth = FView->ItemIndex(scComboDepth);
    FillResolutions(Depth >= 0 && Depth < Depths.Count() ? Depths.Item(Depth).ColorDepth : Mode.ColorDepth);
    SelectText(scComboResolution, ResolutionText(Mode.Width, Mode.Height));
    // What is shown is what OK stores: when the lists lack the mode they
    // show another, and that one becomes the full-screen mode.
    if (!FOptions.DesktopOnly)
        SelectVideoMode();

    // Counts are shown, stored and drawn as the saver uses them.
    if (UsableCount(FOptions.BubbleCount) != FOptions.BubbleCount)
        FScene.Options().BubbleCount = FOptions.BubbleCount = UsableCount(FOptions.BubbleCount);
    if (UsableCount(FOptions.DollarCount) != FOptions.DollarCount)
        FScene.Options().DollarCount = FOptions.DollarCount = UsableCount(FOptions.DollarCount);
    ShowCount(scTrackBubbles, scLabelBubbles, FOptions.BubbleCount);
    ShowCount(scTrackDollars, scLabelDollars, FOptions.DollarCount);

    if (FView->ItemCount(scComboThemes) == 0)
        for (const char* Item : ThemeItems)
            FView->AddItem(scComboThemes, Item);
    const int Theme = FOptions.ThemeAuto ? 0 : FOptions.ThemeIndex + 1;
    FView->SetItemIndex(scComboThemes, Theme >= 0 && Theme < int(ThemeItems.size()) ? Theme : 1);

    FView->SetChecked(scCheckSound, FOptions.SoundEnabled);
    FView->SetChecked(scCheckDesktop, FOptions.DesktopOnly);
    FView->SetEnabled(scComboDepth, !FOptions.DesktopOnly);
    FView->SetEnabled(scComboResolution, !FOptions.DesktopOnly);
    FView->SetChecked(scCheckRunAsExe, FOptions.RunAsEXE);
    FDialogReady = true;
}

void TSettingsDialog::PushCountsAndTheme()
{
    TSceneOptions& Scene = FScene.Options();
    Scene.BubbleCount = FOptions.BubbleCount;
    Scene.DollarCount = FOptions.DollarCount;
    Scene.ThemeAuto = FOptions.ThemeAuto;
    Scene.ThemeIndex = FOptions.ThemeIndex;
}

void TSettingsDialog::ComboBoxDepthChange()
{
    if (!FDialogReady || !FView)
        return;
    const int Resolution = FView->ItemIndex(scComboResolution);
    const std::string Kept = Resolution >= 0 ? FView->ItemText(scComboResolution, Resolution) : std::string();
    const TColorDepthModes& Depths = FDisplay.ColorDepthModes();
    const int Depth = FView->ItemIndex(scComboDepth);
    if (Depth < 0 || Depth >= Depths.Count())
        return;
    FillResolutions(Depths.Item(Depth).ColorDepth);
    SelectText(scComboResolution, Kept);
    SelectVideoMode();
}

void TSettingsDialog::ComboBoxResolutionChange()
{
    if (!FDialogReady)
        return;
    SelectVideoMode();
}

void TSettingsDialog::CheckBoxDesktopClick()
{
    if (!FDialogReady || !FView)
        return;
    FOptions.DesktopOnly = FView->Checked(scCheckDesktop);
    FView->SetEnabled(scComboDepth, !FOptions.DesktopOnly);
    FView->SetEnabled(scComboResolution, !FOptions.DesktopOnly);
    if (FOptions.DesktopOnly) {
        SetFullScreenMode(FDisplay.DesktopMode());
        ApplyOptionsToDialog();
    }
}

void TSettingsDialog::CheckBoxRunAsEXEClick()
{
    if (!FDialogReady || !FView)
        return;
    FOptions.RunAsEXE = FView->Checked(scCheckRunAsExe);
}

void TSettingsDialog::ButtonDefaultClick()
{
    if (!FDialogReady || !FView)
        return;
    const TScreenMode Desktop = FDisplay.DesktopMode();
    const TOptionsMode DesktopMode{Desktop.ColorDepth, Desktop.Width(), Desktop.Height()};
    ::SetDefaultOptions(FOptions, DesktopMode);
    // The default mode as a saver run would load it: the desktop's size
    // when the display does not offer 800 x 600.
    CheckFullScreenMode(FOptions.FullScreenMode, DesktopMode, OfferedModes(FDisplay));
    SetFullScreenMode(FullScreenMode());
    ApplyOptionsToDialog();
    PushCountsAndTheme();
    // The sound follows its check box, also when the defaults turn it on.
    if (FScene.Options().SoundEnabled != FOptions.SoundEnabled) {
        FScene.Options().SoundEnabled = FOptions.SoundEnabled;
        FScene.ApplySoundOption();
        ReadSceneSound();
    }
}

void TSettingsDialog::TrackBarVeltoCountChange()
{
    if (!FDialogReady || !FView)
        return;
    FOptions.DollarCount = FView->Position(scTrackDollars);
    FView->SetText(scLabelDollars, std::to_string(FOptions.DollarCount));
    FScene.Options().DollarCount = FOptions.DollarCount;
}

void TSettingsDialog::TrackBarBublesCountChange()
{
    if (!FDialogReady || !FView)
        return;
    FOptions.BubbleCount = FView->Position(scTrackBubbles);
    FView->SetText(scLabelBubbles, std::to_string(FOptions.BubbleCount));
    FScene.Options().BubbleCount = FOptions.BubbleCount;
}

void TSettingsDialog::ComboBoxThemesChange()
{
    if (!FDialogReady || !FView)
        return;
    const int Index = FView->ItemIndex(scComboThemes);
    if (Index > 0 && Index < int(ThemeItems.size())) {
        FOptions.ThemeAuto = false;
        FOptions.ThemeIndex = Index - 1;
    } else if (Index == 0) {
        FOptions.ThemeAuto = true;
    }
    FScene.Options().ThemeAuto = FOptions.ThemeAuto;
    FScene.Options().ThemeIndex = FOptions.ThemeIndex;
}

void TSettingsDialog::CheckBoxSoundClick()
{
    if (!FDialogReady || !FView)
        return;
    try {
        FOptions.SoundEnabled = FView->Checked(scCheckSound);
        FScene.Options().SoundEnabled = FOptions.SoundEnabled;
        // A sound that cannot start is told by the scene's error box and
        // leaves the scene's option off.
        FScene.ApplySoundOption();
        ReadSceneSound();
    } catch (...) {
        // Anything else: the sound is taken away from the dialog for good,
        // and the option no longer claims it is on.
        FDialogReady = false;
        FOptions.SoundEnabled = false;
        FView->SetEnabled(scCheckSound, false);
        FView->SetChecked(scCheckSound, false);
        FDialogReady = true;
    }
}

void TSettingsDialog::ReadSceneSound()
{
    if (FScene.Options().SoundEnabled || !FOptions.SoundEnabled)
        return;
    FOptions.SoundEnabled = false;
    if (FView)
        FView->SetChecked(scCheckSound, false);
}

void TSettingsDialog::ReadSceneTheme()
{
    if (FOptions.ThemeAuto)
        FOptions.ThemeIndex = FScene.Options().ThemeIndex;
}

void TSettingsDialog::Changed(TSettingsControl Control)
{
    switch (Control) {
    case scComboDepth: ComboBoxDepthChange(); break;
    case scComboResolution: ComboBoxResolutionChange(); break;
    case scCheckDesktop: CheckBoxDesktopClick(); break;
    case scCheckRunAsExe: CheckBoxRunAsEXEClick(); break;
    case scTrackDollars: TrackBarVeltoCountChange(); break;
    case scTrackBubbles: TrackBarBublesCountChange(); break;
    case scComboThemes: ComboBoxThemesChange(); break;
    case scCheckSound: CheckBoxSoundClick(); break;
    default: break;
    }
}
