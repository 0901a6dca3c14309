#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "effects/Effects.h"
#include "fakes/FakeAspect.h"
#include "fakes/FakeRandom.h"

namespace {

constexpr float HalfHeightPerDepth = 0.76732698f;   // tan(37.5 degrees)

TParticle Spawned(TParticles& E)
{
    TParticle P{};
    E.Spawn(P);
    return P;
}

bool AllFinite(const TParticle& P)
{
    for (const TGLVector& V : {P.Position, P.Rotation, P.Velocity, P.Spin})
        if (!std::isfinite(V.X) || !std::isfinite(V.Y) || !std::isfinite(V.Z))
            return false;
    return std::isfinite(P.Life) && std::isfinite(P.Age);
}

}   // namespace

TEST(Effects, ViewHalfHeight)
{
    EXPECT_NEAR(static_cast<double>(ViewHalfHeight(75, 1200)), 920.79, 0.01);
    EXPECT_NEAR(static_cast<double>(ViewHalfHeight(75, 7000)), 5371.29, 0.01);
    EXPECT_NEAR(static_cast<double>(ViewHalfHeight(90, 10)), 10, 1e-5);
}

TEST(TBubles, LifeEndsAtTheTopOfTheViewOrTheWater)
{
    struct Case {
        double RDepth, RSpeed;
        float Z, Life;
    };
    const Case Cases[] = {
        {0, 0, -1200, 39.2079f},   // (3000 + 920.79) / 100
        {1, 0, -7000, 80},         // half height 5371.29 is above the water: (3000 + 5000) / 100
        {0, 1, -1200, 7.84158f},   // rising at 500
    };
    for (const Case& C : Cases) {
        TFakeRandom R;
        TFakeAspect A;
        TBubles B(R, A);
        R.Values = {C.RDepth, 0.5, C.RSpeed};
        const TParticle P = Spawned(B);
        EXPECT_FLOAT_EQ(P.Position.Z, C.Z);
        EXPECT_FLOAT_EQ(P.Position.Y, -3000);
        EXPECT_FLOAT_EQ(P.Position.X, 0);
        EXPECT_NEAR(P.Life, C.Life, 1e-3);
        EXPECT_FLOAT_EQ(P.Velocity.Y, C.RSpeed == 0 ? 100 : 500);
        EXPECT_EQ(P.Velocity.X, 0);
        EXPECT_EQ(P.Velocity.Z, 0);
        EXPECT_EQ(P.Spin.X + P.Spin.Y + P.Spin.Z, 0);
        EXPECT_EQ(P.Age, 0);
        EXPECT_TRUE(R.Values.empty());
    }
}

// The spawn width follows the window's shape, read at spawn time.
TEST(Effects, SpawnWidthFollowsTheAspect)
{
    TFakeRandom R;
    TFakeAspect A;
    TBubles B(R, A);
    TImmersion I(R, A);
    const float H = 920.79f;
    for (float Aspect : {1.0f, 2.0f}) {
        A.Value = Aspect;
        R.Values = {0, 0.0, 0};   // left edge
        EXPECT_NEAR(Spawned(B).Position.X, -H * Aspect, 0.05);
        R.Values = {0, 0.75, 0};
        R.Ints = {0, 0, 0};
        EXPECT_NEAR(Spawned(I).Position.X, 0.5 * H * Aspect, 0.05);
    }
}

