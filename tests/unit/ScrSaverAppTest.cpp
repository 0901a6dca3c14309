#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/saver/ScrSaverApp.h"
#include "fakes/CallLog.h"
#include "fakes/ErrorOf.h"
#include "fakes/FakeApplicationHost.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDesktop.h"
#include "fakes/FakeMainFormWindow.h"
#include "fakes/FakePasswordServices.h"
#include "fakes/FakeSingleInstance.h"
#include "fakes/FakeSystemInfo.h"
#include "fakes/TempDir.h"

namespace {

using TArgs = std::vector<std::string>;

// One process's view of the system: every seam faked, all recording into
// one call log. Several processes may share the named markers.
struct TProcessFakes {
    explicit TProcessFakes(TFakeSingleInstance::TMarkers& Markers)
        : System(Log), Desktop(Log), Instance(Log, Markers), Passwords(Log), Application(Log), Form(Log)
    {
    }
    TCallLog Log;
    TFakeSystemInfo System;
    TFakeDesktop Desktop;
    TFakeSingleInstance Instance;
    TFakePasswordServices Passwords;
    TFakeApplicationHost Application;
    TFakeMainFormWindow Form;
    TFakeClock Clock;

    TAppFrameServices Services() { return {System, Desktop, Instance, Passwords, Application, Form, Clock}; }

    // The main form's component as the program sets it up.
    std::unique_ptr<TScreenSaverApp> MakeApp(TArgs Params)
    {
        auto App = std::make_unique<TScreenSaverApp>(Services(), std::move(Params));
        App->Title = "Glimmora 3D";
        App->Company = "Tarnwick Software";
        App->Debug = true;
        return App;
    }
};

class ScrSaverAppTest : public ::testing::Test {
protected:
    TFakeSingleInstance::TMarkers Markers;
    TProcessFakes P{Markers};
};

const std::string Scr = "C:\\Saver\\Glimmora3D.scr";
const std::string Exe = "C:\\Saver\\Glimmora3D.exe";

} // namespace

// --- the command line ---------------------------------------------------------

TEST(ParseMode, SwitchesAndProgramExtensions)
{
    struct TCase {
        std::string Program;
        TArgs Args;
        TScreenSaverMode Mode;
    };
    const TCase Cases[] = {
        {Scr, {}, smConfig},
        {Exe, {}, smProgram},
        {"C:\\Saver\\GLIMMO~1.EXE", {}, smProgram},
        {"C:\\Saver\\Glimmora", {}, smConfig},
        {"C:\\Saver.exe\\Glimmora3D.scr", {}, smConfig},   // only the file's own extension counts
        {Scr, {"/S"}, smSaver},
        {Scr, {"-s"}, smSaver},
        {Scr, {"xs"}, smSaver},
        {Exe, {"/s"}, smSaver},
        {Scr, {"/l:1234"}, smPreview},
        {Scr, {"/p", "1234"}, smPreview},
        {Scr, {"/P"}, smPreview},
        {Scr, {"/c:99"}, smConfig},
        {Scr, {"/a", "77"}, smChangePassword},
        {Scr, {"/x"}, smConfig},
        {Scr, {"/"}, smConfig},
        {Scr, {""}, smConfig},
        {Scr, {"s"}, smConfig},                        // the first character is dropped, whatever it is
        {Scr, {"\xC3\xA9s"}, smSaver},                 // also one written in two bytes
        {Exe, {"/settings"}, smSaver},                 // one letter decides
    };
    for (const TCase& C : Cases) {
        std::string Shown = C.Program;
        for (const std::string& A : C.Args)
            Shown += " [" + A + "]";
        EXPECT_EQ(ParseMode(C.Program, C.Args), C.Mode) << Shown;
    }
}

TEST(ParseParentHandle, FromTheSecondArgumentOrAfterTheColonElseTheForegroundWindow)
{
    TCallLog Log;
    TFakeDesktop Desktop(Log);
    Desktop.Foreground = 4242;
    constexpr std::uint64_t Max = std::numeric_limits<TWindowHandle>::max();
    struct TCase {
        TArgs Args;
        TWindowHandle Handle;
    };
    const TCase Cases[] = {
        {{"/l:1234"}, 1234},
        {{"/p", "1234"}, 1234},
        {{"/p:5", "1234"}, 1234},              // the second argument wins
        {{"/c:99"}, 99},
        {{"/s"}, 4242},
        {{"/p"}, 4242},
        {{}, 4242},
        {{"/p", "0"}, 0},
        {{"/l:000000000000000012345678"}, 1234},   // 20 characters after the colon count
        {{"/p", std::to_string(Max)}, static_cast<TWindowHandle>(Max)},
    };
    for (const TCase& C : Cases) {
        std::string Shown;
        for (const std::string& A : C.Args)
            Shown += " [" + A + "]";
        EXPECT_EQ(ParseParentHandle(C.Args, Desktop), C.Handle) << Shown;
    }
}

