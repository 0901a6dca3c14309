// The message loop of the thread that runs the program.
#include <windows.h>

#include <stdexcept>

#include "platform/win32/Win32Backends.h"

namespace {

class TWin32MessageLoop final : public IMessageLoop {
public:
    void SetHooks(IApplicationHooks* Hooks) override { FHooks = Hooks; }

    void Run() override
    {
        while (!FTerminated)
            HandleMessage();
    }

    void HandleMessage() override
    {
        if (FTerminated)
            return;
        MSG Msg;
        if (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
            if (Msg.message == WM_QUIT)
                FTerminated = true;
            else
                Dispatch(Msg);
            return;
        }
        bool Done = true;
        if (FHooks) {
            try {
                FHooks->Idle(Done);
            } catch (...) {
                HandleException();
            }
        }
        if (Done && !FTerminated)
            WaitMessage();
    }

    void ProcessMessages() override
    {
        MSG Msg;
        while (!FTerminated && PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
            if (Msg.message == WM_QUIT) {
                FTerminated = true;
                break;
            }
            Dispatch(Msg);
        }
    }

    void Terminate() override
    {
        if (!FTerminated)
            PostQuitMessage(0);
        FTerminated = true;
    }

    bool Terminated() const override { return FTerminated; }

    void HandleException() override
    {
        try {
            throw;
        } catch (const std::exception& E) {
            Report(E);
        } catch (...) {
            Report(std::runtime_error("Unknown exception."));
        }
    }

private:
    // Dialog windows (a top-level window with WS_EX_CONTROLPARENT) get the
    // dialog keys: Tab and the arrows between controls, Enter for the
    // default button, Escape as IDCANCEL.
    static void Dispatch(MSG& Msg)
    {
        if (Msg.hwnd) {
            HWND Top = GetAncestor(Msg.hwnd, GA_ROOT);
            if (Top && (GetWindowLongW(Top, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && IsDialogMessageW(Top, &Msg))
                return;
        }
        TranslateMessage(&Msg);
        DispatchMessageW(&Msg);
    }

    void Report(const std::exception& E)
    {
        if (!FHooks)
            return;
        try {
            FHooks->Exception(E);
        } catch (...) {
            // Nothing may leave a window procedure; the hook's own failure
            // has nowhere else to go.
        }
    }

    IApplicationHooks* FHooks = nullptr;
    bool FTerminated = false;
};

} // namespace

std::unique_ptr<IMessageLoop> CreateMessageLoop() { return std::make_unique<TWin32MessageLoop>(); }
