// The Linux program's small text files (its options): read whole, replaced
// whole.
#ifndef _WIN32

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "fakes/TempDir.h"
#include "platform/linux/TextFiles.h"

namespace fs = std::filesystem;

namespace {

unsigned ModeOf(const std::string& Path)
{
    struct stat Info {};
    stat(Path.c_str(), &Info);
    return Info.st_mode & 07777;
}

} // namespace

TEST(TextFiles, AReplacedFileKeepsItsMode)
{
    TTempDir Dir;
    const std::string Path = Dir.Write("options.ini", "Theme=1\n");
    chmod(Path.c_str(), 0600);
    std::string Error;
    ASSERT_TRUE(ReplaceFileAtomically(Path, "Theme=2\n", Error)) << Error;
    EXPECT_EQ(TTempDir::Read(Path), "Theme=2\n");
    EXPECT_EQ(ModeOf(Path), 0600u);
    // A new file gets the usual mode of a settings file.
    ASSERT_TRUE(ReplaceFileAtomically(Dir.File("sub/new.ini"), "x=1\n", Error)) << Error;
    EXPECT_EQ(ModeOf(Dir.File("sub/new.ini")), 0644u);
}

TEST(TextFiles, ASymbolicLinkStaysAndItsTargetIsReplaced)
{
    TTempDir Dir;
    fs::create_directories(Dir.File("dotfiles"));
    const std::string Target = Dir.Write("dotfiles/glimmora3d.ini", "Theme=1\n");
    fs::create_symlink("dotfiles/glimmora3d.ini", Dir.File("link.ini"));
    fs::create_symlink("link.ini", Dir.File("chain.ini"));
    std::string Error;
    ASSERT_TRUE(ReplaceFileAtomically(Dir.File("chain.ini"), "Theme=2\n", Error)) << Error;
    EXPECT_TRUE(fs::is_symlink(Dir.File("chain.ini")));
    EXPECT_TRUE(fs::is_symlink(Dir.File("link.ini")));
    EXPECT_EQ(TTempDir::Read(Target), "Theme=2\n");
    // A link to a file not yet made: the file is made where the link points.
    fs::create_symlink("dotfiles/later.ini", Dir.File("later.ini"));
    ASSERT_TRUE(ReplaceFileAtomically(Dir.File("later.ini"), "Theme=3\n", Error)) << Error;
    EXPECT_TRUE(fs::is_symlink(Dir.File("later.ini")));
    EXPECT_EQ(TTempDir::Read(Dir.File("dotfiles/later.ini")), "Theme=3\n");
    // A loop of links is an error with the system's reason.
    fs::create_symlink("loop2.ini", Dir.File("loop1.ini"));
    fs::create_symlink("loop1.ini", Dir.File("loop2.ini"));
    EXPECT_FALSE(ReplaceFileAtomically(Dir.File("loop1.ini"), "x\n", Error));
    EXPECT_NE(Error.find("Too many levels of symbolic links"), std::string::npos) << Error;
}

// A FIFO is neither opened (it would wait for a writer) nor replaced.
TEST(TextFiles, AFifoIsRefusedWithoutBeingOpened)
{
    TTempDir Dir;
    const std::string Fifo = Dir.File("fifo.ini");
    ASSERT_EQ(mkfifo(Fifo.c_str(), 0600), 0);
    std::string Error;
    EXPECT_FALSE(ReadTextFile(Fifo, Error).has_value());
    EXPECT_EQ(Error, Fifo + " is not a regular file (a folder, a FIFO, a device or a socket)");
    EXPECT_FALSE(ReplaceFileAtomically(Fifo, "x\n", Error));
    EXPECT_EQ(Error, Fifo + " is not a regular file (a folder, a FIFO, a device or a socket)");
    EXPECT_TRUE(fs::is_fifo(Fifo));
    EXPECT_FALSE(ReadTextFile(Dir.File("none.ini"), Error).has_value());
    EXPECT_EQ(Error, "") << "a missing file is no error";
}

// Temporary files of saves killed before their rename are removed by the
// next save; a young one may be a save running now and stays.
TEST(TextFiles, ASaveRemovesTheTemporaryFilesOfKilledSaves)
{
    TTempDir Dir;
    const std::string Old = Dir.Write(".glimmora3d.ini.Ab12Cd", "Theme=");
    const std::string Young = Dir.Write(".glimmora3d.ini.Zz99Yy", "Theme=");
    const std::string Other = Dir.Write(".other.ini.Ab12Cd", "x");
    fs::last_write_time(Old, fs::file_time_type::clock::now() - std::chrono::hours(1));
    fs::last_write_time(Other, fs::file_time_type::clock::now() - std::chrono::hours(1));
    std::string Error;
    ASSERT_TRUE(ReplaceFileAtomically(Dir.File("glimmora3d.ini"), "Theme=1\n", Error)) << Error;
    EXPECT_FALSE(fs::exists(Old));
    EXPECT_TRUE(fs::exists(Young));
    EXPECT_TRUE(fs::exists(Other));
    std::size_t Files = 0;
    for ([[maybe_unused]] const auto& E : fs::directory_iterator(Dir.File("")))
        ++Files;
    EXPECT_EQ(Files, 3u) << "the file, the young temporary file and the other file";
}

// A write that fails says the system's reason and leaves the file as it was.
TEST(TextFiles, AFailedWriteGivesTheSystemsReason)
{
    TTempDir Dir;
    const std::string Path = Dir.Write("glimmora3d.ini", "Theme=1\n");
    fs::create_directories(Dir.File("folder.ini"));
    std::string Error;
    EXPECT_FALSE(ReplaceFileAtomically(Dir.File("folder.ini"), "x\n", Error));
    EXPECT_EQ(Error, Dir.File("folder.ini") + " is not a regular file (a folder, a FIFO, a device or a socket)");
    Dir.Write("plain", "");
    EXPECT_FALSE(ReplaceFileAtomically(Dir.File("plain/glimmora3d.ini"), "x\n", Error));
    EXPECT_NE(Error.find(": Not a directory"), std::string::npos) << Error;
    EXPECT_EQ(TTempDir::Read(Path), "Theme=1\n");
}

#endif
