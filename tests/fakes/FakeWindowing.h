// Fakes of the windowing seam and the message loop. Every action lands as
// one readable line in a shared log ("render.Show", "windows.ShowCursor(0)",
// "loop.Terminate"), so a test can check the order of calls across
// several fakes. A fake window delivers Paint synchronously, as the real
// one does; tests fire the other events through Events().
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/MessageLoop.h"
#include "platform/Windowing.h"

using TCallLines = std::vector<std::string>;

inline std::string BoundsText(const TWindowBounds& B)
{
    return std::to_string(B.Left) + "," + std::to_string(B.Top) + "," + std::to_string(B.Width) + "," +
           std::to_string(B.Height);
}

class TFakeWindow : public IWindow {
public:
    TFakeWindow(TCallLines& Log, std::string Name, TWindowHandle Handle, const TWindowBounds& Bounds,
                IWindowEvents& Events, bool Visible)
        : FLog(Log), FName(std::move(Name)), FHandle(Handle), FBounds(Bounds), FEvents(Events), FVisible(Visible)
    {
    }
    ~TFakeWindow() override { FLog.push_back(FName + ".Destroy"); }

    IWindowEvents& Events() { return FEvents; }
    const TPicture& Picture() const { return FPicture; }
    unsigned TimerMs = 0;
    int DCTag = 0;   // its address is the device context

    TWindowHandle Handle() const override { return FHandle; }
    int Width() const override { return FBounds.Width; }
    int Height() const override { return FBounds.Height; }
    bool Visible() const override { return FVisible; }
    void Show() override
    {
        Record("Show");
        FVisible = true;
    }
    void Hide() override
    {
        Record("Hide");
        FVisible = false;
    }
    void SetTopMost() override { Record("SetTopMost"); }
    void CaptureMouse() override { Record("CaptureMouse"); }
    void Focus() override { Record("Focus"); }
    void Paint() override
    {
        Record("Paint");
        FEvents.Paint();
    }
    TGLDeviceContext GetDC() override
    {
        Record("GetDC");
        return &DCTag;
    }
    void ReleaseDC(TGLDeviceContext DC) override { Record(DC == &DCTag ? "ReleaseDC" : "ReleaseDC(foreign)"); }
    void SetPicture(TPicture Picture) override
    {
        Record("SetPicture(" + std::to_string(Picture.Width) + "x" + std::to_string(Picture.Height) + ")");
        FPicture = std::move(Picture);
    }
    void StartTimer(unsigned Milliseconds) override
    {
        Record("StartTimer(" + std::to_string(Milliseconds) + ")");
        TimerMs = Milliseconds;
    }

private:
    void Record(const std::string& What) { FLog.push_back(FName + "." + What); }

    TCallLines& FLog;
    std::string FName;
    TWindowHandle FHandle;
    TWindowBounds FBounds;
    IWindowEvents& FEvents;
    bool FVisible;
    TPicture FPicture;
};

struct TFakeMessageBox {
    TWindowHandle Owner = 0;
    std::string Text, Caption;
    unsigned Style = 0;
};

class TFakeWindowSystem : public IWindowSystem {
public:
    explicit TFakeWindowSystem(TCallLines& Log) : FLog(Log) {}

    TScreenInfo ScreenInfo{1024, 768, 32};
    // Windows of other processes: handle -> client size.
    std::map<TWindowHandle, TWindowBounds> Foreign;
    TWindowHandle Foreground = 0;
    std::vector<TFakeMessageBox> Boxes;
    // The window last made of each kind ("main", "render", "child"); it
    // may be destroyed already: check Alive().
    std::map<std::string, TFakeWindow*> Last;
    int CursorCount = 0;
    bool SaverRunning = false;

    bool Alive(const std::string& Kind) const
    {
        const auto I = Last.find(Kind);
        return I != Last.end() && I->second != nullptr;
    }
    TFakeWindow& Window(const std::string& Kind) { return *Last.at(Kind); }

