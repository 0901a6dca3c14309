#include "platform/linux/TextFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

constexpr std::size_t MaxFileSize = 1 << 20;

std::string Reason(const std::string& What, const std::string& Path)
{
    return What + " " + Path + ": " + std::strerror(errno);
}

} // namespace

std::optional<std::string> ReadTextFile(const std::string& Path, std::string& Error)
{
    Error.clear();
    const int Fd = open(Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (Fd < 0) {
        if (errno != ENOENT)
            Error = Reason("cannot open", Path);
        return std::nullopt;
    }
    std::string Text;
    char Buffer[4096];
    for (;;) {
        const ssize_t N = read(Fd, Buffer, sizeof(Buffer));
        if (N < 0 && errno == EINTR)
            continue;
        if (N < 0) {
            Error = Reason("cannot read", Path);
            break;
        }
        if (N == 0)
            break;
        Text.append(Buffer, static_cast<std::size_t>(N));
        if (Text.size() > MaxFileSize) {
            Error = Path + " is larger than 1 MiB";
            break;
        }
    }
    close(Fd);
    if (!Error.empty())
        return std::nullopt;
    return Text;
}

bool ReplaceFileAtomically(const std::string& Path, const std::string& Text, std::string& Error)
{
    const std::filesystem::path Target(Path);
    const std::filesystem::path Folder = Target.has_parent_path() ? Target.parent_path() : ".";
    std::error_code Ec;
    std::filesystem::create_directories(Folder, Ec);
    std::string Temp = (Folder / ("." + Target.filename().string() + ".XXXXXX")).string();
    const int Fd = mkstemp(Temp.data());
    if (Fd < 0) {
        Error = Reason("cannot create a file in", Folder.string());
        return false;
    }
    const auto Fail = [&](const std::string& What) {
        Error = Reason(What, Temp);
        close(Fd);
        unlink(Temp.c_str());
        return false;
    };
    std::size_t Done = 0;
    while (Done < Text.size()) {
        const ssize_t N = write(Fd, Text.data() + Done, Text.size() - Done);
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0)
            return Fail("cannot write");
        Done += static_cast<std::size_t>(N);
    }
    if (fchmod(Fd, 0644) != 0 || fsync(Fd) != 0)
        return Fail("cannot flush");
    if (close(Fd) != 0) {
        Error = Reason("cannot close", Temp);
        unlink(Temp.c_str());
        return false;
    }
    if (rename(Temp.c_str(), Path.c_str()) != 0) {
        Error = Reason("cannot replace", Path);
        unlink(Temp.c_str());
        return false;
    }
    // The rename itself reaches the disk with the folder's entry.
    const int Dir = open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Dir >= 0) {
        fsync(Dir);
        close(Dir);
    }
    return true;
}
