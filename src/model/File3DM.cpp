// 3DM reader. Lines end in CR LF, CR or LF; a zero-length line is skipped,
// every other one is trimmed of codes 0..32. A section is "#Name N" and the
// N lines after it. Nothing is allocated from a count read from the text:
// lists grow as their lines arrive, so a huge count on a short text costs
// nothing. Numbers are read with std::from_chars, which ignores the C
// locale, so the decimal separator is always ".".
#include "model/File3DM.h"

#include "gl/Resources.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>

#include "gl/Errors.h"
#include "platform/SameText.h"

// ---------------------------------------------------------------- lists

template <typename TRecord>
const TRecord& T3DMRecordList<TRecord>::Checked(int64_t Position, int64_t Shown, const char* Accessor) const
{
    if (Position < 0 || Position >= static_cast<int64_t>(FItems.size()))
        throw EGlimmoraError(std::string(FListName) + " " + Accessor + ": index out of bounds (" +
                             std::to_string(Shown) + ").");
    return FItems[static_cast<std::size_t>(Position)];
}

const T3DMFace& T3DMFaceList::GetFace(int32_t Index) const { return Checked(Index, Index, "GetFace"); }
const TGLVector& T3DMVertexList::GetVertex(int32_t N) const { return Checked(int64_t(N) - 1, N, "GetVertex"); }
const T3DMColor& T3DMColorList::GetColor(int32_t N) const { return Checked(int64_t(N) - 1, N, "GetColor"); }
const TGLTexCoord& T3DMTextureCoordList::GetTexCoord(int32_t N) const
{
    return Checked(int64_t(N) - 1, N, "GetTexCoord");
}

int32_t T3DMObject::GetFaceMatID(int32_t Index) const
{
    if (Index < 0 || Index >= FaceMatIDCount())
        throw EGlimmoraError("T3DMObject FaceMatIDs: index out of bounds (" + std::to_string(Index) + ").");
    return FaceMatIDs[static_cast<std::size_t>(Index)];
}

// ------------------------------------------------------------ materials

T3DMMaterial::T3DMMaterial(std::string Name) : FName(std::move(Name)) {}

T3DMMaterial::~T3DMMaterial()
{
    if (FOwner)
        FOwner->Detach(this);
}

void T3DMMaterial::SetOwner(T3DMMaterialList* List)
{
    if (List == FOwner)
        return;
    if (FOwner)
        FOwner->Detach(this);
    if (List)
        List->Append(this);
}

void T3DMMaterial::SetName(const std::string& Name)
{
    if (Name == FName)
        return;
    T3DMMaterialList* Owner = FOwner;
    if (Owner)
        Owner->Detach(this);
    FName = Name;
    if (Owner)
        Owner->Append(this);
}

T3DMMaterialList::~T3DMMaterialList() { Clear(); }

void T3DMMaterialList::Append(T3DMMaterial* Material)
{
    FEntries.push_back(TEntry{Material->FName, Material});
    Material->FOwner = this;
}

void T3DMMaterialList::Detach(T3DMMaterial* Material)
{
    // By identity, not by name: two materials may share a name.
    for (auto It = FEntries.begin(); It != FEntries.end(); ++It) {
        if (It->Material == Material) {
            FEntries.erase(It);
            break;
        }
    }
    Material->FOwner = nullptr;
}

T3DMMaterial* T3DMMaterialList::Add(std::unique_ptr<T3DMMaterial> Material)
{
    if (!Material)
        throw EGlimmoraError("T3DMMaterialList error: Add a Nil Material");
    if (Material->FOwner)
        Material->FOwner->Detach(Material.get());
    // The entry exists before ownership moves, so a failed push frees it.
    FEntries.push_back(TEntry{Material->FName, Material.get()});
    T3DMMaterial* Result = Material.release();
    Result->FOwner = this;
    return Result;
}

void T3DMMaterialList::Remove(T3DMMaterial* Material)
{
    if (Material && Material->FOwner)
        Material->FOwner->Detach(Material);
}

void T3DMMaterialList::Clear()
{
    std::vector<TEntry> Entries;
    Entries.swap(FEntries);
    for (TEntry& E : Entries) {
        E.Material->FOwner = nullptr;
        delete E.Material;
    }
}

T3DMMaterial* T3DMMaterialList::Items(int32_t Index) const
{
    if (Index < 0 || Index >= Count())
        throw EGlimmoraError("T3DMMaterialList Items: index out of bounds (" + std::to_string(Index) + ").");
    return FEntries[static_cast<std::size_t>(Index)].Material;
}

