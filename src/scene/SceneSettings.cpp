#include "scene/SceneSettings.h"

void SetSceneDefaults(TSceneSettings& S)
{
    S.FarPlane = 10000;
    S.NearPlane = 100;
    S.FieldOfView = 75;
    S.ShadeStart = 6000;
    S.FogStart = 6000;
    S.FogEnd = 10000;
    S.GlobalAmbient = MakeColor(0.6f, 0.6f, 0.6f, 1);
    S.LightDiffuse = MakeColor(0.4f, 0.4f, 0.4f, 1);
    S.BottomHeight = -3000;
    S.WaterHeight = 5000;
    S.WaterCausticAlpha = 0.65f;
    S.BottomCausticAlpha = 0.35f;
    S.ShimmerAlpha = 0.2f;

    S.BubbleMinDepth = 1200;
    S.BubbleMaxDepth = 7000;
    S.BubbleMinSpeed = 100;
    S.BubbleMaxSpeed = 500;
    S.ImmersionMinDepth = 1200;
    S.ImmersionMaxDepth = 7000;
    S.ImmersionMinSpeed = 100;
    S.ImmersionMaxSpeed = 400;
    S.ImmersionMinSpin = 40;
    S.ImmersionMaxSpin = 80;
    S.FountainDepth = 2500;
    S.FountainSpread = 10000;
    S.LaunchSpeed = 680;
    S.SpeedSpread = 400;
    S.FountainMinSpin = 40;
    S.FountainMaxSpin = 80;
    // From the built-in speed spread and spread, before any tuning file.
    S.FountainGravity = 2.0f * 400.0f * 400.0f / 10000.0f;
    S.FishMinDepth = 500;
    S.FishMaxDepth = 10000;
    S.FishMinHeight = -3000;
    S.FishMaxHeight = 5000;
    S.FishMinSpeed = 200;
    S.FishMaxSpeed = 500;

    S.ProcessPriority = 1;

    S.BillModelName = "Dollaro00f.3dm";
    S.BubbleModelName = "Puzir00f.3dm";
    S.PlaneModelName = "dnoK00f.3dm";
    S.WaveFrameListName = "DollarsWave.mfl";
    S.BillTextureName = "dollar.jpg";
    S.ShimmerTextureName = "caust5.jpg";
    S.BubbleTextureName = "puzir.jpg";
    S.BubbleMaskName = "puzirA.jpg";

    S.Themes[thImmersion] = TSceneTheme{
        MakeColor(0, 0.6f, 0.6824f, 1),     MakeColor(0, 0.612f, 0.7098f, 1), MakeColor(0, 0.4706f, 0.55f, 1),
        MakeColor(0.784f, 1, 1, 1),         MakeColor(0.7255f, 0.961f, 1, 1), "Pesok01.jpg",
        "voda1.jpg",                        "caust1.jpg"};
    S.Themes[thFountain] = TSceneTheme{
        MakeColor(0, 0.416f, 0.612f, 1),    MakeColor(0.008f, 0.51f, 0.706f, 1), MakeColor(0, 0.39216f, 0.588f, 1),
        MakeColor(0.784f, 0.902f, 1, 1),    MakeColor(0.804f, 0.882f, 1, 1),     "dno02.jpg",
        "voda2.jpg",                        "caust2.jpg"};
    S.Themes[thFishes] = TSceneTheme{
        MakeColor(0, 0.624f, 0.459f, 1),    MakeColor(0.008f, 0.706f, 0.616f, 1), MakeColor(0, 0.549f, 0.317f, 1),
        MakeColor(0.784f, 1, 0.902f, 1),    MakeColor(0.804f, 1, 0.961f, 1),      "dno03.jpg",
        "voda3.jpg",                        "caust3.jpg"};
}

void SetProcessPriority(IProcessControl& Process, int Selector)
{
    if (Selector == 1)
        Process.SetPriorityClass(pcNormal);
    else if (Selector == 2 || Selector == 3)
        Process.SetPriorityClass(pcHigh);
}
