#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "fakes/ErrorOf.h"
#include "gl/Errors.h"
#include "model/File3DM.h"
#include "platform/SameText.h"

namespace {

// A bill-like model as the asset generator writes it, with a bubble-style
// transform and a colour list added.
const char* const Bill =
    "#Header 2\r\n"
    "Generator glimmora-assets\r\n"
    "Version 1\r\n"
    "#MaterialCount 1\r\n"
    "Count 1\r\n"
    "#MaterialStandard 17\r\n"
    "Name Dollars\r\n"
    "ShaderType 1 Blinn\r\n"
    "Faceted false\r\n"
    "WireSize 1\r\n"
    "TwoSided true\r\n"
    "OpacityType 0\r\n"
    "Opacity 100.0\r\n"
    "selfIllumColor (color 0 0 0)\r\n"
    "Ambient (color 22.6664 16.3332 46.3329)\r\n"
    "Diffuse (color 127 127 127)\r\n"
    "Specular (color 229.5 229.5 229.5)\r\n"
    "SpecularLevel 5\r\n"
    "Glossiness 25\r\n"
    "DiffuseMap dollar.jpg\r\n"
    "OpacityMap UNDEFINED\r\n"
    "BumpMap undefined\r\n"
    "ReflectionMap Caust5.JPG\r\n"
    "#Object 2\r\n"
    "Name Bill\r\n"
    "Ignored line\r\n"
    "#Transform 4\r\n"
    "Position [0,0,0]\r\n"
    "Rotation 90.0 [1,0,0]\r\n"
    "Scale [1,-1,-2]\r\n"
    "(matrix3 [1,0,0] [0,0,1] [0,-1,0] [5,6.5,-7])\r\n"
    "#Vertices 3\r\n"
    "[512,-7.73098e-005,-215] \r\n"
    "[0,0,0]\r\n"
    "[1.5,2,3]\r\n"
    "#VertexFaces 1\r\n"
    "[3,4,1]\r\n"
    "#Material 1\r\n"
    "Name Dollars\r\n"
    "#FaceMatID 1\r\n"
    "3\r\n"
    "#Normals 1\r\n"
    "[0,0,1]\r\n"
    "#TextureCoords 2\r\n"
    "[0.9995,0.000499547,0.5]\r\n"
    "[1,0,0]\r\n"
    "#TextureCoordFaces 1\r\n"
    "[1,2,2]\r\n"
    "#Colors 1\r\n"
    "(color 45.6662 16.6665 16.6665)\r\n"
    "#ColorFaces 1\r\n"
    "[1,1,1]\r\n";

void ExpectVector(const TGLVector& V, float X, float Y, float Z)
{
    EXPECT_FLOAT_EQ(V.X, X);
    EXPECT_FLOAT_EQ(V.Y, Y);
    EXPECT_FLOAT_EQ(V.Z, Z);
}

}   // namespace