const std::string& T3DMMaterialList::NameOf(int32_t Index) const
{
    if (Index < 0 || Index >= Count())
        throw EGlimmoraError("T3DMMaterialList NameOf: index out of bounds (" + std::to_string(Index) + ").");
    return FEntries[static_cast<std::size_t>(Index)].Name;
}

// --------------------------------------------------------------- reader

namespace {

// Thrown when a step needs a line and the text has none left: reading
// then ends normally with what was read so far.
struct TEndOfText {};

bool IsControlOrBlank(char C) { return static_cast<unsigned char>(C) <= 32; }

std::string_view Trim(std::string_view S)
{
    while (!S.empty() && IsControlOrBlank(S.front()))
        S.remove_prefix(1);
    while (!S.empty() && IsControlOrBlank(S.back()))
        S.remove_suffix(1);
    return S;
}

std::string_view TrimBlanks(std::string_view S)
{
    while (!S.empty() && S.front() == ' ')
        S.remove_prefix(1);
    while (!S.empty() && S.back() == ' ')
        S.remove_suffix(1);
    return S;
}

// Text from the input shown in a message: printable, and short.
std::string Quoted(std::string_view S)
{
    constexpr std::size_t MaxShown = 40;
    std::string R = "'";
    for (std::size_t I = 0; I < S.size() && I < MaxShown; ++I) {
        const unsigned char C = static_cast<unsigned char>(S[I]);
        R += (C >= 32 && C < 127) ? static_cast<char>(C) : '?';
    }
    if (S.size() > MaxShown)
        R += "...";
    return R + "'";
}

struct TKeyValue {
    std::string_view Key, Value;
};

// Key up to the first blank, value after it; no blank: empty key.
TKeyValue SplitKey(std::string_view Line)
{
    const std::size_t Blank = Line.find(' ');
    if (Blank == std::string_view::npos)
        return {std::string_view(), Line};
    return {Line.substr(0, Blank), Line.substr(Blank + 1)};
}

class T3DMReader {
public:
    T3DMReader(std::string_view Text, const std::string& Source, T3DMFile& File)
        : FText(Text), FSource(Source), FFile(File)
    {
    }

    void Run()
    {
        try {
            for (;;)
                ReadSectionBody(ReadSection());
        } catch (const TEndOfText&) {
        }
    }

private:
    struct THeading {
        std::string_view Name;
        int32_t Count;
    };

    std::string_view FText;
    std::size_t FPos = 0;
    int64_t FLineNumber = 0;   // physical line of the last line read, 1-based
    const std::string& FSource;
    T3DMFile& FFile;
    T3DMObject* FObject = nullptr;   // the current object

    [[noreturn]] void Fail(const std::string& What) const
    {
        throw EGlimmoraError("T3DMFile error: " + What + " (" + FSource + ", line " +
                             std::to_string(FLineNumber) + ")");
    }

    // Next line that is not of zero length, trimmed.
    std::string_view ReadLine()
    {
        for (;;) {
            if (FPos >= FText.size())
                throw TEndOfText{};
            const std::size_t End = FText.find_first_of("\r\n", FPos);
            const std::size_t Stop = End == std::string_view::npos ? FText.size() : End;
            const std::string_view Line = FText.substr(FPos, Stop - FPos);
            FPos = Stop;
            if (FPos < FText.size()) {
                // CR LF is one line end; a lone CR or LF is one too.
                if (FText[FPos] == '\r' && FPos + 1 < FText.size() && FText[FPos + 1] == '\n')
                    ++FPos;
                ++FPos;
            }
            ++FLineNumber;
            if (!Line.empty())
                return Trim(Line);
        }
    }

    int32_t ParseInt(std::string_view Text) const
    {
        std::string_view S = TrimBlanks(Text);
        if (S.size() > 1 && S[0] == '+' && S[1] != '-')
            S.remove_prefix(1);
        int32_t V = 0;
        const auto [End, Ec] = std::from_chars(S.data(), S.data() + S.size(), V);
        if (S.empty() || Ec != std::errc() || End != S.data() + S.size())
            Fail(Quoted(Text) + " is not a valid integer value");
        return V;
    }

    int32_t ParseCount(std::string_view Text, const char* What) const
    {
        const int32_t V = ParseInt(Text);
        if (V < 0)
            Fail(std::string("negative ") + What + " " + Quoted(Text));
        return V;
    }

