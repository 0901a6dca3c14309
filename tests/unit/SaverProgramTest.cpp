// The program as the command line starts it, on fakes of the system: the
// window handle and its conversion error, the preview's still picture and
// its waiting loop, the error box of a failed start, the single instance
// and the running flag, the hand-over to the .exe twin, the password
// change and the settings switch.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/FakeLibraries.h"

#include "app/options/Options.h"
#include "app/saver/SaverProgram.h"
#include "fakes/CallLog.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDisplaySettings.h"
#include "fakes/FakeGLContext.h"
#include "fakes/FakePasswordServices.h"
#include "fakes/FakeProcess.h"
#include "fakes/FakeProcessLauncher.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeSettingsWindow.h"
#include "fakes/FakeSingleInstance.h"
#include "fakes/FakeSound.h"
#include "fakes/FakeSystemInfo.h"
#include "fakes/FakeWindowing.h"
#include "fakes/RecordingGL.h"
#include "fakes/TempDir.h"
#include "fakes/SystemBackends.h"
#include "scene/Scene.h"

namespace {

using TArgs = std::vector<std::string>;
using TLines = std::vector<std::string>;

bool HasLine(const TLines& Lines, const std::string& Prefix)
{
    return std::any_of(Lines.begin(), Lines.end(), [&](const std::string& L) { return L.rfind(Prefix, 0) == 0; });
}

const std::string KeyPath = "Software\\Tarnwick Software\\Glimmora 3D";
const std::string Scr = "C:\\Program Files\\Glimmora 3D\\Glimmora3D.scr";

// One process's system; Markers and Registry are shared between processes.
struct TProcessSystem {
    TProcessSystem(TFakeSingleInstance::TMarkers& Markers, TFakeRegistry& Registry)
        : Instance(Calls, Markers),
          System{Loop,        Windows,   Clock,    GL,       Libraries, Process,  Sound,
                 *Module,     Info,      Instance, Passwords, Launcher, Display, Registry.Opener(), Settings}
    {
        Display.Reported = {{1024, 768, 32, 60}, {800, 600, 32, 60}, {800, 600, 16, 60}, {640, 480, 8, 60}};
    }

    int Run(const std::string& Program, const TArgs& Args)
    {
        TArgs Params{Program};
        Params.insert(Params.end(), Args.begin(), Args.end());
        return RunScreenSaver(System, Params);
    }

    TCallLines Log;
    TCallLog Calls;
    TFakeWindowSystem Windows{Log};
    TFakeMessageLoop Loop{Log};
    TFakeClock Clock;
    TFakeGLContext GL;
    TFakeProcessControl Process;
    TFakeSound Sound;
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    TFakeLibraryLoader Libraries;
    TFakeSystemInfo Info{Calls};
    TFakeSingleInstance Instance;
    TFakePasswordServices Passwords{Calls};
    TFakeProcessLauncher Launcher{Calls};
    TFakeDisplaySettings Display;
    TFakeSettingsWindows Settings{Log, Windows};
    TSaverSystem System;
};

class SaverProgramTest : public ::testing::Test {
protected:
    // The GL of every process a test starts (the loaders hand it out).
    TRecordingGL GLCalls;
    TFakeSingleInstance::TMarkers Markers;
    TFakeRegistry Registry;
    TProcessSystem P{Markers, Registry};

    int Run(const TArgs& Args) { return P.Run(Scr, Args); }
};

} // namespace

TEST_F(SaverProgramTest, AHandleThatIsNoNumberShowsTheConversionError)
{
    EXPECT_EQ(Run({"/p", "abc"}), 1);
    ASSERT_EQ(P.Windows.Boxes.size(), 1u);
    EXPECT_EQ(P.Windows.Boxes[0].Text, "'abc' is not a valid integer value");
    EXPECT_EQ(P.Windows.Boxes[0].Caption, "Glimmora 3D");
    EXPECT_EQ(P.Windows.Boxes[0].Style, 0x10u);
    EXPECT_EQ(P.Loop.IdleTurns, 0);
    EXPECT_TRUE(Markers.empty()) << "the instance marker is let go";
}

