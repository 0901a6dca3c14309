// The settings dialog's logic against a fake view played like a user, the
// real display control over a fake display, the real options and a scene
// whose sound is the real scene sound over a fake output: the lists, the
// selection that follows the colour depth, Desktop Only, Default, the
// counts, the themes, the sound and the handlers' silence while the dialog
// is not ready.
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/display/DisplayControl.h"
#include "app/options/Options.h"
#include "app/settings/SettingsDialog.h"
#include "fakes/FakeDisplaySettings.h"
#include "fakes/FakeSettingsWindow.h"
#include "fakes/FakeSound.h"
#include "scene/SceneSound.h"

namespace {

using TLines = std::vector<std::string>;

// The scene as the dialog reaches it: its options and its sound.
class TDialogScene : public IMainFormScene {
public:
    TDialogScene(ISoundOutput& Out, TFakeWindowSystem& Windows)
        : Sound(Out, [&Windows](const std::string& Message) {
              // As the program binds the scene's error service.
              Windows.ShowMessageBox(0, Message, ErrorBoxCaption, mbsOk | mbsIconError);
          })
    {
    }
    TSceneOptions SceneOptions;
    TSceneSound Sound;
    bool SoundBreaks = false;   // something other than the sound fails
    int SoundApplied = 0;

    void Start(const TSceneOptions&, const std::string&) override {}
    void FreeScene() override {}
    void InitGL(TGLDeviceContext) override {}
    void ReleaseGL() override {}
    void ResetFrameState() override {}
    void RenderFrame(IRenderWindow&) override {}
    void NextAutoTheme() override {}
    void ApplySoundOption() override
    {
        ++SoundApplied;
        if (SoundBreaks)
            throw std::logic_error("broken");
        Sound.ApplySoundOption(SceneOptions.SoundEnabled);
    }
    void StopSound() override {}
    void SetFullScreenRunning(bool) override {}
    int FramesPerSecond() const override { return 0; }
    const TSceneOptions& Options() const override { return SceneOptions; }
    TSceneOptions& Options() override { return SceneOptions; }
    std::string GLSummaryText() const override { return ""; }
    bool GenericPixelFormat() const override { return false; }
};

// The view's events as the main form routes them.
class TRouter : public ISettingsEvents {
public:
    explicit TRouter(TSettingsDialog& Dialog) : D(Dialog) {}
    void Changed(TSettingsControl Control) override { D.Changed(Control); }
    void Clicked(TSettingsControl Button) override
    {
        if (Button == scButtonDefault)
            D.ButtonDefaultClick();
    }

private:
    TSettingsDialog& D;
};

std::string ModeText(const TScreenMode& M)
{
    return std::to_string(M.Width()) + "x" + std::to_string(M.Height()) + "x" + std::to_string(M.ColorDepth);
}
std::string ModeText(const TOptionsMode& M)
{
    return std::to_string(M.Width) + "x" + std::to_string(M.Height) + "x" + std::to_string(M.ColorDepth);
}

class SettingsDialogTest : public ::testing::Test {
protected:
    SettingsDialogTest()
    {
        // 32 bits is seen first; 16 bits lacks 1280x1024 and 1024x768; 8
        // bits is never offered.
        Screen.Reported = {{1280, 1024, 32, 60}, {1024, 768, 32, 60}, {800, 600, 32, 60}, {640, 480, 16, 60},
                           {800, 600, 16, 60},   {640, 480, 32, 60},  {1024, 768, 8, 60}};
        Screen.Desktop = TDesktopCaps{32, 1024, 768};
        Display.OnEnumerate = DisplayControlEnumerate;
        Display.Enumerate();
        SetDefaultOptions(Options, TOptionsMode{32, 1024, 768});
        Display.SetFullScreenMode(TScreenMode(32, 800, 600));
        View.Events = &Router;
        Dialog.SetView(&View);
    }

    // The start of the dialog: lists, then the options shown.
    void Open()
    {
        Dialog.FillColorDepths();
        Dialog.FillResolutions();
        Dialog.ApplyOptionsToDialog();
    }
    TLines Items(TSettingsControl List) { return View.C(List).Items; }
    std::string Mode() { return ModeText(Display.FullScreenMode()); }

