// The application object, recording what the frame asks of it. A test can
// run code inside ProcessMessages (messages handled while waiting).
#pragma once

#include <functional>
#include <string>

#include "fakes/CallLog.h"
#include "platform/AppHost.h"

class TFakeApplicationHost : public IApplicationHost {
public:
    explicit TFakeApplicationHost(TCallLog& Log) : FLog(Log) {}

    std::string AppTitle;
    bool IsTerminated = false;
    bool IdleHook = false;
    bool ShowMainForm = true;
    std::function<void()> OnProcessMessages;

    std::string Title() override { return AppTitle; }
    void SetTitle(const std::string& Title) override
    {
        FLog.Add("App.SetTitle(" + Title + ")");
        AppTitle = Title;
    }
    void SetExceptionHook(bool Attached) override { FLog.Add(std::string("App.SetExceptionHook(") + (Attached ? "1" : "0") + ")"); }
    void SetIdleHook(bool Attached) override
    {
        IdleHook = Attached;
        FLog.Add(std::string("App.SetIdleHook(") + (Attached ? "1" : "0") + ")");
    }
    void SetShowMainForm(bool Show) override
    {
        ShowMainForm = Show;
        FLog.Add(std::string("App.SetShowMainForm(") + (Show ? "1" : "0") + ")");
    }
    void Terminate() override
    {
        IsTerminated = true;
        FLog.Add("App.Terminate");
    }
    bool Terminated() override { return IsTerminated; }
    void ProcessMessages() override
    {
        FLog.Add("App.ProcessMessages");
        if (OnProcessMessages)
            OnProcessMessages();
    }
    void HideWindow() override { FLog.Add("App.HideWindow"); }
    void SetToolWindowStyle() override { FLog.Add("App.SetToolWindowStyle"); }

private:
    TCallLog& FLog;
};