TEST_F(SaverProgramTest, AHandleThatNamesNoWindowEndsThePreviewQuietly)
{
    EXPECT_EQ(Run({"/p", "4660"}), 0);
    EXPECT_TRUE(P.Windows.Boxes.empty());
    EXPECT_EQ(P.Loop.IdleTurns, 0);
    EXPECT_FALSE(P.Windows.Alive("child"));
}

TEST_F(SaverProgramTest, ThePreviewShowsThePictureAndWaitsForMessages)
{
    P.Windows.Foreign[4660] = TWindowBounds{0, 0, 152, 112};
    P.Loop.MaxIdleTurns = 3;
    EXPECT_EQ(Run({"/p:4660"}), 0);
    EXPECT_EQ(P.Log, (TLines{"windows.CreateChildForm(4660,0,0,152,112)", "child.StartTimer(500)",
                             "child.SetPicture(150x110)", "loop.Run", "child.Destroy"}));
    EXPECT_EQ(P.Loop.DoneFlags, (std::vector<bool>{true, true, true})) << "every idle turn waits";
    EXPECT_FALSE(P.Windows.SaverRunning);
    EXPECT_TRUE(Registry.Opens.empty()) << "the preview reads no options";

}

TEST_F(SaverProgramTest, ThePreviewWithoutAHandleGoesIntoTheForegroundWindow)
{
    P.Windows.Foreign[77] = TWindowBounds{0, 0, 40, 30};
    P.Windows.Foreground = 77;
    P.Loop.MaxIdleTurns = 1;
    EXPECT_EQ(Run({"/p"}), 0);
    ASSERT_FALSE(P.Log.empty());
    EXPECT_EQ(P.Log[0], "windows.CreateChildForm(77,0,0,40,30)");
}

TEST_F(SaverProgramTest, AnUnusableDesktopDepthShowsTheWarningInTheErrorBoxAndRestoresAll)
{
    P.Display.Desktop = TDesktopCaps{24, 1024, 768};
    EXPECT_EQ(Run({"/s"}), 0);
    ASSERT_EQ(P.Windows.Boxes.size(), 1u);
    EXPECT_EQ(P.Windows.Boxes[0].Text, ColorDepthWarning);
    EXPECT_EQ(P.Windows.Boxes[0].Caption, "Glimmora Screen Saver Error!");
    EXPECT_EQ(P.Windows.Boxes[0].Style, 0x10u);
    EXPECT_TRUE(P.Loop.Terminated());
    EXPECT_EQ(P.Loop.IdleTurns, 1);
    // The cursor hidden for the run is shown again for the box.
    EXPECT_EQ(P.Windows.CursorCount, 0);
    EXPECT_FALSE(P.Windows.Alive("main"));
    EXPECT_FALSE(P.Display.InForce.has_value());
    // The running flag was set for the run and is cleared at its end.
    EXPECT_EQ(P.Log.front(), "windows.SetScreenSaverRunning(1)");
    EXPECT_FALSE(P.Windows.SaverRunning);
    EXPECT_TRUE(Markers.empty());
}

TEST_F(SaverProgramTest, TheNamesComeFromTheLongProgramName)
{
    P.Info.LongNames["C:\\PROGRA~1\\GLIMMO~1\\GLIMMO~1.SCR"] = Scr;
    P.Display.Desktop = TDesktopCaps{8, 1024, 768};
    Markers["Glimmora3DSemaphore"] = 1;   // the run started by its long name
    EXPECT_EQ(P.Run("C:\\PROGRA~1\\GLIMMO~1\\GLIMMO~1.SCR", {"/s"}), 0);
    EXPECT_TRUE(P.Windows.Boxes.empty()) << "refused as the same program";
    EXPECT_EQ(P.Loop.IdleTurns, 0);
}

