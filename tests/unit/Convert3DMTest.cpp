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

namespace {

// Small 3DM texts. Object() starts an object; the sections follow.
std::string Object(const std::string& Name = "Mesh") { return "#Object 1\r\nName " + Name + "\r\n"; }

std::string Section(const std::string& Name, const std::vector<std::string>& Lines)
{
    std::string S = "#" + Name + " " + std::to_string(Lines.size()) + "\r\n";
    for (const std::string& L : Lines)
        S += L + "\r\n";
    return S;
}

// A unit square in z = 0 split into two triangles sharing vertices 1 and 3.
const std::vector<std::string> SquareVertices = {"[0,0,0]", "[1,0,0]", "[1,1,0]", "[0,1,0]"};
const std::vector<std::string> SquareFaces = {"[1,2,3]", "[1,3,4]"};

std::unique_ptr<T3DMFile> Parse(const std::string& Text)
{
    auto File = std::make_unique<T3DMFile>();
    File->LoadFromText(Text, "test.3dm");
    return File;
}

void ExpectVector(const TGLVector& V, float X, float Y, float Z, float Tolerance = 0.0f)
{
    EXPECT_NEAR(V.X, X, Tolerance);
    EXPECT_NEAR(V.Y, Y, Tolerance);
    EXPECT_NEAR(V.Z, Z, Tolerance);
}

}   // namespace

// --------------------------------------------------------- splitting table

TEST(VertIndices3DMList, SplitsByTextureIndexOnlyAndNumbersInOrder)
{
    TVertIndices3DMList Table(3);
    EXPECT_EQ(Table.FindOrAdd(2, 5, 7), 0);
    EXPECT_EQ(Table.FindOrAdd(1, 5, 0), 1);
    EXPECT_EQ(Table.FindOrAdd(2, 6, 7), 2);   // same vertex, other texture index: new
    EXPECT_EQ(Table.FindOrAdd(2, 5, 9), 0);   // colour index is not compared
    EXPECT_EQ(Table.FindOrAdd(1, 5, 3), 1);
    ASSERT_EQ(Table.Count(), 3);
    EXPECT_EQ(Table.NextIndex(), 3);
    const TVertIndices3DM E = Table.GetItem(2);
    EXPECT_EQ(E.VertexIndex, 2);
    EXPECT_EQ(E.NewIndex, 2);
    EXPECT_EQ(E.TexCoordIndex, 6);
    EXPECT_EQ(E.ColorIndex, 7);
    EXPECT_EQ(Table.GetItem(0).ColorIndex, 7);   // the first use's colour stays

    Table.Clear();
    EXPECT_EQ(Table.Count(), 0);
    EXPECT_EQ(Table.FindOrAdd(3, 5, 0), 0);   // buckets survive, numbering restarts
    EXPECT_EQ(Table.FindOrAdd(2, 5, 0), 1);
}

TEST(VertIndices3DMList, RejectsVertexIndicesOutsideTheObject)
{
    TVertIndices3DMList Table(3);
    for (int32_t Bad : {0, -1, 4, INT32_MIN, INT32_MAX})
        EXPECT_THROW(Table.FindOrAdd(Bad, 0, 0), EGlimmoraError) << Bad;
    EXPECT_THROW(TVertIndices3DMList(0).FindOrAdd(1, 0, 0), EGlimmoraError);
    EXPECT_THROW(Table.GetItem(0), EGlimmoraError);
    EXPECT_EQ(Table.Count(), 0);
}

// ------------------------------------------------------------- conversion

