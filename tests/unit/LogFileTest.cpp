#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scene/LogFile.h"
#include "fakes/TempDir.h"

TEST(TLogFile, NothingIsWrittenWhileOff)
{
    TTempDir Dir;
    TLogFile Log(Dir.File("Glimmora3D.log"));
    Log.WriteLog("hello");
    EXPECT_FALSE(std::filesystem::exists(Dir.File("Glimmora3D.log")));
}

TEST(TLogFile, LinesEndInCrLfAndAreFollowedByZeroPadding)
{
    TTempDir Dir;
    const std::string Name = Dir.Write("Glimmora3D.log", std::string(40000, 'x'));   // truncated on open
    TLogFile Log(Name);
    Log.SetLogFile(true);
    Log.WriteLog("*** Start OpenGL Info ***");
    Log.WriteLog("");
    const std::string Text = TTempDir::Read(Name);
    ASSERT_EQ(Text.size(), 16384u);
    EXPECT_EQ(Text.substr(0, 29), "*** Start OpenGL Info ***\r\n\r\n");
    EXPECT_EQ(Text.find_first_not_of('\0', 29), std::string::npos);
}

TEST(TLogFile, GrowsByBlocksFromTheCurrentPosition)
{
    TTempDir Dir;
    TLogFile Log(Dir.File("a.log"));
    Log.SetLogFile(true);
    const std::string Line(16370, 'a');
    Log.WriteLog(Line);                       // 16372 bytes: fits in the first block
    EXPECT_EQ(TTempDir::Read(Log.FileName()).size(), 16384u);
    Log.WriteLog("crossing the end");         // 18 more do not fit: grows to 16372 + 16384
    std::string Text = TTempDir::Read(Log.FileName());
    ASSERT_EQ(Text.size(), 16372u + 16384u);
    EXPECT_EQ(Text.substr(16372, 18), "crossing the end\r\n");
    EXPECT_EQ(Text.find_first_not_of('\0', 16390), std::string::npos);

    // A line longer than a block still ends inside the padding.
    Log.WriteLog(std::string(40000, 'b'));
    Text = TTempDir::Read(Log.FileName());
    EXPECT_EQ(Text.substr(16390 + 40000, 2), "\r\n");
    EXPECT_GT(Text.size(), 16390u + 40002u);
    EXPECT_EQ((Text.size() - 16390) % 16384, 0u);
}

TEST(TLogFile, SwitchingOffClosesAndALaterLineRestartsTheFile)
{
    TTempDir Dir;
    TLogFile Log(Dir.File("a.log"));
    Log.SetLogFile(true);
    Log.WriteLog("first run");
    Log.SetLogFile(false);
    Log.WriteLog("ignored");
    EXPECT_EQ(TTempDir::Read(Log.FileName()).substr(0, 11), "first run\r\n");
    Log.SetLogFile(true);
    Log.WriteLog("second");
    const std::string Text = TTempDir::Read(Log.FileName());
    EXPECT_EQ(Text.substr(0, 8), "second\r\n");
    EXPECT_EQ(Text.find("first"), std::string::npos);
}

#ifndef _WIN32
// A log on a full disk (/dev/full takes no byte) is given up with one
// notice; writing to it never ends the run, however many lines follow.
TEST(TLogFile, ALogThatCannotBeWrittenIsGivenUpWithOneNotice)
{
    TLogFile Log("/dev/full");
    std::vector<std::string> Notices;
    Log.SetFallback("", [&](const std::string& M) { Notices.push_back(M); });
    Log.SetLogFile(true);
    EXPECT_NO_THROW(Log.WriteLog("*** Start OpenGL Info ***"));
    EXPECT_NO_THROW(Log.WriteLog(std::string(40000, 'x')));
    EXPECT_NO_THROW(Log.WriteLog("Full Screen mode: 800X600X32  FPS:60"));
    EXPECT_EQ(Notices, std::vector<std::string>{"Cannot write the log file \"/dev/full\" (No space left on device); "
                                                "running without a log"});
}
#endif

TEST(TLogFile, ALogThatCannotBeCreatedGoesToTheFallbackFolder)
{
    TTempDir Dir;
    TLogFile Log(Dir.File("missing/sub/a.log"));
    std::vector<std::string> Notices;
    Log.SetFallback(Dir.File("state/glimmora3d"), [&](const std::string& M) { Notices.push_back(M); });
    Log.SetLogFile(true);
    Log.WriteLog("x");
    EXPECT_EQ(Log.FileName(), (std::filesystem::path(Dir.File("state/glimmora3d")) / "a.log").string());
    EXPECT_EQ(TTempDir::Read(Dir.File("state/glimmora3d/a.log")).substr(0, 3), "x\r\n");
    EXPECT_TRUE(Notices.empty());
}

TEST(TLogFile, WhenNoPlaceHoldsTheLogTheRunGoesOnWithoutOneAndSaysSoOnce)
{
    TTempDir Dir;
    Dir.Write("file", "");
    for (const std::string& Fallback : {std::string(), Dir.File("file/sub")}) {
        SCOPED_TRACE(Fallback);
        TLogFile Log(Dir.File("missing/a.log"));
        std::vector<std::string> Notices;
        Log.SetFallback(Fallback, [&](const std::string& M) { Notices.push_back(M); });
        Log.SetLogFile(true);
        EXPECT_NO_THROW(Log.WriteLog("x"));
        EXPECT_NO_THROW(Log.WriteLog("y"));
        const std::string Tried = "\"" + Dir.File("missing/a.log") + "\"" +
                                  (Fallback.empty() ? "" : " nor \"" + (std::filesystem::path(Fallback) / "a.log").string() + "\"");
        EXPECT_EQ(Notices, std::vector<std::string>{"Cannot create the log file " + Tried + "; running without a log"});
        EXPECT_FALSE(std::filesystem::exists(Dir.File("missing")));
    }
}

TEST(XdgStateFolder, TheStateHomeWhenAbsoluteElseTheHomesDefault)
{
    const struct {
        const char* State;
        const char* Home;
        std::string Folder;
    } Cases[] = {
        {"/s", "/h", "/s/glimmora3d"},
        {nullptr, "/h", "/h/.local/state/glimmora3d"},
        {"relative", "/h", "/h/.local/state/glimmora3d"},
        {"", "/h", "/h/.local/state/glimmora3d"},
        {nullptr, nullptr, ""},
        {nullptr, "", ""},
    };
    for (const auto& C : Cases) {
        const auto Env = [&](const char* Name) { return std::string(Name) == "XDG_STATE_HOME" ? C.State : C.Home; };
        EXPECT_EQ(std::filesystem::path(XdgStateFolder(Env)), std::filesystem::path(C.Folder)) << C.Folder;
    }
}