    TCallLines Log;
    TFakeWindowSystem Windows{Log};
    TFakeDisplaySettings Screen;
    TDisplayControl Display{Screen};
    TSaverOptions Options;
    TFakeSound Out;
    TDialogScene Scene{Out, Windows};
    TSettingsDialog Dialog{Options, Display, Scene};
    TRouter Router{Dialog};
    TFakeSettingsView View;
};

const TLines Depths32 = {"1280x1024", "1024x768", "800x600", "640x480"};
const TLines Depths16 = {"640x480", "800x600"};

} // namespace

TEST_F(SettingsDialogTest, TheListsComeFromTheDisplayAndShowTheOptions)
{
    Options.BubbleCount = 35;
    Options.ThemeIndex = 2;
    Options.SoundEnabled = false;
    Options.RunAsEXE = true;
    Open();
    EXPECT_EQ(Items(scComboDepth), (TLines{"32 bits", "16 bits"}));
    EXPECT_EQ(Items(scComboResolution), Depths32);
    EXPECT_EQ(View.SelectedText(scComboDepth), "32 bits");
    EXPECT_EQ(View.SelectedText(scComboResolution), "800x600");
    EXPECT_EQ(View.C(scTrackBubbles).Position, 35);
    EXPECT_EQ(View.C(scLabelBubbles).Text, "35");
    EXPECT_EQ(View.C(scTrackDollars).Position, 60);
    EXPECT_EQ(View.C(scLabelDollars).Text, "60");
    EXPECT_EQ(View.SelectedText(scComboThemes), "Fishes");
    EXPECT_FALSE(View.C(scCheckSound).Checked);
    EXPECT_FALSE(View.C(scCheckDesktop).Checked);
    EXPECT_TRUE(View.C(scCheckRunAsExe).Checked);
    EXPECT_TRUE(View.C(scComboDepth).Enabled);
    EXPECT_TRUE(View.C(scComboResolution).Enabled);
    EXPECT_TRUE(Dialog.DialogReady());
}

TEST_F(SettingsDialogTest, AnotherColourDepthKeepsTheResolutionItHasElseTakesTheFirst)
{
    struct TCase {
        const char* Resolution;   // chosen at 32 bits
        const char* Kept;         // shown at 16 bits
    };
    for (const TCase& C : {TCase{"800x600", "800x600"}, TCase{"1280x1024", "640x480"}}) {
        Options.FullScreenMode = TOptionsMode{32, 800, 600};
        Open();
        View.Select(scComboResolution, C.Resolution);
        View.Select(scComboDepth, "16 bits");
        EXPECT_EQ(Items(scComboResolution), Depths16) << C.Resolution;
        EXPECT_EQ(View.SelectedText(scComboResolution), C.Kept) << C.Resolution;
        // The full-screen mode follows what the lists show, in both places.
        EXPECT_EQ(Mode(), std::string(C.Kept) + "x16") << C.Resolution;
        EXPECT_EQ(ModeText(Options.FullScreenMode), std::string(C.Kept) + "x16") << C.Resolution;
    }
    View.Select(scComboDepth, "32 bits");
    EXPECT_EQ(View.SelectedText(scComboResolution), "640x480");
    EXPECT_EQ(Mode(), "640x480x32");
}

TEST_F(SettingsDialogTest, AResolutionChoiceSetsTheFullScreenMode)
{
    Open();
    View.Select(scComboResolution, "1024x768");
    EXPECT_EQ(Mode(), "1024x768x32");
    EXPECT_EQ(ModeText(Options.FullScreenMode), "1024x768x32");
}

TEST_F(SettingsDialogTest, DesktopOnlyShowsTheDesktopsModeAndLocksTheListsUntilCleared)
{
    Open();
    View.Select(scComboDepth, "16 bits");
    View.Select(scComboResolution, "640x480");
    View.Check(scCheckDesktop, true);
    EXPECT_TRUE(Options.DesktopOnly);
    EXPECT_FALSE(View.C(scComboDepth).Enabled);
    EXPECT_FALSE(View.C(scComboResolution).Enabled);
    EXPECT_EQ(View.SelectedText(scComboDepth), "32 bits");
    EXPECT_EQ(Items(scComboResolution), Depths32) << "the list of the depth shown";
    EXPECT_EQ(View.SelectedText(scComboResolution), "1024x768");
    EXPECT_EQ(Mode(), "1024x768x32");
    EXPECT_EQ(ModeText(Options.FullScreenMode), "1024x768x32");

    View.Check(scCheckDesktop, false);
    EXPECT_FALSE(Options.DesktopOnly);
    EXPECT_TRUE(View.C(scComboDepth).Enabled);
    EXPECT_TRUE(View.C(scComboResolution).Enabled);
    EXPECT_EQ(View.SelectedText(scComboResolution), "1024x768");
    EXPECT_EQ(Mode(), "1024x768x32") << "the desktop's mode is kept";
}