TEST(TFountain, LaunchesFromTheBottomEdge)
{
    struct Case {
        double S, RX, RZ;
        float VY, Life, Spin;
    };
    const Case Cases[] = {
        {0, 0.5, 0.5, 280, 17.5f, 40},
        {0.5, 1, 0, 480, 30, 60},
        {0.999999, 0.25, 0.75, 680, 42.5f, 80},
    };
    for (const Case& C : Cases) {
        TFakeRandom R;
        TFakeAspect A;
        TFountain F(R, A);
        F.Gravity = 2 * 400 * 400 / 10000.0f;
        F.UseGravity = true;
        R.Values = {C.S, C.RX, C.RZ};
        R.Ints = {179, 29, 7};
        const TParticle P = Spawned(F);
        EXPECT_FLOAT_EQ(P.Position.X, 0);
        EXPECT_NEAR(P.Position.Y, -1918.32, 0.01);
        EXPECT_FLOAT_EQ(P.Position.Z, -2500);
        EXPECT_NEAR(P.Velocity.Y, C.VY, 1e-3);
        EXPECT_NEAR(P.Life, C.Life, 1e-4);
        EXPECT_NEAR(P.Velocity.X, (C.RX - 0.5) * 10000 / P.Life, 1e-3);
        EXPECT_NEAR(P.Velocity.Z, (C.RZ - 0.5) * 10000 / P.Life, 1e-3);
        EXPECT_NEAR(P.Spin.X, C.Spin, 1e-3);
        EXPECT_EQ(P.Rotation.X, 179);
        EXPECT_EQ(P.Rotation.Y, 29);
        EXPECT_EQ(P.Rotation.Z, 7);
        EXPECT_EQ(R.IntRanges, (std::vector<int32_t>{180, 30, 30}));
    }
}

// Thrown up and pulled down by the scene's gravity, a bill is back at its
// start height when its life ends.
TEST(TFountain, FlightReturnsToTheStartHeight)
{
    TRandomGenerator R(42);
    TFakeAspect A;
    TFountain F(R, A);
    F.Gravity = 32;
    F.UseGravity = true;
    F.SetCount(1);
    const TParticle Start = F.Particles[0];
    const int Steps = 1000;
    const float DT = Start.Life / Steps;
    for (int I = 0; I < Steps - 1; ++I)   // the last step would respawn it
        F.Update(DT);
    ASSERT_GT(F.Particles[0].Age, 0) << "not respawned";
    const float Apex = Start.Velocity.Y * Start.Velocity.Y / (2 * F.Gravity);
    ASSERT_GT(Apex, 1000);
    // One step short of the end, within the error of the frame steps.
    const float Tolerance = 2 * Start.Velocity.Y * DT + F.Gravity * Start.Life * DT;
    EXPECT_NEAR(F.Particles[0].Position.Y, Start.Position.Y, Tolerance);
    EXPECT_NEAR(F.Particles[0].Velocity.Y, -Start.Velocity.Y, 2 * F.Gravity * DT);
}

TEST(TFountain, WithoutGravityEveryBillLivesFiveSeconds)
{
    TFakeRandom R;
    TFakeAspect A;
    TFountain F(R, A);
    R.Values = {0.3, 0.9, 0.1};
    R.Ints = {1, 2, 3};
    const TParticle P = Spawned(F);
    EXPECT_EQ(P.Life, 5);
    EXPECT_NEAR(P.Velocity.X, 0.4 * 10000 / 5, 1e-2);
}

TEST(TImmersion, SinksFromAboveTheViewToBelowIt)
{
    struct Case {
        double RDepth, S;
        float StartY, Life, VY;
    };
    const Case Cases[] = {
        {0, 0, 1620.79f, 32.4158f, -100},   // 2 x (920.79 + 700) / 100
        {1, 0, 5700, 94, -100},             // held by the water (5000) and the bottom (-3000)
        {0, 1, 1620.79f, 8.10395f, -400},
    };
    for (const Case& C : Cases) {
        TFakeRandom R;
        TFakeAspect A;
        TImmersion I(R, A);
        R.Values = {C.RDepth, 0.5, C.S};
        R.Ints = {10, 20, 5};
        const TParticle P = Spawned(I);
        EXPECT_NEAR(P.Position.Y, C.StartY, 0.01);
        EXPECT_NEAR(P.Life, C.Life, 1e-3);
        EXPECT_FLOAT_EQ(P.Velocity.Y, C.VY);
        EXPECT_NEAR(P.Spin.X, 40 + 40 * C.S, 1e-4);
        EXPECT_EQ(P.Rotation.X, 10);
        EXPECT_EQ(P.Rotation.Y, 20);
        EXPECT_EQ(P.Rotation.Z, 5);
        EXPECT_FLOAT_EQ(P.Position.X, 0);
    }
}