TEST_F(SaverProgramTest, ASecondScrEndsAtOnceWithoutTouchingTheFlagAndTheExeRunsBesideIt)
{
    Markers["Glimmora3DSemaphore"] = 1;   // another .scr runs
    EXPECT_EQ(Run({"/s"}), 0);
    EXPECT_EQ(P.Loop.IdleTurns, 0);
    EXPECT_FALSE(P.Windows.Alive("main"));
    EXPECT_FALSE(P.Windows.Alive("render"));
    for (const std::string& Line : P.Log)
        EXPECT_EQ(Line.find("SetScreenSaverRunning"), std::string::npos) << Line;

    TProcessSystem Exe{Markers, Registry};
    Exe.Display.Desktop = TDesktopCaps{8, 1024, 768};   // ends at its start
    EXPECT_EQ(Exe.Run("C:\\Program Files\\Glimmora 3D\\Glimmora3D.exe", {"/s"}), 0);
    EXPECT_EQ(Exe.Loop.IdleTurns, 1) << "no single-instance check for the .exe";
    EXPECT_FALSE(Exe.Calls.Has("Instance.Claim(Glimmora3DSemaphore)"));
}

TEST_F(SaverProgramTest, RunAsExeHandsTheRunToTheTwinAndWaits)
{
    Registry.Set(hkCurrentUser, KeyPath, OptionRow(orRunAsProgram).Name(), TFakeRegistry::Integer(1));
    P.Launcher.ActiveChecks = 2;
    EXPECT_EQ(Run({"/s"}), 0);
    EXPECT_EQ(P.Calls.Only({"Launcher.", "Process."}),
              (TLines{"Launcher.SetOwnPriorityClass(64)",
                      "Launcher.StartProcess(\"C:\\Program Files\\Glimmora 3D\\Glimmora3D.exe\" /s)",
                      "Process.ReadExitCode", "Process.Wait", "Process.ReadExitCode", "Process.Wait",
                      "Process.ReadExitCode"}));
    EXPECT_EQ(P.Launcher.LastStart.ShowCommand, 5);
    EXPECT_EQ(P.Loop.IdleTurns, 0) << "this process never starts the scene";
    EXPECT_TRUE(P.Loop.Terminated());

    // The twin reads the value too but runs itself.
    TProcessSystem Exe{Markers, Registry};
    Exe.Display.Desktop = TDesktopCaps{8, 1024, 768};
    EXPECT_EQ(Exe.Run("C:\\Program Files\\Glimmora 3D\\Glimmora3D.exe", {"/s"}), 0);
    EXPECT_TRUE(Exe.Calls.Only({"Launcher."}).empty());
    EXPECT_EQ(Exe.Loop.IdleTurns, 1);
}

TEST_F(SaverProgramTest, ThePasswordChangeRunsTheSystemDialogAndNoLoop)
{
    P.Passwords.Libraries["C:\\WINDOWS\\system32\\MPR.DLL"] = {"PwdChangePasswordA"};
    EXPECT_EQ(Run({"/a", "5"}), 0);
    EXPECT_TRUE(P.Calls.Has("Passwords.Change(PwdChangePasswordA,SCRSAVE,5)"));
    EXPECT_EQ(P.Loop.IdleTurns, 0);
    EXPECT_TRUE(P.Windows.Boxes.empty());
}