TEST(ParseParentHandle, AHandleAsWideAsAPointerIsKeptWhole)
{
    TCallLog Log;
    TFakeDesktop Desktop(Log);
    // 2^32 + 5: a 64-bit window handle above 32 bits.
    const std::string Text = "4294967301";
    if (sizeof(TWindowHandle) >= 8) {
        EXPECT_EQ(static_cast<std::uint64_t>(ParseParentHandle({"/p", Text}, Desktop)), 4294967301ull);
    } else {
        EXPECT_EQ(ErrorOf([&] { ParseParentHandle({"/p", Text}, Desktop); }), "'" + Text + "' is not a valid integer value");
    }
}

TEST(ParseParentHandle, ATextThatIsNoUnsignedNumberRaisesTheConversionError)
{
    TCallLog Log;
    TFakeDesktop Desktop(Log);
    struct TCase {
        TArgs Args;
        std::string Text;
    };
    const TCase Cases[] = {
        {{"/p", "abc"}, "abc"},
        {{"/p", "12a"}, "12a"},
        {{"/p", "-5"}, "-5"},
        {{"/p", "+5"}, "+5"},
        {{"/p", " 5"}, " 5"},
        {{"/p", ""}, ""},
        {{"/l:"}, ""},
        {{"/l:12:34"}, "12:34"},
        {{"/p", "99999999999999999999"}, "99999999999999999999"},   // above 64 bits
        {{"/l:1234567890123456789012"}, "12345678901234567890"},       // the first 20 are read
    };
    for (const TCase& C : Cases) {
        if (C.Text == "12345678901234567890" && sizeof(TWindowHandle) >= 8)
            continue;   // a valid 64-bit handle: only too wide for a 32-bit build
        EXPECT_EQ(ErrorOf([&] { ParseParentHandle(C.Args, Desktop); }), "'" + C.Text + "' is not a valid integer value")
            << C.Args.back();
    }
    EXPECT_FALSE(Log.Has("Desktop.ForegroundWindow"));
}

// --- names --------------------------------------------------------------------

TEST_F(ScrSaverAppTest, NamesComeFromTheLongNameOfTheProgram)
{
    // The system's idle timer may start the saver by its short name.
    P.System.LongNames["C:\\PROGRA~1\\GLIMMO~1\\GLIMMO~1.SCR"] = "C:\\Program Files\\Glimmora 3D\\Glimmora3D.scr";
    auto App = P.MakeApp({"C:\\PROGRA~1\\GLIMMO~1\\GLIMMO~1.SCR", "/s"});
    App->Initialize();
    EXPECT_EQ(App->ExeName(), "Glimmora3D.scr");
    EXPECT_EQ(App->BaseName(), "Glimmora3D");
    EXPECT_EQ(App->ApplicationDir(), "C:\\Program Files\\Glimmora 3D\\");
    EXPECT_EQ(App->LogFileName(), "C:\\Program Files\\Glimmora 3D\\Glimmora3D.log");
    EXPECT_EQ(App->SystemDir(), "C:\\WINDOWS\\system32\\");
    EXPECT_EQ(App->WindowsDir(), "C:\\WINDOWS\\");
    EXPECT_TRUE(P.Log.Has("Instance.Claim(Glimmora3DSemaphore)"));
}

TEST(ProgramNames, BaseNameEndsAtTheFirstDotAndIsEmptyWithoutOne)
{
    struct TCase {
        std::string Path, ExeName, BaseName, Dir, LogFile;
    };
    const TCase Cases[] = {
        {"C:\\Saver\\Glimmora3D.scr", "Glimmora3D.scr", "Glimmora3D", "C:\\Saver\\", "C:\\Saver\\Glimmora3D.log"},
        {"C:\\Saver\\Glimmora.3D.scr", "Glimmora.3D.scr", "Glimmora", "C:\\Saver\\", "C:\\Saver\\Glimmora.log"},
        {"C:\\Saver\\Glimmora", "Glimmora", "", "C:\\Saver\\", "C:\\Saver\\.log"},
        {"C:Glimmora3D.scr", "Glimmora3D.scr", "Glimmora3D", "C:\\", "C:\\Glimmora3D.log"},
        {"Glimmora3D.scr", "Glimmora3D.scr", "Glimmora3D", "", "Glimmora3D.log"},
    };
    for (const TCase& C : Cases) {
        const std::string Exe = ExtractExeName(C.Path);
        EXPECT_EQ(Exe, C.ExeName) << C.Path;
        EXPECT_EQ(BaseNameOf(Exe), C.BaseName) << C.Path;
        EXPECT_EQ(ExtractProgramDir(C.Path), C.Dir) << C.Path;
        EXPECT_EQ(LogFileNameOf(ExtractProgramDir(C.Path), BaseNameOf(Exe)), C.LogFile) << C.Path;
    }
    EXPECT_EQ(WithTrailingBackslash("C:\\WINDOWS\\"), "C:\\WINDOWS\\");
    EXPECT_EQ(WithTrailingBackslash(""), "");
}

