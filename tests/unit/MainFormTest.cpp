// The main form's saver side against logging fakes of the windows, the
// loop, the application frame, the display, the options and the scene:
// the order of the start, the frame per idle turn, the input that ends a
// run, the close, the error box and the still picture of the preview.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/saver/MainForm.h"
#include "fakes/ErrorOf.h"
#include "fakes/FakeSettingsWindow.h"
#include "fakes/FakeWindowing.h"
#include "fakes/SystemBackends.h"
#include "gl/Errors.h"
#include "platform/Resources.h"

namespace {

using TLines = std::vector<std::string>;

std::string ModeText(const TFormDisplayMode& M)
{
    return std::to_string(M.Width) + "x" + std::to_string(M.Height) + "x" + std::to_string(M.ColorDepth);
}

class TLoggingFrame : public IMainFormFrame {
public:
    explicit TLoggingFrame(TCallLines& Log) : L(Log) {}
    TScreenSaverMode RunMode = smSaver;
    bool PasswordOk = true;
    bool MoveEnds = false;
    TScreenSaverMode Mode() const override { return RunMode; }
    std::string TuningFileName() const override { return "C:\\Saver\\Glimmora3D.ini"; }
    void ResetMouseFilter() override { L.push_back("frame.ResetMouseFilter"); }
    bool MouseMoveEndsRun(int X, int Y) override
    {
        L.push_back("frame.MouseMove(" + std::to_string(X) + "," + std::to_string(Y) + ")");
        return MoveEnds;
    }
    // The component's rules (filter, password, summary line) are its own
    // tests'; here only what reaches it and which steps it takes.
    bool EndSaver(const TRunSummary& S, const TEndSaverSteps& Steps) override
    {
        L.push_back("frame.EndSaver(" + ModeText({S.Width, S.Height, S.ColorDepth}) + "," +
                    std::to_string(S.FramesPerSecond) + ")");
        if (!PasswordOk)
            return false;
        Steps.StopSound();
        Steps.CloseRenderForm();
        if (RunMode == smSaver)
            Steps.CloseMainForm();
        return true;
    }
    TWindowHandle Owner = 0;
    // The log lines at the time the start's notes were written.
    std::vector<TLines> NotesWrittenAfter;
    void WriteStartNotes() override { NotesWrittenAfter.push_back(L); }
    std::string Title() const override { return "Glimmora 3D"; }
    std::string VersionText() const override { return "2.13"; }
    TWindowHandle DialogOwner() const override { return Owner; }
    void SaveOptions() override { L.push_back("frame.SaveOptions"); }
    void SetScreenSaverRunning(bool Running) override
    {
        L.push_back(std::string("frame.SetScreenSaverRunning(") + (Running ? "1" : "0") + ")");
    }

private:
    TCallLines& L;
};

class TLoggingDisplay : public IMainFormDisplay {
public:
    explicit TLoggingDisplay(TCallLines& Log) : L(Log) {}
    int Depth = 32;
    bool HasModes = true;
    TFormDisplayMode Current{800, 600, 32};
    bool FailSwitch = false;
    int DesktopColorDepth() override { return Depth; }
    bool HasColorDepthModes() override { return HasModes; }
    void SetFullScreen(bool Value) override
    {
        L.push_back(std::string("display.SetFullScreen(") + (Value ? "1" : "0") + ")");
        if (FailSwitch)
            throw EGlimmoraError("the display refuses");
    }
    TFormDisplayMode CurrentMode() override { return Current; }

private:
    TCallLines& L;
};

class TLoggingOptions : public IMainFormOptions {
public:
    explicit TLoggingOptions(TCallLines& Log) : L(Log) {}
    bool Desktop = false;
    void SetDefaultOptions() override { L.push_back("options.SetDefaultOptions"); }
    void LoadOptions() override { L.push_back("options.LoadOptions"); }
    TSceneOptions SceneOptions() override { return TSceneOptions{}; }
    bool DesktopOnly() override { return Desktop; }
    void SaveAutoTheme(int ThemeIndex) override { L.push_back("options.SaveAutoTheme(" + std::to_string(ThemeIndex) + ")"); }
    std::string ProgramPath() override { return "C:\\Saver\\"; }

private:
    TCallLines& L;
};

class TLoggingScene : public IMainFormScene {
public:
    explicit TLoggingScene(TCallLines& Log) : L(Log) {}
    TSceneOptions SceneOptions;
    TGLDeviceContext DC = nullptr;
    void Start(const TSceneOptions&, const std::string& Tuning) override
    {
        L.push_back("scene.Start(" + Tuning + ")");
    }
    void FreeScene() override { L.push_back("scene.FreeScene"); }
    void InitGL(TGLDeviceContext NewDC) override
    {
        L.push_back("scene.InitGL");
        DC = NewDC;
    }
    void ReleaseGL() override { L.push_back("scene.ReleaseGL"); }
    void ResetFrameState() override { L.push_back("scene.ResetFrameState"); }
    void RenderFrame(IRenderWindow& W) override
    {
        L.push_back("scene.RenderFrame(" + std::to_string(W.Width()) + "x" + std::to_string(W.Height()) + ")");
    }
    void NextAutoTheme() override { L.push_back("scene.NextAutoTheme"); }
    void ApplySoundOption() override { L.push_back("scene.ApplySoundOption"); }
    void StopSound() override { L.push_back("scene.StopSound"); }
    void SetFullScreenRunning(bool V) override { L.push_back(std::string("scene.SetFullScreenRunning(") + (V ? "1" : "0") + ")"); }
    int FramesPerSecond() const override { return 57; }
    const TSceneOptions& Options() const override { return SceneOptions; }
    TSceneOptions& Options() override { return SceneOptions; }
    bool Generic = false;
    std::string GLSummaryText() const override { return "Vendor:  V\r\nVideo:  R\r\nOpenGL:  1.2"; }
    bool GenericPixelFormat() const override { return Generic; }

private:
    TCallLines& L;
};

class MainFormTest : public ::testing::Test {
protected:
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    TCallLines Log;
    TFakeWindowSystem Windows{Log};
    TFakeMessageLoop Loop{Log};
    TLoggingFrame Frame{Log};
    TLoggingDisplay Display{Log};
    TLoggingOptions Options{Log};
    TLoggingScene Scene{Log};
    TMainForm Form{TMainFormServices{Windows, Loop, Frame, Display, Options, Scene, *Module}};

