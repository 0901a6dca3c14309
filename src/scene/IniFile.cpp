#include "scene/IniFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// The index's hash: SipHash-2-4 of the case-folded name (names SameText
// matches share it) under a key drawn once per process. Without a secret
// key a file could hold names made to fall into one slot, and every heading
// would then walk all the others.
struct TSipKey {
    std::uint64_t K0, K1;
};

const TSipKey& IndexKey()
{
    static const TSipKey Key = [] {
        std::random_device Source;
        const auto Draw = [&Source] { return (std::uint64_t(Source()) << 32) ^ Source(); };
        const std::uint64_t K0 = Draw();
        return TSipKey{K0, Draw()};
    }();
    return Key;
}

constexpr std::uint64_t Rotl(std::uint64_t X, int B) { return (X << B) | (X >> (64 - B)); }

struct TSipState {
    std::uint64_t V0, V1, V2, V3;
    void Round()
    {
        V0 += V1;
        V1 = Rotl(V1, 13);
        V1 ^= V0;
        V0 = Rotl(V0, 32);
        V2 += V3;
        V3 = Rotl(V3, 16);
        V3 ^= V2;
        V0 += V3;
        V3 = Rotl(V3, 21);
        V3 ^= V0;
        V2 += V1;
        V1 = Rotl(V1, 17);
        V1 ^= V2;
        V2 = Rotl(V2, 32);
    }
    void Absorb(std::uint64_t M)
    {
        V3 ^= M;
        Round();
        Round();
        V0 ^= M;
    }
};

std::size_t FoldedHash(std::string_view Name)
{
    const TSipKey& Key = IndexKey();
    TSipState S{Key.K0 ^ 0x736f6d6570736575ull, Key.K1 ^ 0x646f72616e646f6dull, Key.K0 ^ 0x6c7967656e657261ull,
                Key.K1 ^ 0x7465646279746573ull};
    std::uint64_t Word = 0;
    std::size_t I = 0;
    for (; I < Name.size(); ++I) {
        Word |= std::uint64_t(static_cast<unsigned char>(UpperAscii(Name[I]))) << (8 * (I % 8));
        if (I % 8 == 7) {
            S.Absorb(Word);
            Word = 0;
        }
    }
    S.Absorb(Word | (std::uint64_t(Name.size() & 0xFF) << 56));
    S.V2 ^= 0xFF;
    for (int R = 0; R < 4; ++R)
        S.Round();
    return static_cast<std::size_t>(S.V0 ^ S.V1 ^ S.V2 ^ S.V3);
}

} // namespace

namespace {

void AppendUtf8(std::string& Out, std::uint32_t C)
{
    if (C > 0x10FFFF || (C >= 0xD800 && C <= 0xDFFF))
        C = 0xFFFD;
    if (C < 0x80) {
        Out += static_cast<char>(C);
    } else if (C < 0x800) {
        Out += static_cast<char>(0xC0 | (C >> 6));
        Out += static_cast<char>(0x80 | (C & 0x3F));
    } else if (C < 0x10000) {
        Out += static_cast<char>(0xE0 | (C >> 12));
        Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (C & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | (C >> 18));
        Out += static_cast<char>(0x80 | ((C >> 12) & 0x3F));
        Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (C & 0x3F));
    }
}

// Unit I of Width bytes, little- or big-endian.
std::uint32_t UnitAt(std::string_view Bytes, std::size_t I, std::size_t Width, bool Big)
{
    std::uint32_t U = 0;
    for (std::size_t B = 0; B < Width; ++B) {
        const std::uint32_t Byte = static_cast<unsigned char>(Bytes[I * Width + B]);
        U |= Byte << (8 * (Big ? Width - 1 - B : B));
    }
    return U;
}

} // namespace

std::string TextAsUtf8(std::string_view Bytes)
{
    std::size_t Width = 0;
    bool Big = false;
    if (Bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4)))
        Width = 4;
    else if (Bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4)))
        Width = 4, Big = true;
    else if (Bytes.starts_with("\xFF\xFE"))
        Width = 2;
    else if (Bytes.starts_with("\xFE\xFF"))
        Width = 2, Big = true;
    else
        return std::string(Bytes.starts_with(ByteOrderMark) ? Bytes.substr(ByteOrderMark.size()) : Bytes);
    std::string Out;
    Out.reserve(Bytes.size());
    const std::size_t Units = Bytes.size() / Width;
    for (std::size_t I = 1; I < Units; ++I) {
        std::uint32_t C = UnitAt(Bytes, I, Width, Big);
        if (Width == 2 && C >= 0xD800 && C <= 0xDBFF && I + 1 < Units) {
            const std::uint32_t Low = UnitAt(Bytes, I + 1, Width, Big);
            if (Low >= 0xDC00 && Low <= 0xDFFF) {
                C = 0x10000 + ((C - 0xD800) << 10) + (Low - 0xDC00);
                ++I;
            }
        }
        AppendUtf8(Out, C);
    }
    if (Bytes.size() % Width != 0)
        AppendUtf8(Out, 0xFFFD);   // a unit cut short at the end
    return Out;
}

std::string_view NextLine(std::string_view Text, std::size_t& Pos)
{
    const std::size_t Begin = std::min(Pos, Text.size());
    const std::size_t End = std::min(Text.find_first_of("\r\n", Begin), Text.size());
    Pos = End + 1;
    if (End < Text.size() && Text[End] == '\r' && Pos < Text.size() && Text[Pos] == '\n')
        ++Pos;
    return Text.substr(Begin, End - Begin);
}

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
    if (FText.starts_with("\xFF\xFE") || FText.starts_with("\xFE\xFF") ||
        FText.starts_with(std::string_view("\0\0\xFE\xFF", 4)))
        FText = TextAsUtf8(FText);
    Index();
    return TIniLoad::Loaded;
}

void TIniFile::Parse(std::string_view Text)
{
    if (Text.size() >= None)
        throw std::length_error("TIniFile: a text of 4 GiB or more");
    FText = TextAsUtf8(Text);
    if (FText.size() >= None)
        throw std::length_error("TIniFile: a text of 4 GiB or more");
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
        const std::string_view Line = TrimBlanks(NextLine(Text, Pos));
        if (!Line.empty() && Line.front() == '[') {
            const std::size_t Close = Line.find(']');
            AddHeading(TrimBlanks(Line.substr(1, Close == std::string_view::npos ? Line.npos : Close - 1)),
                       std::min(Pos, Text.size()));
        }
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
            const std::string_view Line = TrimBlanks(NextLine(Text, Pos));
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