TEST_F(ScrSaverAppTest, AProgramWithoutADotUsesTheBareSemaphoreName)
{
    // The screen-saver layer checks only .scr files and the .exe dialog; the
    // base layer checks whatever program it runs in.
    auto App = std::make_unique<TCustomApplicationPro>(P.Services(), TArgs{"C:\\Saver\\Glimmora", "/s"});
    ASSERT_TRUE(App->SingleInstance);
    App->Initialize();
    EXPECT_TRUE(P.Log.Has("Instance.Claim(Semaphore)"));
    EXPECT_EQ(App->LogFileName(), "C:\\Saver\\.log");
}

TEST_F(ScrSaverAppTest, TitleGoesToTheApplicationAndComesBackFromIt)
{
    auto App = P.MakeApp({Scr, "/c"});
    App->Initialize();
    EXPECT_EQ(P.Application.AppTitle, "Glimmora 3D");

    TFakeSingleInstance::TMarkers Other;
    TProcessFakes Q(Other);
    Q.Application.AppTitle = "Set by the program";
    auto Untitled = Q.MakeApp({Scr, "/c"});
    Untitled->Title.clear();
    Untitled->Initialize();
    EXPECT_EQ(Untitled->Title, "Set by the program");
}

// --- the order of Initialize in every mode -------------------------------------

TEST_F(ScrSaverAppTest, InitializeOrderInEveryMode)
{
    struct TCase {
        const char* Name;
        TArgs Params;
        std::vector<std::string> Tail;   // the calls after the names are read and the hooks attached
        TScreenSaverMode Mode;
    };
    const std::vector<std::string> Hooks = {"App.SetExceptionHook(1)", "App.SetIdleHook(1)"};
    const TCase Cases[] = {
        {"saver", {Scr, "/s"},
         {"Instance.Claim(Glimmora3DSemaphore)", "Desktop.SetScreenSaverRunning(1)", "Desktop.ForegroundWindow",
          "App.HideWindow", "App.SetToolWindowStyle", "Desktop.ShowCursor(0)", "Form.SetPlainSurface", "Form.SetBounds(-480,-360,0,0)"},
         smSaver},
        {"saver as .exe: no single-instance check", {Exe, "/s"},
         {"Desktop.SetScreenSaverRunning(1)", "Desktop.ForegroundWindow", "App.HideWindow", "App.SetToolWindowStyle",
          "Desktop.ShowCursor(0)",
          "Form.SetPlainSurface", "Form.SetBounds(-480,-360,0,0)"},
         smSaver},
        {"preview", {Scr, "/p", "7000"},
         {"Instance.Claim(Glimmora3DSemaphore)", "App.HideWindow", "App.SetToolWindowStyle",
          "Form.SetParentWindow(7000)", "Form.SetPlainSurface", "Form.SetBounds(0,0,152,112)"},
         smPreview},
        {"config", {Scr, "/c:99"},
         {"Instance.Claim(Glimmora3DSemaphore)", "App.HideWindow", "App.SetToolWindowStyle"}, smConfig},
        {"program", {Exe},
         {"Instance.Claim(Glimmora3DSemaphore)", "Desktop.SetScreenSaverRunning(1)"}, smProgram},
        {"change password", {Scr, "/a", "7000"},
         {"Instance.Claim(Glimmora3DSemaphore)", "App.HideWindow", "App.SetToolWindowStyle",
          "App.SetShowMainForm(0)", "System.SystemDirectory", "Passwords.Load(C:\\WINDOWS\\system32\\MPR.DLL)",
          "Passwords.Change(PwdChangePasswordA,SCRSAVE,7000)", "Passwords.Free", "App.Terminate"},
         smChangePassword},
    };
    for (const TCase& C : Cases) {
        TFakeSingleInstance::TMarkers Markers;
        TProcessFakes F(Markers);
        F.Desktop.Windows[7000] = {0, 0, 152, 112};
        F.Passwords.Libraries["C:\\WINDOWS\\system32\\MPR.DLL"] = {"PwdChangePasswordA"};
        auto App = F.MakeApp(C.Params);
        App->Initialize();
        std::vector<std::string> Expected = {"System.LongPathName(" + C.Params[0] + ")", "App.SetTitle(Glimmora 3D)",
                                             "System.SystemDirectory", "System.WindowsDirectory"};
        Expected.insert(Expected.end(), Hooks.begin(), Hooks.end());
        Expected.insert(Expected.end(), C.Tail.begin(), C.Tail.end());
        EXPECT_EQ(F.Log.Calls, Expected) << C.Name;
        EXPECT_EQ(App->Mode(), C.Mode) << C.Name;
    }
}

