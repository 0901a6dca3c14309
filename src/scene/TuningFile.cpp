#include "scene/TuningFile.h"

#include <cstdint>
#include <filesystem>
#include <type_traits>
#include <variant>

#include "scene/Scramble.h"
#include "gl/Errors.h"

namespace {

// A tuning file is a few hundred bytes; anything near this is not one.
constexpr std::uintmax_t MaxTuningFileSize = std::uintmax_t(1) << 20;

// The log switch belongs to the log, not to the scene: it is read after
// the table, from the section of the priority.
constexpr TScrambled SecSystem{"System"};
constexpr TScrambled KeyLog{"Log"};

// Each kind of row keeps its own rule: a float or a string that is absent
// or unreadable keeps the current value, a colour changes field by field,
// an integer falls back to the row's built-in value.
void ReadRow(const TIniFile& Ini, const TSceneSettingRow& Row, TSceneSettings& Settings)
{
    const std::string Section = UnscrambleKey(Row.Section);
    const std::string Key = UnscrambleKey(Row.Key);
    std::visit(
        [&](const auto& Field) {
            auto& Value = Field.Member(Settings);
            using TValue = std::remove_reference_t<decltype(Value)>;
            if constexpr (std::is_same_v<TValue, float>) {
                Value = Ini.ReadFloat(Section, Key, Value);
            } else if constexpr (std::is_same_v<TValue, std::string>) {
                Value = Ini.ReadString(Section, Key, Value);
            } else if constexpr (std::is_same_v<TValue, TGLColor>) {
                if (const auto Text = Ini.Value(Section, Key))
                    ApplyColorEntry(*Text, Value, Section + "." + Key);
            } else {
                static_assert(std::is_same_v<TValue, int>, "a kind of row without a reading rule");
                Value = Ini.ReadInteger(Section, Key, Field.Default);
            }
        },
        Row.Field);
}

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
            if (!FitsSingle(*Value))
                throw EGlimmoraError("'" + std::string(Part) + "' is out of range in the tuning file entry " + Where);
            *Components[Field] = static_cast<float>(*Value / 255.0);
        }
        if (Comma == std::string_view::npos)
            break;
        Rest.remove_prefix(Comma + 1);
    }
}

void ApplyTuning(const TIniFile& Ini, TSceneSettings& S, IProcessControl& Process, TLogFile& Log)
{
    const TSceneSettings Before = S;
    for (const TSceneSettingRow& Row : SceneSettingRows())
        ReadRow(Ini, Row, S);
    RestoreUnusable(SceneSettingRows(), Before, S);
    // The priority is the table's last row: it takes effect as soon as it
    // is read.
    SetProcessPriority(Process, S.ProcessPriority);
    Log.SetLogFile(Ini.ReadInteger(SecSystem.Text(), KeyLog.Text(), 0) != 0);
}

void LoadTuningFile(const std::string& FileName, TSceneSettings& Settings, IProcessControl& Process, TLogFile& Log)
{
    std::error_code Ec;
    if (!std::filesystem::is_regular_file(std::filesystem::u8path(FileName), Ec))
        return;
    TIniFile Ini;
    switch (Ini.LoadFromFile(FileName, MaxTuningFileSize)) {
    case TIniLoad::Loaded:
        ApplyTuning(Ini, Settings, Process, Log);
        break;
    case TIniLoad::TooLarge:
        throw EGlimmoraError("The tuning file \"" + FileName + "\" is larger than 1 MiB");
    case TIniLoad::Unreadable:
        break;
    }
}