TEST_F(SaverProgramTest, TheSettingsRunShowsTheDialogWithTheStoredOptionsAndTheLivePreview)
{
    Registry.Set(hkCurrentUser, KeyPath, OptionRow(orBubbleCount).Name(), TFakeRegistry::Integer(30));
    Registry.Set(hkCurrentUser, KeyPath, OptionRow(orTheme).Name(), TFakeRegistry::Integer(1));
    // No handle on the command line: the foreground window owns nothing.
    P.Windows.Foreign[77] = TWindowBounds{0, 0, 40, 30};
    P.Windows.Foreground = 77;
    std::vector<std::string> Seen;
    P.Loop.AfterIdle = [&](int Turn) {
        TFakeSettingsWindow& D = *P.Settings.Dialog;
        if (Turn == 1) {
            Seen = {D.SelectedText(scComboDepth), D.SelectedText(scComboResolution), D.C(scLabelBubbles).Text,
                    D.SelectedText(scComboThemes), D.C(scCheckSound).Checked ? "sound" : "silent"};
            EXPECT_TRUE(P.Windows.Alive("child")) << "the live preview";
        }
        if (Turn == 3)
            D.Click(scButtonCancel);
    };
    EXPECT_EQ(Run({"/c"}), 0);
    EXPECT_EQ(P.Settings.Owner, 0u);
    EXPECT_EQ(Seen, (TLines{"32 bits", "800x600", "30", "Fountain", "sound"}));
    EXPECT_EQ(P.Loop.IdleTurns, 3);
    EXPECT_TRUE(P.Loop.Terminated());
    EXPECT_TRUE(P.Windows.Boxes.empty());
    EXPECT_TRUE(Registry.Writes.empty()) << "Cancel stores nothing";
    EXPECT_EQ(P.Log.front(), "settings.Create(0,Glimmora 3D Screen Saver)");
    EXPECT_EQ(P.Log[1], "settings.Show");
    // The live preview goes inside the dialog's panel, and goes first.
    EXPECT_NE(std::find(P.Log.begin(), P.Log.end(), "windows.CreateChildForm(20481,2,2,316,236)"), P.Log.end());
    EXPECT_EQ(P.Log.back(), "settings.Destroy");
    EXPECT_FALSE(P.Display.InForce.has_value());
}

TEST_F(SaverProgramTest, TheDialogBelongsToTheWindowTheCommandLineNamesWhenItIsOne)
{
    struct TCase {
        std::string Program;
        TArgs Args;
        TWindowHandle Owner;
    };
    const std::vector<TCase> Cases = {TCase{Scr, {"/c:77"}, 77}, TCase{Scr, {"/c:78"}, 0}, TCase{Scr, {"/c", "77"}, 77},
                                      TCase{"C:\\Program Files\\Glimmora 3D\\Glimmora3D.exe", {}, 0}};
    // Every process is made before any runs: a run's end clears the GL
    // table that a new process's libraries would take.
    std::vector<std::unique_ptr<TProcessSystem>> Processes;
    for (std::size_t I = 0; I < Cases.size(); ++I)
        Processes.push_back(std::make_unique<TProcessSystem>(Markers, Registry));
    for (std::size_t I = 0; I < Cases.size(); ++I) {
        const TCase& C = Cases[I];
        TProcessSystem& S = *Processes[I];
        S.Windows.Foreign[77] = TWindowBounds{0, 0, 40, 30};
        S.Loop.AfterIdle = [&](int) { S.Settings.Dialog->Click(scButtonCancel); };
        EXPECT_EQ(S.Run(C.Program, C.Args), 0) << C.Program;
        EXPECT_EQ(S.Settings.Owner, C.Owner) << C.Program << " " << (C.Args.empty() ? "" : C.Args[0]);
        EXPECT_TRUE(S.Windows.Boxes.empty());
    }
}

TEST_F(SaverProgramTest, AutoThenOkStoresTheComplementOfTheLastFixedTheme)
{
    Registry.Set(hkCurrentUser, KeyPath, OptionRow(orTheme).Name(), TFakeRegistry::Integer(2));
    TProcessSystem Next{Markers, Registry};   // made before the first run ends, as above
    P.Loop.AfterIdle = [&](int) {
        P.Settings.Dialog->Select(scComboThemes, "Auto");
        P.Settings.Dialog->Slide(scTrackDollars, 15);
        P.Settings.Dialog->Click(scButtonOk);
    };
    EXPECT_EQ(Run({"/c"}), 0);
    EXPECT_EQ(Registry.IntegerAt(hkCurrentUser, KeyPath, OptionRow(orTheme).Name()), -3);
    EXPECT_EQ(Registry.IntegerAt(hkCurrentUser, KeyPath, OptionRow(orDollarCount).Name()), 15);
    EXPECT_EQ(Registry.IntegerAt(hkCurrentUser, KeyPath, OptionRow(orWidth).Name()), 800);
    EXPECT_TRUE(P.Loop.Terminated());
    EXPECT_TRUE(P.Windows.Boxes.empty());

    // The next start shows what was stored.
    std::string Theme;
    Next.Loop.AfterIdle = [&](int) {
        Theme = Next.Settings.Dialog->SelectedText(scComboThemes);
        Next.Settings.Dialog->Click(scButtonCancel);
    };
    EXPECT_EQ(Next.Run(Scr, {"/c"}), 0);
    EXPECT_EQ(Theme, "Auto");
}

