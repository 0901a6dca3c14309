// The underwater scene's built-in settings and its three themes. The
// tuning file may change any of them before the scene is built.
#pragma once

#include <array>
#include <string>

#include "gl/Geometry.h"
#include "platform/Process.h"

enum TThemeIndex { thImmersion = 0, thFountain = 1, thFishes = 2 };

struct TSceneTheme {
    TGLColor FogColor;      // also the clear colour
    TGLColor WaterColor;    // backdrop top and the water's distance shading
    TGLColor BottomColor;   // backdrop bottom and the bottom's distance shading
    TGLColor BubbleColor;
    TGLColor BillColor;     // the bills' material colour
    std::string BottomTextureName;
    std::string WaterTextureName;
    std::string CausticTextureName;
};

struct TSceneSettings {
    float FarPlane, NearPlane, FieldOfView;
    float ShadeStart, FogStart, FogEnd;
    TGLColor GlobalAmbient, LightDiffuse;
    float BottomHeight, WaterHeight;
    float WaterCausticAlpha, BottomCausticAlpha;
    float ShimmerAlpha;

    float BubbleMinDepth, BubbleMaxDepth, BubbleMinSpeed, BubbleMaxSpeed;
    float ImmersionMinDepth, ImmersionMaxDepth, ImmersionMinSpeed, ImmersionMaxSpeed;
    float ImmersionMinSpin, ImmersionMaxSpin;
    float FountainDepth, FountainSpread, LaunchSpeed, SpeedSpread;
    float FountainMinSpin, FountainMaxSpin, FountainGravity;
    float FishMinDepth, FishMaxDepth, FishMinHeight, FishMaxHeight, FishMinSpeed, FishMaxSpeed;

    int ProcessPriority;

    std::string BillModelName, BubbleModelName, PlaneModelName, WaveFrameListName;
    std::string BillTextureName, ShimmerTextureName, BubbleTextureName, BubbleMaskName;

    std::array<TSceneTheme, 3> Themes;
};

// Every setting, theme field and asset name at its built-in value.
void SetSceneDefaults(TSceneSettings& S);

// Selector 1: normal priority; 2 and 3: high; anything else: unchanged.
void SetProcessPriority(IProcessControl& Process, int Selector);
