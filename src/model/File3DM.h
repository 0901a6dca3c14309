// The 3DM text model format and its reader: a file object holding mesh
// objects (vertex, normal, texture-coordinate and colour lists, index-triple
// face lists, a transform, per-face material ids) and a list of standard and
// multi/sub-object materials. The reader does no geometry work; the model
// conversion turns a loaded file into primitives.
//
// Index:
//   T3DMFace, T3DMColor            records, stored as written in the file
//   T3DMList and its descendants   owned record lists with checked accessors
//   T3DMObject                     one mesh with its lists and transform
//   T3DMMaterial...                materials and the owning material list
//   T3DMFile                       the model and the reading entry points
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gl/Geometry.h"

// Three 1-based indices into a vertex, texture-coordinate or colour list.
struct T3DMFace {
    int32_t A, B, C;
};

// 0..255 scale, kept as written.
struct T3DMColor {
    float R, G, B;
};

// Base of the record lists: the list owns its records.
class T3DMList {
public:
    virtual ~T3DMList() = default;
    virtual void Clear() = 0;
    virtual int32_t Count() const = 0;
};

// A list of records of one type; every accessor checks its index and fails
// with "<ListName> <Accessor>: index out of bounds (N)."
template <typename TRecord>
class T3DMRecordList : public T3DMList {
public:
    void Clear() override { FItems.clear(); }
    int32_t Count() const override { return static_cast<int32_t>(FItems.size()); }
    void Add(const TRecord& Item) { FItems.push_back(Item); }

protected:
    explicit T3DMRecordList(const char* ListName) : FListName(ListName) {}
    // Position is 0-based; Shown is the index as the caller gave it.
    const TRecord& Checked(int64_t Position, int64_t Shown, const char* Accessor) const;

private:
    const char* FListName;
    std::vector<TRecord> FItems;
};

class T3DMFaceList : public T3DMRecordList<T3DMFace> {
public:
    T3DMFaceList() : T3DMRecordList("T3DMFaceList") {}
    const T3DMFace& GetFace(int32_t Index) const;   // 0-based
};

class T3DMVertexList : public T3DMRecordList<TGLVector> {
public:
    T3DMVertexList() : T3DMRecordList("T3DMVertexList") {}
    const TGLVector& GetVertex(int32_t N) const;     // 1-based
};

class T3DMColorList : public T3DMRecordList<T3DMColor> {
public:
    T3DMColorList() : T3DMRecordList("T3DMColorList") {}
    const T3DMColor& GetColor(int32_t N) const;      // 1-based
};

class T3DMTextureCoordList : public T3DMRecordList<TGLTexCoord> {
public:
    T3DMTextureCoordList() : T3DMRecordList("T3DMTextureCoordList") {}
    const TGLTexCoord& GetTexCoord(int32_t N) const; // 1-based
};

class T3DMObject {
public:
    T3DMVertexList Vertices;
    T3DMVertexList Normals;
    T3DMColorList Colors;
    T3DMTextureCoordList TextureCoords;
    T3DMFaceList VertexFaces;
    T3DMFaceList ColorFaces;
    T3DMFaceList TextureCoordFaces;
    std::string Name;
    bool HasNormals = false;
    bool HasTextureCoords = false;
    bool HasColors = false;
    bool HasTransform = false;
    // Bit 1, 2, 4: the X, Y, Z scale of the transform is negative.
    int32_t MirrorFlags = 0;
    // Rows: X axis, Y axis, Z axis, translation.
    std::array<std::array<float, 3>, 4> Matrix{};
    std::vector<int32_t> FaceMatIDs;

    int32_t FaceMatIDCount() const { return static_cast<int32_t>(FaceMatIDs.size()); }
    int32_t GetFaceMatID(int32_t Index) const;       // 0-based, checked
};

class T3DMMaterialList;

