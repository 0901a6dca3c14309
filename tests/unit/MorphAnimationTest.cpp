#include <gtest/gtest.h>

#include "fakes/ErrorOf.h"

#include <memory>
#include <string>
#include <vector>

#include "fakes/TempDir.h"
#include "fakes/SystemBackends.h"
#include "gl/Errors.h"
#include "gl/GLClasses.h"
#include "gl/GLTexture.h"
#include "gl/GLUtils.h"
#include "model/Convert3DM.h"
#include "model/MorphAnimation.h"

namespace {


void Fill(TGLVectorDArray& A, const std::vector<TGLVector>& Values)
{
    A.SetCount(static_cast<int32_t>(Values.size()));
    for (std::size_t I = 0; I < Values.size(); ++I)
        A.SetItem(static_cast<int32_t>(I), Values[I]);
}

void ExpectVector(const TGLVector& V, float X, float Y, float Z, float Tolerance = 1e-4f)
{
    EXPECT_NEAR(V.X, X, Tolerance);
    EXPECT_NEAR(V.Y, Y, Tolerance);
    EXPECT_NEAR(V.Z, Z, Tolerance);
}

class TOtherKey : public TAnimationKey {};

}   // namespace

// -------------------------------------------------------------- the keys

TEST(TGLVertexAnimation, InterpolateBlendsCopiesOrLeavesThePrimitive)
{
    const auto PRef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& P = *PRef;
    Fill(P.Vertices, {{9, 9, 9}});
    TGLVertexAnimation A;
    A.Primitive = PRef;
    Fill(A.AddVertexKey(0), {{0, 0, 0}, {2, 4, 6}});
    Fill(A.AddVertexKey(1), {{4, 0, 0}, {2, 8, 6}});
    Fill(A.AddVertexKey(2), {{1, 1, 1}});
    ASSERT_EQ(A.KeyCount(), 3);
    EXPECT_EQ(A.LastTime, 2);

    A.Interpolate(A.GetKey(0), A.GetKey(1), 0.25L);
    ASSERT_EQ(P.Vertices.Count(), 2);
    ExpectVector(P.Vertices.GetItem(0), 1, 0, 0);
    ExpectVector(P.Vertices.GetItem(1), 2, 5, 6);

    // Keys of different sizes: nothing changes.
    A.Interpolate(A.GetKey(1), A.GetKey(2), 0.5L);
    ASSERT_EQ(P.Vertices.Count(), 2);
    ExpectVector(P.Vertices.GetItem(0), 1, 0, 0);

    // One key: its vertices as they are.
    A.Interpolate(A.GetKey(2), A.GetKey(2), 0);
    ASSERT_EQ(P.Vertices.Count(), 1);
    ExpectVector(P.Vertices.GetItem(0), 1, 1, 1);

    // Other arrays are not touched.
    EXPECT_EQ(P.Normals.Count(), 0);
    EXPECT_EQ(P.Indices.Count(), 0);

    A.Primitive = nullptr;
    A.Interpolate(A.GetKey(0), A.GetKey(1), 0.5L);   // nothing to write into
}

TEST(TGLVertexAnimation, KeysOfAnotherKindRaise)
{
    TGLVertexAnimation A;
    A.Primitive = MakeGLRef<TGLPrimitive>();
    A.AddVertexKey(0);
    const TOtherKey Other;
    EXPECT_THROW(A.Interpolate(A.GetKey(0), Other, 0.5L), EGlimmoraError);
    EXPECT_THROW(A.Interpolate(Other, Other, 0), EGlimmoraError);
}

