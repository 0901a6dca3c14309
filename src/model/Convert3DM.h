// Turns a loaded 3DM model into engine objects: indexed triangle primitives,
// materials and textures, and the three loaders that read a model by bare
// file name from where a TAssetSource says (ModelDir on disk, or the
// embedded resources when UseResources is set). Everything made is returned
// in counted references or lists.
//
// A 3DM face names a vertex and, separately, a texture coordinate and a
// colour; a primitive has one index per corner into parallel arrays. The
// splitting table makes one output vertex per distinct pair of vertex index
// and texture-coordinate index.
//
// Index:
//   TVertIndices3DM(List)         the vertex-splitting table
//   PrimitiveFrom...              faces, objects and files to primitives
//   PrimitiveListFrom3DMObject    one primitive per material id
//   TModelLists, ListsFrom3DMFile primitives, materials and textures
//   MaterialFrom3DM, DiffuseMapName
//   Load3DM...                    the loading entry points
//   ModelResourceLookup           the embedded models for the 3DM reader
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gl/GLClasses.h"
#include "gl/Resources.h"
#include "model/File3DM.h"

struct TVertIndices3DM {
    int32_t VertexIndex;     // 1-based, into the object's Vertices and Normals
    int32_t NewIndex;        // 0-based output vertex
    int32_t TexCoordIndex;   // 1-based, 0: none
    int32_t ColorIndex;      // 1-based, 0: none
};

// One bucket per source vertex, so looking for an existing (vertex, texture
// coordinate) pair only visits the entries already made for that vertex.
class TVertIndices3DMList {
public:
    explicit TVertIndices3DMList(int32_t VertexCount);

    // The output vertex of the pair (VertexIndex, TexCoordIndex), made on
    // first use with ColorIndex. Only the texture index tells entries of one
    // vertex apart. A vertex index outside 1..VertexCount raises.
    int32_t FindOrAdd(int32_t VertexIndex, int32_t TexCoordIndex, int32_t ColorIndex);
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    TVertIndices3DM GetItem(int32_t Index) const;   // 0-based, in NewIndex order
    int32_t NextIndex() const { return FNextIndex; }
    // Empties every bucket (their number stays) and restarts at 0.
    void Clear();

private:
    std::vector<TVertIndices3DM> FItems;
    std::vector<std::vector<int32_t>> FBuckets;   // positions in FItems
    int32_t FNextIndex = 0;
};

// The engine objects of a model file.
struct TModelLists {
    TGLTextureList Textures;
    TGLMaterialList Materials;
    TGLPrimitiveList Primitives;
};

// A triangle primitive of the given 0-based faces of Object, in that order.
TGLRef<TGLPrimitive> PrimitiveFromFaces(const std::vector<int32_t>& Faces, const T3DMObject& Object);
// All faces of Object.
TGLRef<TGLPrimitive> PrimitiveFrom3DMObject(const T3DMObject& Object);
// Appends to List one primitive per material id used in Object's
// FaceMatIDs, in ascending order of the id. Ids above 1000 raise
// "PrimitiveListFrom3DMObject error: FaceID>1000", negative ids raise too;
// either way before anything of this object is appended.
void PrimitiveListFrom3DMObject(const T3DMObject& Object, TGLPrimitiveList& List);
// All objects of File merged into one primitive; null when it has none.
TGLRef<TGLPrimitive> PrimitiveFrom3DMFile(const T3DMFile& File);
// The three lists of File: primitives per object and material id, a
// material per standard material (and per sub-material), a texture per
// diffuse map, read from Assets. A file without objects gives three empty
// lists.
TModelLists ListsFrom3DMFile(const TAssetSource& Assets, const T3DMFile& File);

TGLRef<TGLMaterial> MaterialFrom3DM(const T3DMMaterialStandard& Material);
// The diffuse map's file name; empty for none ("undefined").
std::string DiffuseMapName(const T3DMMaterialStandard& Material);

// The file name's model, all objects merged; null when it has no objects.
TGLRef<TGLPrimitive> Load3DMPrimitive(const TAssetSource& Assets, const std::string& FileName);
// ListsFrom3DMFile of the file name's model.
TModelLists Load3DM(const TAssetSource& Assets, const std::string& FileName);
// The primitives of every object of the file name's model.
TGLPrimitiveList Load3DMPrimitiveList(const TAssetSource& Assets, const std::string& FileName);

// Reads FileName into File from Assets: the embedded resources when
// UseResources is set, else the file ModelDir + FileName.
void Load3DMFile(const TAssetSource& Assets, const std::string& FileName, T3DMFile& File);
// The raw-data resources of Resources, for T3DMFile::Resources.
T3DMResourceLookup ModelResourceLookup(IEmbeddedResources& Resources);
