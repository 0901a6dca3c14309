#include <gtest/gtest.h>

#include "gl/Geometry.h"

namespace {

void ExpectVector(const TGLVector& V, float X, float Y, float Z, float Tol = 1e-6f)
{
    EXPECT_NEAR(V.X, X, Tol);
    EXPECT_NEAR(V.Y, Y, Tol);
    EXPECT_NEAR(V.Z, Z, Tol);
}

} // namespace

TEST(Geometry, RecordsArePackedForOpenGL)
{
    TGLVector Vs[2] = {MakeVector(1, 2, 3), MakeVector(4, 5, 6)};
    const float* F = &Vs[0].X;
    EXPECT_EQ(F[3], 4.0f);
    const TGLColor C = MakeColor(0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_EQ(C.A, 0.4f);
    EXPECT_EQ(IdentityMatrix[0] + IdentityMatrix[5] + IdentityMatrix[10] + IdentityMatrix[15], 4.0f);
}

TEST(Geometry, NormalizeKeepsZeroAndScalesOthersInPlace)
{
    TGLVector V[3] = {{0, 0, 0}, {3, 0, 4}, {0, -2, 0}};
    NormalizeVectors(V, V, 3);
    ExpectVector(V[0], 0, 0, 0, 0);
    ExpectVector(V[1], 0.6f, 0, 0.8f);
    ExpectVector(V[2], 0, -1, 0);
}

TEST(Geometry, ZeroOrNegativeCountTouchesNothing)
{
    TGLVector V{3, 0, 4};
    NormalizeVectors(&V, &V, 0);
    TransformVectors(&V, &V, -1, ZeroMatrix);
    RotateVectorsZ(&V, &V, 0, 90);
    LerpVectors(&V, &V, &V, 2, -5);
    ExpectVector(V, 3, 0, 4, 0);
}

TEST(Geometry, TransformIdentityTranslateAndRotate)
{
    TGLVector P{1, 2, 3}, Out;
    TransformVectors(&P, &Out, 1, IdentityMatrix);
    ExpectVector(Out, 1, 2, 3, 0);

    TGLMatrix T = IdentityMatrix;
    T[12] = 10;
    T[13] = -20;
    T[14] = 30;
    T[15] = 7;   // the fourth row is ignored: no perspective divide
    TransformVectors(&P, &Out, 1, T);
    ExpectVector(Out, 11, -18, 33, 0);

    // About +X by 90: Y' = -Z, Z' = Y.
    TransformVectors(&P, &Out, 1, MakeRotationX(90));
    ExpectVector(Out, 1, -3, 2, 1e-5f);
}

TEST(Geometry, RotateZByNinetyInPlace)
{
    TGLVector V{1, 0, 5};
    RotateVectorsZ(&V, &V, 1, 90);
    ExpectVector(V, 0, 1, 5, 1e-6f);
    EXPECT_EQ(V.Z, 5.0f);
}

TEST(Geometry, LerpEndsAndExtrapolation)
{
    const TGLVector A{1, 2, 3}, B{5, -2, 0};
    TGLVector D;
    LerpVectors(&A, &B, &D, 0, 1);
    ExpectVector(D, 1, 2, 3, 0);
    LerpVectors(&A, &B, &D, 1, 1);
    ExpectVector(D, 5, -2, 0, 0);
    LerpVectors(&A, &B, &D, 2, 1);
    ExpectVector(D, 9, -6, -3, 0);
}

TEST(Geometry, TriangleNormalFollowsWindingAndArea)
{
    ExpectVector(TriangleNormal({0, 0, 0}, {1, 0, 0}, {0, 1, 0}), 0, 0, 1, 0);
    ExpectVector(TriangleNormal({0, 0, 0}, {0, 1, 0}, {1, 0, 0}), 0, 0, -1, 0);
    ExpectVector(TriangleNormal({1, 1, 1}, {3, 1, 1}, {1, 1, -3}), 0, 8, 0, 0);
}

TEST(Geometry, MatrixMultiplyAppliesFirstThenSecondAndMayAlias)
{
    TGLMatrix M{};
    for (int i = 0; i < 16; ++i)
        M[i] = float(i + 1);
    EXPECT_EQ(MatrixMultiply(IdentityMatrix, M), M);
    EXPECT_EQ(MatrixMultiply(M, IdentityMatrix), M);

    TGLMatrix Move = IdentityMatrix;
    Move[12] = 5;
    const TGLMatrix Rot = MakeRotationX(90);
    // Rotate first, then move: (0,1,0) -> (0,0,1) -> (5,0,1).
    TGLMatrix R = MatrixMultiply(Rot, Move);
    TGLVector P{0, 1, 0};
    TransformVectors(&P, &P, 1, R);
    ExpectVector(P, 5, 0, 1, 1e-6f);

    TGLMatrix A = Rot;
    A = MatrixMultiply(A, Move);
    EXPECT_EQ(A, R);
}
