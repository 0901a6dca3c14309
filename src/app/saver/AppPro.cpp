#include "app/saver/AppPro.h"

#include <filesystem>
#include <utility>

namespace {

// Path separators of a Windows path: the file name starts after the last.
bool IsPathDelimiter(char C) { return C == '\\' || C == '/' || C == ':'; }

std::size_t FileNameStart(const std::string& Path)
{
    for (std::size_t I = Path.size(); I > 0; --I) {
        if (IsPathDelimiter(Path[I - 1]))
            return I;
    }
    return 0;
}

std::string UpperAscii(std::string S)
{
    for (char& C : S) {
        if (C >= 'a' && C <= 'z')
            C = static_cast<char>(C - 'a' + 'A');
    }
    return S;
}

} // namespace

std::string ExtractExeName(const std::string& ProgramPath) { return ProgramPath.substr(FileNameStart(ProgramPath)); }

std::string ExtractProgramDir(const std::string& ProgramPath)
{
    return WithTrailingBackslash(ProgramPath.substr(0, FileNameStart(ProgramPath)));
}

std::string ExtractUpperExt(const std::string& ProgramPath)
{
    const std::string Name = ExtractExeName(ProgramPath);
    const std::size_t Dot = Name.rfind('.');
    return Dot == std::string::npos ? std::string() : UpperAscii(Name.substr(Dot));
}

std::string BaseNameOf(const std::string& ExeName)
{
    const std::size_t Dot = ExeName.find('.');
    return Dot == std::string::npos ? std::string() : ExeName.substr(0, Dot);
}

std::string WithTrailingBackslash(std::string Dir)
{
    if (!Dir.empty() && Dir.back() != '\\' && Dir.back() != '/')
        Dir += '\\';
    return Dir;
}

std::string LogFileNameOf(const std::string& ApplicationDir, const std::string& BaseName)
{
    return ApplicationDir + BaseName + ".log";
}

// ---------------------------------------------------------------------------

TCustomApplicationPro::TCustomApplicationPro(const TAppFrameServices& Services, std::vector<std::string> Params)
    : FServices(Services), FParams(std::move(Params))
{
}

TCustomApplicationPro::~TCustomApplicationPro()
{
    FServices.Instance.Release();
    CloseRegistry();
}

const std::string& TCustomApplicationPro::ProgramPath()
{
    if (!FProgramPathKnown) {
        // The system may start a saver by its 8.3 short name; every name
        // derived from the path (semaphore, log, tuning file) must not
        // depend on how it was started.
        FProgramPath = FParams.empty() ? std::string() : FServices.System.LongPathName(FParams[0]);
        FProgramPathKnown = true;
    }
    return FProgramPath;
}

std::vector<std::string> TCustomApplicationPro::Arguments() const
{
    if (FParams.size() < 2)
        return {};
    return std::vector<std::string>(FParams.begin() + 1, FParams.end());
}

void TCustomApplicationPro::CloseRegistry()
{
    if (OnCloseRegistry)
        OnCloseRegistry();
}

void TCustomApplicationPro::LoadOptions()
{
    if (OnLoadOptions) {
        OnLoadOptions();
        CloseRegistry();
    }
}

void TCustomApplicationPro::SaveOptions()
{
    if (OnSaveOptions) {
        OnSaveOptions();
        CloseRegistry();
    }
}

void TCustomApplicationPro::Initialize()
{
    IApplicationHost& App = FServices.Application;
    if (!Title.empty())
        App.SetTitle(Title);
    if (std::string AppTitle = App.Title(); !AppTitle.empty())
        Title = std::move(AppTitle);

    FExeName = ExtractExeName(ProgramPath());
    FBaseName = BaseNameOf(FExeName);
    FApplicationDir = ExtractProgramDir(ProgramPath());
    FSystemDir = WithTrailingBackslash(FServices.System.SystemDirectory());
    FWindowsDir = WithTrailingBackslash(FServices.System.WindowsDirectory());
    FLog.SetFileName(LogFileNameOf(FApplicationDir, FBaseName));
    // A saver in the system folder cannot write there: the user's folder
    // takes the log, and without either the run goes on without one.
    if (const std::string Local = FServices.System.LocalAppDataDirectory(); !Local.empty())
        FLog.SetFallback((std::filesystem::path(Local) / FBaseName).string());

    App.SetExceptionHook(true);
    App.SetIdleHook(true);

    if (SingleInstance && FServices.Instance.Claim(FBaseName + "Semaphore") == icDuplicate) {
        // Another instance runs: end at the first turn of the loop, quietly
        // and without raising any lifecycle event.
        FDuplicate = true;
        FLog.SetLogFile(false);
        App.Terminate();
        App.SetShowMainForm(false);
        FServices.Form.DetachHandlers();
        FServices.Form.Hide();
    }

    if (HideTaskbarButton)
        App.SetToolWindowStyle();
}

void TCustomApplicationPro::DoIdle(bool& Done)
{
    // A run told to end (a refused instance, the password change) ends at
    // its first turn without any lifecycle event.
    if (FServices.Application.Terminated()) {
        Done = true;
        return;
    }
    if (!FStarted) {
        if (OnStart)
            OnStart();
        FStarted = true;
    }
    Done = false;
    if (OnIdle)
        OnIdle(Done);
    CloseRegistry();
}

void TCustomApplicationPro::DoException(const std::exception& E)
{
    if (Debug) {
        // A log that cannot be written must not hide the error itself.
        try {
            WriteLog(E.what());
        } catch (const std::exception&) {
        }
    }
    if (!OnException)
        return;
    IApplicationHost& App = FServices.Application;
    struct TReattach {
        IApplicationHost& App;
        ~TReattach() { App.SetIdleHook(true); }
    };
    App.SetIdleHook(false);
    TReattach Reattach{App};
    OnException(E);
}

void TCustomApplicationPro::DoStop()
{
    if (FStarted) {
        if (OnStop)
            OnStop();
        FStarted = false;
    }
}

TTimerPro& TCustomGraphicApplicationPro::Timer()
{
    if (!FTimer)
        FTimer = std::make_unique<TTimerPro>(FServices.Clock);
    return *FTimer;
}
