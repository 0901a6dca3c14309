#include "app/saver/ScrSaverApp.h"

#include <charconv>
#include <cstdlib>
#include <limits>
#include <optional>
#include <utility>

#include "gl/Errors.h"

namespace {

char UpperAscii(char C) { return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 'a' + 'A') : C; }

// Length in bytes of the first character of a UTF-8 text.
std::size_t FirstCharLength(const std::string& S)
{
    std::size_t N = 1;
    if (!S.empty() && (static_cast<unsigned char>(S[0]) & 0xC0) == 0xC0) {
        while (N < S.size() && (static_cast<unsigned char>(S[N]) & 0xC0) == 0x80)
            ++N;
    }
    return N;
}

} // namespace

bool UsePasswordIsSet(const std::optional<std::string>& Value)
{
    if (!Value)
        return false;
    long long Number = 0;
    const char* First = Value->data();
    const char* Last = First + Value->size();
    const auto [End, Ec] = std::from_chars(First, Last, Number);
    if (Ec != std::errc() || End != Last)
        return true;
    return Number != 0;
}

TScreenSaverMode ParseMode(const std::string& ProgramPath, const std::vector<std::string>& Args)
{
    if (Args.empty())
        return ExtractUpperExt(ProgramPath) == ".EXE" ? smProgram : smConfig;
    // The switch's first character may be "/", "-" or anything else; the
    // letter after it decides.
    const std::string& Arg = Args[0];
    const std::size_t Skip = FirstCharLength(Arg);
    if (Skip >= Arg.size())
        return smConfig;
    switch (UpperAscii(Arg[Skip])) {
    case 'C':
        return smConfig;
    case 'A':
        return smChangePassword;
    case 'P':
    case 'L':
        return smPreview;
    case 'S':
        return smSaver;
    default:
        return smConfig;
    }
}

TWindowHandle StrToWindowHandle(const std::string& Text)
{
    std::uint64_t Value = 0;
    const char* First = Text.data();
    const char* Last = First + Text.size();
    const auto [End, Ec] = std::from_chars(First, Last, Value);
    if (Text.empty() || Ec != std::errc() || End != Last ||
        Value > std::numeric_limits<TWindowHandle>::max())
        throw EGlimmoraError("'" + Text + "' is not a valid integer value");
    return static_cast<TWindowHandle>(Value);
}

bool NamesParentHandle(const std::vector<std::string>& Args)
{
    return Args.size() >= 2 || (!Args.empty() && Args[0].find(':') != std::string::npos);
}

TWindowHandle ParseParentHandle(const std::vector<std::string>& Args, IDesktop& Desktop)
{
    if (Args.size() >= 2)
        return StrToWindowHandle(Args[1]);
    if (!Args.empty()) {
        const std::size_t Colon = Args[0].find(':');
        if (Colon != std::string::npos)
            return StrToWindowHandle(Args[0].substr(Colon + 1, 20));
    }
    return Desktop.ForegroundWindow();
}

// ---------------------------------------------------------------------------

void TMouseMoveFilter::Reset()
{
    FIgnoreMoves = IgnoredMoves;
    FHasReference = false;
    FReferenceX = -1;
    FReferenceY = -1;
}

bool TMouseMoveFilter::Move(int X, int Y)
{
    if (FIgnoreMoves > 0) {
        --FIgnoreMoves;
        return false;
    }
    if (!FHasReference) {
        FHasReference = true;
        FReferenceX = X;
        FReferenceY = Y;
        return false;
    }
    const long long DX = std::llabs(static_cast<long long>(X) - FReferenceX);
    const long long DY = std::llabs(static_cast<long long>(Y) - FReferenceY);
    if ((DX > Threshold && DY > Threshold) || DX > ClearMove || DY > ClearMove) {
        FReferenceX = X;
        FReferenceY = Y;
        return true;
    }
    return false;
}

std::string FullScreenSummary(int Width, int Height, int ColorDepth, int FramesPerSecond)
{
    return "Full Screen mode: " + std::to_string(Width) + "X" + std::to_string(Height) + "X" +
           std::to_string(ColorDepth) + "  FPS:" + std::to_string(FramesPerSecond);
}

// ---------------------------------------------------------------------------

TScreenSaverApp::TScreenSaverApp(const TAppFrameServices& Services, std::vector<std::string> Params)
    : TCustomGraphicApplicationPro(Services, std::move(Params))
{
}

TScreenSaverApp::~TScreenSaverApp()
{
    if (FRunningFlagSet)
        SetScreenSaverRunning(false);
    FreeSystemLibrary();
}

