// An event window that hands out a scripted list of events, a few per
// frame, and counts the frames drawn on it.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/EventWindow.h"

class TFakeEventWindow final : public IEventWindow {
public:
    // Events[i] are delivered before frame i (frame 0 is the first).
    std::vector<std::vector<TWindowEvent>> EventsBeforeFrame;
    int Frames = 0;   // counted by the test's RenderFrame
    std::string Title;
    int W = 320, H = 240;
    TGLDeviceContext Device = nullptr;   // what DC() hands out

    int Width() const override { return W; }
    int Height() const override { return H; }
    TGLDeviceContext DC() const override { return Device; }
    bool PollEvent(TWindowEvent& Event) override
    {
        if (Frames != FPolledFrame) {
            FPolledFrame = Frames;
            FPending.clear();
            if (static_cast<std::size_t>(Frames) < EventsBeforeFrame.size())
                FPending.assign(EventsBeforeFrame[Frames].begin(), EventsBeforeFrame[Frames].end());
        }
        if (FPending.empty())
            return false;
        Event = FPending.front();
        FPending.pop_front();
        return true;
    }
    void SetTitle(const std::string& Value) override { Title = Value; }
    bool SetSwapInterval(int) override { return true; }

private:
    int FPolledFrame = -1;
    std::deque<TWindowEvent> FPending;
};
