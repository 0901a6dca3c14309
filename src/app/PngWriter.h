// Writes RGB pictures as PNG files without any library: the image data is
// kept in stored (uncompressed) deflate blocks, which every PNG reader
// accepts.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Rows run top-down, 3 bytes (R, G, B) a pixel, no gaps between rows.
std::vector<uint8_t> EncodePNG(int Width, int Height, std::span<const uint8_t> Rgb);
// Raises EGlimmoraError when the file cannot be written.
void WritePNG(const std::string& FileName, int Width, int Height, std::span<const uint8_t> Rgb);

uint32_t Crc32(std::span<const uint8_t> Data, uint32_t Crc = 0);
