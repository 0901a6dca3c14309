#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "fakes/SystemBackends.h"
#include "gl/Errors.h"
#include "gl/GLUtils.h"
#include "gl/Resources.h"

using ::testing::HasSubstr;

TEST(ResourceNameOf, DropsTheDirectoryAndTurnsTheFirstDotIntoAnUnderscore)
{
    const std::pair<const char*, const char*> Cases[] = {
        {"puzir.jpg", "puzir_jpg"},
        {"models/DollarsWave00f.3dm", "DollarsWave00f_3dm"},
        {"C:\\Data\\sub/Caust1.JPG", "Caust1_JPG"},
        {"D:dollar.jpg", "dollar_jpg"},
        {"a.b.c", "a_b.c"},
        {"sbubles", "sbubles"},
        {"dir.x/NoDot", "NoDot"},
        {"dir/", ""},
    };
    for (const auto& [File, Name] : Cases)
        EXPECT_EQ(ResourceNameOf(File), Name) << File;
}

TEST(ModuleResources, FindsNamesWithoutRegardToCaseAndKeepsKindsApart)
{
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    IEmbeddedResources& R = *Module;
    const auto Lower = R.Find("fixture_lines_txt", rkRawData);
    const auto Mixed = R.Find("Fixture_Lines_TXT", rkRawData);
    ASSERT_TRUE(Lower && Mixed);
    EXPECT_EQ(Lower->data(), Mixed->data());
    EXPECT_EQ(Lower->size(), 37u);
    EXPECT_EQ(std::string(Lower->begin(), Lower->begin() + 10), "first line");

    EXPECT_FALSE(R.Find("fixture_lines_txt", rkBitmap));
    EXPECT_FALSE(R.Find("fixture_lines", rkRawData));
    EXPECT_FALSE(R.Find("fixture_lines_txt_", rkRawData));
    EXPECT_FALSE(R.Find("", rkRawData));
    EXPECT_FALSE(R.Find("#1", rkRawData));
}

TEST(ModuleResources, BitmapsAreDIBsWithoutTheFileHeaderAndTheSoundIsAWave)
{
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    // fixture24.bmp: 14-byte file header, 40-byte info header, 2 rows of 8.
    const auto Dib = Module->Find("FIXTURE24_BMP", rkBitmap);
    ASSERT_TRUE(Dib);
    ASSERT_EQ(Dib->size(), 70u - 14u);
    EXPECT_EQ((*Dib)[0], 40);
    EXPECT_FALSE(Module->Find("FIXTURE24_BMP", rkRawData));

    const auto Wave = Module->Find("sbubles", rkWave);
    ASSERT_TRUE(Wave);
    ASSERT_GE(Wave->size(), 12u);
    EXPECT_EQ(std::string(Wave->begin(), Wave->begin() + 4), "RIFF");
    EXPECT_EQ(std::string(Wave->begin() + 8, Wave->begin() + 12), "WAVE");
}

TEST(ModuleResources, EveryAssetOfTheSceneIsEmbedded)
{
    const char* Raw[] = {"Dollaro00f.3dm", "DollarsWave.mfl", "DollarsWave10f.3dm", "Puzir00f.3dm", "dnoK00f.3dm",
                         "dollar.jpg", "caust5.jpg", "puzir.jpg", "puzirA.jpg", "Pesok01.jpg", "dno03.jpg",
                         "voda2.jpg", "caust3.jpg"};
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    for (const char* File : Raw)
        EXPECT_TRUE(Module->Find(ResourceNameOf(File), rkRawData)) << File;
    EXPECT_TRUE(Module->Find("BACKGROUND_BMP", rkBitmap));
}

TEST(LoadResourceBytes, AMissingResourceRaisesItsName)
{
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    try {
        LoadResourceBytes(*Module, "textures/nothing.here.jpg", rkRawData);
        FAIL() << "no error";
    } catch (const EGlimmoraError& E) {
        EXPECT_STREQ(E.what(), "Resource nothing_here.jpg not found");
    }
}

TEST(LoadStringsResource, SplitsAtEveryKindOfLineBreak)
{
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    const std::vector<std::string> Lines = LoadStringsResource(*Module, "any/dir/FIXTURE_LINES.TXT");
    EXPECT_EQ(Lines, (std::vector<std::string>{"first line", "second line", "third", "", "last"}));

    const std::string Text = "a\r\rb\n";
    const auto Split = SplitLines(std::span(reinterpret_cast<const std::uint8_t*>(Text.data()), Text.size()));
    EXPECT_EQ(Split, (std::vector<std::string>{"a", "", "b"}));
}