    float ParseFloat(std::string_view Text) const
    {
        std::string_view S = TrimBlanks(Text);
        if (S.size() > 1 && S[0] == '+' && S[1] != '-')
            S.remove_prefix(1);
        float V = 0;
        const auto [End, Ec] = std::from_chars(S.data(), S.data() + S.size(), V, std::chars_format::general);
        // from_chars also reads "inf" and "nan"; a model has no use for them.
        if (S.empty() || Ec != std::errc() || End != S.data() + S.size() || !std::isfinite(V))
            Fail(Quoted(Text) + " is not a valid floating point value");
        return V;
    }

    // "[x,y,z]": x up to the first comma, y to the second, z to the "]".
    template <typename TValue, typename TParse>
    std::array<TValue, 3> ParseBracketed(std::string_view Line, TParse Parse, const char* Form) const
    {
        if (Line.size() < 2 || Line.front() != '[' || Line.back() != ']')
            Fail(Quoted(Line) + " is not " + Form);
        const std::string_view Inner = Line.substr(1, Line.size() - 2);
        const std::size_t C1 = Inner.find(',');
        const std::size_t C2 = C1 == std::string_view::npos ? C1 : Inner.find(',', C1 + 1);
        if (C2 == std::string_view::npos)
            Fail(Quoted(Line) + " is not " + Form);
        return {(this->*Parse)(Inner.substr(0, C1)), (this->*Parse)(Inner.substr(C1 + 1, C2 - C1 - 1)),
                (this->*Parse)(Inner.substr(C2 + 1))};
    }

    TGLVector ParseVector(std::string_view Line) const
    {
        const auto V = ParseBracketed<float>(Line, &T3DMReader::ParseFloat, "a vector [x,y,z]");
        return TGLVector{V[0], V[1], V[2]};
    }

    T3DMFace ParseTriple(std::string_view Line) const
    {
        const auto V = ParseBracketed<int32_t>(Line, &T3DMReader::ParseInt, "an index triple [a,b,c]");
        return T3DMFace{V[0], V[1], V[2]};
    }

    // "(color r g b)"
    T3DMColor ParseColor(std::string_view Text) const
    {
        constexpr std::string_view Prefix = "(color ";
        if (Text.size() <= Prefix.size() || Text.substr(0, Prefix.size()) != Prefix || Text.back() != ')')
            Fail(Quoted(Text) + " is not a colour (color r g b)");
        const std::string_view Body = Text.substr(Prefix.size(), Text.size() - Prefix.size() - 1);
        const std::size_t B1 = Body.find(' ');
        const std::size_t B2 = B1 == std::string_view::npos ? B1 : Body.find(' ', B1 + 1);
        if (B2 == std::string_view::npos)
            Fail(Quoted(Text) + " is not a colour (color r g b)");
        return T3DMColor{ParseFloat(Body.substr(0, B1)), ParseFloat(Body.substr(B1 + 1, B2 - B1 - 1)),
                         ParseFloat(Body.substr(B2 + 1))};
    }

    // Skips lines up to the next heading "#Name N".
    THeading ReadSection()
    {
        std::string_view Line;
        do
            Line = ReadLine();
        while (Line.empty() || Line.front() != '#');
        const std::size_t Blank = Line.find(' ');
        if (Blank == std::string_view::npos)
            Fail("section heading " + Quoted(Line) + " has no count");
        // A count below 0 reads no lines, as a count of 0 does.
        const int32_t Count = ParseInt(Line.substr(Blank + 1));
        return THeading{Line.substr(1, Blank - 1), Count < 0 ? 0 : Count};
    }

    T3DMObject& CurrentObject(std::string_view Section) const
    {
        if (!FObject)
            Fail("section " + Quoted(Section) + " comes before any Object section");
        return *FObject;
    }

