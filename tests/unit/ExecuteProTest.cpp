#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/saver/ExecutePro.h"
#include "fakes/CallLog.h"
#include "fakes/FakeApplicationHost.h"
#include "fakes/FakeMainFormWindow.h"
#include "fakes/FakeProcessLauncher.h"

namespace {

class ExecuteProTest : public ::testing::Test {
protected:
    TCallLog Log;
    TFakeProcessLauncher Launcher{Log};
    TFakeApplicationHost Application{Log};
    TFakeMainFormWindow Form{Log};
    TExecutePro Exec{Launcher, Application};
};

} // namespace

TEST_F(ExecuteProTest, ANewComponentMinimisesWaitsAndChoosesByFileName)
{
    EXPECT_EQ(Exec.Mode, emAuto);
    EXPECT_EQ(Exec.Priority, epNormal);
    EXPECT_EQ(Exec.WindowStyle, ewMinimize);
    EXPECT_TRUE(Exec.Wait);
    EXPECT_EQ(Exec.DefaultDirectory, "");
}

TEST(ExecutePro, ShowCommandsAndPriorityClasses)
{
    EXPECT_EQ(ShowCommandOf(ewShow), 5);
    EXPECT_EQ(ShowCommandOf(ewHide), 0);
    EXPECT_EQ(ShowCommandOf(ewMaximize), 3);
    EXPECT_EQ(ShowCommandOf(ewMinimize), 6);
    EXPECT_EQ(ShowCommandOf(static_cast<TExecWindowStyle>(9)), 5);
    EXPECT_EQ(CreationFlagsOf(epNormal), 0x20u);
    EXPECT_EQ(CreationFlagsOf(epHigh), 0x80u);
    EXPECT_EQ(CreationFlagsOf(epIdle), 0x40u);
    EXPECT_EQ(CreationFlagsOf(epRealTime), 0x100u);
    EXPECT_EQ(CreationFlagsOf(static_cast<TExecPriority>(9)), 0x20u);
}

TEST(ExecutePro, AFileNameCountsAsAProgramWhenItHoldsDotExeInAnyCase)
{
    EXPECT_TRUE(CountsAsProgram("c:\\a\\b.EXE"));
    EXPECT_TRUE(CountsAsProgram("c:\\a\\b.exe.txt"));
    EXPECT_TRUE(CountsAsProgram("c:\\a.Exe\\b.txt"));
    EXPECT_FALSE(CountsAsProgram("c:\\a\\b.txt"));
    EXPECT_FALSE(CountsAsProgram("c:\\a\\b.ex"));
    EXPECT_FALSE(CountsAsProgram("c:\\a\\bexe"));
}

TEST_F(ExecuteProTest, TheCommandLineSplitsIntoFolderFileAndParameters)
{
    struct TCase {
        std::string Line, FileName, Parameters, Directory;
    };
    const TCase Cases[] = {
        {"C:\\dir\\prog.exe /s", "C:\\dir\\prog.exe", "/s", "C:\\dir\\"},
        {"C:\\dir\\prog.exe", "C:\\dir\\prog.exe", "", "C:\\dir\\"},
        {"C:\\dir\\prog.exe /s /x", "C:\\dir\\prog.exe", "/s /x", "C:\\dir\\"},
        {"C:\\My Dir\\prog.exe /c", "C:\\My Dir\\prog.exe", "/c", "C:\\My Dir\\"},
        {"C:\\dir\\my prog.exe", "C:\\dir\\my prog.exe", "", "C:\\dir\\"},   // no blank after the last dot
        {"C:\\dir\\run me", "C:\\dir\\run", "me", "C:\\dir\\"},             // no dot: the leftmost blank
        {"C:\\dir\\.hidden /s", "C:\\dir\\.hidden /s", "", "C:\\dir\\"},    // a name starting with its dot
        {"c:prog.exe /s", "c:prog.exe", "/s", "c:"},
        {"prog.exe /s", "prog.exe", "/s", ""},
        {"\"C:\\Program Files\\Glimmora 3D\\Glimmora3D.exe\" /s", "C:\\Program Files\\Glimmora 3D\\Glimmora3D.exe",
         "/s", "C:\\Program Files\\Glimmora 3D\\"},
        {"\"C:\\Saver\\Glimmora3D.exe\"", "C:\\Saver\\Glimmora3D.exe", "", "C:\\Saver\\"},
    };
    for (const TCase& C : Cases) {
        TExecutePro E(Launcher, Application);
        E.SetCommandLine(C.Line);
        EXPECT_EQ(E.CommandLine(), C.Line);
        EXPECT_EQ(E.FileName(), C.FileName) << C.Line;
        EXPECT_EQ(E.Parameters(), C.Parameters) << C.Line;
        EXPECT_EQ(E.DefaultDirectory, C.Directory) << C.Line;
    }
}

