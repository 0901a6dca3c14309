#include "app/PngWriter.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "gl/Errors.h"

namespace {

const std::array<uint32_t, 256>& CrcTable()
{
    static const std::array<uint32_t, 256> Table = [] {
        std::array<uint32_t, 256> T{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t C = n;
            for (int k = 0; k < 8; ++k)
                C = (C & 1) ? 0xEDB88320u ^ (C >> 1) : C >> 1;
            T[n] = C;
        }
        return T;
    }();
    return Table;
}

void Put32(std::vector<uint8_t>& Out, uint32_t V)
{
    for (int Shift = 24; Shift >= 0; Shift -= 8)
        Out.push_back(static_cast<uint8_t>(V >> Shift));
}

void Chunk(std::vector<uint8_t>& Out, const char* Type, const std::vector<uint8_t>& Data)
{
    Put32(Out, static_cast<uint32_t>(Data.size()));
    const std::size_t Start = Out.size();
    Out.insert(Out.end(), Type, Type + 4);
    Out.insert(Out.end(), Data.begin(), Data.end());
    Put32(Out, Crc32(std::span<const uint8_t>(Out.data() + Start, Out.size() - Start)));
}

} // namespace

uint32_t Crc32(std::span<const uint8_t> Data, uint32_t Crc)
{
    Crc = ~Crc;
    for (uint8_t B : Data)
        Crc = CrcTable()[(Crc ^ B) & 0xFF] ^ (Crc >> 8);
    return ~Crc;
}

std::vector<uint8_t> EncodePNG(int Width, int Height, std::span<const uint8_t> Rgb)
{
    if (Width <= 0 || Height <= 0 || Rgb.size() != std::size_t(Width) * std::size_t(Height) * 3u)
        throw EGlimmoraError("PNG: the picture size does not match its pixels");

    // Filter byte 0 (none) before every row.
    std::vector<uint8_t> Raw;
    const std::size_t RowBytes = std::size_t(Width) * 3u;
    Raw.reserve((RowBytes + 1) * std::size_t(Height));
    for (int y = 0; y < Height; ++y) {
        Raw.push_back(0);
        Raw.insert(Raw.end(), Rgb.begin() + std::ptrdiff_t(RowBytes * std::size_t(y)),
                   Rgb.begin() + std::ptrdiff_t(RowBytes * std::size_t(y + 1)));
    }

    // zlib stream: header, stored blocks of at most 65535 bytes, Adler-32.
    std::vector<uint8_t> Z{0x78, 0x01};
    std::size_t Pos = 0;
    do {
        const std::size_t Len = std::min<std::size_t>(65535, Raw.size() - Pos);
        const bool Last = Pos + Len == Raw.size();
        Z.push_back(Last ? 1 : 0);
        Z.push_back(static_cast<uint8_t>(Len));
        Z.push_back(static_cast<uint8_t>(Len >> 8));
        Z.push_back(static_cast<uint8_t>(~Len));
        Z.push_back(static_cast<uint8_t>(~Len >> 8));
        Z.insert(Z.end(), Raw.begin() + std::ptrdiff_t(Pos), Raw.begin() + std::ptrdiff_t(Pos + Len));
        Pos += Len;
    } while (Pos < Raw.size());
    uint32_t A = 1, B = 0;
    for (uint8_t V : Raw) {
        A = (A + V) % 65521u;
        B = (B + A) % 65521u;
    }
    Put32(Z, (B << 16) | A);

    std::vector<uint8_t> Out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> Header;
    Put32(Header, static_cast<uint32_t>(Width));
    Put32(Header, static_cast<uint32_t>(Height));
    Header.insert(Header.end(), {8, 2, 0, 0, 0});   // 8-bit RGB, no interlace
    Chunk(Out, "IHDR", Header);
    Chunk(Out, "IDAT", Z);
    Chunk(Out, "IEND", {});
    return Out;
}

void WritePNG(const std::string& FileName, int Width, int Height, std::span<const uint8_t> Rgb)
{
    const std::vector<uint8_t> Data = EncodePNG(Width, Height, Rgb);
    std::FILE* F = std::fopen(FileName.c_str(), "wb");
    if (F == nullptr)
        throw EGlimmoraError("Cannot create \"" + FileName + "\"");
    const bool Ok = std::fwrite(Data.data(), 1, Data.size(), F) == Data.size();
    if (std::fclose(F) != 0 || !Ok)
        throw EGlimmoraError("Cannot write \"" + FileName + "\"");
}
