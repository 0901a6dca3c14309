// Texts cross the seam as UTF-8; Windows' wide calls take UTF-16.
#pragma once

#include <windows.h>

#include <string>

inline std::wstring Win32Widen(const std::string& Text)
{
    if (Text.empty())
        return {};
    const int N = MultiByteToWideChar(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0);
    std::wstring Out(static_cast<std::size_t>(N > 0 ? N : 0), L'\0');
    if (N > 0)
        MultiByteToWideChar(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), Out.data(), N);
    return Out;
}

inline std::string Win32Narrow(const std::wstring& Text)
{
    if (Text.empty())
        return {};
    const int N =
        WideCharToMultiByte(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0, nullptr, nullptr);
    std::string Out(static_cast<std::size_t>(N > 0 ? N : 0), '\0');
    if (N > 0)
        WideCharToMultiByte(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), Out.data(), N, nullptr, nullptr);
    return Out;
}