TEST(T3DMFile, ReadsEverySectionOfAModel)
{
    T3DMFile F;
    F.LoadFromText(Bill);
    EXPECT_EQ(F.Version, 1);
    ASSERT_EQ(F.ObjectCount(), 1);
    const T3DMObject& O = F.Object(0);
    EXPECT_EQ(O.Name, "Bill");

    ASSERT_EQ(O.Vertices.Count(), 3);
    ExpectVector(O.Vertices.GetVertex(1), 512, -7.73098e-5f, -215);   // trailing blank trimmed
    ExpectVector(O.Vertices.GetVertex(3), 1.5f, 2, 3);
    ASSERT_EQ(O.VertexFaces.Count(), 1);
    EXPECT_EQ(O.VertexFaces.GetFace(0).A, 3);   // stays 1-based
    EXPECT_EQ(O.VertexFaces.GetFace(0).B, 4);
    EXPECT_EQ(O.VertexFaces.GetFace(0).C, 1);
    EXPECT_EQ(O.FaceMatIDs, std::vector<int32_t>{3});
    EXPECT_TRUE(O.HasNormals);
    ExpectVector(O.Normals.GetVertex(1), 0, 0, 1);
    EXPECT_TRUE(O.HasTextureCoords);
    EXPECT_FLOAT_EQ(O.TextureCoords.GetTexCoord(1).S, 0.9995f);
    EXPECT_FLOAT_EQ(O.TextureCoords.GetTexCoord(1).T, 0.000499547f);
    EXPECT_EQ(O.TextureCoordFaces.GetFace(0).B, 2);
    EXPECT_TRUE(O.HasColors);
    EXPECT_FLOAT_EQ(O.Colors.GetColor(1).R, 45.6662f);   // kept on the 0..255 scale
    EXPECT_FLOAT_EQ(O.Colors.GetColor(1).B, 16.6665f);
    EXPECT_EQ(O.ColorFaces.Count(), 1);

    EXPECT_TRUE(O.HasTransform);
    EXPECT_EQ(O.MirrorFlags, 2 | 4);
    const std::array<std::array<float, 3>, 4> Rows{{{1, 0, 0}, {0, 0, 1}, {0, -1, 0}, {5, 6.5f, -7}}};
    EXPECT_EQ(O.Matrix, Rows);

    ASSERT_EQ(F.Materials.Count(), 1);
    auto* M = dynamic_cast<T3DMMaterialStandard*>(F.Materials.Items(0));
    ASSERT_NE(M, nullptr);
    EXPECT_EQ(M->Name(), "Dollars");
    EXPECT_EQ(M->Owner(), &F.Materials);
    EXPECT_EQ(M->ShaderType, 1);
    EXPECT_FALSE(M->Faceted);
    EXPECT_TRUE(M->TwoSided);
    EXPECT_EQ(M->WireSize, 1);
    EXPECT_EQ(M->OpacityType, 0);
    EXPECT_FLOAT_EQ(M->Opacity, 100);
    EXPECT_FLOAT_EQ(M->SpecularLevel, 5);
    EXPECT_FLOAT_EQ(M->Glossiness, 25);
    EXPECT_FLOAT_EQ(M->Ambient.R, 22.6664f);
    EXPECT_FLOAT_EQ(M->Ambient.B, 46.3329f);
    EXPECT_FLOAT_EQ(M->Diffuse.G, 127);
    EXPECT_FLOAT_EQ(M->Specular.R, 229.5f);
    EXPECT_EQ(M->DiffuseMap, "dollar.jpg");
    EXPECT_EQ(M->OpacityMap, "");
    EXPECT_EQ(M->BumpMap, "");
    EXPECT_EQ(M->ReflectionMap, "Caust5.JPG");
}

TEST(T3DMFile, LineEndsBlankLinesAndSectionCounts)
{
    struct Case {
        const char* Text;
        int Vertices;
    };
    const Case Cases[] = {
        {"#Object 0\n#Vertices 2\n[1,2,3]\n[4,5,6]\n", 2},
        {"#Object 0\r#Vertices 2\r[1,2,3]\r[4,5,6]", 2},
        // zero-length lines do not count toward the section's lines
        {"#Object 0\r\n\r\n\n#Vertices 2\r\n\r\n[1,2,3]\r\n\n\r[4,5,6]\r\n", 2},
        // a line of blanks counts: it is read as a vertex and fails
        {"#Object 0\n#Vertices 2\n \t\n[4,5,6]\n", -1},
        // lines that do not begin with "#" are passed over before a heading
        {"junk\n  more junk\n#Object 1\nName X\nrest of object\n#Vertices 1\n\t[1,2,3]\t\n", 1},
        // a section count below 0 reads no lines, as 0 does
        {"#Object -1\n#Vertices -1\n#Normals -2147483648\n#Vertices 1\n[1,2,3]\n", 1},
    };
    for (const Case& C : Cases) {
        T3DMFile F;
        if (C.Vertices < 0) {
            EXPECT_THROW(F.LoadFromText(C.Text), EGlimmoraError) << C.Text;
            continue;
        }
        F.LoadFromText(C.Text);
        ASSERT_EQ(F.ObjectCount(), 1) << C.Text;
        EXPECT_EQ(F.Object(0).Vertices.Count(), C.Vertices) << C.Text;
        ExpectVector(F.Object(0).Vertices.GetVertex(1), 1, 2, 3);
    }
}

