#include "scene/LogFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

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

bool TLogFile::Pad(long At, long Bytes)
{
    static const std::vector<char> Zeros(BlockSize, 0);
    if (std::fseek(FStream, At, SEEK_SET) != 0)
        return false;
    for (long Done = 0; Done < Bytes; Done += BlockSize) {
        if (std::fwrite(Zeros.data(), 1, BlockSize, FStream) != std::size_t(BlockSize))
            return false;
    }
    FSize = At + Bytes;
    return true;
}

void TLogFile::GiveUp()
{
    // The log is a diagnostic: a full disk or a failing device ends the
    // log, not the run. What reached the file stays there.
    const std::string Reason = errno != 0 ? std::strerror(errno) : "write error";
    Close();
    FUnavailable = true;
    if (FNotice)
        FNotice("Cannot write the log file \"" + FFileName + "\" (" + Reason + "); running without a log");
}

void TLogFile::SetFallback(std::string Folder, std::function<void(const std::string&)> Notice)
{
    FFallbackFolder = std::move(Folder);
    FNotice = std::move(Notice);
}

void TLogFile::Open()
{
    // Created anew (an existing log is truncated) with one block of zeros.
    FStream = std::fopen(FFileName.c_str(), "w+b");
    std::string Tried = "\"" + FFileName + "\"";
    if (FStream == nullptr && !FFallbackFolder.empty()) {
        // A program in a folder the user cannot write still gets its log.
        std::error_code Ec;
        std::filesystem::create_directories(FFallbackFolder, Ec);
        const std::string Other =
            (std::filesystem::path(FFallbackFolder) / std::filesystem::path(FFileName).filename()).string();
        FStream = std::fopen(Other.c_str(), "w+b");
        if (FStream != nullptr)
            FFileName = Other;
        else
            Tried += " nor \"" + Other + "\"";
    }
    if (FStream == nullptr) {
        // The log is a diagnostic: the run goes on without it.
        FUnavailable = true;
        if (FNotice)
            FNotice("Cannot create the log file " + Tried + "; running without a log");
        return;
    }
    FPosition = 0;
    errno = 0;
    if (!Pad(0, BlockSize) || std::fflush(FStream) != 0)
        GiveUp();
}

void TLogFile::WriteLog(std::string_view Text)
{
    if (!FEnabled || FUnavailable)
        return;
    if (FStream == nullptr)
        Open();
    if (FStream == nullptr)
        return;
    std::string Line(Text);
    Line += "\r\n";
    const long Length = static_cast<long>(Line.size());
    // Grow from the current position until the line fits, so a line longer
    // than one block still ends inside the padding.
    errno = 0;
    if (FPosition + Length > FSize && !Pad(FPosition, (Length / BlockSize + 1) * BlockSize))
        return GiveUp();
    if (std::fseek(FStream, FPosition, SEEK_SET) != 0 ||
        std::fwrite(Line.data(), 1, Line.size(), FStream) != Line.size() || std::fflush(FStream) != 0)
        return GiveUp();
    FPosition += Length;
}

std::string XdgStateFolder(const std::function<const char*(const char*)>& GetEnv)
{
    const char* State = GetEnv("XDG_STATE_HOME");
    if (State != nullptr && State[0] == '/')
        return (std::filesystem::path(State) / "glimmora3d").string();
    const char* Home = GetEnv("HOME");
    if (Home != nullptr && Home[0] == '/')
        return (std::filesystem::path(Home) / ".local" / "state" / "glimmora3d").string();
    return {};
}
