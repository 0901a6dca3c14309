#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "platform/win32/Win32AppServices.h"
#include "platform/win32/Win32Text.h"

namespace {

class TWin32LaunchedProcess final : public ILaunchedProcess {
public:
    explicit TWin32LaunchedProcess(HANDLE Process) : FProcess(Process) {}
    ~TWin32LaunchedProcess() override { CloseHandle(FProcess); }

    bool ReadExitCode(std::uint32_t& Code) override
    {
        DWORD Exit = 0;
        if (!GetExitCodeProcess(FProcess, &Exit))
            return false;
        Code = Exit;
        return true;
    }
    void WaitForExitOrMessage() override
    {
        // MWMO_INPUTAVAILABLE: a message already in the queue also wakes.
        MsgWaitForMultipleObjectsEx(1, &FProcess, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }

private:
    HANDLE FProcess;
};

class TWin32ProcessLauncher final : public IProcessLauncher {
public:
    std::unique_ptr<ILaunchedProcess> StartProcess(const std::string& CommandLine, const std::string& Directory,
                                                   std::uint32_t CreationFlags, int ShowCommand) override
    {
        STARTUPINFOW Startup;
        ZeroMemory(&Startup, sizeof(Startup));
        Startup.cb = sizeof(Startup);
        Startup.dwFlags = STARTF_USESHOWWINDOW;
        Startup.wShowWindow = static_cast<WORD>(ShowCommand);
        PROCESS_INFORMATION Info;
        ZeroMemory(&Info, sizeof(Info));
        // CreateProcessW may write into the command line: pass a copy.
        std::wstring Line = Win32Widen(CommandLine);
        std::vector<wchar_t> Buffer(Line.begin(), Line.end());
        Buffer.push_back(L'\0');
        const std::wstring Dir = Win32Widen(Directory);
        if (!CreateProcessW(nullptr, Buffer.data(), nullptr, nullptr, FALSE, CreationFlags, nullptr,
                            Dir.empty() ? nullptr : Dir.c_str(), &Startup, &Info))
            return nullptr;
        CloseHandle(Info.hThread);
        return std::make_unique<TWin32LaunchedProcess>(Info.hProcess);
    }

    void ShellOpen(const std::string& FileName, const std::string& Parameters, const std::string& Directory,
                   int ShowCommand) override
    {
        const std::wstring File = Win32Widen(FileName);
        const std::wstring Params = Win32Widen(Parameters);
        const std::wstring Dir = Win32Widen(Directory);
        ShellExecuteW(nullptr, L"open", File.c_str(), Params.empty() ? nullptr : Params.c_str(),
                      Dir.empty() ? nullptr : Dir.c_str(), ShowCommand);
    }

    void SetOwnPriorityClass(std::uint32_t PriorityClass) override
    {
        SetPriorityClass(GetCurrentProcess(), PriorityClass);
    }
};

} // namespace

std::unique_ptr<IProcessLauncher> CreateWin32ProcessLauncher() { return std::make_unique<TWin32ProcessLauncher>(); }