TEST_F(ExecuteProTest, TheFirstFolderIsKeptForLaterCommandLines)
{
    Exec.Wait = false;
    Exec.Execute("C:\\first\\a.exe");
    Exec.Execute("D:\\second\\b.exe /s");
    EXPECT_EQ(Launcher.LastStart.Directory, "C:\\first\\");
    EXPECT_EQ(Launcher.LastStart.CommandLine, "D:\\second\\b.exe /s");

    TExecutePro Preset(Launcher, Application);
    Preset.DefaultDirectory = "E:\\work\\";
    Preset.SetCommandLine("C:\\dir\\prog.exe");
    EXPECT_EQ(Preset.DefaultDirectory, "E:\\work\\");
}

TEST_F(ExecuteProTest, AutoOpensADocumentThroughTheShellHiddenAndWithoutParameters)
{
    Exec.Execute("C:\\docs\\readme.txt /x");
    EXPECT_EQ(Log.Calls, (std::vector<std::string>{"Launcher.ShellOpen(C:\\docs\\readme.txt)"}));
    EXPECT_EQ(Launcher.LastShell.Parameters, "");
    EXPECT_EQ(Launcher.LastShell.ShowCommand, 0);
    EXPECT_EQ(Launcher.LastShell.Directory, "C:\\docs\\");
}

TEST_F(ExecuteProTest, AutoStartsAProgramAsAProcessWithTheStyleAndPriority)
{
    Exec.Wait = false;
    Exec.Priority = epHigh;
    Exec.Execute("C:\\dir\\prog.EXE /s");
    EXPECT_EQ(Log.Calls, (std::vector<std::string>{"Launcher.StartProcess(C:\\dir\\prog.EXE /s)"}));
    EXPECT_EQ(Launcher.LastStart.CreationFlags, 0x80u);
    EXPECT_EQ(Launcher.LastStart.ShowCommand, 6);
    EXPECT_EQ(Launcher.LastStart.Directory, "C:\\dir\\");
}

TEST_F(ExecuteProTest, ModesOverrideTheFileNameRule)
{
    Exec.Wait = false;
    Exec.Mode = emProcess;
    Exec.Execute("C:\\dir\\script.bat");
    Exec.Mode = emShell;
    Exec.WindowStyle = ewMaximize;
    Exec.Execute("C:\\dir\\prog.exe /s");
    EXPECT_EQ(Log.Calls, (std::vector<std::string>{"Launcher.StartProcess(C:\\dir\\script.bat)",
                                                   "Launcher.ShellOpen(C:\\dir\\prog.exe)"}));
    // Through the shell a program gets its parameters and the show command.
    EXPECT_EQ(Launcher.LastShell.Parameters, "/s");
    EXPECT_EQ(Launcher.LastShell.ShowCommand, 3);
}

TEST_F(ExecuteProTest, TheWaitHandlesMessagesUntilTheProcessEnds)
{
    Launcher.ActiveChecks = 2;
    Exec.Execute("C:\\dir\\prog.exe");
    EXPECT_EQ(Log.Calls, (std::vector<std::string>{"Launcher.StartProcess(C:\\dir\\prog.exe)", "Process.ReadExitCode",
                                                   "App.ProcessMessages", "Process.Wait", "Process.ReadExitCode",
                                                   "App.ProcessMessages", "Process.Wait", "Process.ReadExitCode"}));
}

