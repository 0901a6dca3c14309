// The frame loop of the Linux program's runs on a screen: its own window,
// the whole display, or a window another program made (the screen-saver
// daemon's). Portable: the window arrives through the event-window seam and
// the frame, clock and sleep as functions, so tests drive it with fakes.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "platform/EventWindow.h"
#include "platform/GLContext.h"
#include "platform/Sound.h"

enum TWindowRunMode {
    wmWindow,       // Escape or closing the window ends the run
    wmFullScreen,   // any key, any button, or a clear mouse move ends it
    wmForeign,      // input belongs to the window's owner; only a signal ends it
};

struct TWindowLoopSettings {
    TWindowRunMode Mode = wmWindow;
    int MaxFps = 0;                  // frames per second at most; 0 for no cap
    int64_t DelayMicroseconds = 0;   // a pause after every frame, as hacks take it
    // The display's refresh rate where the swaps are meant to wait for it
    // (0: they are not). A swap interval can be accepted and not honoured
    // (Xvfb, remote desktops, some software GL): when the frames of a
    // measured stretch come faster than the refresh, they are capped to it
    // from then on, so that no frame is drawn that the display cannot show.
    int RefreshFps = 0;
};

// How many frames one measurement of the frame rate spans.
inline constexpr int RefreshCheckFrames = 30;

struct TWindowLoopServices {
    std::function<void()> RenderFrame;        // one frame, swapped
    std::function<bool()> StopRequested;      // true once SIGTERM or SIGINT arrived
    std::function<int64_t()> NowMicroseconds; // a steady clock
    std::function<void(int64_t)> SleepMicroseconds;
};

enum TWindowRunEnd {
    reInput,    // a key, a button or a mouse move (full screen)
    reEscape,   // the Escape key (window)
    reClosed,   // the window was closed
    reSignal,   // StopRequested
};

// Polls the window's events, draws a frame, paces; repeats until the run
// ends and tells why. A frame that fails ends the run as reClosed when the
// window then reports that it was closed (destroyed by another client);
// otherwise its error is passed on.
TWindowRunEnd RunWindowLoop(IEventWindow& Window, const TWindowLoopSettings& Settings,
                            const TWindowLoopServices& Services);

// The pause before the next frame so that frames start at most MaxFps
// times a second: NextStart moves on by one period and the wait is the
// time left until it (0 when late, and then NextStart restarts from Now).
int64_t FramePause(int MaxFps, int64_t Now, int64_t& NextStart);

// What the program's own window should be.
struct TScreenWindowRequest {
    std::string Title;
    int Width = 800, Height = 600;
    bool FullScreen = false;
    int ModeWidth = 0, ModeHeight = 0, ModeBitsPerPixel = 0;   // 0: the desktop's mode
};

// The backends of runs on a screen, picked by the program's main.
struct TScreenHost {
    std::function<std::unique_ptr<IEventWindow>(const TScreenWindowRequest&)> OpenWindow;
    IGLContextBackend& WindowGL;   // contexts on OpenWindow's windows
    // A window of another program; Id 0 is the root window.
    std::function<std::unique_ptr<IEventWindow>(uint64_t Id)> OpenForeignWindow;
    IGLContextBackend& ForeignGL;   // contexts on foreign windows
    ISoundOutput& Sound;            // the audible output
    std::function<std::string(const std::string& Name)> GetEnv;   // "" when unset
    std::string OptionsFile;        // where the options live; "" for none
    // The file's text; nothing with Error empty when there is no such file,
    // nothing with Error set when it cannot be read.
    std::function<std::optional<std::string>(const std::string& Path, std::string& Error)> ReadFile;
    // Replaces the file as a whole or leaves it as it was.
    std::function<bool(const std::string& Path, const std::string& Text, std::string& Error)> ReplaceFile;
    TWindowLoopServices Loop;       // its RenderFrame is set by the run
    // From here on SIGTERM and SIGINT end the run cleanly (Loop.StopRequested)
    // instead of killing the process; called first thing by a run on a screen.
    std::function<void()> CatchStopSignals;
};