TEST_F(SettingsDialogTest, DefaultResetsAllButRunAsExeAndShowsTheListOfTheDefaultDepth)
{
    Open();
    View.Select(scComboDepth, "16 bits");
    View.Select(scComboResolution, "640x480");
    View.Slide(scTrackBubbles, 5);
    View.Slide(scTrackDollars, 7);
    View.Select(scComboThemes, "Fountain");
    View.Check(scCheckRunAsExe, true);
    View.Click(scButtonDefault);

    EXPECT_EQ(Options.BubbleCount, 100);
    EXPECT_EQ(Options.DollarCount, 60);
    EXPECT_FALSE(Options.ThemeAuto);
    EXPECT_EQ(Options.ThemeIndex, 0);
    EXPECT_TRUE(Options.RunAsEXE);
    EXPECT_EQ(Mode(), "800x600x32");
    EXPECT_EQ(View.SelectedText(scComboDepth), "32 bits");
    EXPECT_EQ(Items(scComboResolution), Depths32);
    EXPECT_EQ(View.SelectedText(scComboResolution), "800x600");
    EXPECT_EQ(View.C(scLabelBubbles).Text, "100");
    EXPECT_EQ(View.SelectedText(scComboThemes), "Immersion");
    // The live preview draws the defaults at once.
    EXPECT_EQ(Scene.SceneOptions.BubbleCount, 100);
    EXPECT_EQ(Scene.SceneOptions.DollarCount, 60);
    EXPECT_EQ(Scene.SceneOptions.ThemeIndex, 0);
    // The list shown is the one the next choice indexes.
    View.Select(scComboResolution, "1280x1024");
    EXPECT_EQ(Mode(), "1280x1024x32");
}

TEST_F(SettingsDialogTest, CountsBeyondTheBarAreShownStoredAndDrawnAsTheSaverUsesThem)
{
    const struct {
        int Bubbles, Dollars, ShownBubbles, ShownDollars;
    } Cases[] = {{150, 250, 100, 100}, {1000000, -5, 100, 0}, {-1, 0, 0, 0}, {40, 100, 40, 100}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(std::to_string(C.Bubbles) + " " + std::to_string(C.Dollars));
        Options.BubbleCount = C.Bubbles;
        Options.DollarCount = C.Dollars;
        Scene.SceneOptions.BubbleCount = C.Bubbles;   // the scene given the options as they are
        Scene.SceneOptions.DollarCount = C.Dollars;
        Open();
        EXPECT_EQ(View.C(scTrackBubbles).Position, C.ShownBubbles);
        EXPECT_EQ(View.C(scTrackDollars).Position, C.ShownDollars);
        EXPECT_EQ(View.C(scLabelBubbles).Text, std::to_string(C.ShownBubbles));
        EXPECT_EQ(View.C(scLabelDollars).Text, std::to_string(C.ShownDollars));
        EXPECT_EQ(Options.BubbleCount, C.ShownBubbles) << "what OK stores";
        EXPECT_EQ(Options.DollarCount, C.ShownDollars);
        EXPECT_EQ(Scene.SceneOptions.BubbleCount, C.ShownBubbles) << "what the live preview draws";
        EXPECT_EQ(Scene.SceneOptions.DollarCount, C.ShownDollars);
    }
    View.Slide(scTrackBubbles, 30);
    EXPECT_EQ(Options.BubbleCount, 30);
    EXPECT_EQ(Options.DollarCount, 100) << "the other bar did not move";
}

