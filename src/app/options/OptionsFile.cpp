#include "app/options/OptionsFile.h"

#include <charconv>

#include "gl/Errors.h"
#include "platform/SameText.h"
#include "scene/IniFile.h"

namespace {

std::string Trim(const std::string& S)
{
    const auto First = S.find_first_not_of(" \t\r");
    if (First == std::string::npos)
        return {};
    return S.substr(First, S.find_last_not_of(" \t\r") - First + 1);
}

} // namespace

TOptionsFileKey::TOptionsFileKey(const std::string& Text, std::function<bool(const std::string&)> Save)
    : FSave(std::move(Save))
{
    // Any text editor's file: a UTF-8 byte-order mark, UTF-16 or UTF-32 with
    // theirs, and lines ended by CR LF, LF or CR alone.
    const std::string Utf8 = TextAsUtf8(Text);
    std::size_t Start = 0;
    int Number = 0;
    while (Start < Utf8.size()) {
        const std::string Raw(NextLine(Utf8, Start));
        ++Number;
        const std::string Line = Trim(Raw);
        if (Line.find('\0') != std::string::npos)
            throw EGlimmoraError("line " + std::to_string(Number) + " holds a NUL byte");
        if (Line.empty() || Line[0] == ';' || Line[0] == '#' || (Line.front() == '[' && Line.back() == ']')) {
            FLines.push_back({Line, {}, {}});
            continue;
        }
        const std::size_t Eq = Line.find('=');
        const std::string Name = Eq == std::string::npos ? std::string() : Trim(Line.substr(0, Eq));
        if (Name.empty())
            throw EGlimmoraError("line " + std::to_string(Number) + " is not Name=Value: \"" + Line + "\"");
        FLines.push_back({{}, Name, Trim(Line.substr(Eq + 1))});
    }
}

const TOptionsFileKey::TLine* TOptionsFileKey::Find(const std::string& Name) const
{
    // The last line of a name counts, as when the file is read top-down.
    for (auto It = FLines.rbegin(); It != FLines.rend(); ++It)
        if (!It->Name.empty() && SameText(It->Name, Name))
            return &*It;
    return nullptr;
}

bool TOptionsFileKey::ValueExists(const std::string& Name) { return Find(Name) != nullptr; }

TRegistryValue<int32_t> TOptionsFileKey::ReadInteger(const std::string& Name)
{
    const TLine* L = Find(Name);
    if (!L)
        return {};
    const std::string& V = L->Value;
    const char* First = V.data() + (V.size() > 1 && V[0] == '+' ? 1 : 0);
    int32_t Value = 0;
    const auto [End, Err] = std::from_chars(First, V.data() + V.size(), Value);
    if (V.empty() || Err != std::errc() || End != V.data() + V.size())
        return {rvUnreadable, 0};
    return {rvPresent, Value};
}

TRegistryValue<std::string> TOptionsFileKey::ReadString(const std::string& Name)
{
    const TLine* L = Find(Name);
    if (!L)
        return {};
    return {rvPresent, L->Value};
}

bool TOptionsFileKey::WriteInteger(const std::string& Name, int32_t Value)
{
    if (Name.empty() || Name.find_first_of("=\n[;#") != std::string::npos)
        return false;
    TLine* L = const_cast<TLine*>(Find(Name));
    if (L)
        L->Value = std::to_string(Value);
    else
        FLines.push_back({{}, Name, std::to_string(Value)});
    return FSave && FSave(Text());
}

std::string TOptionsFileKey::Text() const
{
    std::string Out;
    bool HasSection = false;
    for (const TLine& L : FLines)
        HasSection = HasSection || (!L.Raw.empty() && L.Raw[0] == '[');
    if (!HasSection)
        Out = "[Glimmora 3D]\n";
    for (const TLine& L : FLines)
        Out += L.Name.empty() ? L.Raw + "\n" : L.Name + "=" + L.Value + "\n";
    // Text that starts like a byte-order mark would be read again as
    // another encoding, or lose those bytes: a UTF-8 mark in front keeps it
    // as it is.
    if (TextAsUtf8(Out) != Out)
        Out.insert(0, "\xEF\xBB\xBF");
    return Out;
}

std::string OptionsFilePath(const std::string& XdgConfigHome, const std::string& Home)
{
    std::string Base;
    if (!XdgConfigHome.empty() && XdgConfigHome[0] == '/')
        Base = XdgConfigHome;
    else if (!Home.empty() && Home[0] == '/')
        Base = Home + "/.config";
    else
        return {};
    return Base + "/glimmora3d/glimmora3d.ini";
}