TEST_F(SaverProgramTest, TheLivePreviewsCaptionCountsTheFramesOfEachSecond)
{
    P.Loop.AfterIdle = [&](int Turn) {
        P.Clock.Time += 250;
        if (Turn == 8)
            P.Settings.Dialog->Click(scButtonCancel);
    };
    EXPECT_EQ(Run({"/c"}), 0);
    // Frames come from turn 2 on, 250 ms apart: the fifth closes the second.
    EXPECT_EQ(P.Settings.Dialog, nullptr);
    ASSERT_FALSE(P.Settings.Captions.empty());
    EXPECT_EQ(P.Settings.Captions.front(), "Glimmora 3D Screen Saver FPS: 5");
}

TEST_F(SaverProgramTest, RunAsExeWithTheSettingsSwitchHandsTheDialogToTheTwin)
{
    Registry.Set(hkCurrentUser, KeyPath, OptionRow(orRunAsProgram).Name(), TFakeRegistry::Integer(1));
    EXPECT_EQ(Run({"/c"}), 0);
    EXPECT_EQ(P.Calls.Only({"Launcher.StartProcess"}),
              (TLines{"Launcher.StartProcess(\"C:\\Program Files\\Glimmora 3D\\Glimmora3D.exe\" /c)"}));
    EXPECT_EQ(P.Loop.IdleTurns, 0);
    for (const std::string& Line : P.Log)
        EXPECT_EQ(Line.rfind("settings.", 0), std::string::npos) << Line;
}

// A saver in a folder of its own whose tuning file switches the log on.
struct TLoggingSaver {
    TTempDir Dir;
    std::string Program = Dir.File("Glimmora3D.scr");
    TLoggingSaver() { Dir.Write("Glimmora3D.ini", "[System]\r\nLog=1\r\n"); }
    std::string Log() const { return TTempDir::Read(Dir.File("Glimmora3D.log")); }
};

TEST_F(SaverProgramTest, RunAsExeWithoutTheTwinRunsHereAndLogsWhy)
{
    const struct {
        const char* Switch;
        const char* Shows;   // the window that tells the run went on here
    } Cases[] = {{"/s", "windows.CreateRenderForm("}, {"/c", "settings.Create("}};
    const TGLEntryPoints Stubs = GetEntryPoints();
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Switch);
        SetEntryPoints(Stubs);   // a run's end clears the table the next loader copies
        TFakeRegistry Store;
        TProcessSystem Scr{Markers, Store};
        Store.Set(hkCurrentUser, KeyPath, OptionRow(orRunAsProgram).Name(), TFakeRegistry::Integer(1));
        Scr.Launcher.StartFails = true;
        Scr.Loop.MaxIdleTurns = 3;
        TLoggingSaver Saver;
        EXPECT_EQ(Scr.Run(Saver.Program, {C.Switch}), 0);
        EXPECT_TRUE(Scr.Windows.Boxes.empty()) << Scr.Windows.Boxes.front().Text;
        EXPECT_TRUE(HasLine(Scr.Log, C.Shows)) << "the run went on in this process";
        EXPECT_GE(Scr.Loop.IdleTurns, 1);
        const std::string Twin = "\"" + Saver.Dir.File("") + "Glimmora3D.exe\" " + C.Switch;
        EXPECT_EQ(Scr.Calls.Only({"Launcher."}),
                  (TLines{"Launcher.SetOwnPriorityClass(64)", "Launcher.StartProcess(" + Twin + ")",
                          "Launcher.SetOwnPriorityClass(32)"}))
            << "back to normal priority for the run";
        EXPECT_NE(Saver.Log().find("Run As EXE: cannot start " + Twin + "; running in this process\r\n"),
                  std::string::npos)
            << Saver.Log().substr(0, 400);
    }
}

