// Platform seam: the application object as the screen-saver frame and the
// launcher drive it: its title, its message loop and idle hook, its own
// window, and the end of the run.
//
// Windows: implemented by the program's message loop and window classes.
// Tests use a recording fake (tests/fakes/FakeApplicationHost.h).
#pragma once

#include <string>

class IApplicationHost {
public:
    virtual ~IApplicationHost() = default;
    virtual std::string Title() = 0;
    virtual void SetTitle(const std::string& Title) = 0;
    // Route exceptions of the message loop to the frame's exception hook.
    virtual void SetExceptionHook(bool Attached) = 0;
    // Call the frame's idle hook when the message queue runs empty. While
    // it is detached the loop waits for messages and draws nothing.
    virtual void SetIdleHook(bool Attached) = 0;
    // Whether the main form is shown when the loop starts.
    virtual void SetShowMainForm(bool Show) = 0;
    // Ends the message loop at its next turn; Terminated tells whether
    // that was asked.
    virtual void Terminate() = 0;
    virtual bool Terminated() = 0;
    // Handles every message that waits now, then returns.
    virtual void ProcessMessages() = 0;
    // Hides the application's own window (SW_HIDE).
    virtual void HideWindow() = 0;
    // Gives the application's window the tool-window style
    // (WS_EX_TOOLWINDOW): the process shows no taskbar button.
    virtual void SetToolWindowStyle() = 0;
};
