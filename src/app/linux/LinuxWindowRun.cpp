#include "app/linux/LinuxWindowRun.h"

#include "app/saver/ScrSaverApp.h"

int64_t FramePause(int MaxFps, int64_t Now, int64_t& NextStart)
{
    if (MaxFps <= 0)
        return 0;
    const int64_t Period = 1000000 / MaxFps;
    NextStart += Period;
    if (NextStart <= Now) {
        NextStart = Now;   // late: do not try to catch up with a burst
        return 0;
    }
    return NextStart - Now;
}

TWindowRunEnd RunWindowLoop(IEventWindow& Window, const TWindowLoopSettings& Settings,
                            const TWindowLoopServices& Services)
{
    TMouseMoveFilter Filter;
    int64_t NextStart = Services.NowMicroseconds();
    int MaxFps = Settings.MaxFps;
    // The start of the stretch being measured and its frames so far.
    int64_t StretchStart = NextStart;
    int StretchFrames = 0;
    for (;;) {
        if (Services.StopRequested())
            return reSignal;
        TWindowEvent E;
        while (Window.PollEvent(E)) {
            if (E.Kind == weClose)
                return reClosed;
            switch (Settings.Mode) {
            case wmWindow:
                if (E.Kind == weKey && E.Escape)
                    return reEscape;
                break;
            case wmFullScreen:
                if (E.Kind == weKey || E.Kind == weButton)
                    return reInput;
                if (E.Kind == wePointerMove && Filter.Move(E.X, E.Y))
                    return reInput;
                break;
            case wmForeign:
                break;
            }
        }
        try {
            Services.RenderFrame();
        } catch (...) {
            // A window that another client destroyed fails the frame drawn
            // on it (the GL finds no drawable): the run ends as for a
            // closed window. Any other failure stands.
            TWindowEvent E;
            while (Window.PollEvent(E))
                if (E.Kind == weClose)
                    return reClosed;
            throw;
        }
        if (Settings.DelayMicroseconds > 0)
            Services.SleepMicroseconds(Settings.DelayMicroseconds);
        if (Settings.RefreshFps > 0 && MaxFps == 0 && ++StretchFrames == RefreshCheckFrames) {
            const int64_t Now = Services.NowMicroseconds();
            // Faster than the refresh by more than a tenth: the swaps do
            // not wait.
            if ((Now - StretchStart) * Settings.RefreshFps * 11 < int64_t(RefreshCheckFrames) * 1000000 * 10) {
                MaxFps = Settings.RefreshFps;
                NextStart = Now;
            }
            StretchStart = Now;
            StretchFrames = 0;
        }
        const int64_t Pause = FramePause(MaxFps, Services.NowMicroseconds(), NextStart);
        if (Pause > 0)
            Services.SleepMicroseconds(Pause);
    }
}