TEST(PrimitiveFrom3DMObject, SplitsVerticesUsedWithDifferentTextureIndices)
{
    // Face 2 reuses vertices 1 and 3: vertex 1 with the same texture
    // coordinate (shared), vertex 3 with another one (split).
    const auto File = Parse(Object() + Section("Vertices", SquareVertices) + Section("VertexFaces", SquareFaces) +
                            Section("TextureCoords", {"[0,0,0]", "[1,0,0]", "[1,1,0]", "[0,1,0]", "[0.5,0.5,0]"}) +
                            Section("TextureCoordFaces", {"[1,2,3]", "[1,5,4]"}));
    const auto P = PrimitiveFrom3DMObject(File->Object(0));
    EXPECT_EQ(P->PrimitiveType, ptTriangles);
    ASSERT_EQ(P->Vertices.Count(), 5);
    ASSERT_EQ(P->TexCoords.Count(), 5);
    ASSERT_EQ(P->Indices.Count(), 6);
    const std::vector<int32_t> Indices(P->Indices.Items(), P->Indices.Items() + 6);
    EXPECT_EQ(Indices, (std::vector<int32_t>{0, 1, 2, 0, 3, 4}));
    ExpectVector(P->Vertices.GetItem(3), 1, 1, 0);   // vertex 3 again, second texture coordinate
    EXPECT_FLOAT_EQ(P->TexCoords.GetItem(3).S, 0.5f);
    EXPECT_FLOAT_EQ(P->TexCoords.GetItem(2).S, 1.0f);
    ExpectVector(P->Vertices.GetItem(4), 0, 1, 0);
    EXPECT_EQ(P->Colors.Count(), 1);
}

TEST(PrimitiveFrom3DMObject, ColoursWithoutTextureCoordinatesKeepOneVertexPerIndex)
{
    // Vertex 1 is used with colour 1 first and colour 3 later: one output
    // vertex, the first use's colour.
    const auto File = Parse(Object() + Section("Vertices", SquareVertices) + Section("VertexFaces", SquareFaces) +
                            Section("Colors", {"(color 255 0 0)", "(color 0 255 0)", "(color 0 0 51)"}) +
                            Section("ColorFaces", {"[1,2,2]", "[3,2,1]"}));
    const auto P = PrimitiveFrom3DMObject(File->Object(0));
    ASSERT_EQ(P->Vertices.Count(), 4);
    ASSERT_EQ(P->Colors.Count(), 4);
    EXPECT_EQ(P->TexCoords.Count(), 0);
    const TGLColor C0 = P->Colors.GetItem(0);
    EXPECT_FLOAT_EQ(C0.R, 1.0f);
    EXPECT_FLOAT_EQ(C0.G, 0.0f);
    EXPECT_FLOAT_EQ(C0.A, 1.0f);
    const TGLColor C3 = P->Colors.GetItem(3);   // vertex 4, colour 1 of face 2's third corner
    EXPECT_FLOAT_EQ(C3.R, 1.0f);
    EXPECT_FLOAT_EQ(C3.G, 0.0f);
    EXPECT_FLOAT_EQ(P->Colors.GetItem(1).G, 1.0f);
    EXPECT_FLOAT_EQ(P->Colors.GetItem(2).G, 1.0f);   // vertex 3: colour 2 first, never colour 3
    for (int32_t I = 0; I < 4; ++I)
        EXPECT_EQ(P->Colors.GetItem(I).B, 0.0f) << I;
}

TEST(PrimitiveFrom3DMObject, WithoutColoursHasOneWhiteEntryAndKeepsCoordinatesExactly)
{
    const std::vector<std::string> Odd = {"[0.1,-2.7,1e-3]", "[12345.678,0.3,-7.77]", "[3.14159,2.71828,1.41421]"};
    const auto File = Parse(Object() + Section("Vertices", Odd) + Section("VertexFaces", {"[1,2,3]"}));
    const auto P = PrimitiveFrom3DMObject(File->Object(0));
    ASSERT_EQ(P->Colors.Count(), 1);
    const TGLColor White = P->Colors.GetItem(0);
    EXPECT_EQ(White.R, 1.0f);
    EXPECT_EQ(White.G, 1.0f);
    EXPECT_EQ(White.B, 1.0f);
    EXPECT_EQ(White.A, 1.0f);
    ASSERT_EQ(P->Vertices.Count(), 3);
    const TGLVector* Source = &File->Object(0).Vertices.GetVertex(1);
    for (int32_t I = 0; I < 3; ++I) {
        const TGLVector V = P->Vertices.GetItem(I);
        const TGLVector& S = Source[I];
        EXPECT_EQ(V.X, S.X);
        EXPECT_EQ(V.Y, S.Y);
        EXPECT_EQ(V.Z, S.Z);
    }
}

TEST(PrimitiveFrom3DMObject, ReplacesTheFileNormalsBySmoothOnes)
{
    const auto File = Parse(Object() + Section("Vertices", SquareVertices) + Section("VertexFaces", SquareFaces) +
                            Section("Normals", {"[9,9,9]", "[9,9,9]", "[9,9,9]", "[9,9,9]"}));
    const auto P = PrimitiveFrom3DMObject(File->Object(0));
    ASSERT_EQ(P->Normals.Count(), 4);
    for (int32_t I = 0; I < 4; ++I)
        ExpectVector(P->Normals.GetItem(I), 0, 0, 1, 1e-6f);
}