    // A saver run up to its first frame; the log starts empty after it.
    void StartSaver()
    {
        Form.PrepareSaverForm();
        Form.ScreenSaverAppStart();
        Log.clear();
    }
};

const TLines FullScreenStart = {
    "scene.ReleaseGL", "scene.NextAutoTheme", "display.SetFullScreen(1)",
    "windows.CreateRenderForm(0,0,800,600)", "render.SetTopMost", "windows.ShowCursor(0)", "render.Show",
    "render.CaptureMouse", "render.GetDC", "scene.InitGL", "scene.ResetFrameState", "frame.ResetMouseFilter",
    "scene.SetFullScreenRunning(1)", "scene.ApplySoundOption"};

TLines Join(TLines A, const TLines& B)
{
    A.insert(A.end(), B.begin(), B.end());
    return A;
}

} // namespace

TEST_F(MainFormTest, TheSaverFormLiesOffTheScreenWithoutSize)
{
    Form.PrepareSaverForm();
    EXPECT_EQ(Log, (TLines{"windows.CreateMainForm(Glimmora 3D Screen Saver,-511,-363,0,0)"}));
}

TEST_F(MainFormTest, ASaverStartRunsInItsOrderAndDrawsOnTheWindowsDeviceContext)
{
    Form.PrepareSaverForm();
    Log.clear();
    Form.ScreenSaverAppStart();
    EXPECT_EQ(Log, Join({"options.SetDefaultOptions", "options.LoadOptions",
                         "scene.Start(C:\\Saver\\Glimmora3D.ini)"},
                        FullScreenStart));
    EXPECT_EQ(Scene.DC, &Windows.Window("render").DCTag);
    EXPECT_TRUE(Windows.Window("render").Visible());
}

TEST_F(MainFormTest, TheStartsNotesAreWrittenOnceTheTuningFileIsRead)
{
    // The tuning file (read by the scene's start) may switch the log on.
    Form.PrepareSaverForm();
    Log.clear();
    Form.ScreenSaverAppStart();
    ASSERT_EQ(Frame.NotesWrittenAfter.size(), 1u);
    EXPECT_EQ(Frame.NotesWrittenAfter[0].back(), "scene.Start(C:\\Saver\\Glimmora3D.ini)");
}

