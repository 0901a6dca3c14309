#include <gtest/gtest.h>

#include "fakes/FakeSound.h"
#include "scene/SceneSound.h"

TEST(SceneSound, TheOptionStartsTheLoopAfreshOrSilencesIt)
{
    TFakeSound Out;
    std::vector<std::string> Errors;
    TSceneSound Sound(Out, [&](const std::string& M) { Errors.push_back(M); });
    bool Enabled = true;
    Sound.ApplySoundOption(Enabled);
    EXPECT_EQ(Out.Calls, (std::vector<std::string>{"stop", "play sbubles"}));
    Enabled = false;
    Sound.ApplySoundOption(Enabled);
    EXPECT_EQ(Out.Calls.back(), "stop");
    EXPECT_TRUE(Errors.empty());
}

TEST(SceneSound, AFailureIsShownAndSwitchesTheSoundOff)
{
    TFakeSound Out;
    Out.Fail = true;
    std::vector<std::string> Errors;
    TSceneSound Sound(Out, [&](const std::string& M) { Errors.push_back(M); });
    bool Enabled = true;
    Sound.ApplySoundOption(Enabled);
    EXPECT_FALSE(Enabled);
    EXPECT_EQ(Errors, std::vector<std::string>{"no wave device"});
}
