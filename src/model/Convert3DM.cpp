#include "model/Convert3DM.h"

#include <climits>
#include <map>
#include <optional>
#include <string_view>

#include "gl/Errors.h"
#include "gl/GLClasses.h"
#include "gl/GLTexture.h"
#include "gl/GLUtils.h"
#include "gl/Resources.h"

// ------------------------------------------------------ splitting table

TVertIndices3DMList::TVertIndices3DMList(int32_t VertexCount)
    : FBuckets(static_cast<std::size_t>(VertexCount > 0 ? VertexCount : 0))
{
}

int32_t TVertIndices3DMList::FindOrAdd(int32_t VertexIndex, int32_t TexCoordIndex, int32_t ColorIndex)
{
    if (VertexIndex < 1 || VertexIndex > static_cast<int32_t>(FBuckets.size()))
        throw EGlimmoraError("TVertIndices3DMList error: vertex index " + std::to_string(VertexIndex) +
                             " is out of the " + std::to_string(FBuckets.size()) + " vertices!");
    std::vector<int32_t>& Bucket = FBuckets[static_cast<std::size_t>(VertexIndex - 1)];
    for (int32_t Position : Bucket) {
        const TVertIndices3DM& E = FItems[static_cast<std::size_t>(Position)];
        if (E.TexCoordIndex == TexCoordIndex)
            return E.NewIndex;
    }
    FItems.push_back({VertexIndex, FNextIndex, TexCoordIndex, ColorIndex});
    Bucket.push_back(static_cast<int32_t>(FItems.size() - 1));
    return FNextIndex++;
}

TVertIndices3DM TVertIndices3DMList::GetItem(int32_t Index) const
{
    if (Index < 0 || Index >= Count())
        throw EGlimmoraError("List index out of bounds (" + std::to_string(Index) + ")");
    return FItems[static_cast<std::size_t>(Index)];
}

void TVertIndices3DMList::Clear()
{
    for (std::vector<int32_t>& Bucket : FBuckets)
        Bucket.clear();
    FItems.clear();
    FNextIndex = 0;
}

// ----------------------------------------------------------- primitives

namespace {

int32_t Corner(const T3DMFace& Face, int K)
{
    return K == 0 ? Face.A : K == 1 ? Face.B : Face.C;
}

// The object transform (rows: X axis, Y axis, Z axis, translation), then a
// turn from the file's Z-up to the scene's Y-up: (x, y, z) -> (x, z, -y).
TGLMatrix ObjectMatrix(const T3DMObject& Object)
{
    TGLMatrix M = IdentityMatrix;
    for (std::size_t R = 0; R < 4; ++R)
        for (std::size_t C = 0; C < 3; ++C)
            M[4 * R + C] = Object.Matrix[R][C];
    return MatrixMultiply(M, MakeRotationX(270.0f));
}

}   // namespace

