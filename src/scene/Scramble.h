// Registry value names and tuning-file names are kept in the program with
// every byte inverted, and turned back into text just before use.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// Each byte replaced by its complement (255 - byte); the length is kept.
inline std::string UnscrambleKey(std::string_view Scrambled)
{
    std::string Text(Scrambled);
    for (char& C : Text)
        C = static_cast<char>(~static_cast<unsigned char>(C));
    return Text;
}

// A name scrambled at compile time: only the inverted bytes reach the
// program image. Write TScrambled{"Name"} and call Text() where it is used.
template <std::size_t N>
struct TScrambled {
    std::array<char, N - 1> Bytes{};
    consteval TScrambled(const char (&Plain)[N])
    {
        for (std::size_t i = 0; i + 1 < N; ++i)
            Bytes[i] = static_cast<char>(~static_cast<unsigned char>(Plain[i]));
    }
    std::string_view Scrambled() const { return std::string_view(Bytes.data(), Bytes.size()); }
    std::string Text() const { return UnscrambleKey(Scrambled()); }
};