TEST_F(MainFormTest, TheDisplaySwitchFollowsDesktopOnlyAndTheWindowTheModeInForce)
{
    struct TCase {
        bool DesktopOnly;
        TFormDisplayMode InForce;
        std::string Switch, Window;
    };
    for (const TCase& C : {TCase{false, {800, 600, 16}, "display.SetFullScreen(1)", "windows.CreateRenderForm(0,0,800,600)"},
                           TCase{true, {1024, 768, 32}, "display.SetFullScreen(0)", "windows.CreateRenderForm(0,0,1024,768)"},
                           // The switch was refused: the desktop's mode is in force.
                           TCase{false, {1280, 1024, 32}, "display.SetFullScreen(1)", "windows.CreateRenderForm(0,0,1280,1024)"}}) {
        Log.clear();
        Options.Desktop = C.DesktopOnly;
        Display.Current = C.InForce;
        Form.StartFullScreen();
        const auto Switch = std::find(Log.begin(), Log.end(), C.Switch);
        ASSERT_NE(Switch, Log.end()) << C.Switch;
        ASSERT_NE(Switch + 1, Log.end());
        EXPECT_EQ(*(Switch + 1), C.Window);
        EXPECT_EQ(Windows.Window("render").Width(), C.InForce.Width);
    }
}

TEST_F(MainFormTest, ARestartReleasesTheOldContextAndWindowFirst)
{
    StartSaver();
    Form.StartFullScreen();
    EXPECT_EQ(TLines(Log.begin(), Log.begin() + 5),
              (TLines{"scene.ReleaseGL", "render.ReleaseDC", "render.Hide", "render.Destroy", "scene.NextAutoTheme"}));
}

TEST_F(MainFormTest, AnUnusableColourDepthStopsTheStartBeforeAnythingElse)
{
    struct TCase {
        int Depth;
        bool HasModes;
    };
    for (const TCase& C : {TCase{8, true}, TCase{24, true}, TCase{15, true}, TCase{32, false}, TCase{16, false}}) {
        Log.clear();
        Display.Depth = C.Depth;
        Display.HasModes = C.HasModes;
        EXPECT_EQ(ErrorOf([&] { Form.ScreenSaverAppStart(); }), ColorDepthWarning) << C.Depth;
        EXPECT_TRUE(Log.empty()) << C.Depth;
    }
}

TEST_F(MainFormTest, ThePreviewStartsNoScene)
{
    Frame.RunMode = smPreview;
    Form.ScreenSaverAppStart();
    bool Done = true;
    Form.ScreenSaverAppIdle(Done);
    EXPECT_TRUE(Log.empty());
    EXPECT_TRUE(Done);
}

TEST_F(MainFormTest, EachIdleTurnPaintsOneFrameSynchronously)
{
    bool Done = false;
    Form.ScreenSaverAppIdle(Done);
    EXPECT_TRUE(Log.empty()) << "no render window yet";
    StartSaver();
    Form.ScreenSaverAppIdle(Done);
    Form.ScreenSaverAppIdle(Done);
    EXPECT_EQ(Log, (TLines{"render.Paint", "scene.RenderFrame(800x600)", "render.Paint", "scene.RenderFrame(800x600)"}));
    EXPECT_FALSE(Done) << "the idle flag is left as the frame set it";
}

