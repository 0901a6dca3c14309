#include "gl/Geometry.h"

#include <cmath>

#include "gl/FastMath.h"

void NormalizeVectors(const TGLVector* Src, TGLVector* Dst, int Count)
{
    for (int i = 0; i < Count; ++i) {
        const TGLVector V = Src[i];
        const float Len = static_cast<float>(
            std::sqrt(double(V.X) * V.X + double(V.Y) * V.Y + double(V.Z) * V.Z));
        if (Len != 0.0f)
            Dst[i] = TGLVector{V.X / Len, V.Y / Len, V.Z / Len};
        else
            Dst[i] = V;
    }
}

void TransformVectors(const TGLVector* Src, TGLVector* Dst, int Count, const TGLMatrix& M)
{
    for (int i = 0; i < Count; ++i) {
        const TGLVector V = Src[i];
        Dst[i] = TGLVector{V.X * M[0] + V.Y * M[4] + V.Z * M[8] + M[12],
                           V.X * M[1] + V.Y * M[5] + V.Z * M[9] + M[13],
                           V.X * M[2] + V.Y * M[6] + V.Z * M[10] + M[14]};
    }
}

void RotateVectorsZ(const TGLVector* Src, TGLVector* Dst, int Count, float AngleDeg)
{
    if (Count <= 0)
        return;
    float S, C;
    SinCos(DegToRad(AngleDeg), S, C);
    for (int i = 0; i < Count; ++i) {
        const TGLVector V = Src[i];
        Dst[i] = TGLVector{V.X * C - V.Y * S, V.X * S + V.Y * C, V.Z};
    }
}

void LerpVectors(const TGLVector* A, const TGLVector* B, TGLVector* Dst, float T, int Count)
{
    for (int i = 0; i < Count; ++i) {
        const TGLVector VA = A[i];
        const TGLVector VB = B[i];
        Dst[i] = TGLVector{VA.X + T * (VB.X - VA.X), VA.Y + T * (VB.Y - VA.Y),
                           VA.Z + T * (VB.Z - VA.Z)};
    }
}

TGLVector TriangleNormal(const TGLVector& V1, const TGLVector& V2, const TGLVector& V3)
{
    const TGLVector E1{V2.X - V1.X, V2.Y - V1.Y, V2.Z - V1.Z};
    const TGLVector E2{V3.X - V1.X, V3.Y - V1.Y, V3.Z - V1.Z};
    return TGLVector{E1.Y * E2.Z - E2.Y * E1.Z, E2.X * E1.Z - E1.X * E2.Z,
                     E1.X * E2.Y - E2.X * E1.Y};
}

TGLMatrix MatrixMultiply(const TGLMatrix& A, const TGLMatrix& B)
{
    TGLMatrix R = ZeroMatrix;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k)
                R[i * 4 + j] += A[i * 4 + k] * B[k * 4 + j];
    return R;
}

TGLMatrix MakeRotationX(float AngleDeg)
{
    float S, C;
    SinCos(DegToRad(AngleDeg), S, C);
    TGLMatrix M = IdentityMatrix;
    M[5] = C;
    M[6] = S;
    M[9] = -S;
    M[10] = C;
    return M;
}
