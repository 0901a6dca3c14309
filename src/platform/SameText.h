// Names compared without regard to case: resource names (the seam's
// lookups), 3DM keys and tuning-file sections and keys. Only the ASCII
// letters fold; every other byte compares as it is. Header-only, so that
// the backends and the portable code share the one rule.
#pragma once

#include <string>
#include <string_view>

inline char UpperAscii(char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C; }

inline std::string UpperAscii(std::string_view Text)
{
    std::string Upper(Text);
    for (char& C : Upper)
        C = UpperAscii(C);
    return Upper;
}

inline bool SameText(std::string_view A, std::string_view B)
{
    if (A.size() != B.size())
        return false;
    for (std::size_t I = 0; I < A.size(); ++I)
        if (UpperAscii(A[I]) != UpperAscii(B[I]))
            return false;
    return true;
}
