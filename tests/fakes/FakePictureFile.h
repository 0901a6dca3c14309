// Keeps the pictures the program saves instead of writing files; can be
// told to refuse.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/PictureFile.h"

class TFakePictureFile : public IPictureFileWriter {
public:
    struct TPicture {
        std::string FileName;
        int Width = 0, Height = 0;
        std::vector<uint8_t> Rgb;
    };
    std::vector<TPicture> Written;
    std::string Refusal;   // returned when not empty

    std::string WriteRGB(const std::string& FileName, int Width, int Height, std::span<const uint8_t> Rgb) override
    {
        if (!Refusal.empty())
            return Refusal;
        Written.push_back({FileName, Width, Height, std::vector<uint8_t>(Rgb.begin(), Rgb.end())});
        return "";
    }
};