    void ReadSectionBody(const THeading& H)
    {
        const std::string_view Name = H.Name;
        const int32_t N = H.Count;
        if (Name == "Header") {
            for (int32_t I = 0; I < N; ++I) {
                const TKeyValue KV = SplitKey(ReadLine());
                if (KV.Key == "Version") {
                    FFile.Version = ParseInt(KV.Value);
                    break;
                }
            }
        } else if (Name == "MaterialStandard") {
            ReadStandardInto(FFile.Materials, N);
        } else if (Name == "MaterialMultiSubObject") {
            ReadMultiSubObject(N);
        } else if (Name == "Object") {
            FFile.Objects.push_back(std::make_unique<T3DMObject>());
            FObject = FFile.Objects.back().get();
            for (int32_t I = 0; I < N; ++I) {
                const TKeyValue KV = SplitKey(ReadLine());
                if (KV.Key == "Name") {
                    FObject->Name = std::string(KV.Value);
                    break;
                }
            }
        } else if (Name == "Transform") {
            ReadTransform(CurrentObject(Name), N);
        } else if (Name == "Vertices") {
            T3DMObject& O = CurrentObject(Name);
            for (int32_t I = 0; I < N; ++I)
                O.Vertices.Add(ParseVector(ReadLine()));
        } else if (Name == "Normals") {
            T3DMObject& O = CurrentObject(Name);
            for (int32_t I = 0; I < N; ++I)
                O.Normals.Add(ParseVector(ReadLine()));
            O.HasNormals = O.Normals.Count() > 0;
        } else if (Name == "TextureCoords") {
            T3DMObject& O = CurrentObject(Name);
            for (int32_t I = 0; I < N; ++I) {
                const TGLVector V = ParseVector(ReadLine());
                O.TextureCoords.Add(TGLTexCoord{V.X, V.Y});
            }
            O.HasTextureCoords = O.TextureCoords.Count() > 0;
        } else if (Name == "Colors") {
            T3DMObject& O = CurrentObject(Name);
            for (int32_t I = 0; I < N; ++I)
                O.Colors.Add(ParseColor(ReadLine()));
            O.HasColors = O.Colors.Count() > 0;
        } else if (Name == "VertexFaces" || Name == "TextureCoordFaces" || Name == "ColorFaces") {
            T3DMObject& O = CurrentObject(Name);
            T3DMFaceList& List = Name == "VertexFaces"         ? O.VertexFaces
                                 : Name == "TextureCoordFaces" ? O.TextureCoordFaces
                                                               : O.ColorFaces;
            for (int32_t I = 0; I < N; ++I)
                List.Add(ParseTriple(ReadLine()));
        } else if (Name == "FaceMatID") {
            T3DMObject& O = CurrentObject(Name);
            for (int32_t I = 0; I < N; ++I)
                O.FaceMatIDs.push_back(ParseInt(ReadLine()));
        } else {
            // "MaterialCount", "Material" and unknown sections.
            for (int32_t I = 0; I < N; ++I)
                ReadLine();
        }
    }

    void ReadTransform(T3DMObject& O, int32_t N)
    {
        O.MirrorFlags = 0;
        for (int32_t I = 0; I < N; ++I) {
            const std::string_view Line = ReadLine();
            if (Line.find("Scale") != std::string_view::npos) {
                const TGLVector S = ParseVector(SplitKey(Line).Value);
                O.MirrorFlags = (S.X < 0 ? 1 : 0) | (S.Y < 0 ? 2 : 0) | (S.Z < 0 ? 4 : 0);
            } else if (Line.find("(matrix3") != std::string_view::npos) {
                ScanMatrix(O, Line);
            }
        }
        O.HasTransform = true;
    }

    // Twelve numbers, row by row: each starts after "[" or "," and ends at
    // the next "," or "]". A line that ends early leaves the rest as it was.
    void ScanMatrix(T3DMObject& O, std::string_view Line) const
    {
        int K = 0;
        std::size_t I = 0;
        while (K < 12 && I < Line.size()) {
            if (Line[I] != '[' && Line[I] != ',') {
                ++I;
                continue;
            }
            const std::size_t End = Line.find_first_of(",]", I + 1);
            if (End == std::string_view::npos)
                break;
            O.Matrix[static_cast<std::size_t>(K / 3)][static_cast<std::size_t>(K % 3)] =
                ParseFloat(Line.substr(I + 1, End - I - 1));
            ++K;
            I = End;   // a "," here starts the next number
        }
    }

    // Reads N key lines into a new standard material and adds it to List.
    // A text that ends inside the section keeps the keys read so far; a bad
    // value drops the material.
    void ReadStandardInto(T3DMMaterialList& List, int32_t N)
    {
        auto M = std::make_unique<T3DMMaterialStandard>();
        try {
            for (int32_t I = 0; I < N; ++I)
                ApplyStandardKey(*M, SplitKey(ReadLine()));
        } catch (const TEndOfText&) {
            List.Add(std::move(M));
            throw;
        }
        List.Add(std::move(M));
    }

    static bool WordIsTrue(std::string_view V) { return !V.empty() && (V[0] == 'T' || V[0] == 't'); }

    static std::string MapName(std::string_view V)
    {
        return SameText(V, "undefined") ? std::string() : std::string(V);
    }

