// A small INI reader that behaves the same on every target: "[Section]"
// headings, "Key=Value" lines, names compared without regard to case,
// names and values trimmed of blanks, ";" and "#" lines ignored, lines
// ended by CR LF, LF or CR, a UTF-8 byte-order mark at the start skipped and
// UTF-16 and UTF-32 texts with a byte-order mark read as their UTF-8. A repeated heading continues the
// first section of its name, and the first key of a name wins.
//
// Reading is linear in the text: each heading finds its section through a
// hash index of the case-folded names, keyed by a secret drawn once per
// process so that no file can choose names that collide, and the entries
// are not copied out.
// The reader keeps the text and, per heading, the span of lines under it;
// a value is looked up in the spans of its section when asked for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SameText.h"

enum class TIniLoad { Loaded, Unreadable, TooLarge };

class TIniFile {
public:
    TIniFile() = default;
    explicit TIniFile(std::string_view Text) { Parse(Text); }
    // Reads the file when it can be opened and holds at most MaxSize bytes
    // (and less than 4 GiB); the size is checked before anything is read.
    TIniLoad LoadFromFile(const std::string& FileName, std::uintmax_t MaxSize);
    // A text of 4 GiB or more throws std::length_error.
    void Parse(std::string_view Text);

    std::optional<std::string> Value(std::string_view Section, std::string_view Key) const;
    std::string ReadString(std::string_view Section, std::string_view Key, const std::string& Default) const;
    // Unreadable or absent numbers give the default. "." is the decimal
    // separator whatever the locale; non-finite numbers and numbers beyond
    // the single range are not accepted.
    float ReadFloat(std::string_view Section, std::string_view Key, float Default) const;
    int ReadInteger(std::string_view Section, std::string_view Key, int Default) const;
    bool SectionExists(std::string_view Section) const;
    // Whether the text holds a NUL byte: no text file of the reader's kinds
    // does (a UTF-16 text without its byte-order mark does).
    bool HoldsNul() const { return FText.find('\0') != std::string::npos; }

    // Index slots the last Parse examined to place its headings: about one
    // per heading however many there are (the cost the index keeps linear).
    std::size_t HeadingProbes() const { return FHeadingProbes; }

private:
    // Offsets into FText and indices into the vectors, small to keep the
    // index small beside the text; a text must stay under 4 GiB.
    using TIndex = std::uint32_t;
    static constexpr TIndex None = UINT32_MAX;
    struct TSection {
        TIndex NameBegin, NameLength;
        TIndex FirstBlock, LastBlock;
    };
    // The lines under one heading (up to the next heading line), and the
    // next heading of the same section.
    struct TBlock {
        TIndex Begin, Next;
    };

    void Index();
    TIndex AddHeading(std::string_view Name, std::size_t BodyBegin);
    // The slot that holds Name, or the empty slot where it would go.
    std::size_t Slot(std::string_view Name, std::size_t* Probes) const;
    void GrowSlots();
    TIndex Find(std::string_view Section) const;
    std::string_view NameOf(const TSection& S) const { return std::string_view(FText).substr(S.NameBegin, S.NameLength); }

    std::string FText;
    std::vector<TSection> FSections;
    std::vector<TBlock> FBlocks;
    std::vector<TIndex> FSlots;   // section index + 1; 0 is empty
    std::size_t FHeadingProbes = 0;
};

// A text file's bytes as UTF-8 text: a UTF-8 byte-order mark is dropped;
// UTF-16 and UTF-32 (either byte order) after their byte-order mark are
// converted, a unit that is no character becoming U+FFFD. Anything else is
// taken as it is.
std::string TextAsUtf8(std::string_view Bytes);

// The next line of Text from Pos: its span without the line end, which is
// CR LF, LF or CR alone; Pos moves past the line end.
std::string_view NextLine(std::string_view Text, std::size_t& Pos);

// Locale-independent checked conversions of a whole (trimmed) text.
std::optional<double> ParseDecimal(std::string_view Text);
std::optional<int> ParseInteger(std::string_view Text);
// Whether a number read as a double can be kept in a single.
bool FitsSingle(double Value);
std::string_view TrimBlanks(std::string_view Text);
