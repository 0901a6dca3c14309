// Materials, lights, the item lists and the light-model ambient.
#include <gtest/gtest.h>

#include "fakes/RecordingGL.h"
#include "gl/GLClasses.h"

namespace {

const std::vector<std::string> None;

TEST(MaterialTest, FirstApplySendsTheDefaultsToTheFrontInOrderThenNothing)
{
    TRecordingGL Rec;
    TGLMaterial M;   // on the stack: never released
    M.Apply();
    EXPECT_EQ(Rec.Calls, (std::vector<std::string>{"glMaterialfv(GL_FRONT,GL_AMBIENT,0.2,0.2,0.2,1)",
                                                   "glMaterialfv(GL_FRONT,GL_DIFFUSE,0.8,0.8,0.8,1)",
                                                   "glMaterialfv(GL_FRONT,GL_SPECULAR,0,0,0,0)",
                                                   "glMaterialfv(GL_FRONT,GL_EMISSION,0,0,0,0)",
                                                   "glMaterialf(GL_FRONT,GL_SHININESS,0)"}));
    Rec.Clear();
    M.Apply();
    EXPECT_EQ(Rec.Calls, None);
    EXPECT_EQ(M.Changed(), 0u);
}

TEST(MaterialTest, OnlyChangedValuesAreSent)
{
    TGLMaterial* M = new TGLMaterial;
    TRecordingGL Rec;
    M->Apply();
    Rec.Clear();
    M->SetShininess(12.5f);
    M->SetDiffuse(MakeColor(1, 0, 0, 1));
    M->Apply();
    EXPECT_EQ(Rec.Calls, (std::vector<std::string>{"glMaterialfv(GL_FRONT,GL_DIFFUSE,1,0,0,1)",
                                                   "glMaterialf(GL_FRONT,GL_SHININESS,12.5)"}));
    Rec.Clear();
    M->ApplyAll();
    EXPECT_EQ(Rec.Calls.size(), 5u);
    M->Release();
}

struct TFaceCase {
    bool Front, Back;
    const char* Face;
};

class MaterialFaceTest : public ::testing::TestWithParam<TFaceCase> {};

TEST_P(MaterialFaceTest, FaceFlagsChooseTheFaceAndResendEverything)
{
    TGLMaterial* M = new TGLMaterial;
    TRecordingGL Rec;
    M->Apply();
    Rec.Clear();
    M->SetFrontFace(GetParam().Front);
    M->SetBackFace(GetParam().Back);
    M->Apply();
    ASSERT_EQ(Rec.Calls.size(), 5u);
    const std::string Face = GetParam().Face;
    EXPECT_EQ(Rec.Calls[0], "glMaterialfv(" + Face + ",GL_AMBIENT,0.2,0.2,0.2,1)");
    EXPECT_EQ(Rec.Calls[4], "glMaterialf(" + Face + ",GL_SHININESS,0)");
    M->Release();
}

INSTANTIATE_TEST_SUITE_P(Faces, MaterialFaceTest,
                         ::testing::Values(TFaceCase{true, true, "GL_FRONT_AND_BACK"},
                                           TFaceCase{true, false, "GL_FRONT"},
                                           TFaceCase{false, true, "GL_BACK"},
                                           TFaceCase{false, false, "GL_BACK"}));

TEST(LightTest, NewLightSendsEveryPropertyInTheFixedOrder)
{
    TRecordingGL Rec;
    TGLLight L;
    L.Apply();
    EXPECT_EQ(Rec.Calls, (std::vector<std::string>{
                             "glLightfv(GL_LIGHT0,GL_AMBIENT,0,0,0,1)",
                             "glLightfv(GL_LIGHT0,GL_DIFFUSE,1,1,1,1)",
                             "glLightfv(GL_LIGHT0,GL_SPECULAR,1,1,1,1)",
                             "glLightfv(GL_LIGHT0,GL_POSITION,-0,-0,1,0)",
                             "glLightf(GL_LIGHT0,GL_SPOT_EXPONENT,0)",
                             "glLightf(GL_LIGHT0,GL_SPOT_CUTOFF,180)",
                             "glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER,0)",
                             "glLightModeli(GL_LIGHT_MODEL_TWO_SIDE,0)",
                             "glLightf(GL_LIGHT0,GL_CONSTANT_ATTENUATION,1)",
                             "glLightf(GL_LIGHT0,GL_LINEAR_ATTENUATION,0)",
                             "glLightf(GL_LIGHT0,GL_QUADRATIC_ATTENUATION,0)",
                         }));
    Rec.Clear();
    L.Apply();
    EXPECT_EQ(Rec.Calls, None);
}

TEST(LightTest, DirectionalLightSendsTheReversedDirectionAsPositionAndNoSpotDirection)
{
    TGLLight L;
    TRecordingGL Rec;
    L.Apply();
    Rec.Clear();
    L.SetPosition(MakeVector(5, 5, 5));   // ignored while directional
    L.SetSpotDirection(MakeVector(0, -1, -1));
    L.Apply();
    EXPECT_EQ(Rec.Calls, std::vector<std::string>{"glLightfv(GL_LIGHT0,GL_POSITION,-0,1,1,0)"});
    Rec.Clear();
    L.SetPosition(MakeVector(5, 5, 5));
    L.Apply();
    EXPECT_EQ(Rec.Calls, None);
}

TEST(LightTest, PositionalLightSendsPositionAndSpotDirection)
{
    TGLLight L;
    TRecordingGL Rec;
    L.Apply();
    Rec.Clear();
    L.SetDirectional(false);
    L.Apply();
    EXPECT_EQ(Rec.Calls, std::vector<std::string>{"glLightfv(GL_LIGHT0,GL_POSITION,0,0,1,1)"});
    Rec.Clear();
    L.SetSpotDirection(MakeVector(0, -1, 0));
    L.SetPosition(MakeVector(1, 2, 3));
    L.Apply();
    EXPECT_EQ(Rec.Calls, (std::vector<std::string>{"glLightfv(GL_LIGHT0,GL_POSITION,1,2,3,1)",
                                                   "glLightfv(GL_LIGHT0,GL_SPOT_DIRECTION,0,-1,0)"}));
}

TEST(LightTest, SetLightIndexResendsEverythingToTheNewLight)
{
    TGLLight L;
    TRecordingGL Rec;
    L.Apply();
    Rec.Clear();
    L.SetLightIndex(3);
    EXPECT_EQ(L.GLLightID(), GL_LIGHT3);
    L.Apply();
    ASSERT_EQ(Rec.Calls.size(), 11u);
    for (const std::string& C : Rec.Calls) {
        if (C.rfind("glLightModeli", 0) != 0) {
            EXPECT_NE(C.find("(GL_LIGHT3,"), std::string::npos) << C;
        }
    }
}

TEST(LightTest, EnableAppliesAllThenSwitchesTheLightOn)
{
    TGLLight L;
    L.SetLightIndex(1);
    L.Setup(0.4f, 0.4f, 0.4f, 0, -1, -1);
    TRecordingGL Rec;
    L.Apply();
    Rec.Clear();
    L.Enable();
    ASSERT_EQ(Rec.Calls.size(), 12u);
    EXPECT_EQ(Rec.Calls[1], "glLightfv(GL_LIGHT1,GL_DIFFUSE,0.4,0.4,0.4,1)");
    EXPECT_EQ(Rec.Calls[3], "glLightfv(GL_LIGHT1,GL_POSITION,-0,1,1,0)");
    EXPECT_EQ(Rec.Calls.back(), "glEnable(GL_LIGHT1)");
}

TEST(AmbientLightTest, SetsTheLightModelAmbientWithAlphaOne)
{
    TRecordingGL Rec;
    SetAmbientLight(0.6f, 0.5f, 0.25f);
    EXPECT_EQ(Rec.Calls, std::vector<std::string>{"glLightModelfv(GL_LIGHT_MODEL_AMBIENT,0.6,0.5,0.25,1)"});
}

// An item that reports its own destruction.
class TTrackedMaterial : public TGLMaterial {
public:
    explicit TTrackedMaterial(bool& Freed) : FFreed(Freed) {}
    ~TTrackedMaterial() override { FFreed = true; }

private:
    bool& FFreed;
};

TEST(ItemListTest, ASharedItemLivesUntilTheLastListReleasesIt)
{
    bool Freed = false;
    auto* M = new TTrackedMaterial(Freed);
    TGLMaterialList A, B;
    A.Add(M);
    B.Add(M);
    EXPECT_EQ(M->RefCount(), 2);
    A.Clear();
    EXPECT_FALSE(Freed);
    EXPECT_EQ(M->RefCount(), 1);
    EXPECT_EQ(A.Count(), 0);
    B.Clear();
    EXPECT_TRUE(Freed);
}

TEST(ItemListTest, TheDestructorReleasesAndAnUnlistedItemIsFreedByRelease)
{
    bool Freed = false;
    {
        TGLMaterialList L;
        L.Add(new TTrackedMaterial(Freed));
    }
    EXPECT_TRUE(Freed);
    bool Freed2 = false;
    auto* M = new TTrackedMaterial(Freed2);
    EXPECT_EQ(M->Release(), -1);
    EXPECT_TRUE(Freed2);
}

TEST(ItemListTest, NilItemsRaiseTheListsMessageAndChangeNothing)
{
    TGLPrimitiveList P;
    TGLMaterialList M;
    TGLTextureList T;
    M.Add(new TGLMaterial);
    auto Message = [](auto&& F) {
        try {
            F();
        } catch (const EGlimmoraError& E) {
            return std::string(E.what());
        }
        return std::string();
    };
    EXPECT_EQ(Message([&] { P.Add(nullptr); }), "TGLPrimitiveList error: Add NIL Primitive!");
    EXPECT_EQ(Message([&] { M.Add(nullptr); }), "TGLMaterialList error: Add NIL Material!");
    EXPECT_EQ(P.Count(), 0);
    EXPECT_EQ(M.Count(), 1);
    // The texture list lives and clears where TGLTexture is only declared;
    // its Add is covered with the textures.
    EXPECT_EQ(T.Count(), 0);
    EXPECT_THROW(T.Items(0), EGlimmoraError);
}

TEST(ItemListTest, ItemsChecksTheIndex)
{
    TGLPrimitiveList L;
    auto* P = new TGLPrimitive;
    L.Add(P);
    EXPECT_EQ(L.Items(0), P);
    EXPECT_THROW(L.Items(1), EGlimmoraError);
    EXPECT_THROW(L.Items(-1), EGlimmoraError);
}

} // namespace
