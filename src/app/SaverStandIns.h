// Minimal stand-ins for the application frame, the display control and the
// options: just enough for the saver to run as Windows starts it, until
// the full objects are bound to the main form in their place.
//
//   TBasicSaverFrame     the switches /s, /p HWND (/l, /p:HWND) and /c
//                        only; no single-instance check, no running flag,
//                        no password; the log next to the program; every
//                        mouse move is ignored (keys and buttons end a run)
//   TCurrentModeDisplay  the desktop's mode in force, never switched
//   TDefaultOptions      the default options, nothing read or stored
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/LogFile.h"
#include "app/MainForm.h"

// The switch of the first argument and the window handle it names.
struct TBasicCommandLine {
    TScreenSaverMode Mode = smConfig;
    // The handle text of /p or /l (the second argument, or what follows
    // the first ":"); nothing when none was given.
    std::optional<std::string> HandleText;
};

// Args are the arguments after the program name; ProgramFile the full
// (long) name of the program file.
TBasicCommandLine ParseBasicCommandLine(const std::vector<std::string>& Args, std::string_view ProgramFile);
// An unsigned decimal number as wide as a pointer; anything else raises
// "'TEXT' is not a valid integer value".
TWindowHandle ParseWindowHandle(const std::string& Text);

class TBasicSaverFrame final : public IMainFormFrame, public IApplicationHooks {
public:
    TBasicSaverFrame(const std::vector<std::string>& Args, const std::string& ProgramFile, IWindowSystem& Windows,
                     IMessageLoop& Loop);

    TLogFile& Log() { return FLog; }
    const std::string& ApplicationDir() const { return FApplicationDir; }

    // Prepares the form for the mode and hooks the loop; false when the
    // process has nothing to run and ends now.
    bool Initialize(TMainForm& Form);
    // After the loop: the form's stop event, once, when it was started.
    void Stop();

    TScreenSaverMode Mode() const override { return FMode; }
    std::string BaseName() const override { return FBaseName; }
    void ResetMouseFilter() override {}
    bool MouseMoveEndsRun(int X, int Y) override;
    bool VerifyPassword() override { return true; }
    void LogRunSummary(const TFormDisplayMode& Mode, int FramesPerSecond) override;

    void Idle(bool& Done) override;
    void Exception(const std::exception& E) override;

private:
    IWindowSystem& FWindows;
    IMessageLoop& FLoop;
    TScreenSaverMode FMode = smConfig;
    std::optional<std::string> FHandleText;
    std::string FApplicationDir;
    std::string FBaseName;
    TLogFile FLog;
    TMainForm* FForm = nullptr;
    bool FStarted = false;
    bool FInException = false;
};

class TCurrentModeDisplay final : public IMainFormDisplay {
public:
    explicit TCurrentModeDisplay(IWindowSystem& Windows) : FWindows(Windows) {}
    int DesktopColorDepth() override { return FWindows.Screen().BitsPerPixel; }
    bool HasColorDepthModes() override { return true; }
    void SetFullScreen(bool Value) override { (void)Value; }
    TFormDisplayMode CurrentMode() override
    {
        const TScreenInfo S = FWindows.Screen();
        return TFormDisplayMode{S.Width, S.Height, S.BitsPerPixel};
    }

private:
    IWindowSystem& FWindows;
};

class TDefaultOptions final : public IMainFormOptions {
public:
    explicit TDefaultOptions(std::string ProgramPath) : FProgramPath(std::move(ProgramPath)) {}
    void SetDefaultOptions() override { FOptions = TSceneOptions{}; }
    void LoadOptions() override {}
    TSceneOptions SceneOptions() override { return FOptions; }
    bool DesktopOnly() override { return false; }
    std::string ProgramPath() override { return FProgramPath; }
    void SaveAutoTheme(int ThemeIndex) override { (void)ThemeIndex; }

private:
    std::string FProgramPath;
    TSceneOptions FOptions;
};
