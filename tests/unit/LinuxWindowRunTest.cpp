#include <gtest/gtest.h>

#include <vector>

#include "app/linux/LinuxWindowRun.h"
#include "fakes/FakeEventWindow.h"
#include "gl/Errors.h"

namespace {

TWindowEvent Move(int X, int Y) { return {wePointerMove, X, Y, false}; }
TWindowEvent Key(bool Escape = false) { return {weKey, 0, 0, Escape}; }
TWindowEvent Button() { return {weButton, 1, 1, false}; }
TWindowEvent Close() { return {weClose, 0, 0, false}; }

// Runs the loop on Window with a clock that the sleeps move; at most
// FrameLimit frames, after which a stop is requested.
struct TLoopRun {
    int64_t Now = 0;
    std::vector<int64_t> Sleeps;
    int FrameLimit = 100;

    TWindowRunEnd Run(TFakeEventWindow& Window, TWindowLoopSettings Settings, int64_t FrameCost = 0)
    {
        TWindowLoopServices S;
        S.RenderFrame = [&] {
            ++Window.Frames;
            Now += FrameCost;
        };
        S.StopRequested = [&] { return Window.Frames >= FrameLimit; };
        S.NowMicroseconds = [&] { return Now; };
        S.SleepMicroseconds = [&](int64_t Us) {
            Sleeps.push_back(Us);
            Now += Us;
        };
        return RunWindowLoop(Window, Settings, S);
    }
};

} // namespace

TEST(LinuxWindowRun, WhatEndsARunInEachMode)
{
    struct TCase {
        TWindowRunMode Mode;
        std::vector<TWindowEvent> Events;
        TWindowRunEnd End;
    };
    const TCase Cases[] = {
        {wmWindow, {Key(true)}, reEscape},
        {wmWindow, {Key(), Button(), Move(0, 0), Move(100, 100), Move(200, 200)}, reSignal},
        {wmWindow, {Close()}, reClosed},
        {wmFullScreen, {Key()}, reInput},
        {wmFullScreen, {Button()}, reInput},
        {wmFullScreen, {Close()}, reClosed},
        {wmForeign, {Key(true), Button(), Move(0, 0), Move(50, 50), Move(99, 99)}, reSignal},
        {wmForeign, {Close()}, reClosed},
    };
    for (const TCase& C : Cases) {
        TFakeEventWindow W;
        W.EventsBeforeFrame = {{}, C.Events};
        TLoopRun R;
        R.FrameLimit = 5;
        EXPECT_EQ(R.Run(W, {C.Mode, 0, 0}), C.End) << C.Mode;
        // The frame before the events is drawn; none after the end.
        EXPECT_EQ(W.Frames, C.End == reSignal ? 5 : 1) << C.Mode;
    }
}

TEST(LinuxWindowRun, FullScreenMovesFollowTheMouseFilter)
{
    TFakeEventWindow W;
    // Five small moves, a reference, a long move along one axis, then 3 x 3.
    W.EventsBeforeFrame = {{Move(1, 1), Move(2, 2), Move(3, 3), Move(4, 4), Move(5, 5)},
                           {Move(100, 100)},
                           {Move(110, 100), Move(100, 130)},
                           {Move(102, 102)},
                           {Move(103, 103)}};
    TLoopRun R;
    EXPECT_EQ(R.Run(W, {wmFullScreen, 0, 0}), reInput);
    EXPECT_EQ(W.Frames, 4);   // ended before the fifth frame
}

TEST(LinuxWindowRun, MaxFpsSpacesFrameStarts)
{
    TFakeEventWindow W;
    TLoopRun R;
    R.FrameLimit = 4;
    EXPECT_EQ(R.Run(W, {wmWindow, 50, 0}, 5000), reSignal);
    // 20 ms a frame, 5 of them drawing: 15 ms of sleep each.
    EXPECT_EQ(R.Sleeps, (std::vector<int64_t>{15000, 15000, 15000, 15000}));
}

// Swaps meant to wait for a 60 Hz display: where they do, nothing is added;
// where they return at once (2 ms frames), the frames after the first
// measured stretch are capped to 60 a second.
TEST(LinuxWindowRun, FramesFasterThanTheRefreshAreCappedToIt)
{
    for (const int64_t FrameCost : {int64_t(16667), int64_t(2000)}) {
        SCOPED_TRACE(FrameCost);
        TFakeEventWindow W;
        TLoopRun R;
        R.FrameLimit = 3 * RefreshCheckFrames;
        TWindowLoopSettings S{wmWindow, 0, 0};
        S.RefreshFps = 60;
        R.Run(W, S, FrameCost);
        if (FrameCost > 16000) {
            EXPECT_TRUE(R.Sleeps.empty());
        } else {
            // No sleep in the first stretch; after every later frame the
            // rest of a sixtieth of a second.
            ASSERT_EQ(R.Sleeps.size(), 2u * RefreshCheckFrames + 1);
            for (std::size_t i = 1; i < R.Sleeps.size(); ++i)
                ASSERT_EQ(R.Sleeps[i], 1000000 / 60 - FrameCost) << i;
        }
    }
    // A cap of the user's own stands, and --max-fps 0 leaves frames unpaced.
    TFakeEventWindow W;
    TLoopRun R;
    R.FrameLimit = 2 * RefreshCheckFrames;
    R.Run(W, {wmWindow, 0, 0}, 2000);
    EXPECT_TRUE(R.Sleeps.empty());
}

TEST(LinuxWindowRun, DelayPausesAfterEveryFrame)
{
    TFakeEventWindow W;
    TLoopRun R;
    R.FrameLimit = 3;
    R.Run(W, {wmForeign, 0, 20000}, 1000);
    EXPECT_EQ(R.Sleeps, (std::vector<int64_t>{20000, 20000, 20000}));
}

TEST(LinuxWindowRun, FramePauseDoesNotCatchUpWhenLate)
{
    int64_t Next = 0;
    EXPECT_EQ(FramePause(0, 123, Next), 0);   // uncapped
    EXPECT_EQ(Next, 0);
    EXPECT_EQ(FramePause(100, 4000, Next), 6000);
    EXPECT_EQ(Next, 10000);
    EXPECT_EQ(FramePause(100, 35000, Next), 0);   // a slow frame
    EXPECT_EQ(Next, 35000);
    EXPECT_EQ(FramePause(100, 36000, Next), 9000);
}

// A window destroyed by another client fails the frame drawn on it; the
// window then reports itself closed and the run ends as closed. A frame
// that fails on a window still there passes its error on.
TEST(LinuxWindowRun, AFrameThatFailsOnAClosedWindowEndsTheRunAsClosed)
{
    for (const bool Gone : {true, false}) {
        TFakeEventWindow W;
        W.EventsBeforeFrame = {{}, {}, Gone ? std::vector<TWindowEvent>{Move(1, 1), Close()} : std::vector<TWindowEvent>{}};
        TWindowLoopServices S;
        S.RenderFrame = [&] {
            if (++W.Frames == 2)
                throw EGlimmoraError("OpenGL error: There is not enough memory left to execute the function!");
        };
        S.StopRequested = [] { return false; };
        S.NowMicroseconds = [] { return int64_t(0); };
        S.SleepMicroseconds = [](int64_t) {};
        if (Gone) {
            EXPECT_EQ(RunWindowLoop(W, {wmWindow, 0, 0}, S), reClosed);
        } else {
            EXPECT_THROW(RunWindowLoop(W, {wmWindow, 0, 0}, S), EGlimmoraError);
        }
        EXPECT_EQ(W.Frames, 2);
    }
}