TEST_F(ScrSaverAppTest, ASecondScrInstanceIsRefusedQuietlyAndLeavesTheFlagAlone)
{
    auto First = P.MakeApp({Scr, "/c"});
    First->Initialize();
    ASSERT_FALSE(First->Duplicate());

    TProcessFakes Q(Markers);   // another process on the same desktop
    auto Second = Q.MakeApp({Scr, "/s"});
    Second->SetLogFile(true);
    Second->Initialize();
    EXPECT_TRUE(Second->Duplicate());
    EXPECT_FALSE(Second->LogFile());
    EXPECT_TRUE(Q.Application.IsTerminated);
    EXPECT_FALSE(Q.Application.ShowMainForm);
    EXPECT_EQ(Q.Log.Only({"App.Terminate", "App.SetShowMainForm", "Form.", "Desktop.SetScreenSaverRunning"}),
              (std::vector<std::string>{"App.Terminate", "App.SetShowMainForm(0)", "Form.DetachHandlers", "Form.Hide",
                                        "Form.SetPlainSurface", "Form.SetBounds(-480,-360,0,0)"}));
    bool Done = false;
    Second->OnStart = [&] { Q.Log.Add("OnStart"); };
    Second->DoIdle(Done);
    EXPECT_FALSE(Second->Started());
    EXPECT_FALSE(Q.Log.Has("OnStart"));
    Second.reset();
    EXPECT_FALSE(Q.Log.Has("Desktop.SetScreenSaverRunning(0)"));

    // The .exe twin runs beside it; a failed marker is no duplicate.
    TProcessFakes R(Markers);
    auto Twin = R.MakeApp({Exe, "/s"});
    Twin->Initialize();
    EXPECT_FALSE(Twin->Duplicate());
    TProcessFakes S(Markers);
    S.Instance.Fail = true;
    auto Unmarked = S.MakeApp({Scr, "/p", "1"});
    S.Desktop.Windows[1] = {};
    Unmarked->Initialize();
    EXPECT_FALSE(Unmarked->Duplicate());
    EXPECT_FALSE(S.Application.IsTerminated);
}

TEST_F(ScrSaverAppTest, ASaverClearsTheFlagThenReleasesTheMarkerWhenDestroyed)
{
    auto App = P.MakeApp({Scr, "/s"});
    App->Initialize();
    P.Log.Calls.clear();
    App.reset();
    EXPECT_EQ(P.Log.Calls, (std::vector<std::string>{"Desktop.SetScreenSaverRunning(0)", "Instance.Release"}));
}

TEST_F(ScrSaverAppTest, ALonePreviewSwitchTakesTheForegroundWindow)
{
    P.Desktop.Foreground = 9001;
    P.Desktop.Windows[9001] = {0, 0, 640, 480};
    auto App = P.MakeApp({Scr, "/p"});
    App->Initialize();
    EXPECT_EQ(App->ParentHandle(), 9001u);
    EXPECT_TRUE(P.Log.Has("Form.SetParentWindow(9001)"));
    EXPECT_TRUE(P.Log.Has("Form.SetBounds(0,0,640,480)"));
}

TEST_F(ScrSaverAppTest, APreviewHandleNamingNoWindowEndsTheRunQuietly)
{
    auto App = P.MakeApp({Scr, "/p", "31337"});
    EXPECT_NO_THROW(App->Initialize());
    EXPECT_TRUE(P.Application.IsTerminated);
    EXPECT_FALSE(P.Application.ShowMainForm);
    EXPECT_TRUE(P.Log.Only({"Form."}).empty());
}