TEST(AddVertexKey, CopiesThePrimitivesVerticesIntoANewKey)
{
    const auto PRef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& P = *PRef;
    Fill(P.Vertices, {{1, 2, 3}, {4, 5, 6}});
    TGLVertexAnimation A;
    AddVertexKey(P, A, 0.5L);
    P.Vertices.SetItem(0, {7, 7, 7});   // the key keeps its own copy
    AddVertexKey(*MakeGLRef<TGLPrimitive>(), A, 0.75L);
    ASSERT_EQ(A.KeyCount(), 2);
    const auto& K = dynamic_cast<const TGLVertexKey&>(A.GetKey(0));
    EXPECT_EQ(K.Time, 0.5L);
    ASSERT_EQ(K.Vertices.Count(), 2);
    ExpectVector(K.Vertices.GetItem(0), 1, 2, 3, 0);
    EXPECT_EQ(dynamic_cast<const TGLVertexKey&>(A.GetKey(1)).Vertices.Count(), 0);
}

TEST(SplitFirstWord, TrimsAndSplitsAtTheFirstBlank)
{
    const struct {
        const char* Line;
        const char* Word;
        const char* Rest;
    } Cases[] = {
        {"0.2 DollarsWave01f.3dm", "0.2", "DollarsWave01f.3dm"},
        {" \t1 1.0\r", "1", "1.0"},
        {"2.0 my model.3dm  ", "2.0", "my model.3dm"},
        {"0.0  two.3dm", "0.0", " two.3dm"},
        {"alone", "", "alone"},
        {"", "", ""},
        {"   ", "", ""},
        {"a\tb c", "a\tb", "c"},
    };
    for (const auto& Case : Cases) {
        const TFirstWord W = SplitFirstWord(Case.Line);
        EXPECT_EQ(W.Word, Case.Word) << "'" << Case.Line << "'";
        EXPECT_EQ(W.Rest, Case.Rest) << "'" << Case.Line << "'";
    }
}

// ------------------------------------------------------------ frame lists

namespace {

// One object; a triangle per material id in Ids, the first vertex moved
// along x by Shift. Vertices: three per triangle, or four (a square) when
// Square is set.
std::string Frame(float Shift, const std::vector<int>& Ids = {1}, bool Square = false)
{
    std::string S = "#MaterialStandard 2\r\nName Bill\r\nDiffuseMap undefined\r\n#Object 1\r\nName Frame\r\n";
    const std::string X = std::to_string(Shift);
    const int PerFace = 3;
    const std::size_t Faces = Ids.size() + (Square ? 1 : 0);
    S += "#Vertices " + std::to_string(Square ? 4 : PerFace * static_cast<int>(Ids.size())) + "\r\n";
    if (Square) {
        S += "[" + X + ",0,0]\r\n[1,0,0]\r\n[1,1,0]\r\n[0,1,0]\r\n#VertexFaces 2\r\n[1,2,3]\r\n[1,3,4]\r\n";
    } else {
        for (std::size_t F = 0; F < Ids.size(); ++F)
            S += "[" + X + ",0," + std::to_string(F) + "]\r\n[1,0," + std::to_string(F) + "]\r\n[0,1," +
                 std::to_string(F) + "]\r\n";
        S += "#VertexFaces " + std::to_string(Ids.size()) + "\r\n";
        for (std::size_t F = 0; F < Ids.size(); ++F)
            S += "[" + std::to_string(3 * F + 1) + "," + std::to_string(3 * F + 2) + "," + std::to_string(3 * F + 3) +
                 "]\r\n";
    }
    S += "#FaceMatID " + std::to_string(Faces) + "\r\n";
    for (std::size_t F = 0; F < Faces; ++F)
        S += std::to_string(F < Ids.size() ? Ids[F] : Ids.back()) + "\r\n";
    return S;
}

class FrameLists : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dir.Write("f0.3dm", Frame(0));
        Dir.Write("f1.3dm", Frame(10));
        Dir.Write("f2.3dm", Frame(30));
    }
    void Load(const std::string& Text)
    {
        Dir.Write("test.mfl", Text);
        Model = LoadFrameList(Files, "test.mfl");
    }
    TGLVertexAnimation& Animation(int32_t I) { return dynamic_cast<TGLVertexAnimation&>(Model.Animations.Items(I)); }

    TTempDir Dir;
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    const TAssetSource Files{*Module, false, Dir.File(""), ""};
    TAnimatedModel Model;
};

}   // namespace

