// The four effects: bubbles rising from the bottom, and the bills of the
// three themes (sinking, thrown up in parabolas, swimming across). Each one
// only decides how a particle starts; all move with the base Move.
//
// The camera sits at the origin looking down -Z with Y up; a depth D is the
// positive distance, so a particle at depth D has Z = -D. Parameters are
// set by the scene after construction; the defaults are the scene's.
#pragma once

#include "effects/AspectSource.h"
#include "effects/Particles.h"
#include "effects/Random.h"

// How far immersion and fish particles start and end beyond the view.
constexpr float OffscreenMargin = 700.0f;

class TBubles : public TParticles {
public:
    TBubles(IRandomSource& Random, const IAspectSource& Aspect) : FRandom(Random), FAspect(Aspect) {}
    float MinDepth = 1200;
    float MaxSpeed = 500;
    float MinSpeed = 100;
    float MaxDepth = 7000;
    float TopHeight = 5000;     // the water surface
    float StartHeight = -3000;  // the bottom
    float FieldOfView = 75;     // vertical, degrees
    void Spawn(TParticle& P) override;

private:
    IRandomSource& FRandom;
    const IAspectSource& FAspect;
};

class TFountain : public TParticles {
public:
    TFountain(IRandomSource& Random, const IAspectSource& Aspect) : FRandom(Random), FAspect(Aspect) {}
    float MinSpin = 40;
    float LaunchSpeed = 680;
    float FieldOfView = 75;
    float Spread = 10000;       // sideways and in depth over a whole flight
    float Depth = 2500;
    float SpeedSpread = 400;    // launch speeds lie in LaunchSpeed - SpeedSpread .. LaunchSpeed
    float MaxSpin = 80;
    void Spawn(TParticle& P) override;

private:
    IRandomSource& FRandom;
    const IAspectSource& FAspect;
};

class TImmersion : public TParticles {
public:
    TImmersion(IRandomSource& Random, const IAspectSource& Aspect) : FRandom(Random), FAspect(Aspect) {}
    float MinSpin = 40;
    float MinDepth = 1200;
    float MaxSpeed = 400;
    float MinSpeed = 100;
    float MaxSpin = 80;
    float MaxDepth = 7000;
    float TopHeight = 5000;
    float BottomLimit = -3000;
    float FieldOfView = 75;
    void Spawn(TParticle& P) override;

private:
    IRandomSource& FRandom;
    const IAspectSource& FAspect;
};

class TFish : public TParticles {
public:
    TFish(IRandomSource& Random, const IAspectSource& Aspect) : FRandom(Random), FAspect(Aspect) {}
    float MinDepth = 500;
    float MaxSpeed = 500;
    float FieldOfView = 75;
    float MaxDepth = 10000;
    float MinHeight = -3000;
    float MinSpeed = 200;
    float MaxHeight = 5000;
    void Spawn(TParticle& P) override;
    // Holds V inside the view's height at its depth and moves its X by X
    // view half-widths: X = -1 lands one unit beyond the left edge.
    void ClampToView(TGLVector& V) const;

private:
    IRandomSource& FRandom;
    const IAspectSource& FAspect;
};

// Half the visible height at depth D for a vertical field of view in degrees.
long double ViewHalfHeight(float FieldOfView, long double D);