    std::unique_ptr<IWindow> CreateMainForm(const std::string& Caption, const TWindowBounds& Bounds,
                                            IWindowEvents& Events) override
    {
        FLog.push_back("windows.CreateMainForm(" + Caption + "," + BoundsText(Bounds) + ")");
        return Make("main", Bounds, Events, true);
    }
    std::unique_ptr<IWindow> CreateRenderForm(const TWindowBounds& Bounds, IWindowEvents& Events) override
    {
        FLog.push_back("windows.CreateRenderForm(" + BoundsText(Bounds) + ")");
        return Make("render", Bounds, Events, false);
    }
    std::unique_ptr<IWindow> CreateChildForm(TWindowHandle Parent, const TWindowBounds& Bounds,
                                             IWindowEvents& Events) override
    {
        FLog.push_back("windows.CreateChildForm(" + std::to_string(Parent) + "," + BoundsText(Bounds) + ")");
        if (!IsWindow(Parent))
            return nullptr;
        return Make("child", Bounds, Events, true);
    }
    bool IsWindow(TWindowHandle Window) override { return Foreign.count(Window) != 0; }
    bool ClientRect(TWindowHandle Window, TWindowRect& Rect) override
    {
        const auto I = Foreign.find(Window);
        if (I == Foreign.end())
            return false;
        Rect = TWindowRect{0, 0, I->second.Width, I->second.Height};
        return true;
    }
    TWindowHandle ForegroundWindow() override { return Foreground; }
    void ShowCursor(bool Show) override
    {
        FLog.push_back(std::string("windows.ShowCursor(") + (Show ? "1" : "0") + ")");
        CursorCount += Show ? 1 : -1;
    }
    void SetScreenSaverRunning(bool Running) override
    {
        FLog.push_back(std::string("windows.SetScreenSaverRunning(") + (Running ? "1" : "0") + ")");
        SaverRunning = Running;
    }
    int ShowMessageBox(TWindowHandle Owner, const std::string& Text, const std::string& Caption,
                       unsigned Style) override
    {
        FLog.push_back("windows.MessageBox(" + Caption + ")");
        Boxes.push_back(TFakeMessageBox{Owner, Text, Caption, Style});
        return 1;
    }
    TScreenInfo Screen() override { return ScreenInfo; }

private:
    // A window object that tells this system when it goes.
    class TTrackedWindow final : public TFakeWindow {
    public:
        TTrackedWindow(TFakeWindowSystem& Owner, const std::string& Kind, TWindowHandle Handle,
                       const TWindowBounds& Bounds, IWindowEvents& Events, bool Visible)
            : TFakeWindow(Owner.FLog, Kind, Handle, Bounds, Events, Visible), FOwner(Owner), FKind(Kind)
        {
        }
        ~TTrackedWindow() override
        {
            if (FOwner.Last[FKind] == this)
                FOwner.Last[FKind] = nullptr;
        }

    private:
        TFakeWindowSystem& FOwner;
        std::string FKind;
    };

    std::unique_ptr<IWindow> Make(const std::string& Kind, const TWindowBounds& Bounds, IWindowEvents& Events,
                                  bool Visible)
    {
        auto W = std::make_unique<TTrackedWindow>(*this, Kind, ++FNextHandle, Bounds, Events, Visible);
        Last[Kind] = W.get();
        return W;
    }

    TCallLines& FLog;
    TWindowHandle FNextHandle = 0x1000;
};

// Runs the idle hook until terminated (at most MaxIdleTurns turns).
// HandleMessage takes the next of Messages (what the user does, played by
// the test) or, when none waits, runs one idle turn; after MaxIdleTurns
// turns of either kind it terminates itself, so a loop of the caller's own
// always ends.
class TFakeMessageLoop : public IMessageLoop {
public:
    explicit TFakeMessageLoop(TCallLines& Log) : FLog(Log) {}

    int MaxIdleTurns = 100;
    int IdleTurns = 0;
    std::vector<bool> DoneFlags;   // Done as each idle turn left it

    IApplicationHooks* Hooks() const { return FHooks; }
    void SetHooks(IApplicationHooks* Hooks) override { FHooks = Hooks; }
    void Run() override
    {
        FLog.push_back("loop.Run");
        while (!FTerminated && FHooks && IdleTurns < MaxIdleTurns) {
            if (!Messages.empty()) {
                HandleNextMessage();
                continue;
            }
            bool Done = true;
            ++IdleTurns;
            try {
                FHooks->Idle(Done);
            } catch (...) {
                HandleException();
            }
            DoneFlags.push_back(Done);
            if (AfterIdle) {
                try {
                    AfterIdle(IdleTurns);
                } catch (...) {
                    HandleException();
                }
            }
        }
    }
    // Runs after each idle turn of Run with the turn's number: what the
    // user does once the program is up.
    std::function<void(int Turn)> AfterIdle;
    std::deque<std::function<void()>> Messages;
    // A message's error leaves HandleMessage instead of reaching the hooks.
    bool RethrowFromMessages = false;
    int HandledMessages = 0;
    int HandleTurns = 0;
    void HandleMessage() override
    {
        if (FTerminated)
            return;
        if (++HandleTurns > MaxIdleTurns) {
            FLog.push_back("loop.TooManyTurns");
            Terminate();
            return;
        }
        if (!Messages.empty()) {
            HandleNextMessage();
            return;
        }
        try {
            if (FHooks) {
                bool Done = true;
                ++IdleTurns;
                FHooks->Idle(Done);
                DoneFlags.push_back(Done);
            }
        } catch (...) {
            HandleException();
        }
    }
    void Terminate() override
    {
        FLog.push_back("loop.Terminate");
        FTerminated = true;
    }
    bool Terminated() const override { return FTerminated; }
    void ProcessMessages() override
    {
        FLog.push_back("loop.ProcessMessages");
        if (OnProcessMessages)
            OnProcessMessages();
    }
    // Runs inside ProcessMessages: the messages a wait handles.
    std::function<void()> OnProcessMessages;
    void HandleException() override
    {
        try {
            throw;
        } catch (const std::exception& E) {
            if (FHooks)
                FHooks->Exception(E);
        }
    }

private:
    // A message's handler reports what it raises to the hooks, as a
    // window procedure does.
    void HandleNextMessage()
    {
        const std::function<void()> Message = std::move(Messages.front());
        Messages.pop_front();
        ++HandledMessages;
        try {
            Message();
        } catch (...) {
            if (RethrowFromMessages)
                throw;
            HandleException();
        }
    }

    TCallLines& FLog;
    IApplicationHooks* FHooks = nullptr;
    bool FTerminated = false;
};