TEST_F(ScrSaverAppTest, AHandleThatIsNoNumberRaisesTheConversionErrorFromInitialize)
{
    auto App = P.MakeApp({Scr, "/p", "abc"});
    EXPECT_EQ(ErrorOf([&] { App->Initialize(); }), "'abc' is not a valid integer value");
}

// --- idle and exception hooks --------------------------------------------------

TEST_F(ScrSaverAppTest, OnStartAtTheFirstIdleTurnThenOnIdleWithoutWaiting)
{
    auto App = P.MakeApp({Scr, "/s"});
    App->OnStart = [&] { P.Log.Add("OnStart"); };
    App->OnIdle = [&](bool& Done) { P.Log.Add(std::string("OnIdle(") + (Done ? "1" : "0") + ")"); };
    App->OnCloseRegistry = [&] { P.Log.Add("CloseRegistry"); };
    App->Initialize();
    P.Log.Calls.clear();
    EXPECT_FALSE(App->Started());
    bool Done = true;
    App->DoIdle(Done);
    EXPECT_FALSE(Done);
    EXPECT_TRUE(App->Started());
    App->DoIdle(Done);
    EXPECT_EQ(P.Log.Calls,
              (std::vector<std::string>{"OnStart", "OnIdle(0)", "CloseRegistry", "OnIdle(0)", "CloseRegistry"}));

    // OnStop once, and only after a start.
    App->OnStop = [&] { P.Log.Add("OnStop"); };
    App->DoStop();
    App->DoStop();
    EXPECT_EQ(P.Log.Only({"OnStop"}).size(), 1u);
    EXPECT_FALSE(App->Started());
}

TEST_F(ScrSaverAppTest, ThePreviewWaitsForMessagesAndEndsWhenItsParentIsGone)
{
    P.Desktop.Windows[7000] = {0, 0, 152, 112};
    auto App = P.MakeApp({Scr, "/p", "7000"});
    App->Initialize();
    bool Done = false;
    App->DoIdle(Done);
    EXPECT_TRUE(Done);
    EXPECT_FALSE(P.Application.IsTerminated);
    P.Desktop.Windows.erase(7000);
    App->DoIdle(Done);
    EXPECT_TRUE(P.Application.IsTerminated);
}

TEST_F(ScrSaverAppTest, DoExceptionLogsAndDetachesTheIdleHookWhileTheHandlerRuns)
{
    TTempDir Dir;
    auto App = P.MakeApp({Dir.File("Glimmora3D.scr"), "/s"});
    App->Initialize();
    App->SetLogFile(true);
    std::vector<bool> HookDuringHandler;
    App->OnException = [&](const std::exception& E) {
        HookDuringHandler.push_back(P.Application.IdleHook);
        P.Log.Add(std::string("OnException(") + E.what() + ")");
    };
    P.Log.Calls.clear();
    App->DoException(EGlimmoraError("OpenGL error: Stack overflow!"));
    EXPECT_EQ(P.Log.Calls, (std::vector<std::string>{"App.SetIdleHook(0)", "OnException(OpenGL error: Stack overflow!)",
                                                     "App.SetIdleHook(1)"}));
    EXPECT_EQ(HookDuringHandler, std::vector<bool>{false});
    EXPECT_EQ(TTempDir::Read(App->LogFileName()).substr(0, 31), "OpenGL error: Stack overflow!\r\n");

    // A handler that fails still gives the loop its idle hook back.
    App->OnException = [](const std::exception&) { throw EGlimmoraError("handler"); };
    EXPECT_THROW(App->DoException(EGlimmoraError("again")), EGlimmoraError);
    EXPECT_TRUE(P.Application.IdleHook);
}

TEST_F(ScrSaverAppTest, WithoutDebugOrHandlerAnExceptionIsDroppedSilently)
{
    TTempDir Dir;
    auto App = P.MakeApp({Dir.File("Glimmora3D.scr"), "/s"});
    App->Debug = false;
    App->Initialize();
    App->SetLogFile(true);
    P.Log.Calls.clear();
    EXPECT_NO_THROW(App->DoException(EGlimmoraError("dropped")));
    EXPECT_TRUE(P.Log.Calls.empty());
    EXPECT_FALSE(std::filesystem::exists(App->LogFileName()));

    // With Debug, a log that cannot be written does not hide the error.
    TProcessFakes Q(Markers);
    auto Broken = Q.MakeApp({Dir.File("missing/Glimmora3D.exe"), "/s"});
    Broken->Initialize();
    Broken->SetLogFile(true);
    std::string Seen;
    Broken->OnException = [&](const std::exception& E) { Seen = E.what(); };
    EXPECT_NO_THROW(Broken->DoException(EGlimmoraError("original")));
    EXPECT_EQ(Seen, "original");
}

