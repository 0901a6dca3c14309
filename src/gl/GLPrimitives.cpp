// TGLPrimitive: meshes drawn from vertex arrays.
#include "gl/GLClasses.h"

GLenum GLModeOf(uint8_t Kind)
{
    static constexpr GLenum Modes[10] = {GL_TRIANGLES, GL_POINTS, GL_LINES, GL_LINE_STRIP, GL_LINE_LOOP,
                                         GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN, GL_QUAD_STRIP, GL_QUADS, GL_POLYGON};
    return Kind < 10 ? Modes[Kind] : GL_TRIANGLES;
}

void TGLPrimitive::SetPrimitiveType(uint8_t Kind)
{
    PrimitiveType = Kind;
    GLMode = GLModeOf(Kind);
}

void TGLPrimitive::CheckIndices() const
{
    const int32_t VertexCount = Vertices.Count();
    const int32_t* I = Indices.Items();
    for (int32_t N = 0; N < Indices.Count(); ++N)
        if (I[N] < 0 || I[N] >= VertexCount)
            throw EGlimmoraError("TGLPrimitive error: index " + std::to_string(I[N]) + " is out of the " +
                                 std::to_string(VertexCount) + " vertices!");
}

void TGLPrimitive::Draw()
{
    const int32_t Count = Vertices.Count();
    if (Count == 0)
        return;
    // OpenGL would read past the vertex block for a stray index.
    CheckIndices();

    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(TGLVector), Vertices.Data());

    if (Colors.Count() == Count) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_FLOAT, sizeof(TGLColor), Colors.Data());
    } else {
        glDisableClientState(GL_COLOR_ARRAY);
        if (Colors.Count() == 1)
            glColor4fv(&Colors.Items()->R);
    }

    if (Normals.Count() == Count) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, sizeof(TGLVector), Normals.Data());
    } else {
        glDisableClientState(GL_NORMAL_ARRAY);
        if (Normals.Count() == 1)
            glNormal3fv(&Normals.Items()->X);
    }

    if (TexCoords.Count() == Count) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(TGLTexCoord), TexCoords.Data());
    } else {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }

    if (Indices.Count() > 0)
        glDrawElements(GLMode, Indices.Count(), GL_UNSIGNED_INT, Indices.Data());
    else
        glDrawArrays(GLMode, 0, Count);
}

void TGLPrimitive::DrawAgain() const
{
    const int32_t Count = Vertices.Count();
    if (Count == 0)
        return;
    if (Indices.Count() > 0)
        glDrawElements(GLMode, Indices.Count(), GL_UNSIGNED_INT, Indices.Data());
    else
        glDrawArrays(GLMode, 0, Count);
}

void TGLPrimitive::CalcNormals()
{
    const int32_t Count = Vertices.Count();
    // The triangles read their corners through the vertex array; a stray
    // index gets the array's own error before any normal changes.
    if (PrimitiveType == ptTriangles) {
        const int32_t* Idx = Indices.Items();
        for (int32_t I = 0, Used = Indices.Count() / 3 * 3; I < Used; ++I)
            if (Idx[I] < 0 || Idx[I] >= Count)
                Vertices.GetItem(Idx[I]);   // raises
    }
    Normals.SetCount(Count);
    Normals.FillZero();
    if (PrimitiveType == ptTriangles && Count > 0) {
        const TGLVector* V = Vertices.Items();
        TGLVector* N = Normals.Items();
        if (Indices.Count() == 0) {
            // Flat: each triangle gives its face normal to its own vertices.
            for (int32_t I = 0; I + 2 < Count; I += 3) {
                const TGLVector Face = TriangleNormal(V[I], V[I + 1], V[I + 2]);
                N[I] = N[I + 1] = N[I + 2] = Face;
            }
        } else {
            // Smooth: unnormalised face normals, so larger triangles weigh more.
            FNormalCounts.assign(static_cast<std::size_t>(Count), 0);
            const int32_t* Idx = Indices.Items();
            const int32_t IndexCount = Indices.Count();
            for (int32_t I = 0; I + 2 < IndexCount; I += 3) {
                const int32_t Tri[3] = {Idx[I], Idx[I + 1], Idx[I + 2]};
                const TGLVector Face = TriangleNormal(V[Tri[0]], V[Tri[1]], V[Tri[2]]);
                for (int32_t K : Tri) {
                    N[K].X += Face.X;
                    N[K].Y += Face.Y;
                    N[K].Z += Face.Z;
                    ++FNormalCounts[static_cast<std::size_t>(K)];
                }
            }
            for (int32_t I = 0; I < Count; ++I) {
                const int32_t C = FNormalCounts[static_cast<std::size_t>(I)];
                if (C > 0) {
                    N[I].X /= static_cast<float>(C);
                    N[I].Y /= static_cast<float>(C);
                    N[I].Z /= static_cast<float>(C);
                }
            }
        }
    }
    NormalizeNormals();
}

void TGLPrimitive::NormalizeNormals()
{
    NormalizeVectors(Normals.Items(), Normals.Items(), Normals.Count());
}

void TGLPrimitive::AddPrimitive(const TGLPrimitive& Other)
{
    if (Other.PrimitiveType != PrimitiveType)
        throw EGlimmoraError("AddPrimitive failed: formats are not equal!");
    if (Colors.Count() > 1)
        Colors.Append(&Other.Colors);
    Normals.Append(&Other.Normals);
    TexCoords.Append(&Other.TexCoords);
    const int32_t VertexBase = Vertices.Count();
    const int32_t IndexBase = Indices.Count();
    Vertices.Append(&Other.Vertices);
    Indices.Append(&Other.Indices);
    int32_t* I = Indices.Items();
    for (int32_t N = IndexBase; N < Indices.Count(); ++N)
        I[N] += VertexBase;
}

void TGLPrimitive::CopyTo(TGLPrimitive& Target) const
{
    Target.SetPrimitiveType(PrimitiveType);
    Colors.CopyTo(&Target.Colors);
    Vertices.CopyTo(&Target.Vertices);
    Normals.CopyTo(&Target.Normals);
    TexCoords.CopyTo(&Target.TexCoords);
    Indices.CopyTo(&Target.Indices);
}

TGLRef<TGLPrimitive> TGLPrimitive::Copy() const
{
    TGLRef<TGLPrimitive> Result = MakeGLRef<TGLPrimitive>();
    CopyTo(*Result);
    return Result;
}

void TGLPrimitive::Morph(const TGLVectorDArray& A, const TGLVectorDArray& B, float T)
{
    if (A.Count() != B.Count())
        return;
    if (Vertices.Count() != A.Count())
        Vertices.SetCount(A.Count());
    LerpVectors(A.Items(), B.Items(), Vertices.Items(), T, A.Count());
}

void TGLPrimitive::RotateZ(float AngleDeg)
{
    RotateVectorsZ(Vertices.Items(), Vertices.Items(), Vertices.Count(), AngleDeg);
}

void TGLPrimitive::Transform(const TGLMatrix& M)
{
    TransformVectors(Vertices.Items(), Vertices.Items(), Vertices.Count(), M);
}
