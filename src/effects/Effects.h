// The four effects: bubbles rising from the bottom, and the bills of the
// three themes (sinking, thrown up in parabolas, swimming across). Each one
// only decides how a particle starts; all move with the base Move.
//
// The camera sits at the origin looking down -Z with Y up; a depth D is the
// positive distance, so a particle at depth D has Z = -D.
#pragma once

#include "effects/AspectSource.h"
#include "effects/Particles.h"
#include "effects/Random.h"

// How far immersion and fish particles start and end beyond the view.
constexpr float OffscreenMargin = 700.0f;

// Each effect takes its parameters as one block. A block is the effect's
// own ranges (which the scene keeps among its settings as they are) plus
// what the four effects share: the view and the heights of the planes.
// The defaults are the scene's.

struct TBubblesRanges {
    float MinDepth = 1200;   // spawn depths
    float MaxDepth = 7000;
    float MinSpeed = 100;    // rising speeds
    float MaxSpeed = 500;
    bool operator==(const TBubblesRanges&) const = default;
};

struct TBubblesParams : TBubblesRanges {
    float TopHeight = 5000;     // the water surface
    float StartHeight = -3000;  // the bottom
    float FieldOfView = 75;     // vertical, degrees
    bool operator==(const TBubblesParams&) const = default;
};

struct TFountainRanges {
    float Depth = 2500;         // of the source
    float Spread = 10000;       // sideways and in depth over a whole flight
    float LaunchSpeed = 680;
    float SpeedSpread = 400;    // launch speeds lie in LaunchSpeed - SpeedSpread .. LaunchSpeed
    float MinSpin = 40;         // tumbling, degrees per second
    float MaxSpin = 80;
    bool operator==(const TFountainRanges&) const = default;
};

struct TFountainParams : TFountainRanges {
    float FieldOfView = 75;
    bool operator==(const TFountainParams&) const = default;
};

struct TImmersionRanges {
    float MinDepth = 1200;
    float MaxDepth = 7000;
    float MinSpeed = 100;       // sinking speeds
    float MaxSpeed = 400;
    float MinSpin = 40;
    float MaxSpin = 80;
    bool operator==(const TImmersionRanges&) const = default;
};

struct TImmersionParams : TImmersionRanges {
    float TopHeight = 5000;     // highest start
    float BottomLimit = -3000;  // lowest end
    float FieldOfView = 75;
    bool operator==(const TImmersionParams&) const = default;
};

struct TFishRanges {
    float MinDepth = 500;
    float MaxDepth = 10000;
    float MinHeight = -3000;
    float MaxHeight = 5000;
    float MinSpeed = 200;
    float MaxSpeed = 500;
    bool operator==(const TFishRanges&) const = default;
};

struct TFishParams : TFishRanges {
    float FieldOfView = 75;
    bool operator==(const TFishParams&) const = default;
};

class TBubles : public TParticles {
public:
    TBubles(IRandomSource& Random, const IAspectSource& Aspect) : FRandom(Random), FAspect(Aspect) {}
    TBubblesParams Params;
    void Spawn(TParticle& P) override;

private:
    IRandomSource& FRandom;
    const IAspectSource& FAspect;
};

// The bills fall back with the base Gravity, which the scene switches on.
class TFountain : public TParticles {
public:
    TFountain(IRandomSource& Random, const IAspectSource& Aspect) : FRandom(Random), FAspect(Aspect) {}
    TFountainParams Params;
    void Spawn(TParticle& P) override;

private:
    IRandomSource& FRandom;
    const IAspectSource& FAspect;
};

class TImmersion : public TParticles {
public:
    TImmersion(IRandomSource& Random, const IAspectSource& Aspect) : FRandom(Random), FAspect(Aspect) {}
    TImmersionParams Params;
    void Spawn(TParticle& P) override;

private:
    IRandomSource& FRandom;
    const IAspectSource& FAspect;
};

class TFish : public TParticles {
public:
    TFish(IRandomSource& Random, const IAspectSource& Aspect) : FRandom(Random), FAspect(Aspect) {}
    TFishParams Params;
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