TEST_F(ScrSaverAppTest, ALogThatCannotBeMadeNextToTheProgramGoesToTheLocalApplicationData)
{
    TTempDir Dir;
    P.System.LocalAppData = Dir.File("local");
    auto App = P.MakeApp({Dir.File("missing/Glimmora3D.scr"), "/s"});
    App->Initialize();
    App->SetLogFile(true);
    App->WriteLog("moved");
    const std::filesystem::path Expected = std::filesystem::path(Dir.File("local")) / "Glimmora3D" / "Glimmora3D.log";
    EXPECT_EQ(std::filesystem::path(App->LogFileName()), Expected);
    EXPECT_EQ(TTempDir::Read(Expected.string()).substr(0, 7), "moved\r\n");
    // Without that folder either, the run goes on without a log.
    Dir.Write("file", "");
    P.System.LocalAppData = Dir.File("file/local");
    auto Unlogged = P.MakeApp({Dir.File("file/Glimmora3D.scr"), "/s"});
    Unlogged->Initialize();
    Unlogged->SetLogFile(true);
    EXPECT_NO_THROW(Unlogged->WriteLog("lost"));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("file/local")));
}

TEST_F(ScrSaverAppTest, OptionsEventsAreFollowedByClosingTheKey)
{
    auto App = P.MakeApp({Scr, "/c"});
    App->OnCloseRegistry = [&] { P.Log.Add("CloseRegistry"); };
    App->LoadOptions();   // no handler: the key is left alone
    EXPECT_TRUE(P.Log.Calls.empty());
    App->OnLoadOptions = [&] { P.Log.Add("OnLoadOptions"); };
    App->OnSaveOptions = [&] { P.Log.Add("OnSaveOptions"); };
    App->LoadOptions();
    App->SaveOptions();
    EXPECT_EQ(P.Log.Calls,
              (std::vector<std::string>{"OnLoadOptions", "CloseRegistry", "OnSaveOptions", "CloseRegistry"}));
}

TEST_F(ScrSaverAppTest, TheFrameTimerIsMadeOnceOnFirstRequest)
{
    auto App = P.MakeApp({Scr, "/s"});
    EXPECT_TRUE(P.Clock.Begun.empty());
    TTimerPro& Timer = App->Timer();
    EXPECT_EQ(&Timer, &App->Timer());
    EXPECT_EQ(P.Clock.Begun.size(), 1u);
}

// --- passwords -------------------------------------------------------------------

TEST_F(ScrSaverAppTest, VerifyPasswordFallsBackToEndingTheRun)
{
    const std::string Cpl = "C:\\WINDOWS\\system32\\PASSWORD.CPL";
    struct TCase {
        const char* Name;
        std::optional<std::string> Value;
        bool Library, Entry;
        std::uint32_t Answer;
        bool Result;
        bool Asked;
    };
    const TCase Cases[] = {
        {"no value", std::nullopt, true, true, 0, true, false},
        {"value 0", "0", true, true, 0, true, false},
        {"no library", "1", false, false, 0, true, false},
        {"no entry", "1", true, false, 0, true, false},
        {"refused", "1", true, true, 0, false, true},
        {"accepted", "1", true, true, 1, true, true},
        {"only the low byte counts", "1", true, true, 0x100, false, true},
        {"a value that is no number asks", "yes", true, true, 0, false, true},
    };
    for (const TCase& C : Cases) {
        TFakeSingleInstance::TMarkers Markers;
        TProcessFakes F(Markers);
        F.Desktop.Foreground = 55;
        F.Passwords.UsePassword = C.Value;
        if (C.Library)
            F.Passwords.Libraries[Cpl] = C.Entry ? std::set<std::string>{"VerifyScreenSavePwd"} : std::set<std::string>{};
        F.Passwords.Answers = {C.Answer};
        auto App = F.MakeApp({Scr, "/s"});
        App->Initialize();
        F.Log.Calls.clear();
        const int Counter = F.Desktop.CursorCounter;
        EXPECT_EQ(App->VerifyPassword(), C.Result) << C.Name;
        EXPECT_EQ(F.Log.Has("Passwords.Verify(VerifyScreenSavePwd,55)"), C.Asked) << C.Name;
        EXPECT_EQ(F.Passwords.LoadedLibraries, 0) << C.Name;
        EXPECT_EQ(F.Desktop.CursorCounter, Counter) << C.Name;
        if (C.Asked) {
            EXPECT_EQ(F.Log.Only({"Desktop.ShowCursor", "Passwords.Verify", "Passwords.Free"}),
                      (std::vector<std::string>{"Desktop.ShowCursor(1)", "Desktop.ShowCursor(1)",
                                                "Passwords.Verify(VerifyScreenSavePwd,55)", "Desktop.ShowCursor(0)",
                                                "Desktop.ShowCursor(0)", "Passwords.Free"}))
                << C.Name;
        }
        if (C.Value && *C.Value != "0") {
            EXPECT_TRUE(F.Log.Has("Passwords.Load(" + Cpl + ")")) << C.Name;
        }
    }
}