TEST(PrimitiveFrom3DMObject, BubbleTransformAndTheTurnToYUpCancel)
{
    const auto File = Parse(Object() +
                            Section("Transform", {"Position [0,0,0]", "Rotation 90.0 [1,0,0]", "Scale [1,1,1]",
                                                  "(matrix3 [1,0,0] [0,0,1] [0,-1,0] [0,0,0])"}) +
                            Section("Vertices", {"[-100,-100,0]", "[100,-100,0]", "[100,100,0]", "[-100,100,0]"}) +
                            Section("VertexFaces", SquareFaces));
    const auto P = PrimitiveFrom3DMObject(File->Object(0));
    ASSERT_EQ(P->Vertices.Count(), 4);
    ExpectVector(P->Vertices.GetItem(2), 100, 100, 0, 1e-3f);
    ExpectVector(P->Vertices.GetItem(0), -100, -100, 0, 1e-3f);
    ExpectVector(P->Normals.GetItem(0), 0, 0, 1, 1e-5f);   // the bubble faces the viewer
}

TEST(PrimitiveFrom3DMObject, TransformMovesFirstThenTurnsZUpToYUp)
{
    // Identity axes with a translation: (1, 2, 3) + (10, 20, 30) = (11, 22,
    // 33), turned to (x, z, -y) = (11, 33, -22).
    const auto File = Parse(Object() + Section("Transform", {"(matrix3 [1,0,0] [0,1,0] [0,0,1] [10,20,30])"}) +
                            Section("Vertices", {"[1,2,3]", "[2,2,3]", "[1,3,3]"}) +
                            Section("VertexFaces", {"[1,2,3]"}));
    const auto P = PrimitiveFrom3DMObject(File->Object(0));
    ExpectVector(P->Vertices.GetItem(0), 11, 33, -22, 1e-4f);
    ExpectVector(P->Vertices.GetItem(2), 11, 33, -23, 1e-4f);
}

TEST(PrimitiveFrom3DMObject, IndicesOutsideTheirListsRaise)
{
    const std::string Base = Object() + Section("Vertices", SquareVertices);
    const struct {
        const char* What;
        std::string Text;
    } Cases[] = {
        {"vertex index 5", Base + Section("VertexFaces", {"[1,2,5]"})},
        {"vertex index 0", Base + Section("VertexFaces", {"[0,2,3]"})},
        {"texture index 0", Base + Section("VertexFaces", {"[1,2,3]"}) + Section("TextureCoords", {"[0,0,0]"}) +
                                Section("TextureCoordFaces", {"[1,0,1]"})},
        {"texture index 2", Base + Section("VertexFaces", {"[1,2,3]"}) + Section("TextureCoords", {"[0,0,0]"}) +
                                Section("TextureCoordFaces", {"[1,2,1]"})},
        {"missing texture face", Base + Section("VertexFaces", SquareFaces) + Section("TextureCoords", {"[0,0,0]"}) +
                                     Section("TextureCoordFaces", {"[1,1,1]"})},
        {"colour index 3", Base + Section("VertexFaces", {"[1,2,3]"}) + Section("Colors", {"(color 1 2 3)"}) +
                               Section("ColorFaces", {"[1,1,3]"})},
        {"normal of vertex 4", Base + Section("VertexFaces", SquareFaces) + Section("Normals", {"[0,0,1]"})},
    };
    for (const auto& Case : Cases) {
        const auto File = Parse(Case.Text);
        EXPECT_THROW(PrimitiveFrom3DMObject(File->Object(0)), EGlimmoraError) << Case.What;
    }
}

