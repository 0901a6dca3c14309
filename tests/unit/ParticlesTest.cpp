#include <gtest/gtest.h>

#include <vector>

#include "effects/Particles.h"
#include "effects/Random.h"

namespace {

// Spawns every record at a life of 1 s, rising at 10 units a second, and
// notes which records were spawned.
class TCountingParticles : public TParticles {
public:
    std::vector<int> Spawned;
    void Spawn(TParticle& P) override
    {
        Spawned.push_back(static_cast<int>(&P - Particles.data()));
        P = TParticle{};
        P.Velocity = TGLVector{0, 10, 0};
        P.Spin = TGLVector{90, 0, -45};
        P.Life = 1;
    }
};

std::vector<int> Range(int From, int To)
{
    std::vector<int> R;
    for (int I = From; I < To; ++I)
        R.push_back(I);
    return R;
}

}   // namespace

TEST(TParticles, NewPoolIsEmpty)
{
    TParticles P;
    EXPECT_EQ(P.Count(), 0);
    EXPECT_EQ(P.Gravity, 0);
    EXPECT_FALSE(P.UseGravity);
    EXPECT_FALSE(P.SavePrevious);
    EXPECT_EQ(P.Particles.size(), 200u);
}

// The count is held to 0..MaxParticles; only records that become live spawn.
TEST(TParticles, SetCountSpawnsTheRecordsThatBecomeLive)
{
    struct Step {
        int32_t N;
        int32_t Count;
        std::vector<int> Spawned;
    };
    const std::vector<Step> Steps{
        {250, 200, Range(0, 200)},
        {10, 10, {}},
        {50, 50, Range(10, 50)},
        {-5, 0, {}},       // a negative count acts as 0
        {3, 3, Range(0, 3)},
        {-2147483647 - 1, 0, {}},
        {2147483647, 200, Range(0, 200)},
    };
    TCountingParticles P;
    for (const Step& S : Steps) {
        P.Spawned.clear();
        P.SetCount(S.N);
        EXPECT_EQ(P.Count(), S.Count) << S.N;
        EXPECT_EQ(P.Spawned, S.Spawned) << S.N;
    }
}

TEST(TParticles, UpdateMovesUntilTheLifeIsExceeded)
{
    TCountingParticles P;
    P.SetCount(2);
    P.Spawned.clear();
    P.Update(0.5f);
    EXPECT_FLOAT_EQ(P.Particles[0].Position.Y, 5);
    EXPECT_FLOAT_EQ(P.Particles[0].Rotation.X, 45);
    EXPECT_FLOAT_EQ(P.Particles[0].Rotation.Z, -22.5f);
    P.Update(0.5f);   // Age reaches Life exactly: still moves
    EXPECT_TRUE(P.Spawned.empty());
    EXPECT_FLOAT_EQ(P.Particles[1].Position.Y, 10);
    EXPECT_FLOAT_EQ(P.Particles[1].Age, 1);
    P.Update(0.25f);  // above Life: spawned, not moved in the same update
    EXPECT_EQ(P.Spawned, (std::vector<int>{0, 1}));
    EXPECT_EQ(P.Particles[0].Position.Y, 0);
    EXPECT_EQ(P.Particles[0].Age, 0);
    EXPECT_EQ(P.Particles[2].Age, 0) << "records above Count are not touched";
}

TEST(TParticles, GravityPullsTheVelocityAfterTheStep)
{
    TCountingParticles P;
    P.SetCount(1);
    P.Particles[0].Velocity.Y = 320;
    P.Particles[0].Life = 100;
    P.Gravity = 32;
    P.UseGravity = true;
    P.Update(1);
    EXPECT_FLOAT_EQ(P.Particles[0].Velocity.Y, 288);
    EXPECT_FLOAT_EQ(P.Particles[0].Position.Y, 320);
    EXPECT_FLOAT_EQ(P.GravityStep(), 32);

    P.UseGravity = false;
    P.Update(0.5f);   // the step is kept but no longer applied
    EXPECT_FLOAT_EQ(P.Particles[0].Velocity.Y, 288);
    EXPECT_FLOAT_EQ(P.GravityStep(), 32);
}

TEST(TParticles, UpdateOfAnEmptyPoolOnlyStoresTheStep)
{
    TCountingParticles P;
    P.Gravity = 10;
    P.UseGravity = true;
    P.Update(0.25f);
    EXPECT_FLOAT_EQ(P.DeltaTime(), 0.25f);
    EXPECT_FLOAT_EQ(P.GravityStep(), 2.5f);
    EXPECT_TRUE(P.Spawned.empty());
}

TEST(TParticles, SavePreviousKeepsTheLastState)
{
    TCountingParticles P;
    P.SetCount(1);
    P.Update(0.5f);
    EXPECT_FALSE(P.Particles[0].HasPrevious);
    P.SavePrevious = true;
    P.Update(0.25f);
    EXPECT_TRUE(P.Particles[0].HasPrevious);
    EXPECT_FLOAT_EQ(P.Particles[0].PrevPosition.Y, 5);
    EXPECT_FLOAT_EQ(P.Particles[0].PrevRotation.X, 45);
    EXPECT_FLOAT_EQ(P.Particles[0].Position.Y, 7.5f);
}

TEST(TRandomGenerator, SameSeedSameNumbersInRange)
{
    TRandomGenerator A(1234), B(1234), C(4321);
    bool Differs = false;
    for (int I = 0; I < 1000; ++I) {
        const double X = A.Random();
        EXPECT_EQ(X, B.Random());
        EXPECT_GE(X, 0.0);
        EXPECT_LT(X, 1.0);
        Differs = Differs || X != C.Random();
        const int32_t N = A.RandomInt(30);
        EXPECT_EQ(N, B.RandomInt(30));
        EXPECT_GE(N, 0);
        EXPECT_LT(N, 30);
        C.RandomInt(30);
    }
    EXPECT_TRUE(Differs);
    EXPECT_EQ(A.RandomInt(0), 0);
    EXPECT_EQ(A.RandomInt(-5), 0);
    A.SetSeed(7);
    B.SetSeed(7);
    EXPECT_EQ(A.Random(), B.Random());
}

TEST(TRandomGenerator, IntegersCoverTheirRange)
{
    TRandomGenerator R(99);
    std::vector<int> Seen(180, 0);
    for (int I = 0; I < 20000; ++I)
        ++Seen[static_cast<std::size_t>(R.RandomInt(180))];
    for (int I = 0; I < 180; ++I)
        EXPECT_GT(Seen[static_cast<std::size_t>(I)], 50) << I;   // about 111 each
}
