#include "scene/TuningFile.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <type_traits>
#include <variant>
#include <vector>

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
void ReadRow(const TIniFile& Ini, const TSceneSettingRow& Row, TSceneSettings& Settings, const std::string& Of)
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
                    ApplyColorEntry(*Text, Value, Section + "." + Key + Of);
            } else {
                static_assert(std::is_same_v<TValue, int>, "a kind of row without a reading rule");
                Value = Ini.ReadInteger(Section, Key, Field.Default);
            }
        },
        Row.Field);
}

// A value as a message shows it.
std::string ValueText(float Value)
{
    char Text[32];
    std::snprintf(Text, sizeof(Text), "%g", static_cast<double>(Value));
    return Text;
}
std::string ValueText(int Value) { return std::to_string(Value); }
std::string ValueText(const std::string& Value) { return Value; }
std::string ValueText(const TGLColor& C)
{
    return ValueText(C.R * 255) + "," + ValueText(C.G * 255) + "," + ValueText(C.B * 255) + "," + ValueText(C.A * 255);
}

// The file's name as a message gives it: the full path, so the user finds
// the file whichever folder the program was started from.
std::string FullPath(const std::string& FileName)
{
    std::error_code Ec;
    const std::filesystem::path Full = std::filesystem::absolute(std::filesystem::u8path(FileName), Ec);
    if (Ec)
        return FileName;
    const std::u8string Text = Full.lexically_normal().u8string();
    return std::string(reinterpret_cast<const char*>(Text.data()), Text.size());
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

void ApplyTuning(const TIniFile& Ini, TSceneSettings& S, IProcessControl& Process, TLogFile& Log,
                 const std::string& FileName, std::vector<std::string>* Notices)
{
    const TSceneSettings Before = S;
    const std::string Of = FileName.empty() ? std::string() : " of \"" + FullPath(FileName) + "\"";
    for (const TSceneSettingRow& Row : SceneSettingRows())
        ReadRow(Ini, Row, S, Of);
    const std::vector<bool> Restored = RestoreUnusable(SceneSettingRows(), Before, S);
    // The priority is the table's last row: it takes effect as soon as it
    // is read.
    SetProcessPriority(Process, S.ProcessPriority);
    Log.SetLogFile(Ini.ReadInteger(SecSystem.Text(), KeyLog.Text(), 0) != 0);
    // An entry of the file whose value was taken back is named, in the log
    // and to the caller.
    const auto Rows = SceneSettingRows();
    for (std::size_t I = 0; I < Rows.size(); ++I) {
        const std::string Section = UnscrambleKey(Rows[I].Section), Key = UnscrambleKey(Rows[I].Key);
        const auto Text = Ini.Value(Section, Key);
        if (!Restored[I] || !Text)
            continue;
        const std::string Message = "The tuning file entry [" + Section + "] " + Key + "=" + *Text + Of +
                                    " gives a projection that cannot be drawn; the value " +
                                    std::visit([&](const auto& F) { return ValueText(F.Member(S)); }, Rows[I].Field) +
                                    " is kept";
        Log.WriteLog(Message);
        if (Notices != nullptr)
            Notices->push_back(Message);
    }
}

void LoadTuningFile(const std::string& FileName, TSceneSettings& Settings, IProcessControl& Process, TLogFile& Log,
                    std::vector<std::string>* Notices)
{
    std::error_code Ec;
    if (!std::filesystem::is_regular_file(std::filesystem::u8path(FileName), Ec))
        return;
    TIniFile Ini;
    switch (Ini.LoadFromFile(FileName, MaxTuningFileSize)) {
    case TIniLoad::Loaded:
        // A UTF-16 text without its byte-order mark would read as no entry
        // at all.
        if (Ini.HoldsNul())
            throw EGlimmoraError("The tuning file \"" + FullPath(FileName) +
                                 "\" holds NUL bytes: it is not text in UTF-8, or in UTF-16 or UTF-32 with a "
                                 "byte-order mark");
        ApplyTuning(Ini, Settings, Process, Log, FileName, Notices);
        break;
    case TIniLoad::TooLarge:
        throw EGlimmoraError("The tuning file \"" + FullPath(FileName) + "\" is larger than 1 MiB");
    case TIniLoad::Unreadable:
        break;
    }
}