TEST_F(SettingsDialogTest, AModeTheListsLackIsReplacedByTheOneShown)
{
    Options.FullScreenMode = TOptionsMode{32, 1600, 1200};
    Open();
    EXPECT_EQ(View.SelectedText(scComboDepth), "32 bits");
    EXPECT_EQ(View.SelectedText(scComboResolution), "1280x1024");
    EXPECT_EQ(Options.FullScreenMode, (TOptionsMode{32, 1280, 1024})) << "what OK stores is what is shown";
    EXPECT_EQ(Mode(), "1280x1024x32");
}

TEST_F(SettingsDialogTest, DefaultOnADisplayWithout800x600ShowsAndKeepsTheDesktopsSize)
{
    Screen.Reported = {{1280, 1024, 32, 60}, {1024, 768, 32, 60}, {1280, 1024, 16, 60}};
    Screen.Desktop = TDesktopCaps{32, 1280, 1024};
    Display.Enumerate();
    Open();
    View.Select(scComboResolution, "1024x768");
    View.Click(scButtonDefault);
    EXPECT_EQ(View.SelectedText(scComboDepth), "32 bits");
    EXPECT_EQ(View.SelectedText(scComboResolution), "1280x1024");
    EXPECT_EQ(Options.FullScreenMode, (TOptionsMode{32, 1280, 1024}));
    EXPECT_EQ(Mode(), "1280x1024x32");
    // The same mode a saver run loads from those stored defaults.
    TOptionsMode Loaded = DefaultFullScreenMode(TOptionsMode{32, 1280, 1024});
    const std::vector<TOptionsMode> Offered{{32, 1280, 1024}, {32, 1024, 768}, {16, 1280, 1024}};
    CheckFullScreenMode(Loaded, TOptionsMode{32, 1280, 1024}, Offered);
    EXPECT_EQ(Loaded, Options.FullScreenMode);
}

TEST_F(SettingsDialogTest, TheTrackBarsSetTheirCountsAndTheLivePreviewsAtOnce)
{
    Open();
    struct TCase {
        TSettingsControl Bar, Label;
        int TSaverOptions::*Stored;
        int TSceneOptions::*Drawn;
    };
    for (const TCase& C : {TCase{scTrackDollars, scLabelDollars, &TSaverOptions::DollarCount, &TSceneOptions::DollarCount},
                           TCase{scTrackBubbles, scLabelBubbles, &TSaverOptions::BubbleCount, &TSceneOptions::BubbleCount}}) {
        View.Slide(C.Bar, 25);
        EXPECT_EQ(Options.*C.Stored, 25) << int(C.Bar);
        EXPECT_EQ(Scene.SceneOptions.*C.Drawn, 25) << int(C.Bar);
        EXPECT_EQ(View.C(C.Label).Text, "25") << int(C.Bar);
    }
}

TEST_F(SettingsDialogTest, AutoKeepsTheLastFixedThemeAndAFixedThemeEndsAuto)
{
    Open();
    View.Select(scComboThemes, "Fishes");
    EXPECT_FALSE(Options.ThemeAuto);
    EXPECT_EQ(Options.ThemeIndex, 2);
    View.Select(scComboThemes, "Auto");
    EXPECT_TRUE(Options.ThemeAuto);
    EXPECT_EQ(Options.ThemeIndex, 2);
    EXPECT_TRUE(Scene.SceneOptions.ThemeAuto);
    EXPECT_EQ(Scene.SceneOptions.ThemeIndex, 2);
    EXPECT_EQ(EncodeTheme(Options.ThemeAuto, Options.ThemeIndex), -3);
    View.Select(scComboThemes, "Fountain");
    EXPECT_FALSE(Scene.SceneOptions.ThemeAuto);
    EXPECT_EQ(Scene.SceneOptions.ThemeIndex, 1);
}

TEST_F(SettingsDialogTest, AnAutomaticThemeIsShownAsAuto)
{
    Options.ThemeAuto = true;
    Options.ThemeIndex = 1;
    Open();
    EXPECT_EQ(View.SelectedText(scComboThemes), "Auto");
}

