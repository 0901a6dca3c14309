#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "fakes/ErrorOf.h"
#include "gl/Errors.h"
#include "model/AnimClasses.h"

namespace {

struct TCall {
    long double T1, T2, Fraction;
};

// Records every Interpolate call by the times of its keys.
class TRecordingAnimation : public TKeyAnimation {
public:
    std::vector<TCall> Calls;
    void Interpolate(const TAnimationKey& K1, const TAnimationKey& K2, long double Fraction) override
    {
        Calls.push_back({K1.Time, K2.Time, Fraction});
    }
    void AddKeys(std::initializer_list<long double> Times)
    {
        for (long double T : Times)
            Add(std::make_unique<TAnimationKey>(), T);
    }
    std::vector<long double> Times() const
    {
        std::vector<long double> R;
        for (int32_t I = 0; I < KeyCount(); ++I)
            R.push_back(GetKey(I).Time);
        return R;
    }
};

// Eleven keys 0.0, 0.2, ... 2.0 as the wave frame list has them.
void AddWaveKeys(TRecordingAnimation& A)
{
    for (int I = 0; I <= 10; ++I)
        A.Add(std::make_unique<TAnimationKey>(), I / 5.0L);
}

}   // namespace

TEST(TKeyAnimation, NewAnimationWaitsForStart)
{
    TRecordingAnimation A;
    AddWaveKeys(A);
    EXPECT_TRUE(A.Stopped);
    EXPECT_EQ(A.CurrentTime, -1);
    A.Update(1.0L);
    EXPECT_TRUE(A.Calls.empty());
    A.Start(10);
    A.Update(10);   // local time 0 differs from -1: the first update applies
    ASSERT_EQ(A.Calls.size(), 1u);
    EXPECT_EQ(A.Calls[0].T1, 0);
    EXPECT_EQ(A.Calls[0].T2, 0.2L);
    EXPECT_EQ(A.Calls[0].Fraction, 0);
}

TEST(TKeyAnimation, KeyRangeFollowsTheKeys)
{
    TRecordingAnimation A;
    AddWaveKeys(A);
    EXPECT_EQ(A.FirstTime, 0);
    EXPECT_EQ(A.LastTime, 2.0L);
    TRecordingAnimation B;
    B.AddKeys({5});   // the first key leaves the range at 0..0
    EXPECT_EQ(B.FirstTime, 0);
    EXPECT_EQ(B.LastTime, 0);
    B.AddKeys({7, 6});
    EXPECT_EQ(B.LastTime, 7);
    EXPECT_EQ(B.Times(), (std::vector<long double>{5, 6, 7}));
}

TEST(TKeyAnimation, LoopingWrapsTheLocalTime)
{
    TRecordingAnimation A;
    AddWaveKeys(A);
    A.Loop = true;
    A.Start(100);
    A.Update(102.5L);
    ASSERT_EQ(A.Calls.size(), 1u);
    EXPECT_NEAR(static_cast<double>(A.CurrentTime), 0.5, 1e-12);
    EXPECT_EQ(A.Calls[0].T1, 0.4L);
    EXPECT_EQ(A.Calls[0].T2, 0.6L);
    EXPECT_NEAR(static_cast<double>(A.Calls[0].Fraction), 0.5, 1e-9);
    A.Update(102.5L);   // same local time: applied once
    EXPECT_EQ(A.Calls.size(), 1u);
    A.Update(99);   // before the start: local time 0
    ASSERT_EQ(A.Calls.size(), 2u);
    EXPECT_EQ(A.CurrentTime, 0);
    A.Update(1e6L);
    EXPECT_FALSE(A.Stopped) << "a looping animation never stops";
}

TEST(TKeyAnimation, PlaysOnceThenHoldsTheLastKey)
{
    TRecordingAnimation A;
    AddWaveKeys(A);
    A.Start(0);
    A.Update(1.1L);
    EXPECT_FALSE(A.Stopped);
    A.Update(3.0L);
    EXPECT_TRUE(A.Stopped);
    ASSERT_EQ(A.Calls.size(), 2u);
    EXPECT_EQ(A.Calls[1].T1, 2.0L);
    EXPECT_EQ(A.Calls[1].T2, 2.0L);
    EXPECT_EQ(A.Calls[1].Fraction, 0);
    A.Update(4.0L);
    EXPECT_EQ(A.Calls.size(), 2u) << "stopped until the next Start";
    A.Start(10);
    A.Update(10.3L);
    EXPECT_EQ(A.Calls.size(), 3u);
}

// A loop over a key range of zero length applies nothing and makes no NaN.
TEST(TKeyAnimation, ZeroLengthLoopAppliesNothing)
{
    for (auto Keys : {std::vector<long double>{0}, std::vector<long double>{0, 0, 0}}) {
        TRecordingAnimation A;
        for (long double T : Keys)
            A.Add(std::make_unique<TAnimationKey>(), T);
        A.Loop = true;
        A.Start(0);
        for (long double Clock : {0.0L, 0.5L, 3.0L})
            A.Update(Clock);
        EXPECT_TRUE(A.Calls.empty());
        EXPECT_EQ(A.CurrentTime, -1);
        EXPECT_FALSE(std::isnan(A.CurrentTime));
    }
    // Without Loop the single key is applied once and the animation stops.
    TRecordingAnimation B;
    B.AddKeys({0});
    B.Start(0);
    B.Update(1);
    ASSERT_EQ(B.Calls.size(), 1u);
    EXPECT_TRUE(B.Stopped);
}

