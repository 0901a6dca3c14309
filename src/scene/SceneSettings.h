// The underwater scene's settings and its three themes. One table gives
// each setting its place in the tuning file and its built-in value; the
// defaults and the tuning file both walk it, before the scene is built.
#pragma once

#include <array>
#include <span>
#include <string>

#include "effects/Effects.h"
#include "gl/Geometry.h"
#include "platform/Process.h"
#include "scene/SettingTable.h"

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

    // Each effect's own ranges; the effects share the view and the planes.
    TBubblesRanges Bubbles;
    TImmersionRanges Immersion;
    TFountainRanges Fountain;
    float FountainGravity;   // not tuned: from the built-in values
    TFishRanges Fish;

    int ProcessPriority;
    // Not 0: one texture unit and a pass per layer, whatever the context
    // offers (for comparison with the one-pass drawing).
    int OpenGL11;

    std::string BillModelName, BubbleModelName, PlaneModelName, WaveFrameListName;
    std::string BillTextureName, ShimmerTextureName, BubbleTextureName, BubbleMaskName;

    std::array<TSceneTheme, 3> Themes;
};

using TSceneSettingRow = TSettingRow<TSceneSettings, float, TGLColor, std::string, int>;

// Every setting the tuning file can change, with its section, key and
// built-in value, in the order the file is read.
std::span<const TSceneSettingRow> SceneSettingRows();

// "[Section] Key" of the row whose field lives at Field inside Settings, so
// a message can name the entry a value came from ("" for no row).
std::string SceneSettingEntry(const TSceneSettings& Settings, const void* Field);

// Every row of the table at its built-in value, and the fountain's gravity.
void SetSceneDefaults(TSceneSettings& S);

// Selector 1: normal priority; 2 and 3: high; anything else: unchanged.
void SetProcessPriority(IProcessControl& Process, int Selector);
