// Spawn rules of the four effects. Random draws happen in a fixed order
// (tests replay them). Every division by a speed or a life is guarded: a
// particle with no speed stays still for StillLife seconds, and no spawn
// leaves a non-finite value behind, whatever the tuning file set.
#include "effects/Effects.h"

#include <algorithm>
#include <cmath>

#include "gl/FastMath.h"

long double ViewHalfHeight(float FieldOfView, long double D)
{
    return Tan(DegToRad(FieldOfView) / 2) * D;
}

namespace {

float AspectOf(const IAspectSource& Source)
{
    const float A = Source.Aspect();
    return std::isfinite(A) && A >= 0 ? A : 1.0f;
}

}   // namespace

void TBubles::Spawn(TParticle& P)
{
    P.Position.Z = static_cast<float>(-(Params.MinDepth + FRandom.Random() * (Params.MaxDepth - Params.MinDepth)));
    P.Position.Y = Params.StartHeight;
    const auto H = static_cast<float>(ViewHalfHeight(Params.FieldOfView, -P.Position.Z));
    const double W = static_cast<double>(H) * AspectOf(FAspect);
    P.Position.X = static_cast<float>(FRandom.Random() * 2 * W - W);
    P.Velocity =
        TGLVector{0, static_cast<float>(Params.MinSpeed + FRandom.Random() * (Params.MaxSpeed - Params.MinSpeed)), 0};
    P.Rotation = ZeroVector;
    P.Spin = ZeroVector;
    P.Age = 0;
    P.HasPrevious = false;
    // Up to the top of the view or the water surface, whichever is lower.
    const double Rise = std::fabs(static_cast<double>(Params.StartHeight)) + std::min(H, Params.TopHeight);
    const double Speed = std::fabs(P.Velocity.Y);
    P.Life = Speed > 0 ? static_cast<float>(Rise / Speed) : StillLife;
    KeepFinite(P);
}

void TFountain::Spawn(TParticle& P)
{
    P.Position = TGLVector{0, static_cast<float>(-ViewHalfHeight(Params.FieldOfView, Params.Depth)), -Params.Depth};
    const double S = FRandom.Random();
    P.Velocity.Y = static_cast<float>(Params.LaunchSpeed - Params.SpeedSpread + Params.SpeedSpread * S);
    // Time to rise and fall back to the start height.
    P.Life = Gravity > 0 ? static_cast<float>(2 * std::fabs(static_cast<double>(P.Velocity.Y) / Gravity)) : StillLife;
    const double RX = FRandom.Random();
    const double RZ = FRandom.Random();
    if (P.Life > 0 && std::isfinite(P.Life)) {
        P.Velocity.X = static_cast<float>((RX - 0.5) * Params.Spread / P.Life);
        P.Velocity.Z = static_cast<float>((RZ - 0.5) * Params.Spread / P.Life);
    } else {
        // No launch speed: the bill stays where it is.
        P.Life = StillLife;
        P.Velocity = ZeroVector;
    }
    P.Rotation.X = static_cast<float>(FRandom.RandomInt(180));
    P.Rotation.Y = static_cast<float>(FRandom.RandomInt(30));
    P.Rotation.Z = static_cast<float>(FRandom.RandomInt(30));
    // Faster launches tumble faster.
    P.Spin = TGLVector{static_cast<float>(Params.MinSpin + (Params.MaxSpin - Params.MinSpin) * S), 0, 0};
    P.Age = 0;
    P.HasPrevious = false;
    KeepFinite(P);
}

