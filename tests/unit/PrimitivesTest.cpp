#include <gtest/gtest.h>

#include <cmath>

#include "fakes/ErrorOf.h"
#include "fakes/RecordingGL.h"
#include "gl/GLClasses.h"

namespace {

const std::vector<std::string> None;

void ExpectVector(const TGLVector& V, float X, float Y, float Z)
{
    EXPECT_NEAR(V.X, X, 1e-6f);
    EXPECT_NEAR(V.Y, Y, 1e-6f);
    EXPECT_NEAR(V.Z, Z, 1e-6f);
}

class PrimitiveTest : public ::testing::Test {
protected:
    const TGLRef<TGLPrimitive> PRef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& P = *PRef;
    TRecordingGL Rec;

    void Triangle()
    {
        P.Vertices.LoadFromArray(std::vector<float>{0, 0, 0, 1, 0, 0, 0, 1, 0});
        P.SetPrimitiveType(ptTriangles);
        Rec.NamePointer(P.Vertices.Data(), "Vertices");
    }
};

TEST_F(PrimitiveTest, EmptyMeshMakesNoCall)
{
    P.SetPrimitiveType(ptTriangles);
    P.Colors.SetCount(1);
    P.Draw();
    EXPECT_EQ(Rec.Calls, None);
}

TEST_F(PrimitiveTest, OneColourAndOneNormalBecomeCurrentValues)
{
    Triangle();
    P.Colors.SetCount(1);
    P.Colors.SetRGB(0, 1, 0.5f, 0);
    P.Normals.SetCount(1);
    P.Normals.SetXYZ(0, 0, 0, 1);
    P.Draw();
    EXPECT_EQ(Rec.Calls, (std::vector<std::string>{"glEnableClientState(GL_VERTEX_ARRAY)",
                                                   "glVertexPointer(3,GL_FLOAT,12,Vertices)",
                                                   "glDisableClientState(GL_COLOR_ARRAY)",
                                                   "glColor4fv(1,0.5,0,1)",
                                                   "glDisableClientState(GL_NORMAL_ARRAY)",
                                                   "glNormal3fv(0,0,1)",
                                                   "glDisableClientState(GL_TEXTURE_COORD_ARRAY)",
                                                   "glDrawArrays(GL_TRIANGLES,0,3)"}));
}

TEST_F(PrimitiveTest, PerVertexArraysAndIndicesUseVertexArrays)
{
    Triangle();
    P.Colors.SetCount(3);
    P.Normals.SetCount(3);
    P.TexCoords.SetCount(3);
    P.Indices.LoadFromArray(std::vector<int32_t>{2, 1, 0});
    Rec.NamePointer(P.Colors.Data(), "Colors");
    Rec.NamePointer(P.Normals.Data(), "Normals");
    Rec.NamePointer(P.TexCoords.Data(), "TexCoords");
    Rec.NamePointer(P.Indices.Data(), "Indices");
    P.Draw();
    EXPECT_EQ(Rec.Calls, (std::vector<std::string>{"glEnableClientState(GL_VERTEX_ARRAY)",
                                                   "glVertexPointer(3,GL_FLOAT,12,Vertices)",
                                                   "glEnableClientState(GL_COLOR_ARRAY)",
                                                   "glColorPointer(4,GL_FLOAT,16,Colors)",
                                                   "glEnableClientState(GL_NORMAL_ARRAY)",
                                                   "glNormalPointer(GL_FLOAT,12,Normals)",
                                                   "glEnableClientState(GL_TEXTURE_COORD_ARRAY)",
                                                   "glTexCoordPointer(2,GL_FLOAT,8,TexCoords)",
                                                   "glDrawElements(GL_TRIANGLES,3,GL_UNSIGNED_INT,Indices)"}));
}

TEST_F(PrimitiveTest, NoColoursLeaveTheCurrentColour)
{
    Triangle();
    P.Draw();
    EXPECT_TRUE(Rec.CallsOf("glColor4fv").empty());
    EXPECT_EQ(Rec.CallsOf("glDisableClientState").front(), "glDisableClientState(GL_COLOR_ARRAY)");
}

TEST_F(PrimitiveTest, AStrayIndexRaisesBeforeAnyCall)
{
    Triangle();
    P.Indices.LoadFromArray(std::vector<int32_t>{0, 1, 3});
    EXPECT_EQ(ErrorOf([&] { P.Draw(); }), "TGLPrimitive error: index 3 is out of the 3 vertices!");
    P.Indices.SetIndex(2, -1);
    EXPECT_THROW(P.Draw(), EGlimmoraError);
    EXPECT_EQ(Rec.Calls, None);
}

TEST_F(PrimitiveTest, CalcNormalsRaisesTheVertexArraysOwnErrorForAStrayIndex)
{
    Triangle();
    P.Normals.LoadFromArray(std::vector<float>{1, 2, 3});
    for (const std::vector<int32_t>& Indices : {std::vector<int32_t>{0, 1, 3}, std::vector<int32_t>{-1, 1, 2},
                                                std::vector<int32_t>{0, 1, 2, 2, 1, 7}}) {
        P.Indices.LoadFromArray(Indices);
        EXPECT_EQ(ErrorOf([&] { P.CalcNormals(); }), "TDArray GetItem: index out of bounds.") << Indices.back();
        ASSERT_EQ(P.Normals.Count(), 1) << "the normals stay as they were";
        ExpectVector(P.Normals.GetItem(0), 1, 2, 3);
    }
}

struct TModeCase {
    uint8_t Kind;
    const char* Mode;
};

class PrimitiveModeTest : public ::testing::TestWithParam<TModeCase> {};

TEST_P(PrimitiveModeTest, KindDrawsWithItsMode)
{
    TRecordingGL Rec;
    const auto PRef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& P = *PRef;
    P.Vertices.SetCount(4);
    P.SetPrimitiveType(GetParam().Kind);
    P.Draw();
    EXPECT_EQ(Rec.Calls.back(), std::string("glDrawArrays(") + GetParam().Mode + ",0,4)");
}

INSTANTIATE_TEST_SUITE_P(Kinds, PrimitiveModeTest,
                         ::testing::Values(TModeCase{ptTriangles, "GL_TRIANGLES"}, TModeCase{ptPoints, "GL_POINTS"},
                                           TModeCase{ptLines, "GL_LINES"}, TModeCase{ptLineStrip, "GL_LINE_STRIP"},
                                           TModeCase{ptLineLoop, "GL_LINE_LOOP"},
                                           TModeCase{ptTriangleStrip, "GL_TRIANGLE_STRIP"},
                                           TModeCase{ptTriangleFan, "GL_TRIANGLE_FAN"},
                                           TModeCase{ptQuadStrip, "GL_QUAD_STRIP"}, TModeCase{ptQuads, "GL_QUADS"},
                                           TModeCase{ptPolygon, "GL_POLYGON"}, TModeCase{10, "GL_TRIANGLES"},
                                           TModeCase{12, "GL_TRIANGLES"}));

TEST(PrimitiveNormalsTest, FlatNormalsPerTriangleAndTrailingVerticesStayZero)
{
    const auto PRef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& P = *PRef;
    P.Vertices.LoadFromArray(std::vector<float>{0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 5, 5, 6, 6, 7});
    P.SetPrimitiveType(ptTriangles);
    P.CalcNormals();
    ASSERT_EQ(P.Normals.Count(), 5);
    for (int I = 0; I < 3; ++I)
        ExpectVector(P.Normals.GetItem(I), 0, 0, 1);
    ExpectVector(P.Normals.GetItem(3), 0, 0, 0);
    ExpectVector(P.Normals.GetItem(4), 0, 0, 0);
}

TEST(PrimitiveNormalsTest, SharedVerticesGetTheNormalisedAreaWeightedSum)
{
    // Two triangles sharing the edge 0-1: one in the z = 0 plane (normal +Z,
    // area 0.5), one in the x = 0 plane (normal +X, area 1).
    const auto PRef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& P = *PRef;
    P.Vertices.LoadFromArray(std::vector<float>{0, 0, 0, 0, 1, 0, -1, 0, 0, 0, 0, 2});
    P.Indices.LoadFromArray(std::vector<int32_t>{0, 1, 2, 0, 1, 3});
    P.SetPrimitiveType(ptTriangles);
    P.CalcNormals();
    const float L = std::sqrt(1.0f + 4.0f);
    ExpectVector(P.Normals.GetItem(0), 2 / L, 0, 1 / L);
    ExpectVector(P.Normals.GetItem(1), 2 / L, 0, 1 / L);
    ExpectVector(P.Normals.GetItem(2), 0, 0, 1);
    ExpectVector(P.Normals.GetItem(3), 1, 0, 0);
}

TEST(PrimitiveNormalsTest, OtherKindsGetZeroNormals)
{
    const auto PRef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& P = *PRef;
    P.Vertices.LoadFromArray(std::vector<float>{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0});
    P.Normals.SetCount(1);
    P.Normals.SetXYZ(0, 1, 1, 1);
    P.SetPrimitiveType(ptQuads);
    P.CalcNormals();
    ASSERT_EQ(P.Normals.Count(), 4);
    for (int I = 0; I < 4; ++I)
        ExpectVector(P.Normals.GetItem(I), 0, 0, 0);
}

TEST(PrimitiveMergeTest, IndexedMeshesMergeWithShiftedIndices)
{
    const auto ARef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& A = *ARef;
    const auto BRef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& B = *BRef;
    for (TGLPrimitive* P : {&A, &B}) {
        P->Vertices.SetCount(4);
        P->Indices.LoadFromArray(std::vector<int32_t>{0, 1, 2, 2, 3, 0});
        P->SetPrimitiveType(ptTriangles);
    }
    A.AddPrimitive(B);
    ASSERT_EQ(A.Vertices.Count(), 8);
    ASSERT_EQ(A.Indices.Count(), 12);
    const std::vector<int32_t> Expected{0, 1, 2, 2, 3, 0, 4, 5, 6, 6, 7, 4};
    EXPECT_EQ(std::vector<int32_t>(A.Indices.Items(), A.Indices.Items() + 12), Expected);
}

TEST(PrimitiveMergeTest, ColoursAppendOnlyWhenPerVertex)
{
    const auto ARef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& A = *ARef;
    const auto BRef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& B = *BRef;
    const auto CRef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& C = *CRef;
    A.Vertices.SetCount(2);
    A.Colors.SetCount(1);
    B.Vertices.SetCount(2);
    B.Colors.SetCount(2);
    C.Vertices.SetCount(2);
    C.Colors.SetCount(2);
    A.AddPrimitive(B);
    EXPECT_EQ(A.Colors.Count(), 1);
    C.AddPrimitive(B);
    EXPECT_EQ(C.Colors.Count(), 4);
}

TEST(PrimitiveMergeTest, DifferentKindsRaiseAndChangeNothing)
{
    const auto ARef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& A = *ARef;
    const auto BRef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& B = *BRef;
    A.Vertices.SetCount(3);
    B.Vertices.SetCount(2);
    B.SetPrimitiveType(ptPoints);
    try {
        A.AddPrimitive(B);
        FAIL() << "no error raised";
    } catch (const EGlimmoraError& E) {
        EXPECT_STREQ(E.what(), "AddPrimitive failed: formats are not equal!");
    }
    EXPECT_EQ(A.Vertices.Count(), 3);
}

TEST(PrimitiveCopyTest, CopyMakesANewPrimitiveWithKindAndArrays)
{
    const auto SourceRef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& Source = *SourceRef;
    Source.Vertices.LoadFromArray(std::vector<float>{1, 2, 3});
    Source.Indices.LoadFromArray(std::vector<int32_t>{0});
    Source.SetPrimitiveType(ptLines);
    const TGLRef<TGLPrimitive> Target = Source.Copy();
    ASSERT_TRUE(Target);
    EXPECT_NE(Target.Get(), &Source);
    EXPECT_EQ(Target->RefCount(), 1);
    EXPECT_EQ(Target->PrimitiveType, ptLines);
    EXPECT_EQ(Target->GLMode, GL_LINES);
    ExpectVector(Target->Vertices.GetItem(0), 1, 2, 3);
    EXPECT_EQ(Target->Indices.GetIndex(0), 0);
    EXPECT_EQ(Target->Normals.Count(), 0);

    // Into an existing primitive, an empty source array keeps the target's.
    const auto OtherRef = MakeGLRef<TGLPrimitive>();
    OtherRef->Normals.LoadFromArray(std::vector<float>{0, 0, 1});
    Source.CopyTo(*OtherRef);
    EXPECT_EQ(OtherRef->PrimitiveType, ptLines);
    ExpectVector(OtherRef->Vertices.GetItem(0), 1, 2, 3);
    ExpectVector(OtherRef->Normals.GetItem(0), 0, 0, 1);
}

TEST(PrimitiveMorphTest, LerpsEqualKeyFramesAndIgnoresMismatchedOnes)
{
    TGLVectorDArray A, B, Short;
    A.LoadFromArray(std::vector<float>{0, 0, 0, 2, 2, 2});
    B.LoadFromArray(std::vector<float>{2, 4, 6, 2, 2, 2});
    Short.LoadFromArray(std::vector<float>{9, 9, 9});
    const auto PRef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& P = *PRef;
    P.Morph(A, Short, 0.5f);
    EXPECT_EQ(P.Vertices.Count(), 0);
    P.Morph(A, B, 0.5f);
    ASSERT_EQ(P.Vertices.Count(), 2);
    ExpectVector(P.Vertices.GetItem(0), 1, 2, 3);
    const void* Block = P.Vertices.Data();
    P.Morph(B, A, 1.0f);   // the settled count reuses the block
    EXPECT_EQ(P.Vertices.Data(), Block);
    ExpectVector(P.Vertices.GetItem(0), 0, 0, 0);
}

TEST(PrimitiveTransformTest, RotateAndTransformMoveVerticesOnly)
{
    const auto PRef = MakeGLRef<TGLPrimitive>();
    TGLPrimitive& P = *PRef;
    P.Vertices.LoadFromArray(std::vector<float>{1, 0, 0});
    P.Normals.LoadFromArray(std::vector<float>{1, 0, 0});
    P.RotateZ(90);
    ExpectVector(P.Vertices.GetItem(0), 0, 1, 0);
    TGLMatrix M = IdentityMatrix;
    M[12] = 5;
    P.Transform(M);
    ExpectVector(P.Vertices.GetItem(0), 5, 1, 0);
    ExpectVector(P.Normals.GetItem(0), 1, 0, 0);
}

} // namespace
