// Platform seam: the program's message loop and the two hooks it reports
// to, as a form-based program's application object has them.
//
// Windows: PeekMessage / TranslateMessage / DispatchMessage, WaitMessage
// when the idle hook is done, PostQuitMessage to end. Every window
// procedure of the Windows backend catches what its handlers raise and
// hands it to HandleException, so no exception crosses the system's
// frames. Tests use a fake (tests/fakes/FakeWindowing.h).
#pragma once

#include <exception>
#include <memory>

class IApplicationHooks {
public:
    virtual ~IApplicationHooks() = default;
    // Runs whenever the message queue is empty. Done starts out true;
    // left false, the hook runs again at once (frames back to back); left
    // true, the loop first waits for the next message.
    virtual void Idle(bool& Done) = 0;
    // An exception raised by the idle hook or by a window's handler.
    virtual void Exception(const std::exception& E) = 0;
};

class IMessageLoop {
public:
    virtual ~IMessageLoop() = default;
    // The hooks the loop and every window report to; null: none (an
    // exception is then dropped). Borrowed: they must outlive their use.
    virtual void SetHooks(IApplicationHooks* Hooks) = 0;
    // Handles messages and runs the idle hook until Terminate.
    virtual void Run() = 0;
    // Ends Run once the message being handled returns; also wakes a loop
    // that waits for a message. Run returns at once when called before.
    virtual void Terminate() = 0;
    virtual bool Terminated() const = 0;
    // One turn of Run, for a loop of the caller's own (a modal run inside
    // a handler): handles the next message when one waits; otherwise runs
    // the idle hook and, when it is done, waits until a message arrives
    // (without handling it). Returns at once once terminated.
    virtual void HandleMessage() = 0;
    // Handles every message waiting now (no idle turn), then returns; a
    // quit message among them terminates the loop.
    virtual void ProcessMessages() = 0;
    // To be called inside a catch block: hands the exception in flight to
    // the hooks' Exception (anything that is not a std::exception arrives
    // as an error with a general message). Never raises.
    virtual void HandleException() = 0;
};