TEST_F(FrameLists, LoadsOneLoopingAnimationPerPrimitiveAndBlendsByTheClock)
{
    // A blank line between frames is skipped.
    Load("1 1.0\r\n0.0 f0.3dm\r\n0.2 f1.3dm\r\n\r\n0.4 f2.3dm\r\n");
    ASSERT_EQ(Model.Primitives.Count(), 1);
    EXPECT_EQ(Model.Materials.Count(), 1);
    EXPECT_EQ(Model.Textures.Count(), 0);
    ASSERT_EQ(Model.Animations.Count(), 1);
    TGLVertexAnimation& A = Animation(0);
    EXPECT_EQ(A.Primitive.Get(), Model.Primitives.Items(0));
    EXPECT_TRUE(A.Loop);
    EXPECT_TRUE(A.Stopped);
    ASSERT_EQ(A.KeyCount(), 3);
    EXPECT_EQ(A.FirstTime, 0);
    EXPECT_NEAR(static_cast<double>(A.LastTime), 0.4, 1e-12);

    // 0.3 s after the start every vertex lies halfway between the frames at
    // 0.2 and 0.4; a full loop later the same.
    TGLPrimitive& P = *Model.Primitives.Items(0);
    for (long double Clock : {100.3L, 100.7L}) {
        Model.Animations.Start(100);
        Model.Animations.Update(Clock);
        ASSERT_EQ(P.Vertices.Count(), 3);
        ExpectVector(P.Vertices.GetItem(0), 20, 0, 0);
        ExpectVector(P.Vertices.GetItem(1), 1, 0, 0);
        ExpectVector(P.Vertices.GetItem(2), 0, 1, 0);
    }
    Model.Animations.Update(100.9L);   // local 0.1: between frames 0 and 1
    ExpectVector(P.Vertices.GetItem(0), 5, 0, 0);
}

TEST_F(FrameLists, LoopFlagZeroPlaysOnceAndHoldsTheLastFrame)
{
    Load("0 1.0\r\n0.0 f0.3dm\r\n0.2 f1.3dm\r\n0.4 f2.3dm");
    TGLVertexAnimation& A = Animation(0);
    EXPECT_FALSE(A.Loop);
    TGLPrimitive& P = *Model.Primitives.Items(0);
    Model.Animations.Start(0);
    Model.Animations.Update(5.0L);
    EXPECT_TRUE(A.Stopped);
    ExpectVector(P.Vertices.GetItem(0), 30, 0, 0);
    Model.Animations.Update(5.3L);
    ExpectVector(P.Vertices.GetItem(0), 30, 0, 0);
}

TEST_F(FrameLists, ASingleLineLoadsNothing)
{
    Model.Animations.Add(std::make_unique<TGLVertexAnimation>());
    Model.Primitives.Add(MakeGLRef<TGLPrimitive>());
    Load("1 1.0\r\n");
    EXPECT_EQ(Model.Animations.Count(), 0);
    EXPECT_EQ(Model.Primitives.Count(), 0);
    EXPECT_EQ(Model.Materials.Count(), 0);
}

TEST_F(FrameLists, LoadAnimatedModelKeepsPrimitivesAndAnimationsOnly)
{
    Dir.Write("wave.mfl", "1 1.0\r\n0.0 f0.3dm\r\n0.2 f1.3dm\r\n");
    Model = LoadAnimatedModel(Files, "wave.mfl");
    ASSERT_EQ(Model.Primitives.Count(), 1);
    ASSERT_EQ(Model.Animations.Count(), 1);
    EXPECT_EQ(Animation(0).KeyCount(), 2);
    EXPECT_EQ(Model.Materials.Count(), 0);
    EXPECT_EQ(Model.Textures.Count(), 0);
    // Held by the list and by the animation that morphs it.
    EXPECT_EQ(Model.Primitives.Items(0)->RefCount(), 2);
}