void TImmersion::Spawn(TParticle& P)
{
    P.Position.Z = static_cast<float>(-(Params.MinDepth + FRandom.Random() * (Params.MaxDepth - Params.MinDepth)));
    long double H = std::fabs(ViewHalfHeight(Params.FieldOfView, -P.Position.Z));
    long double Low = -H;
    const long double W = H * AspectOf(FAspect);   // from the unlimited height
    if (H > Params.TopHeight)
        H = Params.TopHeight;
    const long double Start = H + OffscreenMargin;
    if (Low < Params.BottomLimit)
        Low = Params.BottomLimit;
    const long double End = Low - OffscreenMargin;
    P.Position.Y = static_cast<float>(Start);
    P.Position.X = static_cast<float>(FRandom.Random() * 2 * W - W);
    const double S = FRandom.Random();
    P.Velocity = TGLVector{0, static_cast<float>(-(Params.MinSpeed + (Params.MaxSpeed - Params.MinSpeed) * S)), 0};
    P.Rotation.X = static_cast<float>(FRandom.RandomInt(180));
    P.Rotation.Y = static_cast<float>(FRandom.RandomInt(30));
    P.Rotation.Z = static_cast<float>(FRandom.RandomInt(30));
    P.Spin = TGLVector{static_cast<float>(Params.MinSpin + (Params.MaxSpin - Params.MinSpin) * S), 0, 0};
    P.Age = 0;
    const long double Speed = std::fabs(P.Velocity.Y);
    P.Life = Speed > 0 ? static_cast<float>((std::fabs(Start) + std::fabs(End)) / Speed) : StillLife;
    P.HasPrevious = false;
    KeepFinite(P);
}

void TFish::ClampToView(TGLVector& V) const
{
    const long double H = std::fabs(ViewHalfHeight(Params.FieldOfView, -V.Z));
    if (V.Y > 0 && V.Y > H)
        V.Y = static_cast<float>(H);
    else if (V.Y < -H)
        V.Y = static_cast<float>(-H);
    V.X = static_cast<float>(V.X + V.X * H * AspectOf(FAspect));
}

void TFish::Spawn(TParticle& P)
{
    const auto RDepth = static_cast<float>(FRandom.Random());
    P.Position.Z = -(Params.MinDepth + RDepth * (Params.MaxDepth - Params.MinDepth));
    const auto RSpeed = static_cast<float>(FRandom.Random());
    const float Speed = Params.MinSpeed + RSpeed * (Params.MaxSpeed - Params.MinSpeed);
    P.Position.Y = static_cast<float>(Params.MinHeight + FRandom.Random() * (Params.MaxHeight - Params.MinHeight));
    P.Position.X = -1;
    ClampToView(P.Position);

    // The target: halfway between the start depth and the middle depth, one
    // unit beyond the right edge.
    const float Mid = -(Params.MinDepth + (Params.MaxDepth - Params.MinDepth) * 0.5f);
    TGLVector Q{1, P.Position.Y, Mid - (Mid - P.Position.Z) * 0.5f};
    ClampToView(Q);
    if (std::fabs(P.Position.Y) > std::fabs(Q.Y))
        P.Position.Y = Q.Y;   // level path, inside the view at both ends

    const double DZ = static_cast<double>(Q.Z) - P.Position.Z;
    const double A = DZ == 0 ? 0.0 : std::atan(DZ / (static_cast<double>(Q.X) - P.Position.X));
    const double CosA = std::cos(A), SinA = std::sin(A);
    P.Velocity = TGLVector{static_cast<float>(Speed * CosA), 0, static_cast<float>(Speed * SinA)};
    P.Rotation = TGLVector{0, -RadToDeg(static_cast<float>(A)), 0};
    P.Spin = ZeroVector;
    P.Age = 0;
    P.HasPrevious = false;

    P.Position.X = static_cast<float>(P.Position.X - CosA * OffscreenMargin);
    P.Position.Z = static_cast<float>(P.Position.Z - SinA * OffscreenMargin);
    Q.X = static_cast<float>(Q.X + CosA * OffscreenMargin);
    Q.Z = static_cast<float>(Q.Z + SinA * OffscreenMargin);
    P.Life = P.Velocity.X != 0 ? std::fabs(Q.X - P.Position.X) / P.Velocity.X : StillLife;
    KeepFinite(P);
}
