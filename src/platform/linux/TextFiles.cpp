#include "platform/linux/TextFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

namespace {

constexpr std::size_t MaxFileSize = 1 << 20;
// A temporary file of a save older than this was left by a save that was
// killed; a younger one may belong to a save running now.
constexpr auto StaleAfter = std::chrono::minutes(1);

std::string Reason(const std::string& What, const std::string& Path)
{
    return What + " " + Path + ": " + std::strerror(errno);
}

std::string NotRegular(const std::string& Path)
{
    return Path + " is not a regular file (a folder, a FIFO, a device or a socket)";
}

// The file a chain of symbolic links ends at (Path itself when it is no
// link); the end may not exist. Empty with errno ELOOP for a loop.
std::string FollowLinks(const std::string& Path)
{
    std::filesystem::path At(Path);
    for (int Hops = 0; Hops < 40; ++Hops) {
        std::error_code Ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(At, Ec)))
            return At.string();
        const std::filesystem::path To = std::filesystem::read_symlink(At, Ec);
        if (Ec)
            return At.string();
        At = To.is_absolute() ? To : At.parent_path() / To;
    }
    errno = ELOOP;
    return {};
}

// Removes the temporary files that saves of Name killed before their
// rename left in Folder (".NAME.XXXXXX", as mkstemp made them).
void RemoveStaleTemporaries(const std::filesystem::path& Folder, const std::string& Name)
{
    const std::string Prefix = "." + Name + ".";
    const auto Now = std::filesystem::file_time_type::clock::now();
    std::error_code Ec;
    for (std::filesystem::directory_iterator It(Folder, Ec), End; !Ec && It != End; It.increment(Ec)) {
        const std::string File = It->path().filename().string();
        if (File.size() != Prefix.size() + 6 || !File.starts_with(Prefix))
            continue;
        std::error_code StatEc;
        if (!It->is_regular_file(StatEc) || It->is_symlink(StatEc))
            continue;
        const auto Written = std::filesystem::last_write_time(It->path(), StatEc);
        if (!StatEc && Now - Written > StaleAfter)
            std::filesystem::remove(It->path(), StatEc);
    }
}

} // namespace

std::optional<std::string> ReadTextFile(const std::string& Path, std::string& Error)
{
    Error.clear();
    // Looked at before it is opened: opening a FIFO would wait for a writer.
    struct stat Info {};
    if (stat(Path.c_str(), &Info) != 0) {
        if (errno != ENOENT)
            Error = Reason("cannot open", Path);
        return std::nullopt;
    }
    if (!S_ISREG(Info.st_mode)) {
        Error = NotRegular(Path);
        return std::nullopt;
    }
    const int Fd = open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (Fd < 0) {
        if (errno != ENOENT)
            Error = Reason("cannot open", Path);
        return std::nullopt;
    }
    if (fstat(Fd, &Info) != 0 || !S_ISREG(Info.st_mode)) {
        close(Fd);
        Error = NotRegular(Path);
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
    // A link is kept: the file it names is the one replaced.
    const std::string Final = FollowLinks(Path);
    if (Final.empty()) {
        Error = Reason("cannot follow the links of", Path);
        return false;
    }
    struct stat Old {};
    const bool Existed = stat(Final.c_str(), &Old) == 0;
    if (Existed && !S_ISREG(Old.st_mode)) {
        Error = NotRegular(Final);
        return false;
    }
    const std::filesystem::path Target(Final);
    const std::filesystem::path Folder = Target.has_parent_path() ? Target.parent_path() : ".";
    std::error_code Ec;
    std::filesystem::create_directories(Folder, Ec);
    RemoveStaleTemporaries(Folder, Target.filename().string());
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
        if (N == 0)
            errno = ENOSPC;
        if (N <= 0)
            return Fail("cannot write");
        Done += static_cast<std::size_t>(N);
    }
    // The file keeps its mode and, where the process may set it, its owner.
    if (Existed && fchown(Fd, Old.st_uid, Old.st_gid) != 0) {
        // Only root may give a file away; the file is then the user's own.
    }
    if (fchmod(Fd, Existed ? (Old.st_mode & 07777) : 0644) != 0 || fsync(Fd) != 0)
        return Fail("cannot flush");
    if (close(Fd) != 0) {
        Error = Reason("cannot close", Temp);
        unlink(Temp.c_str());
        return false;
    }
    if (rename(Temp.c_str(), Final.c_str()) != 0) {
        Error = Reason("cannot replace", Final);
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
