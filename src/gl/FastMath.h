// Scalar math: angle conversion, tangent, sine and cosine in one step,
// truncation and fractional part. Angles at interfaces are in degrees.
#pragma once

#include <cstdint>

constexpr float DegToRadFactor = 0.017453292f;
constexpr long double DegToRadExtFactor = 0.017453292519943295769L;
constexpr float RadToDegFactor = 57.29578f;

inline float DegToRad(float X) { return X * DegToRadFactor; }
inline long double DegToRadExt(long double X) { return X * DegToRadExtFactor; }
inline float RadToDeg(float X) { return X * RadToDegFactor; }

long double Tan(long double X);

// Sine and cosine of the same angle (radians), computed together.
void SinCos(float Angle, float& Sin, float& Cos);

// Rounds toward zero whatever rounding mode is in force and leaves the
// floating-point control state as it found it. NaN gives 0; values beyond
// the 64-bit range saturate to its ends.
int64_t TruncInt64(long double X);

// X minus TruncInt64(X): keeps the sign of X (-1.25 gives -0.25).
long double FracPart(long double X);
