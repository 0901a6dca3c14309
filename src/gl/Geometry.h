// The shared numeric records (vector, colour, texture coordinate, matrix)
// and the routines that work on whole packed arrays of vectors. The record
// layouts are handed to OpenGL as they are, so they are binding.
#pragma once

#include <array>
#include <cstdint>

struct TGLVector {
    float X, Y, Z;
};
static_assert(sizeof(TGLVector) == 12);

struct TGLColor {
    float R, G, B, A;
};
static_assert(sizeof(TGLColor) == 16);

struct TGLTexCoord {
    float S, T;
};
static_assert(sizeof(TGLTexCoord) == 8);

// Column-major: element c*4 + r is row r of column c; translation in 12..14.
using TGLMatrix = std::array<float, 16>;
static_assert(sizeof(TGLMatrix) == 64);

inline constexpr TGLVector ZeroVector{0.0f, 0.0f, 0.0f};
inline constexpr TGLMatrix IdentityMatrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
inline constexpr TGLMatrix ZeroMatrix{};

inline TGLVector MakeVector(float X, float Y, float Z) { return TGLVector{X, Y, Z}; }
inline TGLColor MakeColor(float R, float G, float B, float A) { return TGLColor{R, G, B, A}; }

// Array routines. A count of 0 or less does nothing; source and destination
// may be the same array.
void NormalizeVectors(const TGLVector* Src, TGLVector* Dst, int Count);
void TransformVectors(const TGLVector* Src, TGLVector* Dst, int Count, const TGLMatrix& M);
void RotateVectorsZ(const TGLVector* Src, TGLVector* Dst, int Count, float AngleDeg);
void LerpVectors(const TGLVector* A, const TGLVector* B, TGLVector* Dst, float T, int Count);

// Cross product of the two edges from V1; not normalised (its length is
// twice the triangle's area). Counter-clockwise seen from the front points
// toward the viewer.
TGLVector TriangleNormal(const TGLVector& V1, const TGLVector& V2, const TGLVector& V3);

// Applies A first, then B, to a point. The result may alias either argument.
TGLMatrix MatrixMultiply(const TGLMatrix& A, const TGLMatrix& B);
// Counter-clockwise rotation about +X.
TGLMatrix MakeRotationX(float AngleDeg);
