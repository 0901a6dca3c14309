// Materials, lights, the item lists and the light-model ambient.
#include <gtest/gtest.h>

#include <type_traits>

#include "fakes/ErrorOf.h"
#include "fakes/RecordingGL.h"
#include "gl/GLClasses.h"

namespace {

const std::vector<std::string> None;

TEST(MaterialTest, FirstApplySendsTheDefaultsToTheFrontInOrderThenNothing)
{
    TRecordingGL Rec;
    const auto MRef = MakeGLRef<TGLMaterial>();
    TGLMaterial& M = *MRef;
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
    const TGLRef<TGLMaterial> M = MakeGLRef<TGLMaterial>();
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
}

struct TFaceCase {
    bool Front, Back;
    const char* Face;
};

class MaterialFaceTest : public ::testing::TestWithParam<TFaceCase> {};

TEST_P(MaterialFaceTest, FaceFlagsChooseTheFaceAndResendEverything)
{
    const TGLRef<TGLMaterial> M = MakeGLRef<TGLMaterial>();
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
    TGLMaterialList A, B;
    {
        const TGLRef<TTrackedMaterial> M = MakeGLRef<TTrackedMaterial>(Freed);
        EXPECT_EQ(M->RefCount(), 1);
        A.Add(M);
        B.Add(M);
        EXPECT_EQ(M->RefCount(), 3);
    }
    EXPECT_EQ(B.Items(0)->RefCount(), 2);
    A.Clear();
    EXPECT_FALSE(Freed);
    EXPECT_EQ(B.Items(0)->RefCount(), 1);
    EXPECT_EQ(A.Count(), 0);
    B.Clear();
    EXPECT_TRUE(Freed);
}

TEST(ItemListTest, TheDestructorReleasesAndTheLastReferenceFreesAnUnlistedItem)
{
    bool Freed = false;
    {
        TGLMaterialList L;
        L.Add(MakeGLRef<TTrackedMaterial>(Freed));
    }
    EXPECT_TRUE(Freed);
    bool Freed2 = false;
    TGLRef<TGLMaterial> M = MakeGLRef<TTrackedMaterial>(Freed2);
    M.Reset();
    EXPECT_TRUE(Freed2);
    EXPECT_FALSE(M);
    M.Reset();   // a second reset has nothing left to give back
}

TEST(ItemRefTest, CopiesCountMovesHandOverAndAssignmentGivesTheOldItemBack)
{
    bool FreedA = false, FreedB = false;
    TGLRef<TGLMaterial> A = MakeGLRef<TTrackedMaterial>(FreedA);
    TGLRef<TGLMaterial> Copy = A;
    EXPECT_EQ(A->RefCount(), 2);
    EXPECT_TRUE(Copy == A);
    TGLRef<TGLMaterial> Moved = std::move(Copy);
    EXPECT_FALSE(Copy);
    EXPECT_EQ(A->RefCount(), 2);
    Moved = MakeGLRef<TTrackedMaterial>(FreedB);
    EXPECT_EQ(A->RefCount(), 1);
    A = Moved;   // A's item has no reference left
    EXPECT_TRUE(FreedA);
    EXPECT_EQ(Moved->RefCount(), 2);
    A = A;
    EXPECT_EQ(Moved->RefCount(), 2);
    A.Reset();
    Moved.Reset();
    EXPECT_TRUE(FreedB);
}

TEST(ItemRefTest, AMovedListKeepsItsItemsAndAMoveAssignmentFreesTheOldOnes)
{
    bool FreedA = false, FreedB = false;
    TGLMaterialList A;
    A.Add(MakeGLRef<TTrackedMaterial>(FreedA));
    TGLMaterialList B(std::move(A));
    EXPECT_EQ(B.Count(), 1);
    EXPECT_EQ(B.Items(0)->RefCount(), 1);
    TGLMaterialList C;
    C.Add(MakeGLRef<TTrackedMaterial>(FreedB));
    C = std::move(B);
    EXPECT_TRUE(FreedB);
    EXPECT_FALSE(FreedA);
    ASSERT_EQ(C.Count(), 1);
    EXPECT_EQ(C.Ref(0)->RefCount(), 1);
    EXPECT_EQ(ErrorOf([&] { C.Ref(1); }), "List index out of bounds (1)");
}

// Items are freed by their last reference only: nothing else can delete,
// own or count one.
static_assert(!std::is_destructible_v<TGLMaterial> && !std::is_destructible_v<TGLPrimitive>);
static_assert(!std::is_constructible_v<TGLRef<TGLMaterial>, TGLMaterial*>);
static_assert(std::is_constructible_v<TGLRef<TGLMaterial>, TGLRef<TTrackedMaterial>>);
static_assert(!std::is_constructible_v<TGLRef<TTrackedMaterial>, TGLRef<TGLMaterial>>);

TEST(ItemListTest, NilItemsRaiseTheListsMessageAndChangeNothing)
{
    TGLPrimitiveList P;
    TGLMaterialList M;
    TGLTextureList T;
    M.Add(MakeGLRef<TGLMaterial>());
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
    const TGLRef<TGLPrimitive> P = MakeGLRef<TGLPrimitive>();
    L.Add(P);
    EXPECT_EQ(L.Items(0), P.Get());
    EXPECT_THROW(L.Items(1), EGlimmoraError);
    EXPECT_THROW(L.Items(-1), EGlimmoraError);
}

} // namespace