TEST_F(FrameLists, BadNumbersAndOrderRaiseClearErrors)
{
    const struct {
        const char* Text;
        const char* Message;
    } Cases[] = {
        {"x 1.0\r\n0.0 f0.3dm\r\n", "'x' is not a valid integer value (test.mfl, line 1)"},
        {"1\r\n0.0 f0.3dm\r\n", "'' is not a valid integer value (test.mfl, line 1)"},
        {"1 1.0\r\nzero f0.3dm\r\n", "'zero' is not a valid floating point value (test.mfl, line 2)"},
        {"1 1.0\r\n0.0 f0.3dm\r\n0,2 f1.3dm\r\n", "'0,2' is not a valid floating point value (test.mfl, line 3)"},
        {"1 1.0\r\n0.0 f0.3dm\r\nnan f1.3dm\r\n", "'nan' is not a valid floating point value (test.mfl, line 3)"},
        {"1 1.0\r\n0.0 f0.3dm\r\n1e999 f1.3dm\r\n", "'1e999' is not a valid floating point value (test.mfl, line 3)"},
        {"1 1.0\r\n0.0 f0.3dm\r\n0.4 f1.3dm\r\n0.2 f2.3dm\r\n",
         "LoadFrameList error: the frame times must not decrease (test.mfl, line 4)"},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(ErrorOf([&] { Load(Case.Text); }), Case.Message) << Case.Text;
}

TEST_F(FrameLists, ALaterFrameWithMorePrimitivesRaises)
{
    Dir.Write("two.3dm", Frame(5, {1, 2}));
    EXPECT_EQ(ErrorOf([&] { Load("1 1.0\r\n0.0 f0.3dm\r\n0.2 two.3dm\r\n"); }),
              "LoadFrameList error: \"two.3dm\" has 2 primitives, the first frame 1 (test.mfl, line 3)");
    EXPECT_EQ(Model.Animations.Count(), 0) << "nothing half-loaded is handed out";
}

TEST_F(FrameLists, ALaterFrameWithFewerPrimitivesLeavesTheOthersWithoutAKey)
{
    Dir.Write("two.3dm", Frame(5, {1, 2}));
    Load("1 1.0\r\n0.0 two.3dm\r\n0.2 f1.3dm\r\n");
    ASSERT_EQ(Model.Animations.Count(), 2);
    EXPECT_EQ(Animation(0).KeyCount(), 2);
    EXPECT_EQ(Animation(1).KeyCount(), 1);
    EXPECT_EQ(Animation(1).Primitive.Get(), Model.Primitives.Items(1));
}

TEST_F(FrameLists, FramesOfDifferentSizesLeaveThePrimitiveBetweenThem)
{
    Dir.Write("square.3dm", Frame(50, {1}, true));
    Load("1 1.0\r\n0.0 f0.3dm\r\n0.2 square.3dm\r\n0.4 f2.3dm\r\n");
    TGLPrimitive& P = *Model.Primitives.Items(0);
    Model.Animations.Start(0);
    Model.Animations.Update(0.1L);
    ASSERT_EQ(P.Vertices.Count(), 3);
    ExpectVector(P.Vertices.GetItem(0), 0, 0, 0);
    Model.Animations.Update(0.3L);
    ASSERT_EQ(P.Vertices.Count(), 3);
    ExpectVector(P.Vertices.GetItem(0), 0, 0, 0);
}

TEST_F(FrameLists, MissingFilesRaise)
{
    EXPECT_THROW(LoadFrameList(Files, "none.mfl"), EGlimmoraError);
    EXPECT_THROW(Load("1 1.0\r\n0.0 f0.3dm\r\n0.2 gone.3dm\r\n"), EGlimmoraError);
}