TEST(TKeyAnimation, UpdateWithoutKeysDoesNothing)
{
    TRecordingAnimation A;
    A.Start(0);
    A.Update(1);
    EXPECT_EQ(A.CurrentTime, -1);
    EXPECT_FALSE(A.Stopped);
}

TEST(TKeyAnimation, IndexByTime)
{
    TRecordingAnimation A;
    EXPECT_EQ(ErrorOf([&] { A.IndexByTime(0); }), "TKeyAnimation IndexByTime is failed\r\nKeyCount is Zero!");
    A.AddKeys({0, 1, 1, 2});
    const struct {
        long double T;
        int32_t Index;
    } Cases[] = {{1, 1}, {1.5L, 2}, {5, 3}, {-1, 0}, {0, 0}, {0.5L, 0}, {2, 3}, {NAN, 0}};
    for (const auto& C : Cases)
        EXPECT_EQ(A.IndexByTime(C.T), C.Index) << static_cast<double>(C.T);
    TRecordingAnimation One;
    One.AddKeys({3});
    EXPECT_EQ(One.IndexByTime(1), 0);
    EXPECT_EQ(One.IndexByTime(4), 0);
}

TEST(TKeyAnimation, AddKeepsKeysInTimeOrder)
{
    TRecordingAnimation A;
    A.AddKeys({0, 1, 2});
    auto Key = std::make_unique<TAnimationKey>();
    TAnimationKey* Same = Key.get();
    EXPECT_EQ(A.Add(std::move(Key), 1), Same);
    EXPECT_EQ(&A.GetKey(2), Same) << "directly after the first key of equal time";
    // A key before the first one goes first, not second.
    A.AddKeys({-1});
    EXPECT_EQ(A.Times(), (std::vector<long double>{-1, 0, 1, 1, 2}));
    EXPECT_EQ(A.FirstTime, -1);
    EXPECT_EQ(ErrorOf([&] { A.Add(nullptr, 3); }), "TKeyAnimation.Add error: Key is NIL!");
    EXPECT_EQ(A.KeyCount(), 5);
}

TEST(TKeyAnimation, DeleteAndGetKeyPrefixTheirFailures)
{
    TRecordingAnimation A;
    A.AddKeys({0, 1, 2});
    EXPECT_EQ(ErrorOf([&] { A.GetKey(3); }), "TKeyAnimation GetKey is failed!\r\nList index out of bounds (3)");
    EXPECT_EQ(ErrorOf([&] { A.Delete(-1); }),
              "TKeyAnimation Delete is failed!\r\nTKeyAnimation GetKey is failed!\r\nList index out of bounds (-1)");
    EXPECT_EQ(A.Times(), (std::vector<long double>{0, 1, 2})) << "keys unchanged after a failed Delete";
    A.Delete(1);
    EXPECT_EQ(A.Times(), (std::vector<long double>{0, 2}));
}

TEST(TKeyAnimation, ApplyWithEqualKeyTimesUsesOneKey)
{
    TRecordingAnimation A;
    A.AddKeys({0, 1, 1, 2});
    A.Start(0);
    A.Update(1);   // index 1; its successor has the same time: gap 0
    ASSERT_EQ(A.Calls.size(), 1u);
    EXPECT_EQ(A.Calls[0].T1, 1);
    EXPECT_EQ(A.Calls[0].T2, 1);
    EXPECT_EQ(A.Calls[0].Fraction, 0);
    A.Update(0.25L);
    EXPECT_EQ(A.Calls[1].T2, 1);
    EXPECT_EQ(A.Calls[1].Fraction, 0.25L);
}

TEST(TAnimationList, DrivesEveryAnimationWithOneClock)
{
    TAnimationList L;
    auto* A = static_cast<TRecordingAnimation*>(L.Add(std::make_unique<TRecordingAnimation>()));
    auto* B = static_cast<TRecordingAnimation*>(L.Add(std::make_unique<TRecordingAnimation>()));
    A->AddKeys({0, 1});
    B->AddKeys({0, 2});
    EXPECT_EQ(L.Count(), 2);
    EXPECT_EQ(&L.Items(1), B);
    EXPECT_THROW(L.Items(2), EGlimmoraError);
    EXPECT_THROW(L.Add(nullptr), EGlimmoraError);
    L.Start(5);
    L.Update(5.5L);
    EXPECT_EQ(L.Time, 5.5L);
    ASSERT_EQ(A->Calls.size(), 1u);
    ASSERT_EQ(B->Calls.size(), 1u);
    EXPECT_EQ(A->Calls[0].Fraction, 0.5L);
    EXPECT_EQ(B->Calls[0].Fraction, 0.25L);
    L.Clear();
    EXPECT_EQ(L.Count(), 0);
}
