// The message loop of the thread that runs the program.
#include <windows.h>

#include <stdexcept>

#include "platform/MessageLoop.h"

namespace {

class TWin32MessageLoop final : public IMessageLoop {
public:
    void SetHooks(IApplicationHooks* Hooks) override { FHooks = Hooks; }

    void Run() override
    {
        while (!FTerminated) {
            MSG Msg;
            if (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
                if (Msg.message == WM_QUIT) {
                    FTerminated = true;
                    break;
                }
                TranslateMessage(&Msg);
                DispatchMessageW(&Msg);
                continue;
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
    }

    void ProcessMessages() override
    {
        MSG Msg;
        while (!FTerminated && PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
            if (Msg.message == WM_QUIT) {
                FTerminated = true;
                break;
            }
            TranslateMessage(&Msg);
            DispatchMessageW(&Msg);
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