TEST(PrimitiveFrom3DMFile, MergesObjectsWithOffsetIndicesOrGivesNone)
{
    const auto File = Parse(Object("A") + Section("Vertices", SquareVertices) + Section("VertexFaces", SquareFaces) +
                            Object("B") + Section("Vertices", {"[5,5,5]", "[6,5,5]", "[5,6,5]"}) +
                            Section("VertexFaces", {"[3,2,1]"}));
    const auto P = PrimitiveFrom3DMFile(*File);
    ASSERT_TRUE(P);
    ASSERT_EQ(P->Vertices.Count(), 7);
    ASSERT_EQ(P->Indices.Count(), 9);
    EXPECT_EQ(P->Indices.GetIndex(6), 4);   // B's first output vertex after A's four
    ExpectVector(P->Vertices.GetItem(4), 5, 6, 5);
    ExpectVector(P->Vertices.GetItem(6), 5, 5, 5);
    EXPECT_EQ(P->Normals.Count(), 7);

    EXPECT_FALSE(PrimitiveFrom3DMFile(*Parse("#Header 1\r\nVersion 1\r\n")));
}

// ------------------------------------------------------- material groups

TEST(PrimitiveListFrom3DMObject, OnePrimitivePerMaterialIdInAscendingOrder)
{
    // Face 0 has id 3, faces 1 and 2 id 1: id 1's primitive comes first.
    const auto File = Parse(Object() + Section("Vertices", {"[0,0,0]", "[1,0,0]", "[1,1,0]", "[0,1,0]", "[9,9,0]"}) +
                            Section("VertexFaces", {"[1,2,5]", "[1,2,3]", "[1,3,4]"}) +
                            Section("FaceMatID", {"3", "1", "1"}));
    TGLPrimitiveList List;
    PrimitiveListFrom3DMObject(File->Object(0), List);
    ASSERT_EQ(List.Count(), 2);
    EXPECT_EQ(List.Items(0)->Indices.Count(), 6);
    EXPECT_EQ(List.Items(0)->Vertices.Count(), 4);
    EXPECT_EQ(List.Items(1)->Indices.Count(), 3);
    ExpectVector(List.Items(1)->Vertices.GetItem(2), 9, 9, 0);

    // Appends to a list that holds primitives already.
    PrimitiveListFrom3DMObject(File->Object(0), List);
    EXPECT_EQ(List.Count(), 4);
    EXPECT_EQ(List.Items(0)->RefCount(), 1);
}

TEST(PrimitiveListFrom3DMObject, MaterialIdsAboveAThousandOrBelowZeroRaise)
{
    const std::string Base = Object() + Section("Vertices", SquareVertices) + Section("VertexFaces", SquareFaces);
    const struct {
        const char* First;
        const char* Second;
        const char* Message;   // nullptr: accepted
    } Cases[] = {
        {"1000", "2", nullptr},
        {"0", "0", nullptr},
        {"1", "1001", "PrimitiveListFrom3DMObject error: FaceID>1000"},
        {"2147483647", "1", "PrimitiveListFrom3DMObject error: FaceID>1000"},
        {"1", "-1", "PrimitiveListFrom3DMObject error: FaceID<0 (-1)"},
    };
    for (const auto& Case : Cases) {
        const auto File = Parse(Base + Section("FaceMatID", {Case.First, Case.Second}));
        TGLPrimitiveList List;
        const std::string Error = ErrorOf([&] { PrimitiveListFrom3DMObject(File->Object(0), List); });
        if (Case.Message) {
            EXPECT_EQ(Error, Case.Message) << Case.First << " " << Case.Second;
            EXPECT_EQ(List.Count(), 0);
        } else {
            EXPECT_EQ(Error, "") << Case.First << " " << Case.Second;
            EXPECT_GE(List.Count(), 1);
        }
    }
}

TEST(PrimitiveListFrom3DMObject, FacesWithoutAnIdAreLeftOutAndIdsBeyondTheFacesRaise)
{
    const std::string Base = Object() + Section("Vertices", SquareVertices) + Section("VertexFaces", SquareFaces);
    TGLPrimitiveList List;
    PrimitiveListFrom3DMObject(Parse(Base + Section("FaceMatID", {"1"}))->Object(0), List);
    ASSERT_EQ(List.Count(), 1);
    EXPECT_EQ(List.Items(0)->Indices.Count(), 3);
    PrimitiveListFrom3DMObject(Parse(Base)->Object(0), List);
    EXPECT_EQ(List.Count(), 1);
    EXPECT_THROW(PrimitiveListFrom3DMObject(Parse(Base + Section("FaceMatID", {"1", "1", "1"}))->Object(0), List),
                 EGlimmoraError);
}

// -------------------------------------------------------------- materials