TEST_F(ScrSaverAppTest, WithoutThePasswordChangeServiceTheModeEndsDoingNothing)
{
    auto App = P.MakeApp({Scr, "/a", "7000"});
    App->Initialize();
    EXPECT_FALSE(P.Log.Has("Passwords.Change(PwdChangePasswordA,SCRSAVE,7000)"));
    EXPECT_TRUE(P.Application.IsTerminated);
    EXPECT_FALSE(P.Application.ShowMainForm);
}

TEST_F(ScrSaverAppTest, SystemLibrariesComeOnlyFromTheSystemDirectory)
{
    P.System.System = "";
    P.Passwords.Libraries["MPR.DLL"] = {"PwdChangePasswordA"};
    auto App = P.MakeApp({Scr, "/c"});
    EXPECT_EQ(App->LoadSystemProc("MPR.DLL", "PwdChangePasswordA"), nullptr);
    EXPECT_TRUE(P.Log.Only({"Passwords.Load"}).empty());
}

// --- the end of a full-screen run ------------------------------------------------

TEST(TMouseMoveFilter, FiveMovesAreIgnoredThenOnlyAMoveOnBothAxesEndsTheRun)
{
    TMouseMoveFilter Filter;
    for (int I = 0; I < 5; ++I)
        EXPECT_FALSE(Filter.Move(100 * I, 100 * I)) << I;
    EXPECT_EQ(Filter.IgnoreMoves(), 0);
    EXPECT_FALSE(Filter.Move(500, 500));   // the reference point
    EXPECT_FALSE(Filter.Move(510, 500));   // 10 pixels along one axis
    EXPECT_FALSE(Filter.Move(500, 490));
    EXPECT_FALSE(Filter.Move(502, 503));   // 2 is not more than 2
    EXPECT_EQ(Filter.ReferenceX(), 500);
    EXPECT_EQ(Filter.ReferenceY(), 500);
    EXPECT_TRUE(Filter.Move(497, 503));    // 3 x 3
    EXPECT_EQ(Filter.ReferenceX(), 497);

    Filter.Reset();
    EXPECT_EQ(Filter.IgnoreMoves(), 5);
    EXPECT_FALSE(Filter.HasReference());
}

struct TMoveCase {
    const char* Name;
    std::vector<std::pair<int, int>> Moves;   // after the five ignored ones; the first is the reference
    int EndsAt;                               // index of the move that ends the run, -1 for none
};

class MouseMoveFilterCases : public ::testing::TestWithParam<TMoveCase> {};

TEST_P(MouseMoveFilterCases, ADeliberateMoveEndsTheRunAndJitterDoesNot)
{
    TMouseMoveFilter Filter;
    for (int I = 0; I < TMouseMoveFilter::IgnoredMoves; ++I)
        ASSERT_FALSE(Filter.Move(0, 0));
    const auto& Moves = GetParam().Moves;
    int EndedAt = -1;
    for (std::size_t I = 0; I < Moves.size() && EndedAt < 0; ++I)
        if (Filter.Move(Moves[I].first, Moves[I].second))
            EndedAt = static_cast<int>(I);
    EXPECT_EQ(EndedAt, GetParam().EndsAt);
}

std::vector<std::pair<int, int>> Steps(int X, int Y, int StepX, int StepY, int Count)
{
    std::vector<std::pair<int, int>> Moves;
    for (int I = 0; I <= Count; ++I)
        Moves.emplace_back(X + I * StepX, Y + I * StepY);
    return Moves;
}