// A material belongs to at most one list (its Owner), which frees it. A
// material without an owner belongs to whoever holds the pointer.
class T3DMMaterial {
public:
    explicit T3DMMaterial(std::string Name = {});
    virtual ~T3DMMaterial();   // leaves its owner's list
    T3DMMaterial(const T3DMMaterial&) = delete;
    T3DMMaterial& operator=(const T3DMMaterial&) = delete;

    T3DMMaterialList* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    // Moves the material to List (the end of it). With List none the caller
    // takes over ownership.
    void SetOwner(T3DMMaterialList* List);
    // Renaming moves the material to the end of its owner's list.
    void SetName(const std::string& Name);

private:
    friend class T3DMMaterialList;
    T3DMMaterialList* FOwner = nullptr;
    std::string FName;
};

class T3DMMaterialStandard : public T3DMMaterial {
public:
    using T3DMMaterial::T3DMMaterial;
    bool Faceted = false;
    bool TwoSided = false;
    int32_t ShaderType = 0;
    int32_t OpacityType = 0;
    int32_t WireSize = 0;
    float Glossiness = 0;      // percent
    float SpecularLevel = 0;   // percent
    float Opacity = 0;         // percent
    std::string DiffuseMap, ReflectionMap, OpacityMap, BumpMap;   // empty: none
    T3DMColor Ambient{}, Diffuse{}, SelfIllumColor{}, Specular{};
};

// An ordered list of (name, material) pairs; names may repeat. Every
// operation on one material acts on that material's own entry.
class T3DMMaterialList {
public:
    T3DMMaterialList() = default;
    ~T3DMMaterialList();
    T3DMMaterialList(const T3DMMaterialList&) = delete;
    T3DMMaterialList& operator=(const T3DMMaterialList&) = delete;

    // Takes ownership (leaving a previous owner) and returns the material.
    T3DMMaterial* Add(std::unique_ptr<T3DMMaterial> Material);
    // Takes the material's own entry out of its owner's list and clears
    // its Owner; the caller owns it then.
    void Remove(T3DMMaterial* Material);
    void Clear();
    int32_t Count() const { return static_cast<int32_t>(FEntries.size()); }
    T3DMMaterial* Items(int32_t Index) const;              // 0-based, checked
    const std::string& NameOf(int32_t Index) const;        // name the entry was added under

private:
    friend class T3DMMaterial;
    void Append(T3DMMaterial* Material);   // entry under its current name, owner set
    void Detach(T3DMMaterial* Material);   // drops its own entry, owner cleared

    struct TEntry {
        std::string Name;
        T3DMMaterial* Material;
    };
    std::vector<TEntry> FEntries;
};

class T3DMMaterialMultiSubObject : public T3DMMaterial {
public:
    using T3DMMaterial::T3DMMaterial;
    T3DMMaterialList SubMaterials;
};

// Finds an embedded asset by resource name (compared without regard to
// case); no value when there is none. The text must stay valid during the
// call that uses it.
using T3DMResourceLookup = std::function<std::optional<std::string_view>(const std::string& ResourceName)>;

class T3DMFile {
public:
    std::vector<std::unique_ptr<T3DMObject>> Objects;
    int32_t Version = 0;
    T3DMMaterialList Materials;
    // Read from the embedded resources instead of the disk; needs Resources.
    bool FromResource = false;
    T3DMResourceLookup Resources;

    void Clear();
    int32_t ObjectCount() const { return static_cast<int32_t>(Objects.size()); }
    T3DMObject& Object(int32_t Index) const;   // 0-based, checked

    // Clears the model and reads FileName: from the resources when
    // FromResource is set, else from the disk.
    void LoadFromFile(const std::string& FileName);
    // Clears the model and reads the embedded asset of FileName.
    void LoadFromResource(const std::string& FileName, const T3DMResourceLookup& Lookup);
    // Clears the model and parses Text; SourceName only names it in messages.
    void LoadFromText(std::string_view Text, const std::string& SourceName = "3DM text");

    // "dir/Dollaro00f.3dm" -> "Dollaro00f_3dm": directory dropped, first "."
    // becomes "_".
    static std::string ResourceNameOf(const std::string& FileName);
};
