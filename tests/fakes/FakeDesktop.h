// A desktop with a set of existing windows, recording cursor and flag calls.
#pragma once

#include <map>
#include <string>

#include "fakes/CallLog.h"
#include "platform/Desktop.h"

class TFakeDesktop : public IDesktop {
public:
    explicit TFakeDesktop(TCallLog& Log) : FLog(Log) {}

    TWindowHandle Foreground = 0;
    std::map<TWindowHandle, TWindowRect> Windows;   // existing windows and their client areas
    int CursorCounter = 0;                          // the system's display counter

    TWindowHandle ForegroundWindow() override
    {
        FLog.Add("Desktop.ForegroundWindow");
        return Foreground;
    }
    bool IsWindow(TWindowHandle Window) override { return Windows.count(Window) != 0; }
    bool ClientRect(TWindowHandle Window, TWindowRect& Rect) override
    {
        const auto It = Windows.find(Window);
        if (It == Windows.end())
            return false;
        Rect = It->second;
        return true;
    }
    void ShowCursor(bool Show) override
    {
        CursorCounter += Show ? 1 : -1;
        FLog.Add(std::string("Desktop.ShowCursor(") + (Show ? "1" : "0") + ")");
    }
    void SetScreenSaverRunning(bool Running) override
    {
        FLog.Add(std::string("Desktop.SetScreenSaverRunning(") + (Running ? "1" : "0") + ")");
    }

private:
    TCallLog& FLog;
};