TEST(T3DMFile, TextThatEndsEarlyKeepsWhatWasRead)
{
    T3DMFile F;
    F.LoadFromText("\r\n\n\r\r\n");
    EXPECT_EQ(F.ObjectCount(), 0);
    EXPECT_EQ(F.Version, 0);
    EXPECT_EQ(F.Materials.Count(), 0);

    F.LoadFromText("#Object 0\r\n#Vertices 4\r\n[1,1,1]\r\n[2,2,2]\r\n");
    ASSERT_EQ(F.ObjectCount(), 1);
    EXPECT_EQ(F.Object(0).Name, "");
    EXPECT_EQ(F.Object(0).Vertices.Count(), 2);

    // A huge count is never used to reserve memory.
    F.LoadFromText("#Object 2147483647\nName A\n#Normals 2147483647\n[0,1,0]\n");
    EXPECT_EQ(F.Object(0).Normals.Count(), 1);
    EXPECT_FALSE(F.Object(0).HasNormals) << "the flag follows a complete section";

    // A material cut short keeps the keys it had.
    F.LoadFromText("#Header 1\nA 1\n#MaterialStandard 3\nName Cut\nOpacity 50\n");
    EXPECT_EQ(F.Version, 0) << "header without a Version key";
    ASSERT_EQ(F.Materials.Count(), 1);
    EXPECT_EQ(F.Materials.Items(0)->Name(), "Cut");
    EXPECT_FLOAT_EQ(static_cast<T3DMMaterialStandard*>(F.Materials.Items(0))->Opacity, 50);

    // Loading again clears the previous model.
    F.LoadFromText("#Header 1\nVersion 7\n");
    EXPECT_EQ(F.Version, 7);
    EXPECT_EQ(F.Materials.Count(), 0);
    EXPECT_EQ(F.ObjectCount(), 0);
}

TEST(T3DMFile, MaterialKeyValues)
{
    struct Case {
        const char* Line;
        std::function<bool(const T3DMMaterialStandard&)> Check;
    };
    const Case Cases[] = {
        {"ShaderType 7", [](auto& M) { return M.ShaderType == 7; }},
        {"ShaderType 2 Phong Extra", [](auto& M) { return M.ShaderType == 2; }},
        {"Faceted true", [](auto& M) { return M.Faceted; }},
        {"Faceted false", [](auto& M) { return !M.Faceted; }},
        {"Faceted", [](auto& M) { return !M.Faceted; }},   // empty value
        {"TwoSided t", [](auto& M) { return M.TwoSided; }},
        {"TwoSided T", [](auto& M) { return M.TwoSided; }},
        {"TwoSided yes", [](auto& M) { return !M.TwoSided; }},
        {"DiffuseMap UnDeFiNeD", [](auto& M) { return M.DiffuseMap.empty(); }},
        {"DiffuseMap My Map.Jpg", [](auto& M) { return M.DiffuseMap == "My Map.Jpg"; }},
        {"Opacity 6.10352e-005", [](auto& M) { return M.Opacity == 6.10352e-5f; }},
        {"Unknown 12", [](auto& M) { return M.Name().empty() && M.Opacity == 0; }},
        {"Glossiness 25", [](auto& M) { return M.Glossiness == 25; }},
    };
    for (const Case& C : Cases) {
        T3DMFile F;
        F.LoadFromText(std::string("#MaterialStandard 1\n") + C.Line + "\n");
        ASSERT_EQ(F.Materials.Count(), 1);
        EXPECT_TRUE(C.Check(static_cast<T3DMMaterialStandard&>(*F.Materials.Items(0)))) << C.Line;
    }
    // A repeated key: the last one wins.
    T3DMFile F;
    F.LoadFromText("#MaterialStandard 2\nWireSize 1\nWireSize 3\n");
    EXPECT_EQ(static_cast<T3DMMaterialStandard*>(F.Materials.Items(0))->WireSize, 3);
}

