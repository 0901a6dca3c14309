// The committed assets read through the program's own loaders and
// converters, once from the resources folder on disk and once from the
// resources embedded in the test program.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>

#include "fakes/SystemBackends.h"
#include "gl/GLClasses.h"
#include "gl/GLTexture.h"
#include "gl/GLUtils.h"
#include "model/Convert3DM.h"
#include "model/MorphAnimation.h"
#include "platform/Resources.h"

#ifndef GLIMMORA_RESOURCES_DIR
#error "GLIMMORA_RESOURCES_DIR names the resources folder (cmake/Tests.cmake)"
#endif

namespace {

const char* const JPEGs[] = {"dollar.jpg", "caust1.jpg", "caust2.jpg", "caust3.jpg", "caust5.jpg", "Pesok01.jpg",
                             "dno02.jpg",  "dno03.jpg",  "voda1.jpg",  "voda2.jpg",  "voda3.jpg",  "puzir.jpg",
                             "puzirA.jpg"};

std::string WaveFrame(int N) { return "DollarsWave" + std::string(N < 10 ? "0" : "") + std::to_string(N) + "f.3dm"; }

// true: the embedded resources; false: the files under resources/.
class Assets : public ::testing::TestWithParam<bool> {
protected:
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    const TAssetSource Source{*Module, GetParam(), GLIMMORA_RESOURCES_DIR "/", GLIMMORA_RESOURCES_DIR "/"};
};

std::string SourceName(const ::testing::TestParamInfo<bool>& Info) { return Info.param ? "Embedded" : "Disk"; }

}   // namespace

INSTANTIATE_TEST_SUITE_P(Sources, Assets, ::testing::Bool(), SourceName);

TEST_P(Assets, BillHasEightVerticesTwelveIndicesItsMaterialAndTexture)
{
    const auto Bill = Load3DMPrimitive(Source, "Dollaro00f.3dm");
    ASSERT_TRUE(Bill);
    EXPECT_EQ(Bill->Vertices.Count(), 8);
    EXPECT_EQ(Bill->Indices.Count(), 12);
    EXPECT_EQ(Bill->TexCoords.Count(), 8);

    const TModelLists Model = Load3DM(Source, "Dollaro00f.3dm");
    EXPECT_EQ(Model.Primitives.Count(), 1);
    ASSERT_EQ(Model.Materials.Count(), 1);
    EXPECT_NEAR(Model.Materials.Items(0)->Ambient().B, 0.1817f, 1e-4f);
    EXPECT_NEAR(Model.Materials.Items(0)->Specular().R, 0.5181f, 1e-4f);
    EXPECT_FLOAT_EQ(Model.Materials.Items(0)->Shininess(), 3.2f);
    ASSERT_EQ(Model.Textures.Count(), 1);
    EXPECT_EQ(Model.Textures.Items(0)->Width(), 256);
    EXPECT_EQ(Model.Textures.Items(0)->Height(), 256);
}

TEST_P(Assets, EachWaveFrameIsOnePrimitiveOf44VerticesAnd40Triangles)
{
    for (int N = 0; N <= 10; ++N) {
        const TGLPrimitiveList Frame = Load3DMPrimitiveList(Source, WaveFrame(N));
        ASSERT_EQ(Frame.Count(), 1) << WaveFrame(N);
        EXPECT_EQ(Frame.Items(0)->Vertices.Count(), 44) << WaveFrame(N);
        EXPECT_EQ(Frame.Items(0)->Indices.Count(), 120) << WaveFrame(N);
    }
}

TEST_P(Assets, BottomIsAGridInYZeroFacingUp)
{
    const auto Bottom = Load3DMPrimitive(Source, "dnoK00f.3dm");
    ASSERT_TRUE(Bottom);
    ASSERT_EQ(Bottom->Vertices.Count(), 25);
    std::set<float> Xs, Zs;
    for (int32_t I = 0; I < Bottom->Vertices.Count(); ++I) {
        const TGLVector V = Bottom->Vertices.GetItem(I);
        EXPECT_EQ(V.Y, 0.0f) << I;
        Xs.insert(V.X);
        Zs.insert(V.Z);
        EXPECT_NEAR(Bottom->Normals.GetItem(I).Y, 1.0f, 1e-5f) << I;
    }
    EXPECT_EQ(Xs, (std::set<float>{-15000, -7500, 0, 7500, 15000}));
    EXPECT_EQ(Zs, (std::set<float>{0, -6000, -8000, -9000, -10000}));
}