TEST(MaterialFrom3DM, BillMaterialWorkedExample)
{
    T3DMMaterialStandard M("Dollars");
    M.Ambient = {22.6664f, 16.3332f, 46.3329f};
    M.Diffuse = {127, 127, 127};
    M.Specular = {229.5f, 229.5f, 229.5f};
    M.SelfIllumColor = {51, 0, 0};
    M.SpecularLevel = 5;
    M.Glossiness = 25;
    M.Opacity = 100;
    M.TwoSided = true;
    const auto G = MaterialFrom3DM(M);
    EXPECT_NEAR(G->Ambient().R, 0.0889f, 1e-4f);
    EXPECT_NEAR(G->Ambient().G, 0.0641f, 1e-4f);
    EXPECT_NEAR(G->Ambient().B, 0.1817f, 1e-4f);
    EXPECT_FLOAT_EQ(G->Ambient().A, 1.0f);
    EXPECT_NEAR(G->Diffuse().R, 0.498f, 1e-4f);
    EXPECT_FLOAT_EQ(G->Diffuse().A, 1.0f);
    EXPECT_NEAR(G->Specular().R, 0.5181f, 1e-4f);
    EXPECT_NEAR(G->Specular().B, 0.5181f, 1e-4f);
    EXPECT_FLOAT_EQ(G->Specular().A, 1.0f);
    EXPECT_FLOAT_EQ(G->Emission().R, 0.2f);
    EXPECT_FLOAT_EQ(G->Emission().A, 1.0f);
    EXPECT_FLOAT_EQ(G->Shininess(), 3.2f);
    EXPECT_TRUE(G->FrontFace());
    EXPECT_TRUE(G->BackFace());

    M.Opacity = 50;
    M.TwoSided = false;
    const auto Half = MaterialFrom3DM(M);
    EXPECT_FLOAT_EQ(Half->Diffuse().A, 0.5f);
    EXPECT_FLOAT_EQ(Half->Specular().A, 0.5f);
    EXPECT_FALSE(Half->BackFace());
}

TEST(DiffuseMapName, UndefinedIsNone)
{
    T3DMMaterialStandard M;
    EXPECT_EQ(DiffuseMapName(M), "");
    M.DiffuseMap = "undefined";
    EXPECT_EQ(DiffuseMapName(M), "");
    M.DiffuseMap = "dollar.jpg";
    EXPECT_EQ(DiffuseMapName(M), "dollar.jpg");
}

// ------------------------------------------------------- lists and files

namespace {

std::string Standard(const std::string& Name, const std::string& DiffuseMap, int Opacity)
{
    return Section("MaterialStandard", {"Name " + Name, "Opacity " + std::to_string(Opacity),
                                        "Diffuse (color 255 0 0)", "DiffuseMap " + DiffuseMap});
}

// Models and images from files in a folder of the test, or from the
// test program's embedded resources.
class Convert3DMFiles : public ::testing::Test {
protected:
    TTempDir Dir;
    const std::unique_ptr<IEmbeddedResources> Module = CreateModuleResources();
    const TAssetSource Files{*Module, false, Dir.File(""), Dir.File("")};
    const TAssetSource Embedded = EmbeddedAssets(*Module);
};

}   // namespace

TEST_F(Convert3DMFiles, ListsFrom3DMFileFillsPrimitivesMaterialsAndTexturesOfMapsOnly)
{
    // A standard material without a map, a multi material of two with one
    // map, then a standard material with a map: four materials, two
    // textures, not aligned by index.
    const std::string Text =
        Standard("Plain", "undefined", 100) +
        "#MaterialMultiSubObject 2\r\nName Multi\r\nNumSubs 2\r\n" + Standard("SubA", "undefined", 50) +
        Standard("SubB", "dollar.jpg", 25) + Standard("Mapped", "caust1.jpg", 100) + Object() +
        Section("Vertices", SquareVertices) + Section("VertexFaces", SquareFaces) + Section("FaceMatID", {"1", "2"});
    const auto File = Parse(Text);
    // The maps come from the embedded assets.
    const TModelLists L = ListsFrom3DMFile(Embedded, *File);
    EXPECT_EQ(L.Primitives.Count(), 2);
    ASSERT_EQ(L.Materials.Count(), 4);
    EXPECT_FLOAT_EQ(L.Materials.Items(1)->Diffuse().A, 0.5f);
    EXPECT_FLOAT_EQ(L.Materials.Items(2)->Diffuse().A, 0.25f);
    EXPECT_FLOAT_EQ(L.Materials.Items(3)->Diffuse().A, 1.0f);
    ASSERT_EQ(L.Textures.Count(), 2);
    EXPECT_EQ(L.Textures.Items(0)->Width(), 256);
    EXPECT_EQ(L.Textures.Items(0)->RefCount(), 1);

    // A file without objects gives no material either.
    const TModelLists Alone = ListsFrom3DMFile(Embedded, *Parse(Standard("Alone", "undefined", 100)));
    EXPECT_EQ(Alone.Materials.Count(), 0);
    EXPECT_EQ(Alone.Primitives.Count(), 0);
}

