// Process starts and shell calls as a test arranges them: a started process
// reports STILL_ACTIVE for a number of checks, then an exit code.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "fakes/CallLog.h"
#include "platform/ProcessLaunch.h"

class TFakeProcessLauncher : public IProcessLauncher {
public:
    explicit TFakeProcessLauncher(TCallLog& Log) : FLog(Log) {}

    bool StartFails = false;
    int ActiveChecks = 0;         // checks that still see the process running
    bool ExitCodeReadable = true;

    struct TStart {
        std::string CommandLine, Directory;
        std::uint32_t CreationFlags = 0;
        int ShowCommand = -1;
    } LastStart;
    struct TShell {
        std::string FileName, Parameters, Directory;
        int ShowCommand = -1;
    } LastShell;

    std::unique_ptr<ILaunchedProcess> StartProcess(const std::string& CommandLine, const std::string& Directory,
                                                   std::uint32_t CreationFlags, int ShowCommand) override
    {
        FLog.Add("Launcher.StartProcess(" + CommandLine + ")");
        LastStart = {CommandLine, Directory, CreationFlags, ShowCommand};
        if (StartFails)
            return nullptr;
        return std::make_unique<TProcess>(*this);
    }
    void ShellOpen(const std::string& FileName, const std::string& Parameters, const std::string& Directory,
                   int ShowCommand) override
    {
        FLog.Add("Launcher.ShellOpen(" + FileName + ")");
        LastShell = {FileName, Parameters, Directory, ShowCommand};
    }
    void SetOwnPriorityClass(std::uint32_t PriorityClass) override
    {
        FLog.Add("Launcher.SetOwnPriorityClass(" + std::to_string(PriorityClass) + ")");
    }

private:
    class TProcess : public ILaunchedProcess {
    public:
        explicit TProcess(TFakeProcessLauncher& Owner) : FOwner(Owner) {}
        bool ReadExitCode(std::uint32_t& Code) override
        {
            FOwner.FLog.Add("Process.ReadExitCode");
            if (!FOwner.ExitCodeReadable)
                return false;
            Code = FOwner.ActiveChecks > 0 ? 259u : 0u;
            if (FOwner.ActiveChecks > 0)
                --FOwner.ActiveChecks;
            return true;
        }
        void WaitForExitOrMessage() override { FOwner.FLog.Add("Process.Wait"); }

    private:
        TFakeProcessLauncher& FOwner;
    };

    TCallLog& FLog;
};