TEST_F(SaverProgramTest, AValueOfTheWrongTypeCountsAsAbsentIsLoggedAndOkOverwritesIt)
{
    Registry.Set(hkCurrentUser, KeyPath, "Dollars", TFakeRegistry::String("20"));
    Registry.Set(hkCurrentUser, KeyPath, "RunAsProgram", TFakeRegistry::String("1"));
    TLoggingSaver Saver;
    TProcessSystem Dialog{Markers, Registry};   // made while the GL is installed

    // The saver runs, with the default count.
    P.Loop.MaxIdleTurns = 3;
    EXPECT_EQ(P.Run(Saver.Program, {"/s"}), 0);
    EXPECT_TRUE(P.Windows.Boxes.empty()) << P.Windows.Boxes.front().Text;
    EXPECT_TRUE(HasLine(P.Log, "windows.CreateRenderForm("));
    EXPECT_TRUE(P.Calls.Only({"Launcher."}).empty()) << "RunAsProgram counts as off";
    const std::string Log = Saver.Log();
    EXPECT_NE(Log.find("Invalid data type for 'RunAsProgram': the value is ignored\r\n"), std::string::npos) << Log;
    EXPECT_NE(Log.find("Invalid data type for 'Dollars': the value is ignored\r\n"), std::string::npos) << Log;

    // The dialog opens and its OK stores numbers.
    Dialog.Loop.AfterIdle = [&](int Turn) {
        if (Turn == 1 && Dialog.Settings.Dialog) {
            EXPECT_EQ(Dialog.Settings.Dialog->C(scLabelDollars).Text, "60");
            Dialog.Settings.Dialog->Click(scButtonOk);
        }
    };
    EXPECT_EQ(Dialog.Run(Saver.Program, {"/c"}), 0);
    EXPECT_TRUE(Dialog.Windows.Boxes.empty()) << Dialog.Windows.Boxes.front().Text;
    EXPECT_EQ(Registry.Find(hkCurrentUser, KeyPath, "Dollars")->Type, uint32_t(rtInteger));
    EXPECT_EQ(Registry.IntegerAt(hkCurrentUser, KeyPath, "Dollars"), 60);
    EXPECT_EQ(Registry.IntegerAt(hkCurrentUser, KeyPath, "RunAsProgram"), 0);
}

TEST_F(SaverProgramTest, PreviewRunsTheNextAutomaticThemeFullScreenAndOkStoresIt)
{
    Registry.Set(hkCurrentUser, KeyPath, OptionRow(orTheme).Name(), TFakeRegistry::Integer(-1));
    bool FlagDuringRun = false;
    int CursorDuringRun = 0;
    P.Loop.AfterIdle = [&](int Turn) {
        if (Turn != 1)
            return;
        TFakeSettingsWindow& D = *P.Settings.Dialog;
        P.Loop.Messages.push_back([&] {
            FlagDuringRun = P.Windows.SaverRunning;
            CursorDuringRun = P.Windows.CursorCount;
            P.Windows.Window("render").Events().KeyDown(0x1B);
        });
        D.Click(scButtonPreview);
        EXPECT_TRUE(P.Windows.Alive("child")) << "the live preview is back";
        EXPECT_FALSE(P.Windows.Alive("render"));
        D.Click(scButtonOk);
    };
    EXPECT_EQ(Run({"/c"}), 0);
    EXPECT_TRUE(FlagDuringRun);
    EXPECT_LT(CursorDuringRun, 0);
    EXPECT_FALSE(P.Windows.SaverRunning);
    EXPECT_EQ(P.Windows.CursorCount, 1) << "as the live preview left it";
    EXPECT_EQ(P.Display.Switched.size(), 1u) << "the preview switched the display";
    EXPECT_FALSE(P.Display.InForce.has_value());
    EXPECT_TRUE(P.Windows.Boxes.empty());
    EXPECT_EQ(Registry.IntegerAt(hkCurrentUser, KeyPath, OptionRow(orTheme).Name()), -2);
}