INSTANTIATE_TEST_SUITE_P(
    Moves, MouseMoveFilterCases,
    ::testing::Values(
        TMoveCase{"DiagonalInTheMiddle", {{500, 500}, {503, 503}}, 1},
        TMoveCase{"TenPixelsAlongOneAxis", {{500, 500}, {510, 500}, {500, 490}}, -1},
        TMoveCase{"JitterOfTwoOnBothAxes", {{500, 500}, {502, 502}, {498, 498}, {502, 498}, {500, 500}}, -1},
        // Against the left edge a move down-left changes Y alone.
        TMoveCase{"DownAlongTheLeftEdge", {{0, 300}, {0, 310}, {0, 320}, {0, 330}, {0, 340}}, 4},
        TMoveCase{"RightAlongTheTopEdge", {{500, 0}, {520, 0}, {540, 0}}, 2},
        TMoveCase{"UpAlongTheRightEdge", {{1023, 400}, {1023, 380}, {1023, 360}}, 2},
        TMoveCase{"ThirtyTwoAlongAnEdgeIsNotYetClear", {{0, 300}, {0, 332}, {0, 268}}, -1},
        TMoveCase{"ThirtyThreeAlongAnEdgeIs", {{0, 300}, {0, 333}}, 1},
        // A slow move along the edge, one pixel an event, from its start.
        TMoveCase{"SlowDriftAlongTheBottomEdge", Steps(200, 767, 1, 0, 40), 33},
        TMoveCase{"JitterAgainstAnEdge", {{0, 300}, {0, 303}, {0, 297}, {0, 304}, {0, 296}, {0, 300}}, -1},
        TMoveCase{"PushedIntoACorner", {{0, 0}, {0, 0}, {0, 0}, {0, 0}}, -1}),
    [](const ::testing::TestParamInfo<TMoveCase>& Info) { return std::string(Info.param.Name); });

TEST(FullScreenSummary, TheRunsLogLine)
{
    EXPECT_EQ(FullScreenSummary(1024, 768, 32, 60), "Full Screen mode: 1024X768X32  FPS:60");
}

TEST_F(ScrSaverAppTest, ARefusedPasswordKeepsTheRunAndIgnoresTheNextFiveMoves)
{
    P.Passwords.UsePassword = "1";
    P.Passwords.Libraries["C:\\WINDOWS\\system32\\PASSWORD.CPL"] = {"VerifyScreenSavePwd"};
    P.Passwords.Answers = {0, 1};
    TTempDir Dir;
    auto App = P.MakeApp({Dir.File("Glimmora3D.scr"), "/s"});
    App->Initialize();
    App->SetLogFile(true);
    TEndSaverSteps Steps{[&] { P.Log.Add("StopSound"); }, [&] { P.Log.Add("CloseRenderForm"); },
                         [&] { P.Log.Add("CloseMainForm"); }};
    TMouseMoveFilter Filter;
    for (int I = 0; I < 6; ++I)
        Filter.Move(I, I);
    ASSERT_TRUE(Filter.Move(50, 50));
    P.Log.Calls.clear();
    EXPECT_FALSE(App->EndSaver(Filter, {1024, 768, 32, 61}, Steps));
    EXPECT_TRUE(P.Log.Only({"StopSound", "Close"}).empty());
    EXPECT_EQ(Filter.IgnoreMoves(), 5);
    for (int I = 0; I < 5; ++I)
        EXPECT_FALSE(Filter.Move(1000 * I, 1000 * I));

    EXPECT_TRUE(App->EndSaver(Filter, {1024, 768, 32, 61}, Steps));
    EXPECT_EQ(P.Log.Only({"StopSound", "Close"}),
              (std::vector<std::string>{"StopSound", "CloseRenderForm", "CloseMainForm"}));
    EXPECT_EQ(TTempDir::Read(App->LogFileName()).substr(0, 40), std::string("Full Screen mode: 1024X768X32  FPS:61\r\n\0", 40));
}

TEST_F(ScrSaverAppTest, APreviewRunOfTheDialogEndsWithoutPasswordAndKeepsTheMainForm)
{
    P.Passwords.UsePassword = "1";
    P.Passwords.Libraries["C:\\WINDOWS\\system32\\PASSWORD.CPL"] = {"VerifyScreenSavePwd"};
    P.Passwords.Answers = {0};
    auto App = P.MakeApp({Scr, "/c"});
    App->Initialize();
    TMouseMoveFilter Filter;
    P.Log.Calls.clear();
    EXPECT_TRUE(App->EndSaver(Filter, {}, {[&] { P.Log.Add("StopSound"); }, [&] { P.Log.Add("CloseRenderForm"); },
                                           [&] { P.Log.Add("CloseMainForm"); }}));
    EXPECT_EQ(P.Log.Calls, (std::vector<std::string>{"StopSound", "CloseRenderForm"}));
}
