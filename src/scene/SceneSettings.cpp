#include "scene/SceneSettings.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <variant>

#include "scene/Scramble.h"

namespace {

// Section and key names, kept scrambled in the program image.
constexpr TScrambled View{"View"};
constexpr TScrambled Planes{"Planes"};
constexpr TScrambled Bubbles{"Bubbles"};
constexpr TScrambled Bills{"Bills"};
constexpr TScrambled Immersion{"Immersion"};
constexpr TScrambled Fountain{"Fountain"};
constexpr TScrambled Fishes{"Fishes"};
constexpr TScrambled System{"System"};
constexpr TScrambled KeyFar{"FarDistance"};
constexpr TScrambled KeyNear{"NearDistance"};
constexpr TScrambled KeyFov{"FieldOfView"};
constexpr TScrambled KeyShadeStart{"ShadeStart"};
constexpr TScrambled KeyFogStart{"FogStart"};
constexpr TScrambled KeyFogEnd{"FogEnd"};
constexpr TScrambled KeyAmbient{"AmbientColor"};
constexpr TScrambled KeyLight{"LightColor"};
constexpr TScrambled KeyWaterCaustic{"WaterCausticAlpha"};
constexpr TScrambled KeyBottomCaustic{"BottomCausticAlpha"};
constexpr TScrambled KeyBottomHeight{"BottomHeight"};
constexpr TScrambled KeyWaterHeight{"WaterHeight"};
constexpr TScrambled KeyPlaneModel{"PlaneModel"};
constexpr TScrambled KeyMinDepth{"MinDepth"};
constexpr TScrambled KeyMaxDepth{"MaxDepth"};
constexpr TScrambled KeyMaxSpeed{"MaxSpeed"};
constexpr TScrambled KeyMinSpeed{"MinSpeed"};
constexpr TScrambled KeyModel{"Model"};
constexpr TScrambled KeyImage{"Image"};
constexpr TScrambled KeyMask{"Mask"};
constexpr TScrambled KeyShimmerAlpha{"ShimmerAlpha"};
constexpr TScrambled KeyShimmerImage{"ShimmerImage"};
constexpr TScrambled KeyWaveFrames{"WaveFrames"};
constexpr TScrambled KeyMaxSpin{"MaxSpin"};
constexpr TScrambled KeyMinSpin{"MinSpin"};
constexpr TScrambled KeyDepth{"Depth"};
constexpr TScrambled KeySpread{"Spread"};
constexpr TScrambled KeyLaunchSpeed{"LaunchSpeed"};
constexpr TScrambled KeySpeedSpread{"SpeedSpread"};
constexpr TScrambled KeyMinHeight{"MinHeight"};
constexpr TScrambled KeyMaxHeight{"MaxHeight"};
constexpr TScrambled KeyFogColor{"FogColor"};
constexpr TScrambled KeyWaterColor{"WaterColor"};
constexpr TScrambled KeyBottomColor{"BottomColor"};
constexpr TScrambled KeyBillColor{"BillColor"};
constexpr TScrambled KeyBubbleColor{"BubbleColor"};
constexpr TScrambled KeyBottomTexture{"BottomTexture"};
constexpr TScrambled KeyWaterTexture{"WaterTexture"};
constexpr TScrambled KeyCausticTexture{"CausticTexture"};
constexpr TScrambled KeyPriority{"Priority"};
constexpr TScrambled KeyOpenGL11{"OpenGL11"};

using S = TSceneSettings;
using T = TSceneTheme;

template <std::size_t NS, std::size_t NK, class TField>
TSceneSettingRow Row(const TScrambled<NS>& Section, const TScrambled<NK>& Key, TField Field,
                     bool (*Usable)(const S&) = nullptr)
{
    return {Section.Scrambled(), Key.Scrambled(), std::move(Field), Usable};
}

// The projection the GL accepts and that draws a picture: a near plane in
// front of the eye, a far plane beyond it, and an opening strictly between
// 0 and 180 degrees; besides,
// - the frustum's extent at the near plane is a normal single, and the
//   opening's tangent far from 0: where it vanishes the GL refuses the
//   frustum ("A numeric argument is out of range!") or builds a matrix of
//   infinities;
// - the near plane is not so close that a 16-bit depth buffer (what the
//   windows ask for) puts everything beyond it at the far plane, where the
//   depth test drops it and the picture is one flat colour: a point halfway
//   to the far plane must lie at least one depth step before it.
double TanHalfOpening(const S& Settings)
{
    return std::tan(static_cast<double>(Settings.FieldOfView) * std::numbers::pi / 360.0);
}
bool ExtentUsable(const S& Settings)
{
    const double TanHalf = TanHalfOpening(Settings);
    return TanHalf >= 1e-30 && TanHalf * Settings.NearPlane >= std::numeric_limits<float>::min();
}
bool DepthUsable(const S& Settings)
{
    const double Near = Settings.NearPlane, Far = Settings.FarPlane;
    return Near / (Far - Near) >= 1.0 / 65536.0;
}
bool UsableFar(const S& Settings) { return Settings.FarPlane > Settings.NearPlane && DepthUsable(Settings); }
bool UsableNear(const S& Settings)
{
    return Settings.NearPlane > 0 && Settings.NearPlane < Settings.FarPlane && DepthUsable(Settings) &&
           ExtentUsable(Settings);
}
bool UsableFieldOfView(const S& Settings)
{
    return Settings.FieldOfView > 0 && Settings.FieldOfView < 180 && ExtentUsable(Settings);
}

template <int Theme, auto Field>
auto& ThemeMember(S& Settings)
{
    return std::get<Theme>(Settings.Themes).*Field;
}

// A field of theme Theme: ThemeAt<thFishes, &T::FogColor>(Default).
template <int Theme, auto Field>
auto ThemeAt(TMemberValue<Field> Default)
{
    return TSettingField<S, TMemberValue<Field>>{&ThemeMember<Theme, Field>, std::move(Default)};
}

} // namespace

