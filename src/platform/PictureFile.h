// Platform seam: a picture saved to a file, as the Linux program's
// snapshots are. Linux: PNG through libpng (platform/headless/PngFile.h).
// The Windows programs save no pictures and have no backend.
#pragma once

#include <cstdint>
#include <span>
#include <string>

class IPictureFileWriter {
public:
    virtual ~IPictureFileWriter() = default;
    // Rgb holds Width x Height pixels of 3 bytes (R, G, B), rows top-down,
    // no gaps. Returns "" once the file is complete, otherwise a sentence
    // saying why not; a file that could not be completed is removed.
    virtual std::string WriteRGB(const std::string& FileName, int Width, int Height,
                                 std::span<const uint8_t> Rgb) = 0;
};