TEST_F(MainFormTest, InputEndsTheSaverRunAndClosesTheProgram)
{
    const TLines End = {"frame.EndSaver(800x600x32,57)", "scene.StopSound", "render.Hide", "scene.ReleaseGL", "render.ReleaseDC",
                        "display.SetFullScreen(0)", "scene.FreeScene", "render.Hide", "render.Destroy",
                        "main.Destroy", "loop.Terminate"};
    struct TCase {
        const char* What;
        std::function<void(IWindowEvents&)> Fire;
        TLines Before;
    };
    for (const TCase& C : {TCase{"key", [](IWindowEvents& E) { E.KeyDown(0x20); }, {}},
                           TCase{"button", [](IWindowEvents& E) { E.MouseDown(mbRight, 3, 4); }, {}},
                           TCase{"move", [](IWindowEvents& E) { E.MouseMove(9, 8); }, {"frame.MouseMove(9,8)"}}}) {
        TCallLines L;
        const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
        TFakeWindowSystem W{L};
        TFakeMessageLoop Lp{L};
        TLoggingFrame F{L};
        F.MoveEnds = true;
        TLoggingDisplay D{L};
        TLoggingOptions O{L};
        TLoggingScene S{L};
        TMainForm M{TMainFormServices{W, Lp, F, D, O, S, *Module}};
        M.PrepareSaverForm();
        M.ScreenSaverAppStart();
        L.clear();
        C.Fire(W.Window("render").Events());
        EXPECT_EQ(L, Join(C.Before, End)) << C.What;
        EXPECT_TRUE(Lp.Terminated()) << C.What;
        EXPECT_TRUE(M.Closed()) << C.What;
    }
}

TEST_F(MainFormTest, AMoveTheFilterKeepsEndsNothing)
{
    StartSaver();
    Windows.Window("render").Events().MouseMove(5, 7);
    EXPECT_EQ(Log, (TLines{"frame.MouseMove(5,7)"}));
}

TEST_F(MainFormTest, ARefusedPasswordLetsTheRunGoOn)
{
    StartSaver();
    Frame.PasswordOk = false;
    Windows.Window("render").Events().KeyDown(13);
    EXPECT_EQ(Log, (TLines{"frame.EndSaver(800x600x32,57)"}));
    EXPECT_TRUE(Windows.Window("render").Visible());
    EXPECT_FALSE(Loop.Terminated());
}

TEST_F(MainFormTest, OutsideTheSaverInputClosesOnlyTheRenderWindowWithoutAPassword)
{
    Frame.RunMode = smConfig;
    Form.StartFullScreen();
    Log.clear();
    Windows.Window("render").Events().KeyDown(13);
    EXPECT_EQ(Log, (TLines{"frame.EndSaver(800x600x32,57)", "scene.StopSound", "render.Hide"}));
    EXPECT_FALSE(Loop.Terminated());
}

TEST_F(MainFormTest, AnErrorCleansUpThenShowsTheBoxAndEndsTheProgram)
{
    StartSaver();
    const TWindowHandle Main = Windows.Window("main").Handle();
    Form.ScreenSaverAppException(EGlimmoraError("Bad thing."));
    EXPECT_EQ(Log, (TLines{"windows.ShowCursor(1)", "display.SetFullScreen(0)", "scene.ReleaseGL", "render.ReleaseDC",
                           "render.Hide", "render.Destroy", "windows.MessageBox(Glimmora Screen Saver Error!)",
                           "scene.ReleaseGL", "display.SetFullScreen(0)", "scene.FreeScene", "main.Destroy",
                           "loop.Terminate"}));
    ASSERT_EQ(Windows.Boxes.size(), 1u);
    EXPECT_EQ(Windows.Boxes[0].Owner, Main);
    EXPECT_EQ(Windows.Boxes[0].Text, "Bad thing.");
    EXPECT_EQ(Windows.Boxes[0].Style, 0x10u);
}

TEST_F(MainFormTest, TheBoxComesAndTheProgramEndsEvenWhenTheCleanUpFails)
{
    StartSaver();
    Display.FailSwitch = true;
    // The close query's own failure goes on to the exception hook.
    EXPECT_EQ(ErrorOf([&] { Form.ScreenSaverAppException(EGlimmoraError("Bad thing.")); }), "the display refuses");
    ASSERT_EQ(Windows.Boxes.size(), 1u);
    EXPECT_EQ(Windows.Boxes[0].Text, "Bad thing.");
    EXPECT_TRUE(Loop.Terminated());
    EXPECT_FALSE(Windows.Alive("main"));
    EXPECT_FALSE(Windows.Alive("render"));
}