TEST(T3DMFile, MultiSubObjectMaterials)
{
    T3DMFile F;
    F.LoadFromText("#MaterialMultiSubObject 3\nName Multi\nOther 1\nNumSubs 2\n"
                   "#MaterialStandard 1\nName A\n"
                   "between\n"
                   "#MaterialStandard 2\nName B\nWireSize 4\n"
                   "#MaterialStandard 1\nName After\n");
    ASSERT_EQ(F.Materials.Count(), 2);
    auto* Multi = dynamic_cast<T3DMMaterialMultiSubObject*>(F.Materials.Items(0));
    ASSERT_NE(Multi, nullptr);
    EXPECT_EQ(Multi->Name(), "Multi");
    ASSERT_EQ(Multi->SubMaterials.Count(), 2);
    EXPECT_EQ(Multi->SubMaterials.Items(0)->Name(), "A");
    EXPECT_EQ(Multi->SubMaterials.Items(1)->Owner(), &Multi->SubMaterials);
    EXPECT_EQ(static_cast<T3DMMaterialStandard*>(Multi->SubMaterials.Items(1))->WireSize, 4);
    EXPECT_EQ(F.Materials.Items(1)->Name(), "After");

    const std::string Text = "#MaterialMultiSubObject 1\nNumSubs 2\n#MaterialStandard 1\nName A\n#Vertices 0\n";
    EXPECT_EQ(ErrorOf([&] { F.LoadFromText(Text); }), "T3DMFile error: SubMaterial is not Standard");
    ASSERT_EQ(F.Materials.Count(), 1) << "what was read before stays";
    EXPECT_EQ(static_cast<T3DMMaterialMultiSubObject*>(F.Materials.Items(0))->SubMaterials.Count(), 1);
}

// Bad input ends in an error naming the problem; what came before stays.
TEST(T3DMFile, BadInputFailsWithAClearMessage)
{
    struct Case {
        const char* Text;
        const char* Expected;   // part of the message
        int Vertices;           // vertices of object 0 kept, -1: no object
    };
    const Case Cases[] = {
        {"#Object 0\n#Vertices 2\n[1,2,3]\n[1,x,3]\n", "'x' is not a valid floating point value", 1},
        {"#Object 0\n#Vertices 1\n[1,2]\n", "'[1,2]' is not a vector [x,y,z]", 0},
        {"#Object 0\n#Vertices 1\n[1,2,3,4]\n", "'3,4' is not a valid floating point value", 0},
        {"#Object 0\n#Vertices 1\n1,2,3\n", "is not a vector", 0},
        {"#Object 0\n#Vertices 1\n[1,2,3\n", "is not a vector", 0},
        {"#Object 0\n#Vertices 1\n[1,,3]\n", "'' is not a valid floating point value", 0},
        {"#Object 0\n#Vertices 1\n[1e39,0,0]\n", "'1e39' is not a valid floating point value", 0},
        {"#Object 0\n#Vertices 1\n[inf,nan,0]\n", "'inf' is not a valid floating point value", 0},
        {"#Object 0\n#Vertices 1\n[0x10,0,0]\n", "is not a valid floating point value", 0},
        {"#Object 0\n#Vertices 1\n[1,2,3]\n#VertexFaces 1\n[1,2,99999999999]\n",
         "'99999999999' is not a valid integer value", 1},
        {"#Object 0\n#VertexFaces 1\n[1,2.5,3]\n", "'2.5' is not a valid integer value", 0},
        {"#Object 0\n#FaceMatID 1\n3x\n", "'3x' is not a valid integer value", 0},
        {"#Object 0\n#Colors 1\n(color 1 2)\n", "is not a colour", 0},
        {"#Object 0\n#Colors 1\n(colour 1 2 3)\n", "is not a colour", 0},
        {"#Object 0\n#Colors 1\n(color 1 2 3\n", "is not a colour", 0},
        {"#Vertices 1\n[1,2,3]\n", "'Vertices' comes before any Object section", -1},
        {"#Transform 0\n", "'Transform' comes before any Object section", -1},
        {"#FaceMatID 1\n1\n", "'FaceMatID' comes before any Object section", -1},
        {"#Object 0\n#Vertices\n[1,2,3]\n", "section heading '#Vertices' has no count", 0},
        {"#Object 0\n#Vertices x\n", "'x' is not a valid integer value", 0},
        {"#Object 0\n#Vertices 99999999999\n", "is not a valid integer value", 0},
        {"#Header 1\nVersion one\n", "'one' is not a valid integer value", -1},
        {"#MaterialStandard 1\nOpacity high\n", "'high' is not a valid floating point value", -1},
        {"#MaterialStandard 1\nShaderType Blinn\n", "'Blinn' is not a valid integer value", -1},
        {"#MaterialMultiSubObject 1\nNumSubs -2\n", "negative NumSubs", -1},
        {"#Object 0\n#Transform 1\nScale 1,1,1\n", "is not a vector", 0},
        {"#Object 0\n#Transform 1\n(matrix3 [1,a,0])\n", "'a' is not a valid floating point value", 0},
        {"\x01\xff\xfe\n#\x80\x81 \x90\n#Object 0\n", "is not a valid integer value", -1},
    };
    for (const Case& C : Cases) {
        T3DMFile F;
        const std::string M = ErrorOf([&] { F.LoadFromText(C.Text, "Test.3dm"); });
        EXPECT_NE(M.find(C.Expected), std::string::npos) << C.Text << " gave: " << M;
        EXPECT_EQ(M.rfind("T3DMFile error: ", 0), 0u) << M;
        EXPECT_NE(M.find("(Test.3dm, line "), std::string::npos) << M;
        if (C.Vertices < 0) {
            EXPECT_EQ(F.ObjectCount(), 0) << C.Text;
        } else {
            ASSERT_EQ(F.ObjectCount(), 1) << C.Text;
            EXPECT_EQ(F.Object(0).Vertices.Count(), C.Vertices) << C.Text;
        }
    }
    // The line number is the physical line, blank lines included.
    T3DMFile F;
    EXPECT_NE(ErrorOf([&] { F.LoadFromText("\n\n#Object 0\r\n#Vertices 1\r\n[a,0,0]\r\n", "X"); })
                  .find("(X, line 5)"),
              std::string::npos);
}

