#include <gtest/gtest.h>

#include "scene/TimePro.h"
#include "fakes/FakeClock.h"
#include "fakes/SystemBackends.h"

TEST(TTime, SplitsTheTotalIntoDaysToMilliseconds)
{
    TTime T;
    EXPECT_EQ(T.Milliseconds + T.DayPart + T.MSecPart, 0u);
    T.SetTotal(90061001);
    EXPECT_EQ(T.DayPart, 1u);
    EXPECT_EQ(T.HourPart, 1u);
    EXPECT_EQ(T.MinPart, 1u);
    EXPECT_EQ(T.SecPart, 1u);
    EXPECT_EQ(T.MSecPart, 1u);
    EXPECT_EQ(T.Seconds(), 90061.001L);
    T.SetTotal(0xFFFFFFFFu);   // unsigned throughout
    EXPECT_EQ(T.DayPart, 49u);
    EXPECT_EQ(T.Total(), 4294967295.0L);
    T.Clear();
    EXPECT_EQ(T.Milliseconds + T.DayPart + T.HourPart + T.MinPart + T.SecPart + T.MSecPart, 0u);
}

TEST(TTimerPro, ResolutionRequestFollowsTheSystemsCapabilities)
{
    struct Case {
        bool CapsOk;
        uint32_t Min;
        bool BeginOk;
        uint32_t Period;
        std::vector<uint32_t> Begun;
    };
    const Case Cases[] = {
        {true, 5, true, 5, {5}},
        {true, 0, true, 1, {1}},    // a minimum below 1 still asks for 1 ms
        {false, 0, true, TTimerPro::NoPeriod, {1}},
        {true, 10, false, TTimerPro::NoPeriod, {10, 1}},
    };
    for (const auto& C : Cases) {
        TFakeClock Clock;
        Clock.CapsOk = C.CapsOk;
        Clock.CapsMin = C.Min;
        Clock.BeginOk = C.BeginOk;
        {
            TTimerPro Timer(Clock);
            EXPECT_EQ(Timer.Period(), C.Period);
            EXPECT_EQ(Clock.Begun, C.Begun);
            EXPECT_TRUE(Clock.Ended.empty());
        }
        EXPECT_EQ(Clock.Ended, std::vector<uint32_t>{C.Period}) << "released with the period held";
    }
}

TEST(TTimerPro, StartStopElapsed)
{
    TFakeClock Clock;
    Clock.Time = 1000;
    TTimerPro Timer(Clock);
    Clock.Time = 5000;
    EXPECT_EQ(Timer.Elapsed().Milliseconds, 0u) << "nothing counts before Start";

    Timer.Start();
    Clock.Time = 5250;
    EXPECT_EQ(Timer.Elapsed().Milliseconds, 250u);
    Clock.Time = 5400;
    Timer.Start();   // a second Start does not reset
    EXPECT_EQ(Timer.Elapsed().Milliseconds, 400u);

    Clock.Time = 5500;
    Timer.Stop();    // the time includes everything up to now
    EXPECT_FALSE(Timer.Running());
    Clock.Time = 99999;
    EXPECT_EQ(Timer.Elapsed().Milliseconds, 500u);
    EXPECT_EQ(Timer.Elapsed().Seconds(), 0.5L);

    Timer.Start();   // Stop then Start resets
    EXPECT_EQ(Timer.Elapsed().Milliseconds, 0u);
    Clock.Time += 1;
    EXPECT_EQ(Timer.Elapsed().Milliseconds, 1u);
}

TEST(TTimerPro, WrapAroundCountsAndBackwardStepsAddNothing)
{
    TFakeClock Clock;
    Clock.Time = 0xFFFFFF00u;
    TTimerPro Timer(Clock);
    Timer.Start();
    Clock.Time = 0x00000100u;   // the 49.7-day wrap-around
    EXPECT_EQ(Timer.Elapsed().Milliseconds, 0x200u);

    Clock.Time = 0x00000080u;   // the clock steps back
    EXPECT_EQ(Timer.Elapsed().Milliseconds, 0x200u);
    Clock.Time = 0x00000090u;   // counted from the last reading, not the old high
    EXPECT_EQ(Timer.Elapsed().Milliseconds, 0x210u);
    EXPECT_EQ(Timer.Elapsed().Milliseconds, 0x210u) << "a clock standing still adds nothing";
}

TEST(TTimerPro, RunsOnTheSystemClock)
{
    auto Clock = CreateSystemClock();
    TTimerPro Timer(*Clock);
    EXPECT_NE(Timer.Period(), 0u);
    Timer.Start();
    const uint32_t Start = Clock->Now();
    while (static_cast<uint32_t>(Clock->Now() - Start) < 30) {
    }
    EXPECT_GE(Timer.Elapsed().Milliseconds, 25u);
    EXPECT_LT(Timer.Elapsed().Milliseconds, 60000u);
}
