#include "app/SaverStandIns.h"

#include <cctype>
#include <charconv>
#include <cstdio>

#include "gl/Errors.h"

namespace {

std::string Upper(std::string_view Text)
{
    std::string Out(Text);
    for (char& C : Out)
        C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    return Out;
}

// The file-name part of a path (after the last "\", "/" or ":").
std::string_view FileNamePart(std::string_view Path)
{
    const std::size_t Slash = Path.find_last_of("\\/:");
    return Slash == std::string_view::npos ? Path : Path.substr(Slash + 1);
}

} // namespace

TBasicCommandLine ParseBasicCommandLine(const std::vector<std::string>& Args, std::string_view ProgramFile)
{
    TBasicCommandLine C;
    if (Args.empty()) {
        const std::string_view Name = FileNamePart(ProgramFile);
        const std::size_t Dot = Name.find_last_of('.');
        C.Mode = Dot != std::string_view::npos && Upper(Name.substr(Dot)) == ".EXE" ? smProgram : smConfig;
        return C;
    }
    const std::string& First = Args[0];
    const char Switch = First.size() >= 2 ? static_cast<char>(std::toupper(static_cast<unsigned char>(First[1]))) : 0;
    switch (Switch) {
    case 'S':
        C.Mode = smSaver;
        break;
    case 'P':
    case 'L':
        C.Mode = smPreview;
        break;
    case 'A':
        C.Mode = smChangePassword;
        break;
    default:
        C.Mode = smConfig;
        break;
    }
    if (Args.size() >= 2)
        C.HandleText = Args[1];
    else if (const std::size_t Colon = First.find(':'); Colon != std::string::npos)
        C.HandleText = First.substr(Colon + 1, 20);
    return C;
}

TWindowHandle ParseWindowHandle(const std::string& Text)
{
    TWindowHandle Value = 0;
    const char* Begin = Text.data();
    const char* End = Begin + Text.size();
    const auto [Ptr, Ec] = std::from_chars(Begin, End, Value, 10);
    if (Text.empty() || Ec != std::errc() || Ptr != End)
        throw EGlimmoraError("'" + Text + "' is not a valid integer value");
    return Value;
}

TBasicSaverFrame::TBasicSaverFrame(const std::vector<std::string>& Args, const std::string& ProgramFile,
                                   IWindowSystem& Windows, IMessageLoop& Loop)
    : FWindows(Windows), FLoop(Loop)
{
    const TBasicCommandLine C = ParseBasicCommandLine(Args, ProgramFile);
    FMode = C.Mode;
    FHandleText = C.HandleText;
    const std::string_view Name = FileNamePart(ProgramFile);
    FApplicationDir = ProgramFile.substr(0, ProgramFile.size() - Name.size());
    if (!FApplicationDir.empty() && FApplicationDir.back() != '\\' && FApplicationDir.back() != '/')
        FApplicationDir += '\\';
    const std::size_t Dot = Name.find('.');
    FBaseName = Dot == std::string_view::npos ? std::string() : std::string(Name.substr(0, Dot));
    FLog.SetFileName(FApplicationDir + FBaseName + ".log");
}

bool TBasicSaverFrame::Initialize(TMainForm& Form)
{
    FForm = &Form;
    switch (FMode) {
    case smSaver:
        FWindows.ShowCursor(false);
        Form.PrepareSaverForm();
        break;
    case smPreview: {
        const TWindowHandle Parent = FHandleText ? ParseWindowHandle(*FHandleText) : FWindows.ForegroundWindow();
        // A handle that names no window ends the preview quietly.
        if (!Form.PreparePreviewForm(Parent))
            return false;
        Form.FormShow();
        break;
    }
    case smConfig:
    case smProgram:
        FWindows.ShowMessageBox(0, "This screen saver has no options that you can set.", "Glimmora 3D", mbsOk);
        return false;
    case smChangePassword:
        return false;
    }
    FLoop.SetHooks(this);
    return true;
}

void TBasicSaverFrame::Stop()
{
    FLoop.SetHooks(nullptr);
    if (FStarted && FForm)
        FForm->ScreenSaverAppStop();
    FStarted = false;
}

bool TBasicSaverFrame::MouseMoveEndsRun(int X, int Y)
{
    (void)X, (void)Y;
    return false;
}

void TBasicSaverFrame::LogRunSummary(const TFormDisplayMode& Mode, int FramesPerSecond)
{
    char Line[96];
    std::snprintf(Line, sizeof(Line), "Full Screen mode: %dX%dX%d  FPS:%d", Mode.Width, Mode.Height, Mode.ColorDepth,
                  FramesPerSecond);
    FLog.WriteLog(Line);
}

void TBasicSaverFrame::Idle(bool& Done)
{
    if (FInException || !FForm)
        return;
    if (!FStarted) {
        FStarted = true;
        FForm->ScreenSaverAppStart();
    }
    // The preview draws nothing: it waits for messages instead of spinning.
    Done = FMode == smPreview;
    FForm->ScreenSaverAppIdle(Done);
}

void TBasicSaverFrame::Exception(const std::exception& E)
{
    FLog.WriteLog(E.what());
    if (!FForm || FInException)
        return;
    FInException = true;
    try {
        FForm->ScreenSaverAppException(E);
    } catch (...) {
        FInException = false;
        throw;
    }
    FInException = false;
}
