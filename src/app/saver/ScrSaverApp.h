// The screen-saver component: the run mode from the screen-saver command
// line (/s, /p, /l, /c, /a), the main form prepared for that mode, the
// screen-saver-running flag, the password steps, and the rules that end a
// full-screen run.
//
// Index
//   TScreenSaverMode, ParseMode, ParseParentHandle,
//   NamesParentHandle                                the command line
//   TMouseMoveFilter                                 moves that end a run
//   FullScreenSummary                                the run's log line
//   TScreenSaverApp                                  the component
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/saver/AppPro.h"
#include "platform/WindowHandle.h"

enum TScreenSaverMode : std::uint8_t {
    smProgram = 0,     // the .exe started with no argument: the dialog
    smSaver = 1,       // /s: the full-screen saver
    smPreview = 2,     // /p or /l with a window: the still picture inside it
    smConfig = 3,      // /c, unknown switches, the .scr with no argument
    smChangePassword = 4,   // /a: the system's password-change dialog
};

// "ScreenSaveUsePassword" as the password services read it: missing or a
// number 0 means no password; any other number, and a value that is no
// number, asks for the system's own check.
bool UsePasswordIsSet(const std::optional<std::string>& Value);

// The run mode from the program's path (only its extension counts) and the
// arguments after it.
TScreenSaverMode ParseMode(const std::string& ProgramPath, const std::vector<std::string>& Args);

// A window handle written as an unsigned decimal number, as wide as a
// pointer. Anything else raises EGlimmoraError with a message that names
// the text.
TWindowHandle StrToWindowHandle(const std::string& Text);

// The parent window from the arguments: the second argument when there is
// one, else the text after the first ":" of the first argument (at most 20
// characters), else the desktop's foreground window. A text that is not a
// handle raises EGlimmoraError (StrToWindowHandle).
TWindowHandle ParseParentHandle(const std::vector<std::string>& Args, IDesktop& Desktop);
// Whether the arguments name a window themselves (a second argument or a
// ":" in the first), rather than leaving it to the foreground window.
bool NamesParentHandle(const std::vector<std::string>& Args);

// Mouse moves on the full-screen window: the first IgnoredMoves moves of a
// run are dropped (the window's appearance causes some), the next one sets
// the reference point, and a move that leaves it by more than Threshold
// pixels on both axes at once ends the run.
// After the first IgnoredMoves events, the first position is the
// reference. A move ends the run when it is more than Threshold away from
// the reference on both axes, or more than ClearMove away on one axis
// alone: against a screen edge the pointer moves along one axis only, and
// a deliberate move there must end the run too. Jitter of a few pixels
// never does.
class TMouseMoveFilter {
public:
    static constexpr int IgnoredMoves = 5;
    static constexpr int Threshold = 2;
    static constexpr int ClearMove = 32;

    TMouseMoveFilter() { Reset(); }
    // At the start of every run and of every attempt to end it.
    void Reset();
    // True when the move ends the run.
    bool Move(int X, int Y);

    int IgnoreMoves() const { return FIgnoreMoves; }
    bool HasReference() const { return FHasReference; }
    int ReferenceX() const { return FReferenceX; }
    int ReferenceY() const { return FReferenceY; }

private:
    int FIgnoreMoves = IgnoredMoves;
    bool FHasReference = false;
    int FReferenceX = -1, FReferenceY = -1;
};

// "Full Screen mode: 1024X768X32  FPS:60"
std::string FullScreenSummary(int Width, int Height, int ColorDepth, int FramesPerSecond);

// What the end of a full-screen run reports, read when the run ends.
struct TRunSummary {
    int Width = 0, Height = 0, ColorDepth = 0;   // the display mode in force
    int FramesPerSecond = 0;                     // the last count
};

// The steps of the main form that end a full-screen run.
struct TEndSaverSteps {
    std::function<void()> StopSound;
    std::function<void()> CloseRenderForm;
    std::function<void()> CloseMainForm;   // only in smSaver
};

class TScreenSaverApp : public TCustomGraphicApplicationPro {
public:
    static constexpr const char* PasswordLibrary = "PASSWORD.CPL";
    static constexpr const char* VerifyEntry = "VerifyScreenSavePwd";
    static constexpr const char* ChangeLibrary = "MPR.DLL";
    static constexpr const char* ChangeEntry = "PwdChangePasswordA";
    static constexpr const char* ChangeProvider = "SCRSAVE";

    TScreenSaverApp(const TAppFrameServices& Services, std::vector<std::string> Params);
    ~TScreenSaverApp() override;

    TScreenSaverMode Mode() const { return FMode; }
    TWindowHandle ParentHandle() const { return FParentHandle; }

    // The mode, the single-instance check, the screen-saver-running flag
    // and the main form prepared for the mode (in smChangePassword the whole
    // run). Raises EGlimmoraError when the window handle is not a number.
    void Initialize() override;
    // In smPreview nothing is drawn: the loop waits for messages instead of
    // spinning, and the run ends when the parent window is gone.
    void DoIdle(bool& Done) override;

    // True when a full-screen run may end: no password is set, the
    // system's check is missing, or it accepts.
    bool VerifyPassword();
    // Runs the system's password-change dialog, then ends the program.
    void ChangePassword();
    void SetScreenSaverRunning(bool Running);
    // Loads Library from the system directory (freeing the one loaded
    // before) and returns the address of Entry; null when either is
    // missing.
    void* LoadSystemProc(const std::string& Library, const std::string& Entry);
    void FreeSystemLibrary();

    // Input asked the run to end: the filter starts over, and outside
    // smSaver, or when the password check passes, the run ends: sound off,
    // render window closed, the summary line logged, and in smSaver the
    // main form closed. False when the password was refused and the run
    // goes on.
    bool EndSaver(TMouseMoveFilter& Filter, const TRunSummary& Summary, const TEndSaverSteps& Steps);

private:
    TScreenSaverMode FMode = smProgram;
    TWindowHandle FParentHandle = 0;
    bool FRunningFlagSet = false;
    std::unique_ptr<IDynamicLibrary> FSystemLibrary;
};