TEST(T3DMFile, TransformRules)
{
    T3DMFile F;
    // The matrix keeps the entries the line does not reach; the flags are
    // reset by each Transform section.
    F.LoadFromText("#Object 0\n#Transform 2\nScale [-1,1,1]\n(matrix3 [1,2,3] [4,5,6] [7,8,9] [10,11,12])\n"
                   "#Transform 2\nScaleFactor [1,1,1]\n(matrix3 [-1,-2,-3] [-4\n");
    const T3DMObject& O = F.Object(0);
    EXPECT_EQ(O.MirrorFlags, 0);
    const std::array<std::array<float, 3>, 4> Rows{{{-1, -2, -3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}}};
    EXPECT_EQ(O.Matrix, Rows);
    EXPECT_TRUE(O.HasTransform);

    T3DMFile G;
    G.LoadFromText("#Object 0\n#Vertices 1\n[100,100,0]\n");
    EXPECT_FALSE(G.Object(0).HasTransform);
    EXPECT_EQ(G.Object(0).Matrix, (std::array<std::array<float, 3>, 4>{}));
}

TEST(T3DMFile, NumbersIgnoreTheCLocale)
{
    const char* Old = std::setlocale(LC_ALL, nullptr);
    const std::string Saved = Old ? Old : "C";
    const char* Names[] = {"de_DE.UTF-8", "de_DE", "German_Germany.1252", "fr_FR.UTF-8"};
    bool Switched = false;
    for (const char* N : Names)
        if (std::setlocale(LC_ALL, N)) {
            Switched = true;
            break;
        }
    T3DMFile F;
    F.LoadFromText("#Object 0\n#Vertices 1\n[1.5,-2.25,3e2]\n");
    std::setlocale(LC_ALL, Saved.c_str());
    ExpectVector(F.Object(0).Vertices.GetVertex(1), 1.5f, -2.25f, 300);
    if (!Switched)
        GTEST_SKIP() << "no comma-decimal locale installed; parsed in the C locale only";
}

TEST(T3DMFile, AccessorsCheckTheirIndex)
{
    T3DMFile F;
    F.LoadFromText(Bill);
    const T3DMObject& O = F.Object(0);
    EXPECT_EQ(ErrorOf([&] { O.Vertices.GetVertex(0); }), "T3DMVertexList GetVertex: index out of bounds (0).");
    EXPECT_EQ(ErrorOf([&] { O.Vertices.GetVertex(4); }), "T3DMVertexList GetVertex: index out of bounds (4).");
    EXPECT_NO_THROW(O.Vertices.GetVertex(3));
    EXPECT_EQ(ErrorOf([&] { O.VertexFaces.GetFace(1); }), "T3DMFaceList GetFace: index out of bounds (1).");
    EXPECT_THROW(O.VertexFaces.GetFace(-1), EGlimmoraError);
    EXPECT_THROW(O.Colors.GetColor(2), EGlimmoraError);
    EXPECT_THROW(O.TextureCoords.GetTexCoord(-2147483647 - 1), EGlimmoraError);
    EXPECT_THROW(O.GetFaceMatID(1), EGlimmoraError);
    EXPECT_EQ(O.GetFaceMatID(0), 3);
    EXPECT_THROW(F.Object(1), EGlimmoraError);
    EXPECT_THROW(F.Materials.Items(1), EGlimmoraError);
}

