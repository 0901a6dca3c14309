// The process launcher: starts a program or opens a document from a command
// line, with a window style and a priority, and can wait for a started
// program while this program's messages keep being handled.
//
// LaunchAsExe hands a saver or settings run of the .scr over to its ".exe"
// twin and waits for it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/AppHost.h"
#include "platform/MainFormWindow.h"
#include "platform/ProcessLaunch.h"

enum TExecWindowStyle : std::uint8_t { ewShow, ewHide, ewMaximize, ewMinimize };
enum TExecPriority : std::uint8_t { epNormal, epHigh, epIdle, epRealTime };
enum TExecMode : std::uint8_t {
    emAuto,      // a process for a program, the shell for anything else
    emProcess,   // always a process
    emShell,     // always the shell
};

// SW_SHOW 5, SW_HIDE 0, SW_SHOWMAXIMIZED 3, SW_MINIMIZE 6; 5 for any other.
int ShowCommandOf(TExecWindowStyle Style);
// NORMAL 0x20, HIGH 0x80, IDLE 0x40, REALTIME 0x100 priority class; 0x20
// for any other.
std::uint32_t CreationFlagsOf(TExecPriority Priority);
// A file name counts as a program when it holds ".exe" anywhere, in any
// case ("c:\a\b.EXE", "c:\a\b.exe.txt").
bool CountsAsProgram(const std::string& FileName);

constexpr std::uint32_t IdlePriorityClass = 0x40;   // IDLE_PRIORITY_CLASS
constexpr std::uint32_t NormalPriorityClass = 0x20; // NORMAL_PRIORITY_CLASS
constexpr std::uint32_t StillActive = 259;          // STILL_ACTIVE

class TExecutePro {
public:
    // The launcher and the application must outlive the component.
    TExecutePro(IProcessLauncher& Launcher, IApplicationHost& Application);

    // Kept once set: a later command line in another folder still runs in
    // this one.
    std::string DefaultDirectory;
    TExecMode Mode = emAuto;
    TExecPriority Priority = epNormal;
    TExecWindowStyle WindowStyle = ewMinimize;
    bool Wait = true;

    const std::string& CommandLine() const { return FCommandLine; }
    // Stores the line, takes its folder as DefaultDirectory when none is
    // set, and splits it into FileName and Parameters.
    void SetCommandLine(const std::string& Value);
    const std::string& FileName() const { return FFileName; }
    const std::string& Parameters() const { return FParameters; }

    // SetCommandLine(Line), then run it. A program that cannot be started
    // returns false at once, without a message; the shell's answer is not
    // known and counts as started.
    bool Execute(const std::string& Line);

private:
    bool RunProcess();
    void RunShell();

    IProcessLauncher& FLauncher;
    IApplicationHost& FApplication;
    std::string FCommandLine;
    std::string FFileName;
    std::string FParameters;
};

// The command line that starts the ".exe" twin: the program's path quoted
// (a folder may hold blanks), then the switch (" /s" or " /c").
std::string TwinCommandLine(const std::string& ProgramPath, const std::string& BaseName, const std::string& Switch);

// Run as program: the main form leaves the screen, this process steps down
// to idle priority, the twin runs shown at normal priority while this
// process waits (handling its messages), then the main form closes and the
// application ends; true. The scene is never started here. When the twin
// cannot be started (none beside the program, say) this process goes back
// to normal priority and false tells the caller to run here instead: the
// user is never left without a saver or a dialog.
bool LaunchAsExe(TExecutePro& Execute, IProcessLauncher& Launcher, IApplicationHost& Application,
                 IMainFormWindow& Form, const std::string& ProgramPath, const std::string& BaseName,
                 const std::string& Switch);
