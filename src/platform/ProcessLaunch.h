// Platform seam: starting another program or opening a document, and
// waiting for a started program.
//
// Windows: CreateProcessW (no application name, handles not inherited, no
// environment block, a zeroed STARTUPINFOW of its own size with
// STARTF_USESHOWWINDOW), GetExitCodeProcess, MsgWaitForMultipleObjectsEx,
// ShellExecuteW with the verb "open", SetPriorityClass of this process.
// Texts travel as UTF-8. The rules (which call, which flags, how long to
// wait) live above the seam in app/ExecutePro. Tests use a fake
// (tests/fakes/FakeProcessLauncher.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class ILaunchedProcess {
public:
    virtual ~ILaunchedProcess() = default;
    // The process's exit code, which is STILL_ACTIVE (259) while it runs;
    // false when the system cannot tell.
    virtual bool ReadExitCode(std::uint32_t& Code) = 0;
    // Blocks until the process ends or a message for this thread is
    // waiting (one that is already waiting returns at once).
    virtual void WaitForExitOrMessage() = 0;
};

class IProcessLauncher {
public:
    virtual ~IProcessLauncher() = default;
    // Starts CommandLine as a new process with the given creation flags
    // (the priority class) and show command, in Directory (the caller's
    // current directory when empty). Null when the system refuses.
    virtual std::unique_ptr<ILaunchedProcess> StartProcess(const std::string& CommandLine, const std::string& Directory,
                                                           std::uint32_t CreationFlags, int ShowCommand) = 0;
    // Opens FileName through the shell with no owner window; an empty
    // Parameters or Directory passes none. Never waits; the result is not
    // reported.
    virtual void ShellOpen(const std::string& FileName, const std::string& Parameters, const std::string& Directory,
                           int ShowCommand) = 0;
    // The priority class of this process (IDLE_PRIORITY_CLASS 0x40, ...).
    virtual void SetOwnPriorityClass(std::uint32_t PriorityClass) = 0;
};
