#include "gl/FastMath.h"

#include <cmath>
#include <limits>

long double Tan(long double X) { return std::tan(X); }

void SinCos(float Angle, float& Sin, float& Cos)
{
    const double A = Angle;
    Sin = static_cast<float>(std::sin(A));
    Cos = static_cast<float>(std::cos(A));
}

int64_t TruncInt64(long double X)
{
    if (std::isnan(X))
        return 0;
    // 2^63 is exact in every floating type; anything at or beyond it does
    // not fit and would be undefined to convert.
    constexpr long double Limit = 9223372036854775808.0L;
    if (X >= Limit)
        return std::numeric_limits<int64_t>::max();
    if (X <= -Limit)
        return std::numeric_limits<int64_t>::min();
    // A C++ floating-to-integer conversion always truncates; the compiler
    // saves and restores the control word where the hardware needs it.
    return static_cast<int64_t>(X);
}

long double FracPart(long double X)
{
    // Every long double of magnitude 2^63 or more is a whole number.
    if (std::fabs(X) >= 9223372036854775808.0L)
        return 0.0L;
    return X - static_cast<long double>(TruncInt64(X));
}
