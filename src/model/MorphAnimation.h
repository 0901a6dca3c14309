// Vertex morph animation: keys that each hold a whole vertex array, an
// animation that blends a live primitive's vertices between the two keys
// around the current time, and the loader of frame lists (MFL).
//
// A frame list is a text of lines:
//   1 1.0                     loop flag (> 0: loop), a second number unused
//   0.0 DollarsWave00f.3dm    key time in seconds, one blank, 3DM file name
//   0.2 DollarsWave01f.3dm    ... one line per frame, times ascending
// Every frame file must give as many primitives as the first, each with the
// vertex layout of the first frame's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "gl/DArrays.h"
#include "gl/GLClasses.h"
#include "gl/Resources.h"
#include "model/AnimClasses.h"

class TGLVertexKey : public TAnimationKey {
public:
    TGLVectorDArray Vertices;
};

// An animation that writes into the arrays of Primitive, which it shares
// with the primitive list that draws it. Null: the animation shows nothing.
class TGLPrimiteveItemsAnimation : public TKeyAnimation {
public:
    TGLRef<TGLPrimitive> Primitive;
};

class TGLVertexAnimation : public TGLPrimiteveItemsAnimation {
public:
    // Only vertex positions change; the caller recomputes normals when it
    // needs them. Both keys must be TGLVertexKey. Keys of different sizes
    // leave the primitive as it is.
    void Interpolate(const TAnimationKey& K1, const TAnimationKey& K2, long double Fraction) override;
    // Adds an empty key at Time and returns its array for the caller to fill.
    TGLVectorDArray& AddVertexKey(long double Time);
};

// Adds a key at Time holding a copy of Primitive's vertices.
void AddVertexKey(const TGLPrimitive& Primitive, TGLVertexAnimation& Animation, long double Time);

struct TFirstWord {
    std::string Word;   // before the first blank
    std::string Rest;   // after it, to the end
};

// Trims Line of blanks and control characters at both ends and splits it at
// its first blank. Without a blank the word is empty and Rest the whole
// trimmed line.
TFirstWord SplitFirstWord(std::string_view Line);

// What a frame list makes: the first frame's primitives, textures and
// materials, and one vertex animation per primitive in the same order
// (created stopped) that morphs it.
struct TAnimatedModel {
    TGLTextureList Textures;
    TGLMaterialList Materials;
    TGLPrimitiveList Primitives;
    TAnimationList Animations;
};

// Reads a frame list from Assets (the resources when UseResources is set,
// else the file ModelDir + FileName). A list of fewer than two lines, or a
// first frame without objects, gives an empty model.
TAnimatedModel LoadFrameList(const TAssetSource& Assets, const std::string& FileName);

// LoadFrameList without keeping the first frame's textures and materials
// (they come back empty).
TAnimatedModel LoadAnimatedModel(const TAssetSource& Assets, const std::string& FileName);
