#include "scene/IniFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// FNV-1a of the case-folded name, so that names SameText matches share it.
std::size_t FoldedHash(std::string_view Name)
{
    std::uint32_t Hash = 2166136261u;
    for (const char C : Name) {
        Hash ^= static_cast<unsigned char>(UpperAscii(C));
        Hash *= 16777619u;
    }
    return Hash;
}

} // namespace

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

bool FitsSingle(double Value) { return std::fabs(Value) <= 3.4e38; }

TIniLoad TIniFile::LoadFromFile(const std::string& FileName, std::uintmax_t MaxSize)
{
    std::ifstream In(std::filesystem::u8path(FileName), std::ios::binary | std::ios::ate);
    if (!In)
        return TIniLoad::Unreadable;
    const std::streamoff Size = In.tellg();
    if (Size < 0)
        return TIniLoad::Unreadable;
    if (static_cast<std::uintmax_t>(Size) > std::min<std::uintmax_t>(MaxSize, None - 1))
        return TIniLoad::TooLarge;
    // Read straight into the text the reader keeps: one copy of the file.
    FText.assign(static_cast<std::size_t>(Size), '\0');
    In.seekg(0);
    In.read(FText.data(), Size);
    FText.resize(static_cast<std::size_t>(In.gcount()));
    Index();
    return TIniLoad::Loaded;
}

void TIniFile::Parse(std::string_view Text)
{
    if (Text.size() >= None)
        throw std::length_error("TIniFile: a text of 4 GiB or more");
    FText.assign(Text);
    Index();
}

void TIniFile::Index()
{
    FSections.clear();
    FBlocks.clear();
    FSlots.assign(16, 0);
    FHeadingProbes = 0;
    const std::string_view Text = FText;
    std::size_t Pos = Text.starts_with(ByteOrderMark) ? ByteOrderMark.size() : 0;
    while (Pos < Text.size()) {
        const std::size_t Eol = std::min(Text.find('\n', Pos), Text.size());
        const std::string_view Line = TrimBlanks(Text.substr(Pos, Eol - Pos));
        if (!Line.empty() && Line.front() == '[') {
            const std::size_t Close = Line.find(']');
            AddHeading(TrimBlanks(Line.substr(1, Close == std::string_view::npos ? Line.npos : Close - 1)),
                       std::min(Eol + 1, Text.size()));
        }
        Pos = Eol + 1;
    }
}

TIniFile::TIndex TIniFile::AddHeading(std::string_view Name, std::size_t BodyBegin)
{
    const auto Block = static_cast<TIndex>(FBlocks.size());
    FBlocks.push_back(TBlock{static_cast<TIndex>(BodyBegin), None});
    const std::size_t At = Slot(Name, &FHeadingProbes);
    if (FSlots[At] != 0) {
        TSection& S = FSections[FSlots[At] - 1];
        FBlocks[S.LastBlock].Next = Block;
        S.LastBlock = Block;
        return Block;
    }
    FSections.push_back(TSection{static_cast<TIndex>(Name.data() - FText.data()), static_cast<TIndex>(Name.size()),
                                 Block, Block});
    FSlots[At] = static_cast<TIndex>(FSections.size());
    if (2 * FSections.size() > FSlots.size())
        GrowSlots();
    return Block;
}

std::size_t TIniFile::Slot(std::string_view Name, std::size_t* Probes) const
{
    // Linear probing in a power-of-two table never more than half full.
    const std::size_t Mask = FSlots.size() - 1;
    for (std::size_t At = FoldedHash(Name) & Mask;; At = (At + 1) & Mask) {
        if (Probes != nullptr)
            ++*Probes;
        if (FSlots[At] == 0 || SameText(NameOf(FSections[FSlots[At] - 1]), Name))
            return At;
    }
}

void TIniFile::GrowSlots()
{
    FSlots.assign(2 * FSlots.size(), 0);
    for (std::size_t I = 0; I < FSections.size(); ++I)
        FSlots[Slot(NameOf(FSections[I]), nullptr)] = static_cast<TIndex>(I + 1);
}

TIniFile::TIndex TIniFile::Find(std::string_view Section) const
{
    if (FSlots.empty())
        return None;
    const std::size_t At = Slot(Section, nullptr);
    return FSlots[At] == 0 ? None : FSlots[At] - 1;
}

bool TIniFile::SectionExists(std::string_view Section) const { return Find(Section) != None; }

std::optional<std::string> TIniFile::Value(std::string_view Section, std::string_view Key) const
{
    const TIndex S = Find(Section);
    if (S == None)
        return std::nullopt;
    const std::string_view Text = FText;
    for (TIndex B = FSections[S].FirstBlock; B != None; B = FBlocks[B].Next) {
        // The block ends at the next heading line.
        for (std::size_t Pos = FBlocks[B].Begin; Pos < Text.size();) {
            const std::size_t Eol = std::min(Text.find('\n', Pos), Text.size());
            const std::string_view Line = TrimBlanks(Text.substr(Pos, Eol - Pos));
            Pos = Eol + 1;
            if (!Line.empty() && Line.front() == '[')
                break;
            if (Line.empty() || Line.front() == ';' || Line.front() == '#')
                continue;
            const std::size_t Eq = Line.find('=');
            if (Eq != std::string_view::npos && SameText(TrimBlanks(Line.substr(0, Eq)), Key))
                return std::string(TrimBlanks(Line.substr(Eq + 1)));
        }
    }
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
    if (!D || !FitsSingle(*D))
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
