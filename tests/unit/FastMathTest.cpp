#include <cfenv>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "gl/FastMath.h"

TEST(FastMath, AngleConversionUsesTheSingleConstants)
{
    EXPECT_EQ(DegToRad(1.0f), 0.01745329238474369f);
    EXPECT_EQ(RadToDeg(1.0f), 57.295780181884766f);
    EXPECT_NEAR(static_cast<double>(DegToRadExt(180.0L)), 3.14159265358979323846, 1e-15);
    EXPECT_NEAR(static_cast<double>(Tan(DegToRadExt(45.0L))), 1.0, 1e-15);
}

TEST(FastMath, SinCosGivesBothOfOneAngle)
{
    float S = 0, C = 0;
    SinCos(DegToRad(30.0f), S, C);
    EXPECT_NEAR(S, 0.5f, 1e-6f);
    EXPECT_NEAR(C, 0.8660254f, 1e-6f);
}

struct TruncCase {
    long double X;
    int64_t Trunc;
    long double Frac;
};

TEST(FastMath, TruncAndFracRoundTowardZeroUnderEveryRoundingMode)
{
    const TruncCase Cases[] = {
        {2.75L, 2, 0.75L},   {-2.75L, -2, -0.75L}, {-1.25L, -1, -0.25L}, {0.5L, 0, 0.5L},
        {-0.5L, 0, -0.5L},   {2.5L, 2, 0.5L},      {3.0L, 3, 0.0L},      {-3.0L, -3, 0.0L},
        {1e15L + 0.5L, 1000000000000000LL, 0.5L},
    };
    const int Modes[] = {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO};
    const int Saved = std::fegetround();
    for (int Mode : Modes) {
        ASSERT_EQ(std::fesetround(Mode), 0);
        for (const auto& C : Cases) {
            EXPECT_EQ(TruncInt64(C.X), C.Trunc) << "x=" << static_cast<double>(C.X) << " mode=" << Mode;
            EXPECT_EQ(FracPart(C.X), C.Frac) << "x=" << static_cast<double>(C.X) << " mode=" << Mode;
            EXPECT_EQ(std::fegetround(), Mode) << "the rounding mode in force was changed";
        }
    }
    std::fesetround(Saved);
}

TEST(FastMath, TruncSaturatesWhereNoIntegerFits)
{
    const long double Inf = std::numeric_limits<long double>::infinity();
    EXPECT_EQ(TruncInt64(Inf), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(TruncInt64(-Inf), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(TruncInt64(1e30L), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(TruncInt64(std::numeric_limits<long double>::quiet_NaN()), 0);
    EXPECT_EQ(FracPart(1e30L), 0.0L);
}