    void ApplyStandardKey(T3DMMaterialStandard& M, const TKeyValue& KV) const
    {
        const std::string_view K = KV.Key, V = KV.Value;
        if (K == "Name")
            M.SetName(std::string(V));
        else if (K == "ShaderType")
            M.ShaderType = ParseInt(V.substr(0, V.find(' ')));
        else if (K == "Faceted")
            M.Faceted = WordIsTrue(V);
        else if (K == "WireSize")
            M.WireSize = ParseInt(V);
        else if (K == "TwoSided")
            M.TwoSided = WordIsTrue(V);
        else if (K == "OpacityType")
            M.OpacityType = ParseInt(V);
        else if (K == "Opacity")
            M.Opacity = ParseFloat(V);
        else if (K == "selfIllumColor")
            M.SelfIllumColor = ParseColor(V);
        else if (K == "Ambient")
            M.Ambient = ParseColor(V);
        else if (K == "Diffuse")
            M.Diffuse = ParseColor(V);
        else if (K == "Specular")
            M.Specular = ParseColor(V);
        else if (K == "SpecularLevel")
            M.SpecularLevel = ParseFloat(V);
        else if (K == "Glossiness")
            M.Glossiness = ParseFloat(V);
        else if (K == "DiffuseMap")
            M.DiffuseMap = MapName(V);
        else if (K == "OpacityMap")
            M.OpacityMap = MapName(V);
        else if (K == "BumpMap")
            M.BumpMap = MapName(V);
        else if (K == "ReflectionMap")
            M.ReflectionMap = MapName(V);
    }

    void ReadMultiSubObject(int32_t N)
    {
        auto Owned = std::make_unique<T3DMMaterialMultiSubObject>();
        int32_t NumSubs = 0;
        try {
            for (int32_t I = 0; I < N; ++I) {
                const TKeyValue KV = SplitKey(ReadLine());
                if (KV.Key == "Name")
                    Owned->SetName(std::string(KV.Value));
                else if (KV.Key == "NumSubs")
                    NumSubs = ParseCount(KV.Value, "NumSubs");
            }
        } catch (const TEndOfText&) {
            FFile.Materials.Add(std::move(Owned));
            throw;
        }
        auto* Multi = static_cast<T3DMMaterialMultiSubObject*>(FFile.Materials.Add(std::move(Owned)));
        for (int32_t S = 0; S < NumSubs; ++S) {
            const THeading H = ReadSection();
            if (H.Name != "MaterialStandard")
                throw EGlimmoraError("T3DMFile error: SubMaterial is not Standard");
            ReadStandardInto(Multi->SubMaterials, H.Count);
        }
    }
};

}   // namespace

// ----------------------------------------------------------------- file

void T3DMFile::Clear()
{
    Objects.clear();
    Materials.Clear();
}

T3DMObject& T3DMFile::Object(int32_t Index) const
{
    if (Index < 0 || Index >= ObjectCount())
        throw EGlimmoraError("T3DMFile Objects: index out of bounds (" + std::to_string(Index) + ").");
    return *Objects[static_cast<std::size_t>(Index)];
}

std::string T3DMFile::ResourceNameOf(const std::string& FileName) { return ::ResourceNameOf(FileName); }

void T3DMFile::LoadFromText(std::string_view Text, const std::string& SourceName)
{
    Clear();
    T3DMReader(Text, SourceName, *this).Run();
}

void T3DMFile::LoadFromResource(const std::string& FileName, const T3DMResourceLookup& Lookup)
{
    Clear();
    if (FileName.empty())
        throw EGlimmoraError("T3DMFile error: no model name given");
    const std::string Name = ResourceNameOf(FileName);
    if (!Lookup)
        throw EGlimmoraError("T3DMFile error: no resource source to read " + Name + " from");
    const std::optional<std::string_view> Text = Lookup(Name);
    if (!Text)
        throw EGlimmoraError("T3DMFile error: resource " + Name + " not found");
    T3DMReader(*Text, Name, *this).Run();
}

void T3DMFile::LoadFromFile(const std::string& FileName)
{
    if (FromResource) {
        LoadFromResource(FileName, Resources);
        return;
    }
    Clear();
    std::ifstream In(FileName, std::ios::binary);
    if (!In)
        throw EGlimmoraError("T3DMFile error: cannot open file \"" + FileName + "\"");
    std::ostringstream Buffer;
    Buffer << In.rdbuf();
    if (In.bad())
        throw EGlimmoraError("T3DMFile error: cannot read file \"" + FileName + "\"");
    const std::string Text = Buffer.str();
    T3DMReader(Text, FileName, *this).Run();
}