TGLRef<TGLPrimitive> PrimitiveFromFaces(const std::vector<int32_t>& Faces, const T3DMObject& Object)
{
    auto P = MakeGLRef<TGLPrimitive>();
    P->SetPrimitiveType(ptTriangles);
    TVertIndices3DMList Table(Object.Vertices.Count());

    if (Faces.size() > static_cast<std::size_t>(INT32_MAX / 3))
        throw EGlimmoraError("PrimitiveFromFaces error: too many faces (" + std::to_string(Faces.size()) + ")");
    P->Indices.SetCount(static_cast<int32_t>(Faces.size()) * 3);

    // A face without its own texture or colour triple keeps the last ones.
    int32_t TexIndex = 0;
    int32_t ColorIndex = 0;
    int32_t Next = 0;
    for (int32_t F : Faces) {
        const T3DMFace& V = Object.VertexFaces.GetFace(F);
        const T3DMFace* T = Object.HasTextureCoords ? &Object.TextureCoordFaces.GetFace(F) : nullptr;
        const T3DMFace* C = Object.HasColors ? &Object.ColorFaces.GetFace(F) : nullptr;
        for (int K = 0; K < 3; ++K) {
            if (T)
                TexIndex = Corner(*T, K);
            if (C)
                ColorIndex = Corner(*C, K);
            P->Indices.SetIndex(Next++, Table.FindOrAdd(Corner(V, K), TexIndex, ColorIndex));
        }
    }

    const int32_t M = Table.Count();
    P->Vertices.SetCount(M);
    if (Object.HasTextureCoords)
        P->TexCoords.SetCount(M);
    if (Object.HasNormals)
        P->Normals.SetCount(M);
    if (Object.HasColors) {
        P->Colors.SetCount(M);
    } else {
        static constexpr float White[3] = {1.0f, 1.0f, 1.0f};
        P->Colors.LoadFromArray(White);
    }

    for (int32_t I = 0; I < M; ++I) {
        const TVertIndices3DM E = Table.GetItem(I);
        P->Vertices.SetItem(I, Object.Vertices.GetVertex(E.VertexIndex));
        if (Object.HasTextureCoords)
            P->TexCoords.SetItem(I, Object.TextureCoords.GetTexCoord(E.TexCoordIndex));
        // Normals follow the vertex, not a face list of their own.
        if (Object.HasNormals)
            P->Normals.SetItem(I, Object.Normals.GetVertex(E.VertexIndex));
        if (Object.HasColors) {
            const T3DMColor& Col = Object.Colors.GetColor(E.ColorIndex);
            P->Colors.SetRGB(I, Col.R / 255.0f, Col.G / 255.0f, Col.B / 255.0f);
        }
    }

    if (Object.HasTransform)
        P->Transform(ObjectMatrix(Object));
    // The file's normals do not survive the transform and the splitting
    // alike; smooth normals from the triangles replace them.
    P->CalcNormals();
    return P;
}

TGLRef<TGLPrimitive> PrimitiveFrom3DMObject(const T3DMObject& Object)
{
    std::vector<int32_t> Faces(static_cast<std::size_t>(Object.VertexFaces.Count()));
    for (std::size_t I = 0; I < Faces.size(); ++I)
        Faces[I] = static_cast<int32_t>(I);
    return PrimitiveFromFaces(Faces, Object);
}

void PrimitiveListFrom3DMObject(const T3DMObject& Object, TGLPrimitiveList& List)
{
    // Ordered by id: the N-th primitive stands for the N-th smallest id.
    std::map<int32_t, std::vector<int32_t>> Groups;
    for (int32_t I = 0; I < Object.FaceMatIDCount(); ++I) {
        const int32_t D = Object.GetFaceMatID(I);
        if (D > 1000)
            throw EGlimmoraError("PrimitiveListFrom3DMObject error: FaceID>1000");
        if (D < 0)
            throw EGlimmoraError("PrimitiveListFrom3DMObject error: FaceID<0 (" + std::to_string(D) + ")");
        Groups[D].push_back(I);
    }
    for (const auto& [Id, Faces] : Groups)
        List.Add(PrimitiveFromFaces(Faces, Object));
}

TGLRef<TGLPrimitive> PrimitiveFrom3DMFile(const T3DMFile& File)
{
    if (File.ObjectCount() == 0)
        return nullptr;
    TGLRef<TGLPrimitive> Result = PrimitiveFrom3DMObject(File.Object(0));
    for (int32_t I = 1; I < File.ObjectCount(); ++I)
        Result->AddPrimitive(*PrimitiveFrom3DMObject(File.Object(I)));
    return Result;
}

// ------------------------------------------------------------ materials

TGLRef<TGLMaterial> MaterialFrom3DM(const T3DMMaterialStandard& Material)
{
    const float A = Material.Opacity * 0.01f;
    const auto Scaled = [A](const T3DMColor& C) { return MakeColor(C.R / 255.0f, C.G / 255.0f, C.B / 255.0f, A); };
    const float L = Material.SpecularLevel * 0.01f;
    const auto Blend = [L](float S, float D) { return (L * S + (1.0f - L) * D) / 255.0f; };

    auto Result = MakeGLRef<TGLMaterial>();
    Result->SetAmbient(Scaled(Material.Ambient));
    Result->SetDiffuse(Scaled(Material.Diffuse));
    Result->SetEmission(Scaled(Material.SelfIllumColor));
    Result->SetSpecular(MakeColor(Blend(Material.Specular.R, Material.Diffuse.R),
                                  Blend(Material.Specular.G, Material.Diffuse.G),
                                  Blend(Material.Specular.B, Material.Diffuse.B), A));
    Result->SetShininess(Material.Glossiness * 0.128f);
    Result->SetFrontFace(true);
    Result->SetBackFace(Material.TwoSided);
    return Result;
}

