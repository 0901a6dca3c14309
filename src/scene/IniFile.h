// A small INI reader that behaves the same on every target: "[Section]"
// headings, "Key=Value" lines, names compared without regard to case,
// names and values trimmed of blanks, ";" and "#" lines ignored. The first
// section and the first key of a name win.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/SameText.h"

class TIniFile {
public:
    TIniFile() = default;
    explicit TIniFile(std::string_view Text) { Parse(Text); }
    // Reads the file; false when it cannot be opened.
    bool LoadFromFile(const std::string& FileName);
    void Parse(std::string_view Text);

    std::optional<std::string> Value(std::string_view Section, std::string_view Key) const;
    std::string ReadString(std::string_view Section, std::string_view Key, const std::string& Default) const;
    // Unreadable or absent numbers give the default. "." is the decimal
    // separator whatever the locale; non-finite numbers are not accepted.
    float ReadFloat(std::string_view Section, std::string_view Key, float Default) const;
    int ReadInteger(std::string_view Section, std::string_view Key, int Default) const;
    bool SectionExists(std::string_view Section) const;

private:
    struct TSection {
        std::string Name;
        std::vector<std::pair<std::string, std::string>> Entries;
    };
    const TSection* Find(std::string_view Section) const;
    std::vector<TSection> FSections;
};

// Locale-independent checked conversions of a whole (trimmed) text.
std::optional<double> ParseDecimal(std::string_view Text);
std::optional<int> ParseInteger(std::string_view Text);
std::string_view TrimBlanks(std::string_view Text);