TEST_F(MainFormTest, TheStopStoresTheRotatedThemeOnlyAfterAnAutomaticSaverRun)
{
    struct TCase {
        TScreenSaverMode Mode;
        bool Auto;
        TLines Expected;
    };
    for (const TCase& C : {TCase{smSaver, true, {"options.SaveAutoTheme(2)"}}, TCase{smSaver, false, {}},
                           TCase{smConfig, true, {}}, TCase{smPreview, true, {}}}) {
        Log.clear();
        Frame.RunMode = C.Mode;
        Scene.SceneOptions.ThemeAuto = C.Auto;
        Scene.SceneOptions.ThemeIndex = 2;
        Form.ScreenSaverAppStop();
        EXPECT_EQ(Log, C.Expected) << int(C.Mode) << C.Auto;
    }
}

TEST_F(MainFormTest, ThePreviewCoversItsParentAndShowsTheStretchedBackground)
{
    Frame.RunMode = smPreview;
    Windows.Foreign[4660] = TWindowBounds{0, 0, 152, 112};
    ASSERT_TRUE(Form.PreparePreviewForm(4660));
    Form.FormShow();
    EXPECT_EQ(Log, (TLines{"windows.CreateChildForm(4660,0,0,152,112)", "child.StartTimer(500)",
                           "child.SetPicture(150x110)"}));
    // The picture is the committed bitmap, read here from the file itself.
    const TGLBitmap File = DecodeBitmapFile(ReadFileBytes(std::string(GLIMMORA_RESOURCES_DIR) + "/Background.bmp"),
                                            "Background.bmp");
    const TPicture& P = Windows.Window("child").Picture();
    ASSERT_EQ(P.Pixels.size(), 150u * 110u * 4u);
    for (const auto& [X, Y] : {std::pair{0, 0}, std::pair{149, 0}, std::pair{75, 55}, std::pair{3, 109}}) {
        const TBitmapColor C = File.PixelColor(X, Y);
        const std::size_t At = (std::size_t(Y) * 150 + std::size_t(X)) * 4;
        EXPECT_EQ((TLines{std::to_string(P.Pixels[At]), std::to_string(P.Pixels[At + 1]), std::to_string(P.Pixels[At + 2])}),
                  (TLines{std::to_string(C.B), std::to_string(C.G), std::to_string(C.R)}))
            << X << "," << Y;
    }
}

TEST_F(MainFormTest, APreviewOfSomethingThatIsNoWindowMakesNoWindow)
{
    Frame.RunMode = smPreview;
    EXPECT_FALSE(Form.PreparePreviewForm(4660));
    EXPECT_FALSE(Windows.Alive("child"));
    EXPECT_TRUE(Windows.Boxes.empty());
}

TEST_F(MainFormTest, ThePreviewEndsWhenItsParentGoes)
{
    struct TCase {
        const char* What;
        bool ParentLeft;
        std::function<void(IWindowEvents&)> Fire;
        bool Ends;
    };
    for (const TCase& C : {TCase{"its window destroyed", false, [](IWindowEvents& E) { E.Destroyed(); }, true},
                           TCase{"parent gone at the check", true, [](IWindowEvents& E) { E.Timer(); }, true},
                           TCase{"parent still there", false, [](IWindowEvents& E) { E.Timer(); }, false}}) {
        TCallLines L;
        const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
        TFakeWindowSystem W{L};
        TFakeMessageLoop Lp{L};
        TLoggingFrame F{L};
        F.RunMode = smPreview;
        TLoggingDisplay D{L};
        TLoggingOptions O{L};
        TLoggingScene S{L};
        TMainForm M{TMainFormServices{W, Lp, F, D, O, S, *Module}};
        W.Foreign[4660] = TWindowBounds{0, 0, 152, 112};
        ASSERT_TRUE(M.PreparePreviewForm(4660));
        L.clear();
        if (C.ParentLeft)
            W.Foreign.clear();
        C.Fire(W.Window("child").Events());
        EXPECT_EQ(L, (C.Ends ? TLines{"child.Destroy", "loop.Terminate"} : TLines{})) << C.What;
    }
}