std::string DiffuseMapName(const T3DMMaterialStandard& Material)
{
    return Material.DiffuseMap == "undefined" ? std::string() : Material.DiffuseMap;
}

// ---------------------------------------------------------------- lists

namespace {

// A map LoadTexture cannot read gives no texture, which the list refuses
// with its nil-item error.
void AddTexture(TGLTextureList& Textures, const TAssetSource& Assets, const std::string& Name)
{
    Textures.Add(LoadTexture(Assets, Name));
}

const T3DMMaterialStandard& StandardSubMaterial(const T3DMMaterialMultiSubObject& Multi, int32_t Index)
{
    const auto* Sub = dynamic_cast<const T3DMMaterialStandard*>(Multi.SubMaterials.Items(Index));
    if (!Sub)
        throw EGlimmoraError("ListsFrom3DMFile error: sub-material " + std::to_string(Index) + " of \"" +
                             Multi.Name() + "\" is not a standard material");
    return *Sub;
}

}   // namespace

TModelLists ListsFrom3DMFile(const TAssetSource& Assets, const T3DMFile& File)
{
    TModelLists Lists;
    if (File.ObjectCount() == 0)
        return Lists;

    for (int32_t I = 0; I < File.ObjectCount(); ++I)
        PrimitiveListFrom3DMObject(File.Object(I), Lists.Primitives);

    // Textures follow the materials that have a map, so they are not
    // aligned with the materials by index.
    for (int32_t I = 0; I < File.Materials.Count(); ++I) {
        const T3DMMaterial* Material = File.Materials.Items(I);
        if (const auto* Standard = dynamic_cast<const T3DMMaterialStandard*>(Material)) {
            Lists.Materials.Add(MaterialFrom3DM(*Standard));
            const std::string Map = DiffuseMapName(*Standard);
            if (!Map.empty())
                AddTexture(Lists.Textures, Assets, Map);
        } else if (const auto* Multi = dynamic_cast<const T3DMMaterialMultiSubObject*>(Material)) {
            const int32_t Count = Multi->SubMaterials.Count();
            for (int32_t S = 0; S < Count; ++S)
                Lists.Materials.Add(MaterialFrom3DM(StandardSubMaterial(*Multi, S)));
            for (int32_t S = 0; S < Count; ++S) {
                const std::string Map = DiffuseMapName(StandardSubMaterial(*Multi, S));
                if (!Map.empty())
                    AddTexture(Lists.Textures, Assets, Map);
            }
        }
    }
    return Lists;
}

// ---------------------------------------------------------------- files

T3DMResourceLookup ModelResourceLookup(IEmbeddedResources& Resources)
{
    return [&Resources](const std::string& Name) -> std::optional<std::string_view> {
        const auto Bytes = Resources.Find(Name, rkRawData);
        if (!Bytes)
            return std::nullopt;
        return std::string_view(reinterpret_cast<const char*>(Bytes->data()), Bytes->size());
    };
}

void Load3DMFile(const TAssetSource& Assets, const std::string& FileName, T3DMFile& File)
{
    File.FromResource = Assets.UseResources;
    if (Assets.UseResources) {
        File.Resources = ModelResourceLookup(Assets.Resources);
        File.LoadFromFile(FileName);
    } else {
        File.LoadFromFile(Assets.ModelDir + FileName);
    }
}

TGLRef<TGLPrimitive> Load3DMPrimitive(const TAssetSource& Assets, const std::string& FileName)
{
    T3DMFile File;
    Load3DMFile(Assets, FileName, File);
    return PrimitiveFrom3DMFile(File);
}

TModelLists Load3DM(const TAssetSource& Assets, const std::string& FileName)
{
    T3DMFile File;
    Load3DMFile(Assets, FileName, File);
    return ListsFrom3DMFile(Assets, File);
}

TGLPrimitiveList Load3DMPrimitiveList(const TAssetSource& Assets, const std::string& FileName)
{
    T3DMFile File;
    Load3DMFile(Assets, FileName, File);
    TGLPrimitiveList Primitives;
    for (int32_t I = 0; I < File.ObjectCount(); ++I)
        PrimitiveListFrom3DMObject(File.Object(I), Primitives);
    return Primitives;
}
