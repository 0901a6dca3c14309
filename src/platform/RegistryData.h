// How the raw bytes of a registry value are read as the kinds of value the
// registry seam offers. Backends fetch a value's type code and bytes from
// the system and hand them here, so every backend and fake reads a value
// of the wrong type or size the same way: as unreadable, never by
// reinterpreting bytes that are not there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/Registry.h"

// The system's value type codes (REG_*) that matter here.
enum TRegistryDataType : uint32_t {
    rtString = 1,         // REG_SZ: UTF-16LE text, normally NUL-terminated
    rtExpandString = 2,   // REG_EXPAND_SZ
    rtBinary = 3,         // REG_BINARY
    rtInteger = 4,        // REG_DWORD: 4 bytes, little-endian
    rtMultiString = 7,    // REG_MULTI_SZ
    rtInteger64 = 11,     // REG_QWORD
};

inline TRegistryValue<int32_t> RegistryIntegerOf(uint32_t Type, std::span<const uint8_t> Data)
{
    if (Type != rtInteger || Data.size() != 4)
        return {rvUnreadable, 0};
    const uint32_t Bits = uint32_t(Data[0]) | uint32_t(Data[1]) << 8 | uint32_t(Data[2]) << 16 | uint32_t(Data[3]) << 24;
    return {rvPresent, static_cast<int32_t>(Bits)};
}

// UTF-16LE up to the first NUL (or the end; an odd last byte is dropped)
// as UTF-8; a surrogate without its partner becomes U+FFFD.
inline TRegistryValue<std::string> RegistryStringOf(uint32_t Type, std::span<const uint8_t> Data)
{
    if (Type != rtString && Type != rtExpandString)
        return {rvUnreadable, {}};
    const std::size_t Units = Data.size() / 2;
    auto Unit = [&](std::size_t i) { return static_cast<uint32_t>(Data[2 * i] | Data[2 * i + 1] << 8); };
    auto Put = [](std::string& Out, uint32_t C) {
        if (C < 0x80) {
            Out += static_cast<char>(C);
        } else if (C < 0x800) {
            Out += static_cast<char>(0xC0 | C >> 6);
            Out += static_cast<char>(0x80 | (C & 0x3F));
        } else if (C < 0x10000) {
            Out += static_cast<char>(0xE0 | C >> 12);
            Out += static_cast<char>(0x80 | (C >> 6 & 0x3F));
            Out += static_cast<char>(0x80 | (C & 0x3F));
        } else {
            Out += static_cast<char>(0xF0 | C >> 18);
            Out += static_cast<char>(0x80 | (C >> 12 & 0x3F));
            Out += static_cast<char>(0x80 | (C >> 6 & 0x3F));
            Out += static_cast<char>(0x80 | (C & 0x3F));
        }
    };
    std::string Text;
    for (std::size_t i = 0; i < Units; ++i) {
        const uint32_t U = Unit(i);
        if (U == 0)
            break;
        if (U >= 0xD800 && U < 0xDC00 && i + 1 < Units && Unit(i + 1) >= 0xDC00 && Unit(i + 1) < 0xE000) {
            Put(Text, 0x10000 + ((U - 0xD800) << 10) + (Unit(i + 1) - 0xDC00));
            ++i;
        } else if (U >= 0xD800 && U < 0xE000) {
            Put(Text, 0xFFFD);
        } else {
            Put(Text, U);
        }
    }
    return {rvPresent, std::move(Text)};
}

// The system's "ScreenSaveUsePassword" as text, the way the password
// services report it: a REG_DWORD of at least 4 bytes as its first four in
// unsigned decimal, a REG_SZ or REG_EXPAND_SZ as read by RegistryStringOf;
// nothing for any other type or a shorter number. What the text means is
// decided above the seam.
inline std::optional<std::string> UsePasswordTextOf(uint32_t Type, std::span<const uint8_t> Data)
{
    if (Type == rtInteger) {
        if (Data.size() < 4)
            return std::nullopt;
        const uint32_t Number = uint32_t(Data[0]) | uint32_t(Data[1]) << 8 | uint32_t(Data[2]) << 16 |
                                uint32_t(Data[3]) << 24;
        return std::to_string(Number);
    }
    auto Text = RegistryStringOf(Type, Data);
    if (!Text.Present())
        return std::nullopt;
    return std::move(Text.Value);
}