TEST(PictureOf, GivesBlueGreenRedAndAPadByteFromEitherDepth)
{
    TGLBitmap Palette;
    Palette.SetSize(bf8Bit, 2, 1);
    Palette.Palette[1] = TBitmapColor{10, 20, 30};
    Palette.Palette[7] = TBitmapColor{200, 100, 50};
    Palette.Pixels = {7, 1};
    TPicture P = PictureOf(Palette);
    EXPECT_EQ(P.Width, 2);
    EXPECT_EQ(P.Height, 1);
    EXPECT_EQ(P.Pixels, (std::vector<std::uint8_t>{50, 100, 200, 0, 30, 20, 10, 0}));

    TGLBitmap Rgb;
    Rgb.SetSize(bf24Bit, 1, 2);
    Rgb.Pixels = {1, 2, 3, 4, 5, 6};
    P = PictureOf(Rgb);
    EXPECT_EQ(P.Pixels, (std::vector<std::uint8_t>{3, 2, 1, 0, 6, 5, 4, 0}));

    EXPECT_TRUE(PictureOf(TGLBitmap{}).Pixels.empty());
}

namespace {

// The form of the settings dialog (smConfig) over the same fakes, with the
// dialog's windows.
class MainFormDialogTest : public MainFormTest {
protected:
    MainFormDialogTest() { Frame.RunMode = smConfig; }

    TFakeSettingsWindows Settings{Log, Windows};
    TMainForm Dialog{TMainFormServices{Windows, Loop, Frame, Display, Options, Scene, *Module, &Settings, nullptr}};

    // The dialog up with its live preview; the log starts empty after it.
    void Open()
    {
        Dialog.PrepareSettingsForm();
        Dialog.ScreenSaverAppStart();
        Log.clear();
    }
    TLines Only(const TLines& Prefixes) const
    {
        TLines Out;
        for (const std::string& Line : Log)
            for (const std::string& P : Prefixes)
                if (Line.rfind(P, 0) == 0) {
                    Out.push_back(Line);
                    break;
                }
        return Out;
    }
};

const std::string PanelChild = "windows.CreateChildForm(20481,2,2,316,236)";

} // namespace

TEST_F(MainFormDialogTest, TheDialogStartsTheLivePreviewInsideItsPanel)
{
    Dialog.PrepareSettingsForm();
    EXPECT_EQ(Log, (TLines{"settings.Create(0,Glimmora 3D Screen Saver)", "settings.Show"}));
    Log.clear();
    Dialog.ScreenSaverAppStart();
    EXPECT_EQ(Log, (TLines{"options.SetDefaultOptions", "options.LoadOptions", "scene.Start(C:\\Saver\\Glimmora3D.ini)",
                           "scene.ReleaseGL", "display.SetFullScreen(0)", "scene.SetFullScreenRunning(0)",
                           "windows.ShowCursor(1)", PanelChild, "child.GetDC", "scene.InitGL",
                           "scene.ResetFrameState", "scene.ApplySoundOption"}));
    EXPECT_EQ(Scene.DC, &Windows.Window("child").DCTag);
    EXPECT_TRUE(Windows.Boxes.empty());
    bool Done = false;
    Log.clear();
    Dialog.ScreenSaverAppIdle(Done);
    EXPECT_EQ(Log, (TLines{"child.Paint", "scene.RenderFrame(316x236)"}));
}

TEST_F(MainFormDialogTest, SoftwareRenderingIsToldInTheWindowedStartOnly)
{
    Scene.Generic = true;
    Dialog.PrepareSettingsForm();
    Dialog.ScreenSaverAppStart();
    ASSERT_EQ(Windows.Boxes.size(), 1u);
    EXPECT_EQ(Windows.Boxes[0].Text, SoftwareModeWarning);
    EXPECT_EQ(Windows.Boxes[0].Caption, "Glimmora 3D");
    EXPECT_EQ(Windows.Boxes[0].Style, 0x10u);
    EXPECT_EQ(Windows.Boxes[0].Owner, TFakeSettingsWindows::DialogHandle);
    const auto Box = std::find(Log.begin(), Log.end(), "windows.MessageBox(Glimmora 3D)");
    ASSERT_NE(Box, Log.end());
    EXPECT_EQ(*(Box - 1), "scene.InitGL");
    EXPECT_EQ(*(Box + 1), "scene.ResetFrameState");
    Dialog.StartFullScreen();
    EXPECT_EQ(Windows.Boxes.size(), 1u) << "never in full screen";
}