TEST_F(SettingsDialogTest, EveryHandlerIsSilentWhileTheDialogIsNotReady)
{
    Dialog.FillColorDepths();
    Dialog.FillResolutions();
    ASSERT_FALSE(Dialog.DialogReady());
    // The user's values sit in the controls, as while the lists are filled.
    View.C(scComboDepth).Index = 1;
    View.C(scComboResolution).Index = 0;
    View.C(scCheckDesktop).Checked = true;
    View.C(scCheckRunAsExe).Checked = true;
    View.C(scTrackDollars).Position = 3;
    View.C(scTrackBubbles).Position = 4;
    View.C(scComboThemes).Index = 0;
    View.C(scCheckSound).Checked = false;
    const int Writes = View.Writes;
    const TSaverOptions Before = Options;
    for (int Control = 0; Control < SettingsControlCount; ++Control)
        Router.Changed(TSettingsControl(Control));
    View.Click(scButtonDefault);
    EXPECT_EQ(View.Writes, Writes);
    EXPECT_EQ(ModeText(Options.FullScreenMode), ModeText(Before.FullScreenMode));
    EXPECT_EQ(Mode(), "800x600x32");
    EXPECT_EQ((std::vector<int>{Options.BubbleCount, Options.DollarCount, Options.ThemeIndex}),
              (std::vector<int>{Before.BubbleCount, Before.DollarCount, Before.ThemeIndex}));
    EXPECT_EQ((std::vector<bool>{Options.ThemeAuto, Options.SoundEnabled, Options.DesktopOnly, Options.RunAsEXE}),
              (std::vector<bool>{Before.ThemeAuto, Before.SoundEnabled, Before.DesktopOnly, Before.RunAsEXE}));
    EXPECT_EQ(Scene.SoundApplied, 0);
    EXPECT_EQ(Scene.SceneOptions.BubbleCount, TSceneOptions{}.BubbleCount);
}

TEST_F(SettingsDialogTest, TheSoundFollowsItsBox)
{
    Open();
    View.Check(scCheckSound, false);
    EXPECT_FALSE(Options.SoundEnabled);
    EXPECT_EQ(Out.Calls, (TLines{"stop"}));
    View.Check(scCheckSound, true);
    EXPECT_TRUE(Options.SoundEnabled);
    EXPECT_EQ(Out.Calls, (TLines{"stop", "stop", "play sbubles"}));
    EXPECT_TRUE(Windows.Boxes.empty());
}

TEST_F(SettingsDialogTest, ASoundThatCannotStartIsToldAndUnchecked)
{
    Options.SoundEnabled = false;
    Scene.SceneOptions.SoundEnabled = false;
    Open();
    Out.Fail = true;
    View.Check(scCheckSound, true);
    ASSERT_EQ(Windows.Boxes.size(), 1u);
    EXPECT_EQ(Windows.Boxes[0].Text, "no wave device");
    EXPECT_EQ(Windows.Boxes[0].Caption, "Glimmora Screen Saver Error!");
    EXPECT_EQ(Windows.Boxes[0].Style, 0x10u);
    EXPECT_FALSE(Options.SoundEnabled);
    EXPECT_FALSE(View.C(scCheckSound).Checked);
    EXPECT_TRUE(View.C(scCheckSound).Enabled) << "it may be tried again";
    EXPECT_TRUE(Dialog.DialogReady());
}

TEST_F(SettingsDialogTest, AnyOtherSoundFailureTakesTheBoxAway)
{
    Open();
    Scene.SoundBreaks = true;
    View.Check(scCheckSound, true);
    EXPECT_FALSE(View.C(scCheckSound).Enabled);
    EXPECT_FALSE(View.C(scCheckSound).Checked);
    EXPECT_FALSE(Options.SoundEnabled);
    EXPECT_TRUE(Dialog.DialogReady());
    EXPECT_TRUE(Windows.Boxes.empty());
}

TEST_F(SettingsDialogTest, ADepthTheDisplayLacksShowsTheFirstDepthWithItsOwnResolutions)
{
    Options.FullScreenMode = TOptionsMode{24, 800, 600};
    Dialog.FillColorDepths();
    Dialog.FillResolutions();
    EXPECT_TRUE(Items(scComboResolution).empty());
    Dialog.ApplyOptionsToDialog();
    EXPECT_EQ(View.SelectedText(scComboDepth), "32 bits");
    EXPECT_EQ(Items(scComboResolution), Depths32);
    EXPECT_EQ(View.SelectedText(scComboResolution), "800x600");
}

TEST(SettingsDialogTexts, DepthAndResolutionItems)
{
    EXPECT_EQ(ColorDepthText(16), "16 bits");
    EXPECT_EQ(ResolutionText(800, 600), "800x600");
}
