#include "scene/IniFile.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>

std::string_view TrimBlanks(std::string_view Text)
{
    const auto Blank = [](char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n' || C == '\0'; };
    while (!Text.empty() && Blank(Text.front()))
        Text.remove_prefix(1);
    while (!Text.empty() && Blank(Text.back()))
        Text.remove_suffix(1);
    return Text;
}

std::optional<double> ParseDecimal(std::string_view Text)
{
    Text = TrimBlanks(Text);
    if (!Text.empty() && Text.front() == '+')
        Text.remove_prefix(1);
    if (Text.empty() || !(std::isdigit(static_cast<unsigned char>(Text.front())) || Text.front() == '-' ||
                          Text.front() == '.'))
        return std::nullopt;
    double Value = 0;
    const auto [End, Err] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
    if (Err != std::errc() || End != Text.data() + Text.size() || !std::isfinite(Value))
        return std::nullopt;
    return Value;
}

std::optional<int> ParseInteger(std::string_view Text)
{
    Text = TrimBlanks(Text);
    if (!Text.empty() && Text.front() == '+')
        Text.remove_prefix(1);
    int Value = 0;
    const auto [End, Err] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
    if (Text.empty() || Err != std::errc() || End != Text.data() + Text.size())
        return std::nullopt;
    return Value;
}

bool TIniFile::LoadFromFile(const std::string& FileName)
{
    std::ifstream In(FileName, std::ios::binary);
    if (!In)
        return false;
    const std::string Text{std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
    Parse(Text);
    return true;
}

void TIniFile::Parse(std::string_view Text)
{
    FSections.clear();
    TSection* Current = nullptr;
    while (!Text.empty()) {
        const std::size_t Eol = Text.find('\n');
        std::string_view Line = TrimBlanks(Text.substr(0, Eol));
        Text.remove_prefix(Eol == std::string_view::npos ? Text.size() : Eol + 1);
        if (Line.empty() || Line.front() == ';' || Line.front() == '#')
            continue;
        if (Line.front() == '[') {
            const std::size_t Close = Line.find(']');
            const std::string_view Name = TrimBlanks(Line.substr(1, Close == std::string_view::npos ? Line.npos : Close - 1));
            Current = nullptr;
            for (TSection& S : FSections)
                if (Current == nullptr && SameText(S.Name, Name))
                    Current = &S;
            if (Current == nullptr) {
                FSections.push_back(TSection{std::string(Name), {}});
                Current = &FSections.back();
            }
            continue;
        }
        const std::size_t Eq = Line.find('=');
        if (Current == nullptr || Eq == std::string_view::npos)
            continue;
        Current->Entries.emplace_back(std::string(TrimBlanks(Line.substr(0, Eq))),
                                      std::string(TrimBlanks(Line.substr(Eq + 1))));
    }
}

const TIniFile::TSection* TIniFile::Find(std::string_view Section) const
{
    for (const TSection& S : FSections)
        if (SameText(S.Name, Section))
            return &S;
    return nullptr;
}

bool TIniFile::SectionExists(std::string_view Section) const { return Find(Section) != nullptr; }

std::optional<std::string> TIniFile::Value(std::string_view Section, std::string_view Key) const
{
    if (const TSection* S = Find(Section))
        for (const auto& [Name, Value] : S->Entries)
            if (SameText(Name, Key))
                return Value;
    return std::nullopt;
}

std::string TIniFile::ReadString(std::string_view Section, std::string_view Key, const std::string& Default) const
{
    const auto V = Value(Section, Key);
    return V ? *V : Default;
}

float TIniFile::ReadFloat(std::string_view Section, std::string_view Key, float Default) const
{
    const auto V = Value(Section, Key);
    if (!V)
        return Default;
    const auto D = ParseDecimal(*V);
    // A number beyond the single range is as unreadable as text.
    if (!D || std::fabs(*D) > 3.4e38)
        return Default;
    return static_cast<float>(*D);
}

int TIniFile::ReadInteger(std::string_view Section, std::string_view Key, int Default) const
{
    const auto V = Value(Section, Key);
    if (!V)
        return Default;
    return ParseInteger(*V).value_or(Default);
}