TEST_F(MainFormDialogTest, TheDialogIsOwnedByTheNamedWindowOnlyWhenItIsOne)
{
    Windows.Foreign[77] = TWindowBounds{0, 0, 40, 30};
    for (const auto& [Named, Owner] : {std::pair<TWindowHandle, TWindowHandle>{77, 77}, {78, 0}, {0, 0}}) {
        Frame.Owner = Named;
        TMainForm F{TMainFormServices{Windows, Loop, Frame, Display, Options, Scene, *Module, &Settings, nullptr}};
        F.PrepareSettingsForm();
        EXPECT_EQ(Settings.Owner, Owner) << Named;
    }
}

TEST_F(MainFormDialogTest, PreviewRunsFullScreenUntilInputThenReturnsToThePanel)
{
    Open();
    const int Cursor = Windows.CursorCount;
    Loop.Messages.push_back([this, Cursor] {
        EXPECT_EQ(Only({"frame.SetScreenSaverRunning"}), TLines{"frame.SetScreenSaverRunning(1)"})
            << "the flag is up during the run";
        EXPECT_EQ(Windows.CursorCount, Cursor - 2) << "hidden by the start and by the button";
        Windows.Window("render").Events().KeyDown(0x20);
    });
    Dialog.ButtonPreviewClick();
    EXPECT_EQ(Only({"frame.", "windows.ShowCursor", "render.Show", "windows.Create", "scene.NextAutoTheme",
                    "display.SetFullScreen"}),
              (TLines{"scene.NextAutoTheme", "display.SetFullScreen(1)", "windows.CreateRenderForm(0,0,800,600)",
                      "windows.ShowCursor(0)", "render.Show", "frame.ResetMouseFilter", "windows.ShowCursor(0)",
                      "frame.SetScreenSaverRunning(1)", "frame.EndSaver(800x600x32,57)",
                      "frame.SetScreenSaverRunning(0)", "windows.ShowCursor(1)", "display.SetFullScreen(0)",
                      "windows.ShowCursor(1)", PanelChild}));
    EXPECT_EQ(Windows.CursorCount, Cursor);
    EXPECT_FALSE(Windows.Alive("render"));
    EXPECT_TRUE(Windows.Alive("child"));
    EXPECT_FALSE(Loop.Terminated());
    EXPECT_FALSE(Dialog.Closed());
}

TEST_F(MainFormDialogTest, PreviewReturnsToThePanelAlsoWhenTheRunFails)
{
    Open();
    const int Cursor = Windows.CursorCount;
    Loop.RethrowFromMessages = true;
    Loop.Messages.push_back([] { throw EGlimmoraError("lost the context"); });
    EXPECT_EQ(ErrorOf([&] { Dialog.ButtonPreviewClick(); }), "lost the context");
    EXPECT_EQ(Only({"frame.SetScreenSaverRunning"}),
              (TLines{"frame.SetScreenSaverRunning(1)", "frame.SetScreenSaverRunning(0)"}));
    EXPECT_EQ(Windows.CursorCount, Cursor);
    EXPECT_FALSE(Windows.Alive("render"));
    EXPECT_TRUE(Windows.Alive("child"));
}

TEST_F(MainFormDialogTest, AnErrorThatEndsTheProgramDuringPreviewStartsNoLivePreview)
{
    Open();
    // The error reaches the exception hook, as a window's handler's does.
    class THooks : public IApplicationHooks {
    public:
        explicit THooks(TMainForm& Form) : F(Form) {}
        void Idle(bool&) override {}
        void Exception(const std::exception& E) override { F.ScreenSaverAppException(E); }

    private:
        TMainForm& F;
    } Hooks{Dialog};
    Loop.SetHooks(&Hooks);
    Loop.Messages.push_back([] { throw EGlimmoraError("lost the context"); });
    Dialog.ButtonPreviewClick();
    Loop.SetHooks(nullptr);
    EXPECT_TRUE(Dialog.Closed());
    EXPECT_TRUE(Loop.Terminated());
    EXPECT_FALSE(Windows.Alive("child"));
    EXPECT_FALSE(Windows.Alive("render"));
    EXPECT_EQ(Only({"frame.SetScreenSaverRunning"}),
              (TLines{"frame.SetScreenSaverRunning(1)", "frame.SetScreenSaverRunning(0)"}));
    ASSERT_EQ(Windows.Boxes.size(), 1u);
    EXPECT_EQ(Windows.Boxes[0].Text, "lost the context");
}