TEST(TFish, AtTheMiddleDepthSwimsStraightAcross)
{
    TFakeRandom R;
    TFakeAspect A;
    TFish F(R, A);
    R.Values = {0.5, 0.5, 0.5};   // depth 5250 (the middle), speed 350, height 1000
    const TParticle P = Spawned(F);
    EXPECT_FLOAT_EQ(P.Position.Z, -5250);
    EXPECT_FLOAT_EQ(P.Position.Y, 1000);
    EXPECT_EQ(P.Rotation.X, 0);
    EXPECT_EQ(P.Rotation.Y, 0);
    EXPECT_EQ(P.Rotation.Z, 0);
    EXPECT_FLOAT_EQ(P.Velocity.X, 350);
    EXPECT_EQ(P.Velocity.Y, 0);
    EXPECT_EQ(P.Velocity.Z, 0);
    const float W = HalfHeightPerDepth * 5250;
    EXPECT_NEAR(P.Position.X, -1 - W - 700, 0.05);
    EXPECT_NEAR(P.Life, (2 + 2 * W + 1400) / 350, 1e-3);
}

// Every fish starts beyond the left edge of the view and ends its life
// beyond the right edge, heading toward the middle depth.
TEST(TFish, PathRunsFromBeyondTheLeftEdgeToBeyondTheRightEdge)
{
    for (float Aspect : {1.0f, 1.333f, 2.0f}) {
        for (double RDepth : {0.0, 0.2, 0.9}) {
            for (double RHeight : {0.0, 0.6, 1.0}) {
                TFakeRandom R;
                TFakeAspect A;
                A.Value = Aspect;
                TFish F(R, A);
                R.Values = {RDepth, 0.25, RHeight};   // speed 275
                const TParticle P = Spawned(F);
                // Each end, taken back along the heading by the margin, lies
                // one unit beyond the edge of the view at its depth.
                const float Speed = std::hypot(P.Velocity.X, P.Velocity.Z);
                EXPECT_FLOAT_EQ(Speed, 275);
                const float CosA = P.Velocity.X / Speed, SinA = P.Velocity.Z / Speed;
                const float StartX = P.Position.X + CosA * 700, StartZ = P.Position.Z + SinA * 700;
                const float EndX = P.Position.X + P.Velocity.X * P.Life - CosA * 700;
                const float EndZ = P.Position.Z + P.Velocity.Z * P.Life - SinA * 700;
                const float HStart = HalfHeightPerDepth * -StartZ, HEnd = HalfHeightPerDepth * -EndZ;
                EXPECT_NEAR(StartX, -1 - HStart * Aspect, 1e-3 * HStart);
                EXPECT_NEAR(EndX, 1 + HEnd * Aspect, 1e-3 * HEnd);
                EXPECT_LE(std::fabs(P.Position.Y), std::min(HStart, HEnd) * 1.0001f);
                EXPECT_GT(P.Velocity.X, 0);
                // toward the middle depth: deeper when starting near, and back
                EXPECT_EQ(P.Velocity.Z < 0, RDepth < 0.5);
                EXPECT_NEAR(P.Rotation.Y, -std::atan2(P.Velocity.Z, P.Velocity.X) * 57.29578f, 1e-3);
            }
        }
    }
}