TEST_F(ExecuteProTest, TheWaitStopsWhenTheApplicationTerminates)
{
    Launcher.ActiveChecks = 1000;
    int Turns = 0;
    Application.OnProcessMessages = [&] {
        if (++Turns == 3)
            Application.IsTerminated = true;   // a quit message arrived
    };
    Exec.Execute("C:\\dir\\prog.exe");
    EXPECT_EQ(Turns, 3);
    EXPECT_EQ(Log.Only({"Process.Wait"}).size(), 2u);
    EXPECT_EQ(Log.Calls.back(), "App.ProcessMessages");
}

TEST_F(ExecuteProTest, NoWaitWithoutWaitAFailedStartOrAnUnreadableExitCode)
{
    Launcher.ActiveChecks = 1000;
    Exec.Wait = false;
    Exec.Execute("C:\\dir\\prog.exe");
    Exec.Wait = true;
    Launcher.StartFails = true;
    Exec.Execute("C:\\dir\\missing.exe");
    Launcher.StartFails = false;
    Launcher.ExitCodeReadable = false;
    Exec.Execute("C:\\dir\\prog.exe");
    EXPECT_EQ(Log.Calls, (std::vector<std::string>{"Launcher.StartProcess(C:\\dir\\prog.exe)",
                                                   "Launcher.StartProcess(C:\\dir\\missing.exe)",
                                                   "Launcher.StartProcess(C:\\dir\\prog.exe)", "Process.ReadExitCode"}));
}

TEST(TwinCommandLine, TheProgramPathIsQuoted)
{
    EXPECT_EQ(TwinCommandLine("C:\\Program Files\\Glimmora 3D\\", "Glimmora3D", " /s"),
              "\"C:\\Program Files\\Glimmora 3D\\Glimmora3D.exe\" /s");
    EXPECT_EQ(TwinCommandLine("C:\\Saver\\", "Glimmora3D", " /c"), "\"C:\\Saver\\Glimmora3D.exe\" /c");
}

TEST_F(ExecuteProTest, LaunchAsExeRunsTheTwinFromAFolderWithABlankAndWaits)
{
    Launcher.ActiveChecks = 1;
    LaunchAsExe(Exec, Launcher, Application, Form, "C:\\Program Files\\Glimmora 3D\\", "Glimmora3D", " /s");
    const std::string Line = "\"C:\\Program Files\\Glimmora 3D\\Glimmora3D.exe\" /s";
    EXPECT_EQ(Log.Calls, (std::vector<std::string>{"Form.SetBounds(-480,-360,0,0)", "Launcher.SetOwnPriorityClass(64)",
                                                   "Launcher.StartProcess(" + Line + ")", "Process.ReadExitCode",
                                                   "App.ProcessMessages", "Process.Wait", "Process.ReadExitCode",
                                                   "Form.Close", "App.Terminate"}));
    EXPECT_EQ(Launcher.LastStart.Directory, "C:\\Program Files\\Glimmora 3D\\");
    EXPECT_EQ(Launcher.LastStart.CreationFlags, 0x20u);
    EXPECT_EQ(Launcher.LastStart.ShowCommand, 5);
}

TEST_F(ExecuteProTest, LaunchAsExeWithoutATwinLeavesTheRunToThisProcess)
{
    Launcher.StartFails = true;
    EXPECT_FALSE(LaunchAsExe(Exec, Launcher, Application, Form, "C:\\Saver\\", "Glimmora3D", " /c"));
    // Neither the form nor the program ends, and the idle priority taken
    // for the wait is given back.
    EXPECT_EQ(Log.Only({"Form.Close", "App.Terminate", "Process.", "Launcher."}),
              (std::vector<std::string>{"Launcher.SetOwnPriorityClass(64)",
                                        "Launcher.StartProcess(\"C:\\Saver\\Glimmora3D.exe\" /c)",
                                        "Launcher.SetOwnPriorityClass(32)"}));
}

TEST_F(ExecuteProTest, ExecuteTellsWhetherTheProgramStarted)
{
    EXPECT_TRUE(Exec.Execute("C:\\dir\\prog.exe"));
    Launcher.StartFails = true;
    EXPECT_FALSE(Exec.Execute("C:\\dir\\missing.exe"));
}
