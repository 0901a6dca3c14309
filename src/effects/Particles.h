// A fixed pool of particles: aged by the frame time, moved in straight
// lines with a constant spin and optional gravity, and spawned anew through
// Spawn when their life is over. No drawing: the scene reads the live
// records (Count, Particles[0..Count-1]) directly.
#pragma once

#include <array>
#include <cstdint>

#include "gl/Geometry.h"

constexpr int32_t MaxParticles = 200;

struct TParticle {
    TGLVector Position;   // scene units
    TGLVector Rotation;   // degrees about X, Y, Z; drawn about Y, then X, then Z
    TGLVector Velocity;   // units per second
    TGLVector Spin;       // degrees per second
    TGLVector PrevPosition;
    TGLVector PrevRotation;
    bool HasPrevious;
    float Age;    // seconds since spawned
    float Life;   // age at which the particle is spawned anew
};
static_assert(sizeof(TParticle) == 84);

class TParticles {
public:
    TParticles() = default;
    virtual ~TParticles() = default;
    TParticles(const TParticles&) = delete;
    TParticles& operator=(const TParticles&) = delete;

    float Gravity = 0;   // units per second squared, pulls Velocity.Y down
    bool SavePrevious = false;
    bool UseGravity = false;
    std::array<TParticle, MaxParticles> Particles{};

    int32_t Count() const { return FCount; }
    float DeltaTime() const { return FDeltaTime; }
    float GravityStep() const { return FGravityStep; }

    // N is held to 0..MaxParticles; records that become live are spawned.
    void SetCount(int32_t N);
    void Update(float DT);

    virtual void Spawn(TParticle& P);
    virtual void Move(TParticle& P);

protected:
    // Life of a particle that does not move on its own.
    static constexpr float StillLife = 5.0f;
    // Spawn values that overflowed or came from non-finite settings become
    // 0 (positions, velocities, angles) and StillLife (life).
    static void KeepFinite(TParticle& P);

private:
    int32_t FCount = 0;
    float FDeltaTime = 0;
    float FGravityStep = 0;
};
