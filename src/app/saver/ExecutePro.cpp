#include "app/saver/ExecutePro.h"

#include <memory>

namespace {

// Just past the last backslash or colon: where the file name starts.
std::size_t NameStart(const std::string& Line)
{
    const std::size_t Last = Line.find_last_of("\\:");
    return Last == std::string::npos ? 0 : Last + 1;
}

std::string LowerAscii(std::string S)
{
    for (char& C : S) {
        if (C >= 'A' && C <= 'Z')
            C = static_cast<char>(C - 'A' + 'a');
    }
    return S;
}

} // namespace

int ShowCommandOf(TExecWindowStyle Style)
{
    switch (Style) {
    case ewShow:
        return 5;
    case ewHide:
        return 0;
    case ewMaximize:
        return 3;
    case ewMinimize:
        return 6;
    }
    return 5;
}

std::uint32_t CreationFlagsOf(TExecPriority Priority)
{
    switch (Priority) {
    case epNormal:
        return 0x20;
    case epHigh:
        return 0x80;
    case epIdle:
        return 0x40;
    case epRealTime:
        return 0x100;
    }
    return 0x20;
}

bool CountsAsProgram(const std::string& FileName) { return LowerAscii(FileName).find(".exe") != std::string::npos; }

TExecutePro::TExecutePro(IProcessLauncher& Launcher, IApplicationHost& Application)
    : FLauncher(Launcher), FApplication(Application)
{
}

void TExecutePro::SetCommandLine(const std::string& Value)
{
    FCommandLine = Value;
    // A quoted program path (a folder with blanks) ends at its closing
    // quote; the folder and the file name are taken without the quotes.
    if (Value.size() > 1 && Value[0] == '"') {
        const std::size_t Close = Value.find('"', 1);
        if (Close != std::string::npos) {
            const std::string Path = Value.substr(1, Close - 1);
            if (DefaultDirectory.empty())
                DefaultDirectory = Path.substr(0, NameStart(Path));
            FFileName = Path;
            const std::size_t Rest = Value.find_first_not_of(' ', Close + 1);
            FParameters = Rest == std::string::npos ? std::string() : Value.substr(Rest);
            return;
        }
    }

    const std::size_t Start = NameStart(Value);
    if (DefaultDirectory.empty())
        DefaultDirectory = Value.substr(0, Start);
    const std::string Name = Value.substr(Start);
    // From the end of the name back to its last dot, the first blank met
    // (the leftmost one) separates the parameters.
    std::size_t Split = Name.size();
    std::size_t I = Name.size();
    bool StoppedOnDot = false;
    while (I > 0) {
        --I;
        if (Name[I] == '.') {
            StoppedOnDot = true;
            break;
        }
        if (Name[I] == ' ')
            Split = I;
    }
    if (StoppedOnDot && I == 0)
        Split = Name.size();
    FFileName = Value.substr(0, Start) + Name.substr(0, Split);
    FParameters = Split < Name.size() ? Name.substr(Split + 1) : std::string();
}

bool TExecutePro::Execute(const std::string& Line)
{
    SetCommandLine(Line);
    const bool Process = Mode == emProcess || (Mode == emAuto && CountsAsProgram(FFileName));
    if (Process)
        return RunProcess();
    RunShell();
    return true;
}

bool TExecutePro::RunProcess()
{
    const std::unique_ptr<ILaunchedProcess> Process =
        FLauncher.StartProcess(FCommandLine, DefaultDirectory, CreationFlagsOf(Priority), ShowCommandOf(WindowStyle));
    if (!Process)
        return false;
    if (!Wait)
        return true;
    // This program's windows stay responsive while the other one runs; a
    // quit message received meanwhile ends the wait. Between checks the
    // thread sleeps until the process ends or a message arrives.
    std::uint32_t Code = 0;
    while (Process->ReadExitCode(Code) && Code == StillActive) {
        if (FApplication.Terminated())
            break;
        FApplication.ProcessMessages();
        if (FApplication.Terminated())
            break;
        Process->WaitForExitOrMessage();
    }
    return true;
}

void TExecutePro::RunShell()
{
    const bool Program = CountsAsProgram(FFileName);
    FLauncher.ShellOpen(FFileName, Program ? FParameters : std::string(), DefaultDirectory,
                        Program ? ShowCommandOf(WindowStyle) : 0);
}

std::string TwinCommandLine(const std::string& ProgramPath, const std::string& BaseName, const std::string& Switch)
{
    return "\"" + ProgramPath + BaseName + ".exe\"" + Switch;
}

bool LaunchAsExe(TExecutePro& Execute, IProcessLauncher& Launcher, IApplicationHost& Application,
                 IMainFormWindow& Form, const std::string& ProgramPath, const std::string& BaseName,
                 const std::string& Switch)
{
    Form.SetBounds(-Form.Width(), -Form.Height(), 0, 0);
    Launcher.SetOwnPriorityClass(IdlePriorityClass);
    Execute.WindowStyle = ewShow;
    Execute.Priority = epNormal;
    Execute.Mode = emProcess;
    Execute.Wait = true;
    if (!Execute.Execute(TwinCommandLine(ProgramPath, BaseName, Switch))) {
        Launcher.SetOwnPriorityClass(NormalPriorityClass);
        return false;
    }
    Form.Close();
    Application.Terminate();
    return true;
}