void TScreenSaverApp::Initialize()
{
    IApplicationHost& App = FServices.Application;
    IMainFormWindow& Form = FServices.Form;
    IDesktop& Desktop = FServices.Desktop;

    FMode = ParseMode(ProgramPath(), Arguments());
    SingleInstance = ExtractUpperExt(ProgramPath()) == ".SCR" || FMode == smProgram;
    TCustomGraphicApplicationPro::Initialize();

    // A refused instance leaves the flag to the instance that runs: it would
    // clear it in its destructor while the other saver is still up.
    if ((FMode == smProgram || FMode == smSaver) && !Duplicate())
        SetScreenSaverRunning(true);
    if (FMode == smProgram)
        return;

    FParentHandle = ParseParentHandle(Arguments(), Desktop);
    App.HideWindow();
    App.SetToolWindowStyle();
    switch (FMode) {
    case smSaver:
        // The scene draws on its own window; the main form stays off screen.
        Desktop.ShowCursor(false);
        Form.SetPlainSurface();
        Form.SetBounds(-Form.Width(), -Form.Height(), 0, 0);
        break;
    case smPreview: {
        // A handle that names no window (the host closed already, or a
        // stray number) ends the run at once and quietly.
        if (!Desktop.IsWindow(FParentHandle)) {
            App.SetShowMainForm(false);
            App.Terminate();
            break;
        }
        Form.SetParentWindow(FParentHandle);
        Form.SetPlainSurface();
        TWindowRect Client;
        if (Desktop.ClientRect(FParentHandle, Client))
            Form.SetBounds(0, 0, Client.Right - Client.Left, Client.Bottom - Client.Top);
        break;
    }
    case smChangePassword:
        ChangePassword();
        break;
    case smProgram:
    case smConfig:
        break;
    }
}

void TScreenSaverApp::DoIdle(bool& Done)
{
    TCustomGraphicApplicationPro::DoIdle(Done);
    if (FMode == smPreview) {
        Done = true;
        if (!FServices.Desktop.IsWindow(FParentHandle))
            FServices.Application.Terminate();
    }
}

void TScreenSaverApp::SetScreenSaverRunning(bool Running)
{
    FServices.Desktop.SetScreenSaverRunning(Running);
    FRunningFlagSet = Running;
}

void* TScreenSaverApp::LoadSystemProc(const std::string& Library, const std::string& Entry)
{
    FreeSystemLibrary();
    // Only from the system directory: a bare name would be looked up along
    // the search path, where any folder could supply a library of that name.
    const std::string Dir = WithTrailingBackslash(FServices.System.SystemDirectory());
    if (Dir.empty())
        return nullptr;
    FSystemLibrary = FServices.Passwords.LoadServiceLibrary(Dir + Library);
    if (!FSystemLibrary)
        return nullptr;
    return FSystemLibrary->Symbol(Entry.c_str());
}

void TScreenSaverApp::FreeSystemLibrary() { FSystemLibrary.reset(); }

bool TScreenSaverApp::VerifyPassword()
{
    IPasswordServices& Passwords = FServices.Passwords;
    IDesktop& Desktop = FServices.Desktop;
    if (!UsePasswordIsSet(Passwords.UsePasswordValue()))
        return true;
    void* Entry = LoadSystemProc(PasswordLibrary, VerifyEntry);
    if (Entry == nullptr) {
        FreeSystemLibrary();
        return true;
    }
    // A full-screen run hides the cursor twice (the component and the
    // render window); the password dialog needs it.
    Desktop.ShowCursor(true);
    Desktop.ShowCursor(true);
    const std::uint32_t Result = Passwords.CallVerifyScreenSavePwd(Entry, Desktop.ForegroundWindow());
    Desktop.ShowCursor(false);
    Desktop.ShowCursor(false);
    FreeSystemLibrary();
    return (Result & 0xFFu) != 0;
}

void TScreenSaverApp::ChangePassword()
{
    IApplicationHost& App = FServices.Application;
    App.SetShowMainForm(false);
    if (void* Entry = LoadSystemProc(ChangeLibrary, ChangeEntry))
        FServices.Passwords.CallPwdChangePassword(Entry, ChangeProvider, FParentHandle);
    FreeSystemLibrary();
    App.Terminate();
}

bool TScreenSaverApp::EndSaver(TMouseMoveFilter& Filter, const TRunSummary& Summary, const TEndSaverSteps& Steps)
{
    Filter.Reset();
    if (FMode == smSaver && !VerifyPassword())
        return false;
    if (Steps.StopSound)
        Steps.StopSound();
    if (Steps.CloseRenderForm)
        Steps.CloseRenderForm();
    WriteLog(FullScreenSummary(Summary.Width, Summary.Height, Summary.ColorDepth, Summary.FramesPerSecond));
    if (FMode == smSaver && Steps.CloseMainForm)
        Steps.CloseMainForm();
    return true;
}