TEST(TFish, ClampToViewHoldsThePointInsideTheHeight)
{
    TFakeRandom R;
    TFakeAspect A;
    A.Value = 2;
    TFish F(R, A);
    const float H = HalfHeightPerDepth * 1000;
    const struct {
        TGLVector In;
        float Y, X;
    } Cases[] = {
        {{-1, 5000, -1000}, H, -1 - 2 * H},
        {{1, -5000, -1000}, -H, 1 + 2 * H},
        {{1, 100, -1000}, 100, 1 + 2 * H},
    };
    for (const auto& C : Cases) {
        TGLVector V = C.In;
        F.ClampToView(V);
        EXPECT_NEAR(V.Y, C.Y, 0.01);
        EXPECT_NEAR(V.X, C.X, 0.05);
        EXPECT_EQ(V.Z, -1000);
    }
}

// Settings from the tuning file never produce a non-finite particle; a zero
// speed keeps the particle still for five seconds.
TEST(Effects, NoSettingMakesANonFiniteParticle)
{
    const float Inf = std::numeric_limits<float>::infinity();
    const float NaN = std::numeric_limits<float>::quiet_NaN();
    TRandomGenerator R(7);
    TFakeAspect A;
    struct Case {
        std::string Name;
        std::function<std::unique_ptr<TParticles>()> Make;
        bool StillWithFiveSeconds;
    };
    const std::vector<Case> Cases{
        {"bubbles at speed 0", [&] { auto E = std::make_unique<TBubles>(R, A); E->Params.MinSpeed = E->Params.MaxSpeed = 0; return E; }, true},
        {"fountain launch 0", [&] { auto E = std::make_unique<TFountain>(R, A); E->Params.LaunchSpeed = E->Params.SpeedSpread = 0; E->Gravity = 32; E->UseGravity = true; return E; }, true},
        {"immersion at speed 0", [&] { auto E = std::make_unique<TImmersion>(R, A); E->Params.MinSpeed = E->Params.MaxSpeed = 0; return E; }, true},
        {"fish at speed 0", [&] { auto E = std::make_unique<TFish>(R, A); E->Params.MinSpeed = E->Params.MaxSpeed = 0; return E; }, true},
        {"fountain, tiny gravity", [&] { auto E = std::make_unique<TFountain>(R, A); E->Gravity = 1e-45f; return E; }, false},
        {"bubbles, huge depths", [&] { auto E = std::make_unique<TBubles>(R, A); E->Params.MinDepth = -3e38f; E->Params.MaxDepth = 3e38f; return E; }, false},
        {"immersion, field of view 180", [&] { auto E = std::make_unique<TImmersion>(R, A); E->Params.FieldOfView = 180; return E; }, false},
        {"fish, infinite heights", [&] { auto E = std::make_unique<TFish>(R, A); E->Params.MinHeight = -Inf; E->Params.MaxHeight = Inf; return E; }, false},
        {"fish, NaN field of view", [&] { auto E = std::make_unique<TFish>(R, A); E->Params.FieldOfView = NaN; return E; }, false},
        {"fountain, NaN spread", [&] { auto E = std::make_unique<TFountain>(R, A); E->Params.Spread = NaN; E->Gravity = 32; return E; }, false},
        {"bubbles, tiny speed", [&] { auto E = std::make_unique<TBubles>(R, A); E->Params.MinSpeed = E->Params.MaxSpeed = 1e-45f; return E; }, false},
    };
    for (const Case& C : Cases) {
        for (float Aspect : {1.0f, 0.0f, Inf}) {
            A.Value = Aspect;
            auto E = C.Make();
            E->SetCount(MaxParticles);
            for (int I = 0; I < 3; ++I)
                E->Update(0.25f);
            for (int32_t I = 0; I < E->Count(); ++I) {
                const TParticle& P = E->Particles[static_cast<std::size_t>(I)];
                ASSERT_TRUE(AllFinite(P)) << C.Name << ", aspect " << Aspect << ", particle " << I;
                if (C.StillWithFiveSeconds) {
                    ASSERT_EQ(P.Life, 5) << C.Name;
                    ASSERT_EQ(P.Velocity.X, 0) << C.Name;
                    ASSERT_EQ(P.Velocity.Z, 0) << C.Name;
                }
            }
        }
    }
}
