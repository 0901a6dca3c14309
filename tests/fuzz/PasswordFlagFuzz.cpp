// The system's "ScreenSaveUsePassword" as raw registry data of any type and
// size: decoded as the Windows password services decode it
// (platform/RegistryData.h), then read as the component reads it (a
// password check or none). The input's first byte picks the value's type
// (a known type code, or the next four bytes as any code); the rest is its
// data. A crash, a sanitizer report, an exception, text that is not UTF-8,
// or an answer that breaks the rules below is a finding:
//   - a type other than a number or a string reads as no value, and no
//     value means no password;
//   - a number reads as its unsigned decimal text and asks for a password
//     exactly when it is not 0;
//   - a string reads as its text up to the first NUL; "0" means no
//     password.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/saver/ScrSaverApp.h"
#include "platform/RegistryData.h"

namespace {

// Well-formed UTF-8 (no overlong forms, surrogates or code points past
// U+10FFFF), as the decoder's output must be.
bool IsUtf8(const std::string& Text)
{
    std::size_t I = 0;
    while (I < Text.size()) {
        const auto C = static_cast<unsigned char>(Text[I]);
        std::size_t N = 0;
        uint32_t Code = 0;
        if (C < 0x80) {
            ++I;
            continue;
        } else if ((C & 0xE0) == 0xC0) {
            N = 1;
            Code = C & 0x1F;
        } else if ((C & 0xF0) == 0xE0) {
            N = 2;
            Code = C & 0x0F;
        } else if ((C & 0xF8) == 0xF0) {
            N = 3;
            Code = C & 0x07;
        } else {
            return false;
        }
        for (std::size_t K = 1; K <= N; ++K) {
            if (I + K >= Text.size())
                return false;
            const auto Next = static_cast<unsigned char>(Text[I + K]);
            if ((Next & 0xC0) != 0x80)
                return false;
            Code = Code << 6 | (Next & 0x3F);
        }
        const uint32_t Least[] = {0, 0x80, 0x800, 0x10000};
        if (Code < Least[N] || Code > 0x10FFFF || (Code >= 0xD800 && Code < 0xE000))
            return false;
        I += N + 1;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    if (Size == 0)
        return 0;
    static constexpr uint32_t Types[] = {0, rtString, rtExpandString, rtBinary, rtInteger, 5, rtMultiString,
                                         rtInteger64};
    // Byte 0 below 0xF0 picks a known type; from 0xF0 on, bytes 1 to 4 are
    // the type code (little-endian). The rest is the value's data.
    const uint8_t Pick = Data[0];
    std::size_t At = 1;
    uint32_t Type = Types[Pick % (sizeof(Types) / sizeof(Types[0]))];
    if (Pick >= 0xF0) {
        if (Size < 5)
            return 0;
        Type = uint32_t(Data[1]) | uint32_t(Data[2]) << 8 | uint32_t(Data[3]) << 16 | uint32_t(Data[4]) << 24;
        At = 5;
    }
    const std::vector<uint8_t> Bytes(Data + At, Data + Size);

    const std::optional<std::string> Text = UsePasswordTextOf(Type, Bytes);
    const bool Set = UsePasswordIsSet(Text);

    if (!Text) {
        const bool Readable = (Type == rtInteger && Bytes.size() >= 4) || Type == rtString || Type == rtExpandString;
        if (Readable || Set)
            std::abort();
        return 0;
    }
    if (!IsUtf8(*Text) || Text->find('\0') != std::string::npos)
        std::abort();
    if (Type == rtInteger) {
        const uint32_t Number = uint32_t(Bytes[0]) | uint32_t(Bytes[1]) << 8 | uint32_t(Bytes[2]) << 16 |
                                uint32_t(Bytes[3]) << 24;
        if (*Text != std::to_string(Number) || Set != (Number != 0))
            std::abort();
    } else if (Type != rtString && Type != rtExpandString) {
        std::abort();
    } else if (*Text == "0" && Set) {
        std::abort();
    }
    return 0;
}
