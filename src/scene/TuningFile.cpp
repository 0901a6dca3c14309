#include "scene/TuningFile.h"

#include <filesystem>
#include <vector>

#include "app/Scramble.h"
#include "gl/Errors.h"

namespace {

// Section and key names, kept scrambled in the program image.
constexpr TScrambled SecView{"View"};
constexpr TScrambled SecPlanes{"Planes"};
constexpr TScrambled SecBubbles{"Bubbles"};
constexpr TScrambled SecBills{"Bills"};
constexpr TScrambled SecImmersion{"Immersion"};
constexpr TScrambled SecFountain{"Fountain"};
constexpr TScrambled SecFishes{"Fishes"};
constexpr TScrambled SecSystem{"System"};
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
constexpr TScrambled KeyLog{"Log"};

class TReader {
public:
    TReader(const TIniFile& Ini) : FIni(Ini) {}
    void Section(const std::string& Name) { FSection = Name; }
    template <class K>
    void Float(const K& Key, float& Value)
    {
        Value = FIni.ReadFloat(FSection, Key.Text(), Value);
    }
    template <class K>
    void String(const K& Key, std::string& Value)
    {
        Value = FIni.ReadString(FSection, Key.Text(), Value);
    }
    template <class K>
    void Color(const K& Key, TGLColor& Value)
    {
        const std::string Name = Key.Text();
        if (const auto Text = FIni.Value(FSection, Name))
            ApplyColorEntry(*Text, Value, FSection + "." + Name);
    }
    template <class K>
    int Integer(const K& Key, int Default)
    {
        return FIni.ReadInteger(FSection, Key.Text(), Default);
    }
    void Theme(TSceneTheme& T)
    {
        Color(KeyFogColor, T.FogColor);
        Color(KeyWaterColor, T.WaterColor);
        Color(KeyBottomColor, T.BottomColor);
        Color(KeyBillColor, T.BillColor);
        Color(KeyBubbleColor, T.BubbleColor);
        String(KeyBottomTexture, T.BottomTextureName);
        String(KeyWaterTexture, T.WaterTextureName);
        String(KeyCausticTexture, T.CausticTextureName);
    }

private:
    const TIniFile& FIni;
    std::string FSection;
};

} // namespace

void ApplyColorEntry(const std::string& Text, TGLColor& Color, const std::string& Where)
{
    float* const Components[4] = {&Color.R, &Color.G, &Color.B, &Color.A};
    std::string_view Rest = Text;
    // A comma at the very end does not start another field.
    if (!Rest.empty() && Rest.back() == ',')
        Rest.remove_suffix(1);
    if (TrimBlanks(Rest).empty())
        return;
    for (int Field = 0; Field < 4; ++Field) {
        const std::size_t Comma = Rest.find(',');
        const std::string_view Part = TrimBlanks(Rest.substr(0, Comma));
        if (!Part.empty()) {
            const auto Value = ParseDecimal(Part);
            if (!Value)
                throw EGlimmoraError("'" + std::string(Part) + "' is not a valid number in the tuning file entry " +
                                     Where);
            *Components[Field] = static_cast<float>(*Value / 255.0);
        }
        if (Comma == std::string_view::npos)
            break;
        Rest.remove_prefix(Comma + 1);
    }
}

void ApplyTuning(const TIniFile& Ini, TSceneSettings& S, IProcessControl& Process, TLogFile& Log)
{
    TReader R(Ini);
    R.Section(SecView.Text());
    R.Float(KeyFar, S.FarPlane);
    R.Float(KeyNear, S.NearPlane);
    R.Float(KeyFov, S.FieldOfView);
    R.Float(KeyShadeStart, S.ShadeStart);
    R.Float(KeyFogStart, S.FogStart);
    R.Float(KeyFogEnd, S.FogEnd);
    R.Color(KeyAmbient, S.GlobalAmbient);
    R.Color(KeyLight, S.LightDiffuse);

    R.Section(SecPlanes.Text());
    R.Float(KeyWaterCaustic, S.WaterCausticAlpha);
    R.Float(KeyBottomCaustic, S.BottomCausticAlpha);
    R.Float(KeyBottomHeight, S.BottomHeight);
    R.Float(KeyWaterHeight, S.WaterHeight);
    R.String(KeyPlaneModel, S.PlaneModelName);

    R.Section(SecBubbles.Text());
    R.Float(KeyMinDepth, S.BubbleMinDepth);
    R.Float(KeyMaxDepth, S.BubbleMaxDepth);
    R.Float(KeyMaxSpeed, S.BubbleMaxSpeed);
    R.Float(KeyMinSpeed, S.BubbleMinSpeed);
    R.String(KeyModel, S.BubbleModelName);
    R.String(KeyImage, S.BubbleTextureName);
    R.String(KeyMask, S.BubbleMaskName);

    R.Section(SecBills.Text());
    R.Float(KeyShimmerAlpha, S.ShimmerAlpha);
    R.String(KeyModel, S.BillModelName);
    R.String(KeyImage, S.BillTextureName);
    R.String(KeyShimmerImage, S.ShimmerTextureName);
    R.String(KeyWaveFrames, S.WaveFrameListName);

    R.Section(SecImmersion.Text());
    R.Float(KeyMinDepth, S.ImmersionMinDepth);
    R.Float(KeyMaxDepth, S.ImmersionMaxDepth);
    R.Float(KeyMaxSpeed, S.ImmersionMaxSpeed);
    R.Float(KeyMinSpeed, S.ImmersionMinSpeed);
    R.Float(KeyMaxSpin, S.ImmersionMaxSpin);
    R.Float(KeyMinSpin, S.ImmersionMinSpin);
    R.Theme(S.Themes[thImmersion]);

    R.Section(SecFountain.Text());
    R.Float(KeyDepth, S.FountainDepth);
    R.Float(KeySpread, S.FountainSpread);
    R.Float(KeyLaunchSpeed, S.LaunchSpeed);
    R.Float(KeySpeedSpread, S.SpeedSpread);
    R.Float(KeyMaxSpin, S.FountainMaxSpin);
    R.Float(KeyMinSpin, S.FountainMinSpin);
    R.Theme(S.Themes[thFountain]);

    R.Section(SecFishes.Text());
    R.Float(KeyMinDepth, S.FishMinDepth);
    R.Float(KeyMaxDepth, S.FishMaxDepth);
    R.Float(KeyMaxSpeed, S.FishMaxSpeed);
    R.Float(KeyMinSpeed, S.FishMinSpeed);
    R.Float(KeyMinHeight, S.FishMinHeight);
    R.Float(KeyMaxHeight, S.FishMaxHeight);
    R.Theme(S.Themes[thFishes]);

    R.Section(SecSystem.Text());
    S.ProcessPriority = R.Integer(KeyPriority, 1);
    SetProcessPriority(Process, S.ProcessPriority);
    Log.SetLogFile(R.Integer(KeyLog, 0) != 0);
}

void LoadTuningFile(const std::string& FileName, TSceneSettings& Settings, IProcessControl& Process, TLogFile& Log)
{
    std::error_code Ec;
    if (!std::filesystem::is_regular_file(std::filesystem::u8path(FileName), Ec))
        return;
    TIniFile Ini;
    if (!Ini.LoadFromFile(FileName))
        return;
    ApplyTuning(Ini, Settings, Process, Log);
}
