#include "platform/headless/PngFile.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

class TPngFileWriter final : public IPictureFileWriter {
public:
    std::string WriteRGB(const std::string& FileName, int Width, int Height, std::span<const uint8_t> Rgb) override
    {
        const std::string Name = "\"" + FileName + "\"";
        if (Width < 1 || Height < 1 || Rgb.size() != std::size_t(Width) * std::size_t(Height) * 3)
            return "Cannot write " + Name + ": the picture size does not match its pixels";
        std::FILE* File = std::fopen(FileName.c_str(), "wb");
        if (!File)
            return "Cannot write " + Name + ": " + std::strerror(errno);
        // The simplified API reports errors in Image.message instead of
        // jumping out through setjmp.
        png_image Image;
        std::memset(&Image, 0, sizeof(Image));
        Image.version = PNG_IMAGE_VERSION;
        Image.width = static_cast<png_uint_32>(Width);
        Image.height = static_cast<png_uint_32>(Height);
        Image.format = PNG_FORMAT_RGB;
        std::string Reason;
        if (!png_image_write_to_stdio(&Image, File, 0, Rgb.data(), 0, nullptr))
            Reason = Image.message[0] ? Image.message : "unknown libpng error";
        else if (std::fflush(File) != 0 || std::ferror(File))
            Reason = std::strerror(errno);
        png_image_free(&Image);
        if (std::fclose(File) != 0 && Reason.empty())
            Reason = std::strerror(errno);
        if (Reason.empty())
            return "";
        // A half-written picture goes; a device or a pipe named as the
        // output is left alone.
        std::error_code Ec;
        if (std::filesystem::is_regular_file(FileName, Ec))
            std::filesystem::remove(FileName, Ec);
        return "Cannot write " + Name + ": " + Reason;
    }
};

} // namespace

std::unique_ptr<IPictureFileWriter> CreatePngFileWriter() { return std::make_unique<TPngFileWriter>(); }
