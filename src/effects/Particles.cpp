#include "effects/Particles.h"

#include <cmath>

void TParticles::SetCount(int32_t N)
{
    if (N < 0)
        N = 0;
    if (N > MaxParticles)
        N = MaxParticles;
    for (int32_t I = FCount; I < N; ++I)
        Spawn(Particles[static_cast<std::size_t>(I)]);
    FCount = N;
}

void TParticles::Update(float DT)
{
    FDeltaTime = DT;
    if (UseGravity)
        FGravityStep = Gravity * DT;
    for (int32_t I = 0; I < FCount; ++I) {
        TParticle& P = Particles[static_cast<std::size_t>(I)];
        P.Age += DT;
        if (P.Age > P.Life)
            Spawn(P);
        else
            Move(P);
    }
}

void TParticles::Spawn(TParticle&) {}

void TParticles::Move(TParticle& P)
{
    if (SavePrevious) {
        P.HasPrevious = true;
        P.PrevPosition = P.Position;
        P.PrevRotation = P.Rotation;
    }
    P.Position.X += P.Velocity.X * FDeltaTime;
    P.Position.Y += P.Velocity.Y * FDeltaTime;
    P.Position.Z += P.Velocity.Z * FDeltaTime;
    P.Rotation.X += P.Spin.X * FDeltaTime;
    P.Rotation.Y += P.Spin.Y * FDeltaTime;
    P.Rotation.Z += P.Spin.Z * FDeltaTime;
    // After the position step: the position used the velocity from before.
    if (UseGravity)
        P.Velocity.Y -= FGravityStep;
}

void TParticles::KeepFinite(TParticle& P)
{
    for (TGLVector* V : {&P.Position, &P.Rotation, &P.Velocity, &P.Spin})
        for (float* C : {&V->X, &V->Y, &V->Z})
            if (!std::isfinite(*C))
                *C = 0;
    if (!std::isfinite(P.Life))
        P.Life = StillLife;
}
