#include "app/LogFile.h"

#include <vector>

#include "gl/Errors.h"

TLogFile::~TLogFile() { Close(); }

void TLogFile::SetLogFile(bool Value)
{
    FEnabled = Value;
    if (!Value)
        Close();
}

void TLogFile::Close()
{
    if (FStream != nullptr) {
        std::fclose(FStream);
        FStream = nullptr;
    }
}

void TLogFile::Pad(long At, long Bytes)
{
    static const std::vector<char> Zeros(BlockSize, 0);
    if (std::fseek(FStream, At, SEEK_SET) != 0)
        throw EGlimmoraError("Cannot write the log file \"" + FFileName + "\"");
    for (long Done = 0; Done < Bytes; Done += BlockSize) {
        if (std::fwrite(Zeros.data(), 1, BlockSize, FStream) != std::size_t(BlockSize))
            throw EGlimmoraError("Cannot write the log file \"" + FFileName + "\"");
    }
    FSize = At + Bytes;
}

void TLogFile::Open()
{
    // Created anew (an existing log is truncated) with one block of zeros.
    FStream = std::fopen(FFileName.c_str(), "w+b");
    if (FStream == nullptr)
        throw EGlimmoraError("Cannot create the log file \"" + FFileName + "\"");
    FPosition = 0;
    Pad(0, BlockSize);
}

void TLogFile::WriteLog(std::string_view Text)
{
    if (!FEnabled)
        return;
    if (FStream == nullptr)
        Open();
    std::string Line(Text);
    Line += "\r\n";
    const long Length = static_cast<long>(Line.size());
    // Grow from the current position until the line fits, so a line longer
    // than one block still ends inside the padding.
    if (FPosition + Length > FSize) {
        const long Blocks = Length / BlockSize + 1;
        Pad(FPosition, Blocks * BlockSize);
    }
    if (std::fseek(FStream, FPosition, SEEK_SET) != 0 ||
        std::fwrite(Line.data(), 1, Line.size(), FStream) != Line.size() || std::fflush(FStream) != 0)
        throw EGlimmoraError("Cannot write the log file \"" + FFileName + "\"");
    FPosition += Length;
}
