// The main form's window, recording what is done to it.
#pragma once

#include <string>

#include "fakes/CallLog.h"
#include "platform/MainFormWindow.h"

class TFakeMainFormWindow : public IMainFormWindow {
public:
    explicit TFakeMainFormWindow(TCallLog& Log) : FLog(Log) {}

    int FormWidth = 480, FormHeight = 360;

    int Width() override { return FormWidth; }
    int Height() override { return FormHeight; }
    void SetBounds(int Left, int Top, int Width, int Height) override
    {
        FLog.Add("Form.SetBounds(" + std::to_string(Left) + "," + std::to_string(Top) + "," + std::to_string(Width) +
                 "," + std::to_string(Height) + ")");
    }
    void SetParentWindow(TWindowHandle Parent) override { FLog.Add("Form.SetParentWindow(" + std::to_string(Parent) + ")"); }
    void SetPlainSurface() override { FLog.Add("Form.SetPlainSurface"); }
    void DetachHandlers() override { FLog.Add("Form.DetachHandlers"); }
    void Hide() override { FLog.Add("Form.Hide"); }
    void Close() override { FLog.Add("Form.Close"); }

private:
    TCallLog& FLog;
};