TEST_F(MainFormDialogTest, TheAboutBoxShowsVersionContextPictureAndTheMakersPage)
{
    Open();
    Dialog.ButtonAboutClick();
    EXPECT_EQ(Log, (TLines{"settings.ShowAboutBox(20480)"}));
    ASSERT_EQ(Settings.AboutBoxes.size(), 1u);
    const TAboutBoxContent& A = Settings.AboutBoxes[0];
    EXPECT_EQ(A.Caption, "About Glimmora 3D Screen Saver");
    EXPECT_EQ(A.ProductName, "Glimmora 3D Screen Saver");
    EXPECT_EQ(A.Version, "Version 2.13");
    EXPECT_EQ(A.Comments, "Vendor:  V\r\nVideo:  R\r\nOpenGL:  1.2");
    EXPECT_EQ(A.LinkUrl, "https://tarnwick.invalid/glimmora3d/");
    EXPECT_NE(A.Notice.find("Tarnwick Software"), std::string::npos);
    EXPECT_NE(A.Warning.find("\r\n"), std::string::npos) << "two paragraphs";
    EXPECT_EQ(A.Picture.Width, 150);
    EXPECT_EQ(A.Picture.Height, 110);
    EXPECT_EQ(A.Picture.Pixels.size(), 150u * 110u * 4u);
}

TEST_F(MainFormDialogTest, HelpOpensTheFileBesideTheProgramElseShowsItsOwnText)
{
    Open();
    Settings.ExistingHelpFiles = {"C:\\Saver\\GLIMMORA 3D.HLP"};
    Dialog.ButtonHelpClick();
    EXPECT_EQ(Log, (TLines{"settings.OpenHelpFile(C:\\Saver\\GLIMMORA 3D.HLP)"}));
    EXPECT_TRUE(Settings.HelpTexts.empty());

    Settings.ExistingHelpFiles.clear();
    Dialog.ButtonHelpClick();
    ASSERT_EQ(Settings.HelpTexts.size(), 1u);
    EXPECT_EQ(Settings.HelpTexts[0].Owner, TFakeSettingsWindows::DialogHandle);
    EXPECT_EQ(Settings.HelpTexts[0].Caption, "Glimmora 3D Help");
    for (const char* Topic : {"Desktop Only", "Run As EXE", "driver", "16 bits", "Enable Sound", "Auto"})
        EXPECT_NE(Settings.HelpTexts[0].Text.find(Topic), std::string::npos) << Topic;
}

TEST_F(MainFormDialogTest, OkSavesThenClosesAndCancelClosesWithoutSaving)
{
    const TLines Close = {"scene.ReleaseGL", "child.ReleaseDC", "display.SetFullScreen(0)", "scene.FreeScene",
                          "child.Hide", "child.Destroy", "settings.Hide", "loop.Terminate"};
    for (const bool Ok : {true, false}) {
        TCallLines L;
        TFakeWindowSystem W{L};
        TFakeMessageLoop Lp{L};
        TLoggingFrame F{L};
        F.RunMode = smConfig;
        TLoggingDisplay D{L};
        TLoggingOptions O{L};
        TLoggingScene S{L};
        TFakeSettingsWindows Sw{L, W};
        TMainForm M{TMainFormServices{W, Lp, F, D, O, S, *Module, &Sw, nullptr}};
        M.PrepareSettingsForm();
        M.ScreenSaverAppStart();
        L.clear();
        // Enter and Escape arrive as the two buttons.
        Sw.Dialog->Click(Ok ? scButtonOk : scButtonCancel);
        EXPECT_EQ(L, Ok ? Join({"frame.SaveOptions"}, Close) : Close) << Ok;
        EXPECT_TRUE(M.Closed());
        EXPECT_NE(Sw.Dialog, nullptr) << "the window stays until the form goes";
    }
}

TEST_F(MainFormDialogTest, TheSceneSetsTheDialogsCaption)
{
    Open();
    Dialog.SetCaption("Glimmora 3D Screen Saver FPS: 57");
    EXPECT_EQ(Settings.Dialog->Captions, (TLines{"Glimmora 3D Screen Saver FPS: 57"}));
}