TEST_P(Assets, BubbleFacesTheViewer)
{
    const auto Bubble = Load3DMPrimitive(Source, "Puzir00f.3dm");
    ASSERT_TRUE(Bubble);
    ASSERT_EQ(Bubble->Vertices.Count(), 4);
    for (int32_t I = 0; I < 4; ++I) {
        const TGLVector V = Bubble->Vertices.GetItem(I);
        EXPECT_NEAR(V.Z, 0.0f, 1e-3f) << I;
        EXPECT_NEAR(std::fabs(V.X), 100.0f, 1e-3f) << I;
        EXPECT_NEAR(std::fabs(V.Y), 100.0f, 1e-3f) << I;
        const TGLVector N = Bubble->Normals.GetItem(I);
        EXPECT_NEAR(N.Z, 1.0f, 1e-5f) << I;
    }
}

TEST_P(Assets, FrameListIsOneLoopingAnimationOfElevenKeysOverTwoSeconds)
{
    TAnimatedModel Model = LoadAnimatedModel(Source, "DollarsWave.mfl");
    ASSERT_EQ(Model.Primitives.Count(), 1);
    ASSERT_EQ(Model.Animations.Count(), 1);
    auto& Wave = dynamic_cast<TGLVertexAnimation&>(Model.Animations.Items(0));
    EXPECT_TRUE(Wave.Loop);
    EXPECT_EQ(Wave.FirstTime, 0);
    EXPECT_NEAR(static_cast<double>(Wave.LastTime), 2.0, 1e-12);
    ASSERT_EQ(Wave.KeyCount(), 11);
    for (int32_t K = 0; K < 11; ++K)
        EXPECT_NEAR(static_cast<double>(Wave.GetKey(K).Time), 0.2 * K, 1e-12) << K;

    // One second after the start the bill shows frame 5 exactly, 0.3 s
    // after it halfway between frames 1 and 2.
    const TGLPrimitiveList Frames[3] = {Load3DMPrimitiveList(Source, WaveFrame(5)),
                                        Load3DMPrimitiveList(Source, WaveFrame(1)),
                                        Load3DMPrimitiveList(Source, WaveFrame(2))};
    TGLPrimitive& Bill = *Model.Primitives.Items(0);
    Model.Animations.Start(50);
    Model.Animations.Update(51);
    ASSERT_EQ(Bill.Vertices.Count(), 44);
    for (int32_t I = 0; I < 44; ++I) {
        const TGLVector V = Bill.Vertices.GetItem(I), F = Frames[0].Items(0)->Vertices.GetItem(I);
        EXPECT_NEAR(V.X, F.X, 1e-3f) << I;
        EXPECT_NEAR(V.Y, F.Y, 1e-3f) << I;
        EXPECT_NEAR(V.Z, F.Z, 1e-3f) << I;
    }
    Model.Animations.Update(50.3L);
    for (int32_t I = 0; I < 44; ++I) {
        const TGLVector V = Bill.Vertices.GetItem(I), A1 = Frames[1].Items(0)->Vertices.GetItem(I),
                        A2 = Frames[2].Items(0)->Vertices.GetItem(I);
        EXPECT_NEAR(V.X, (A1.X + A2.X) / 2, 1e-3f) << I;
        EXPECT_NEAR(V.Y, (A1.Y + A2.Y) / 2, 1e-3f) << I;
        EXPECT_NEAR(V.Z, (A1.Z + A2.Z) / 2, 1e-3f) << I;
    }
}

TEST_P(Assets, EachJPEGDecodesTo256By256AndMakesATexture)
{
    for (const char* Name : JPEGs) {
        const auto Image = LoadBitmapImage(Source, Name);
        ASSERT_TRUE(Image) << Name;
        EXPECT_EQ(Image->Format, bf24Bit) << Name;
        EXPECT_EQ(Image->Width, 256) << Name;
        EXPECT_EQ(Image->Height, 256) << Name;
        const auto Texture = LoadTexture(Source, Name);
        ASSERT_TRUE(Texture) << Name;
        EXPECT_EQ(Texture->Width(), 256) << Name;
        EXPECT_EQ(Texture->Height(), 256) << Name;
    }
}

TEST_P(Assets, BubbleMaskIsDarkInTheCorners)
{
    const auto Mask = LoadBitmapImage(Source, "puzirA.jpg");
    ASSERT_TRUE(Mask);
    ASSERT_EQ(Mask->Width, 256);
    for (auto [X, Y] : {std::pair{0, 0}, std::pair{255, 0}, std::pair{0, 255}, std::pair{255, 255}}) {
        const TBitmapColor C = Mask->PixelColor(X, Y);
        EXPECT_LE((C.R + C.G + C.B) / 3.0 / 255.0, 0.1) << X << "," << Y;
    }
    // Not dark everywhere: the body and the rim let light through.
    const TBitmapColor Centre = Mask->PixelColor(128, 128);
    EXPECT_GT((Centre.R + Centre.G + Centre.B) / 3.0 / 255.0, 0.1);
}