std::span<const TSceneSettingRow> SceneSettingRows()
{
    static const TSceneSettingRow Rows[] = {
        Row(View, KeyFar, SettingAt<&S::FarPlane>(10000), UsableFar),
        Row(View, KeyNear, SettingAt<&S::NearPlane>(100), UsableNear),
        Row(View, KeyFov, SettingAt<&S::FieldOfView>(75), UsableFieldOfView),
        Row(View, KeyShadeStart, SettingAt<&S::ShadeStart>(6000)),
        Row(View, KeyFogStart, SettingAt<&S::FogStart>(6000)),
        Row(View, KeyFogEnd, SettingAt<&S::FogEnd>(10000)),
        Row(View, KeyAmbient, SettingAt<&S::GlobalAmbient>({0.6f, 0.6f, 0.6f, 1})),
        Row(View, KeyLight, SettingAt<&S::LightDiffuse>({0.4f, 0.4f, 0.4f, 1})),

        Row(Planes, KeyWaterCaustic, SettingAt<&S::WaterCausticAlpha>(0.65f)),
        Row(Planes, KeyBottomCaustic, SettingAt<&S::BottomCausticAlpha>(0.35f)),
        Row(Planes, KeyBottomHeight, SettingAt<&S::BottomHeight>(-3000)),
        Row(Planes, KeyWaterHeight, SettingAt<&S::WaterHeight>(5000)),
        Row(Planes, KeyPlaneModel, SettingAt<&S::PlaneModelName>("dnoK00f.3dm")),

        Row(Bubbles, KeyMinDepth, SettingAt<&S::Bubbles, &TBubblesRanges::MinDepth>(1200)),
        Row(Bubbles, KeyMaxDepth, SettingAt<&S::Bubbles, &TBubblesRanges::MaxDepth>(7000)),
        Row(Bubbles, KeyMaxSpeed, SettingAt<&S::Bubbles, &TBubblesRanges::MaxSpeed>(500)),
        Row(Bubbles, KeyMinSpeed, SettingAt<&S::Bubbles, &TBubblesRanges::MinSpeed>(100)),
        Row(Bubbles, KeyModel, SettingAt<&S::BubbleModelName>("Puzir00f.3dm")),
        Row(Bubbles, KeyImage, SettingAt<&S::BubbleTextureName>("puzir.jpg")),
        Row(Bubbles, KeyMask, SettingAt<&S::BubbleMaskName>("puzirA.jpg")),

        Row(Bills, KeyShimmerAlpha, SettingAt<&S::ShimmerAlpha>(0.2f)),
        Row(Bills, KeyModel, SettingAt<&S::BillModelName>("Dollaro00f.3dm")),
        Row(Bills, KeyImage, SettingAt<&S::BillTextureName>("dollar.jpg")),
        Row(Bills, KeyShimmerImage, SettingAt<&S::ShimmerTextureName>("caust5.jpg")),
        Row(Bills, KeyWaveFrames, SettingAt<&S::WaveFrameListName>("DollarsWave.mfl")),

        Row(Immersion, KeyMinDepth, SettingAt<&S::Immersion, &TImmersionRanges::MinDepth>(1200)),
        Row(Immersion, KeyMaxDepth, SettingAt<&S::Immersion, &TImmersionRanges::MaxDepth>(7000)),
        Row(Immersion, KeyMaxSpeed, SettingAt<&S::Immersion, &TImmersionRanges::MaxSpeed>(400)),
        Row(Immersion, KeyMinSpeed, SettingAt<&S::Immersion, &TImmersionRanges::MinSpeed>(100)),
        Row(Immersion, KeyMaxSpin, SettingAt<&S::Immersion, &TImmersionRanges::MaxSpin>(80)),
        Row(Immersion, KeyMinSpin, SettingAt<&S::Immersion, &TImmersionRanges::MinSpin>(40)),
        Row(Immersion, KeyFogColor, ThemeAt<thImmersion, &T::FogColor>({0, 0.6f, 0.6824f, 1})),
        Row(Immersion, KeyWaterColor, ThemeAt<thImmersion, &T::WaterColor>({0, 0.612f, 0.7098f, 1})),
        Row(Immersion, KeyBottomColor, ThemeAt<thImmersion, &T::BottomColor>({0, 0.4706f, 0.55f, 1})),
        Row(Immersion, KeyBillColor, ThemeAt<thImmersion, &T::BillColor>({0.7255f, 0.961f, 1, 1})),
        Row(Immersion, KeyBubbleColor, ThemeAt<thImmersion, &T::BubbleColor>({0.784f, 1, 1, 1})),
        Row(Immersion, KeyBottomTexture, ThemeAt<thImmersion, &T::BottomTextureName>("Pesok01.jpg")),
        Row(Immersion, KeyWaterTexture, ThemeAt<thImmersion, &T::WaterTextureName>("voda1.jpg")),
        Row(Immersion, KeyCausticTexture, ThemeAt<thImmersion, &T::CausticTextureName>("caust1.jpg")),

        Row(Fountain, KeyDepth, SettingAt<&S::Fountain, &TFountainRanges::Depth>(2500)),
        Row(Fountain, KeySpread, SettingAt<&S::Fountain, &TFountainRanges::Spread>(10000)),
        Row(Fountain, KeyLaunchSpeed, SettingAt<&S::Fountain, &TFountainRanges::LaunchSpeed>(680)),
        Row(Fountain, KeySpeedSpread, SettingAt<&S::Fountain, &TFountainRanges::SpeedSpread>(400)),
        Row(Fountain, KeyMaxSpin, SettingAt<&S::Fountain, &TFountainRanges::MaxSpin>(80)),
        Row(Fountain, KeyMinSpin, SettingAt<&S::Fountain, &TFountainRanges::MinSpin>(40)),
        Row(Fountain, KeyFogColor, ThemeAt<thFountain, &T::FogColor>({0, 0.416f, 0.612f, 1})),
        Row(Fountain, KeyWaterColor, ThemeAt<thFountain, &T::WaterColor>({0.008f, 0.51f, 0.706f, 1})),
        Row(Fountain, KeyBottomColor, ThemeAt<thFountain, &T::BottomColor>({0, 0.39216f, 0.588f, 1})),
        Row(Fountain, KeyBillColor, ThemeAt<thFountain, &T::BillColor>({0.804f, 0.882f, 1, 1})),
        Row(Fountain, KeyBubbleColor, ThemeAt<thFountain, &T::BubbleColor>({0.784f, 0.902f, 1, 1})),
        Row(Fountain, KeyBottomTexture, ThemeAt<thFountain, &T::BottomTextureName>("dno02.jpg")),
        Row(Fountain, KeyWaterTexture, ThemeAt<thFountain, &T::WaterTextureName>("voda2.jpg")),
        Row(Fountain, KeyCausticTexture, ThemeAt<thFountain, &T::CausticTextureName>("caust2.jpg")),

        Row(Fishes, KeyMinDepth, SettingAt<&S::Fish, &TFishRanges::MinDepth>(500)),
        Row(Fishes, KeyMaxDepth, SettingAt<&S::Fish, &TFishRanges::MaxDepth>(10000)),
        Row(Fishes, KeyMaxSpeed, SettingAt<&S::Fish, &TFishRanges::MaxSpeed>(500)),
        Row(Fishes, KeyMinSpeed, SettingAt<&S::Fish, &TFishRanges::MinSpeed>(200)),
        Row(Fishes, KeyMinHeight, SettingAt<&S::Fish, &TFishRanges::MinHeight>(-3000)),
        Row(Fishes, KeyMaxHeight, SettingAt<&S::Fish, &TFishRanges::MaxHeight>(5000)),
        Row(Fishes, KeyFogColor, ThemeAt<thFishes, &T::FogColor>({0, 0.624f, 0.459f, 1})),
        Row(Fishes, KeyWaterColor, ThemeAt<thFishes, &T::WaterColor>({0.008f, 0.706f, 0.616f, 1})),
        Row(Fishes, KeyBottomColor, ThemeAt<thFishes, &T::BottomColor>({0, 0.549f, 0.317f, 1})),
        Row(Fishes, KeyBillColor, ThemeAt<thFishes, &T::BillColor>({0.804f, 1, 0.961f, 1})),
        Row(Fishes, KeyBubbleColor, ThemeAt<thFishes, &T::BubbleColor>({0.784f, 1, 0.902f, 1})),
        Row(Fishes, KeyBottomTexture, ThemeAt<thFishes, &T::BottomTextureName>("dno03.jpg")),
        Row(Fishes, KeyWaterTexture, ThemeAt<thFishes, &T::WaterTextureName>("voda3.jpg")),
        Row(Fishes, KeyCausticTexture, ThemeAt<thFishes, &T::CausticTextureName>("caust3.jpg")),

        // Applied at once by the reader; the log switch follows it, last.
        Row(System, KeyOpenGL11, SettingAt<&S::OpenGL11>(0)),
        Row(System, KeyPriority, SettingAt<&S::ProcessPriority>(1)),
    };
    return Rows;
}

void SetSceneDefaults(TSceneSettings& Settings)
{
    SetDefaults(SceneSettingRows(), Settings);
    // From the built-in speed spread and spread, before any tuning file.
    Settings.FountainGravity = 2.0f * 400.0f * 400.0f / 10000.0f;
}

void SetProcessPriority(IProcessControl& Process, int Selector)
{
    if (Selector == 1)
        Process.SetPriorityClass(pcNormal);
    else if (Selector == 2 || Selector == 3)
        Process.SetPriorityClass(pcHigh);
}

std::string SceneSettingEntry(const TSceneSettings& Settings, const void* Field)
{
    // The rows reach their fields through non-const owners; only addresses
    // are taken here.
    auto& Owner = const_cast<TSceneSettings&>(Settings);
    for (const TSceneSettingRow& R : SceneSettingRows()) {
        const bool Match = std::visit(
            [&](const auto& F) { return static_cast<const void*>(&F.Member(Owner)) == Field; }, R.Field);
        if (Match)
            return "[" + UnscrambleKey(R.Section) + "] " + UnscrambleKey(R.Key);
    }
    return {};
}