// Names may repeat: every operation on one material touches its own entry.
TEST(T3DMMaterialList, OperationsActOnTheMaterialsOwnEntry)
{
    T3DMMaterialList L;
    EXPECT_EQ(ErrorOf([&] { L.Add(nullptr); }), "T3DMMaterialList error: Add a Nil Material");
    T3DMMaterial* A = L.Add(std::make_unique<T3DMMaterialStandard>("Same"));
    T3DMMaterial* B = L.Add(std::make_unique<T3DMMaterialStandard>("Same"));
    T3DMMaterial* C = L.Add(std::make_unique<T3DMMaterialStandard>("Other"));
    EXPECT_EQ(A->Owner(), &L);

    B->SetName("Renamed");   // moves B, not A, to the end
    ASSERT_EQ(L.Count(), 3);
    EXPECT_EQ(L.Items(0), A);
    EXPECT_EQ(L.Items(1), C);
    EXPECT_EQ(L.Items(2), B);
    EXPECT_EQ(L.NameOf(2), "Renamed");
    B->SetName("Renamed");   // equal: nothing moves
    EXPECT_EQ(L.Items(2), B);

    B->SetName("Same");
    L.Remove(B);   // B's entry goes, A's stays
    EXPECT_EQ(B->Owner(), nullptr);
    ASSERT_EQ(L.Count(), 2);
    EXPECT_EQ(L.Items(0), A);
    EXPECT_EQ(L.Items(1), C);

    // B is the caller's now; giving it back and freeing it removes its entry.
    B->SetOwner(&L);
    EXPECT_EQ(L.Items(2), B);
    delete B;
    ASSERT_EQ(L.Count(), 2);
    EXPECT_EQ(L.Items(0), A);

    // Moving to another list and to none.
    T3DMMaterialList Other;
    A->SetOwner(&Other);
    EXPECT_EQ(A->Owner(), &Other);
    EXPECT_EQ(L.Count(), 1);
    EXPECT_EQ(Other.Items(0), A);
    A->SetOwner(nullptr);
    EXPECT_EQ(Other.Count(), 0);
    std::unique_ptr<T3DMMaterial> Orphan(A);   // ours to free

    L.Clear();   // frees C once
    EXPECT_EQ(L.Count(), 0);
}

TEST(T3DMFile, LoadsFromDiskAndFromResources)
{
    const auto Path = std::filesystem::temp_directory_path() / "glimmora_file3dm_test.3dm";
    {
        std::ofstream Out(Path, std::ios::binary);
        Out << Bill;
    }
    T3DMFile F;
    F.LoadFromFile(Path.string());
    EXPECT_EQ(F.Object(0).Vertices.Count(), 3);
    std::filesystem::remove(Path);
    EXPECT_NE(ErrorOf([&] { F.LoadFromFile(Path.string()); }).find("T3DMFile error: cannot open file"),
              std::string::npos);
    EXPECT_EQ(F.ObjectCount(), 0);

    std::map<std::string, std::string> Resources{{"DOLLARO00F_3DM", Bill}};
    std::vector<std::string> Asked;
    F.Resources = [&](const std::string& Name) -> std::optional<std::string_view> {
        Asked.push_back(Name);
        auto It = Resources.find(UpperAscii(Name));
        if (It == Resources.end())
            return std::nullopt;
        return std::string_view(It->second);
    };
    F.FromResource = true;
    F.LoadFromFile("C:\\Models\\Dollaro00f.3dm");
    EXPECT_EQ(F.Object(0).Vertices.Count(), 3);
    EXPECT_EQ(ErrorOf([&] { F.LoadFromFile("dir/Puzir00f.3dm"); }), "T3DMFile error: resource Puzir00f_3dm not found");
    EXPECT_EQ(Asked, (std::vector<std::string>{"Dollaro00f_3dm", "Puzir00f_3dm"}));
    EXPECT_EQ(T3DMFile::ResourceNameOf("a.b.c"), "a_b.c");
    EXPECT_EQ(T3DMFile::ResourceNameOf("NoDot"), "NoDot");

    T3DMFile G;
    G.FromResource = true;
    EXPECT_THROW(G.LoadFromFile("Dollaro00f.3dm"), EGlimmoraError);   // no resource source given
}