TEST_F(Convert3DMFiles, AMapOfAnUnknownKindFailsOnTheNilTexture)
{
    const auto File = Parse(Standard("Odd", "picture.png", 100) + Object() + Section("Vertices", SquareVertices) +
                            Section("VertexFaces", SquareFaces));
    EXPECT_EQ(ErrorOf([&] { ListsFrom3DMFile(Files, *File); }), "TGLTextureList error: Add NIL Texture!");
}

TEST_F(Convert3DMFiles, LoadEntryPointsReadFromModelDir)
{
    Dir.Write("two.3dm", Standard("Red", "undefined", 100) + Object() + Section("Vertices", SquareVertices) +
                             Section("VertexFaces", SquareFaces) + Section("FaceMatID", {"1", "2"}) +
                             Object("B") + Section("Vertices", SquareVertices) +
                             Section("VertexFaces", {"[1,2,3]"}) + Section("FaceMatID", {"7"}));
    const auto Merged = Load3DMPrimitive(Files, "two.3dm");
    ASSERT_TRUE(Merged);
    EXPECT_EQ(Merged->Indices.Count(), 9);
    EXPECT_EQ(Merged->Vertices.Count(), 7);

    const TModelLists L = Load3DM(Files, "two.3dm");
    EXPECT_EQ(L.Primitives.Count(), 3);
    EXPECT_EQ(L.Materials.Count(), 1);
    EXPECT_EQ(L.Textures.Count(), 0);

    EXPECT_EQ(Load3DMPrimitiveList(Files, "two.3dm").Count(), 3);
}

TEST_F(Convert3DMFiles, AFileWithoutObjectsLoadsNothing)
{
    Dir.Write("empty.3dm", Standard("Red", "undefined", 100));
    EXPECT_FALSE(Load3DMPrimitive(Files, "empty.3dm"));

    const TModelLists L = Load3DM(Files, "empty.3dm");
    EXPECT_EQ(L.Textures.Count(), 0);
    EXPECT_EQ(L.Materials.Count(), 0);
    EXPECT_EQ(L.Primitives.Count(), 0);

    EXPECT_EQ(Load3DMPrimitiveList(Files, "empty.3dm").Count(), 0);
}

TEST_F(Convert3DMFiles, ReaderErrorsPassThroughTheEntryPoints)
{
    Dir.Write("bad.3dm", Object() + Section("Vertices", {"[1,x,2]"}));
    for (const char* Name : {"bad.3dm", "missing.3dm"}) {
        EXPECT_THROW(Load3DMPrimitive(Files, Name), EGlimmoraError) << Name;
        EXPECT_THROW(Load3DM(Files, Name), EGlimmoraError) << Name;
        EXPECT_THROW(Load3DMPrimitiveList(Files, Name), EGlimmoraError) << Name;
    }
    EXPECT_NE(ErrorOf([&] { Load3DMPrimitive(Files, "missing.3dm"); }).find("missing.3dm"), std::string::npos);
}

TEST_F(Convert3DMFiles, WithResourcesTheDirectoryPlaysNoPart)
{
    const TAssetSource Assets{*Module, true, "/nowhere/at/all/", "/nowhere/either/"};
    const auto Bill = Load3DMPrimitive(Assets, "Dollaro00f.3dm");
    ASSERT_TRUE(Bill);
    EXPECT_EQ(Bill->Vertices.Count(), 8);
    EXPECT_THROW(Load3DMPrimitive(Assets, "NoSuchModel.3dm"), EGlimmoraError);
}
