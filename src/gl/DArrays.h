// Growable arrays of fixed-size elements held in one packed block, so that
// OpenGL reads them directly as vertex, normal, colour, texture-coordinate
// or index arrays. The block always holds exactly Count elements.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "gl/Geometry.h"

class TDArray {
public:
    TDArray() = default;
    virtual ~TDArray();
    TDArray(const TDArray&) = delete;
    TDArray& operator=(const TDArray&) = delete;

    void* Data() const { return FData; }
    int32_t Count() const { return FCount; }
    int32_t ItemSize() const { return FItemSize; }

    // Copy ItemSize bytes out of / into element Index; any index outside
    // 0..Count-1 raises an error and copies nothing.
    void GetItem(int32_t Index, void* Dest) const;
    void SetItem(int32_t Index, const void* Source);

    void Grow(int32_t Delta);      // appends Delta zero-filled elements
    void Shrink(int32_t Delta);    // drops Delta elements from the end
    void SetCount(int32_t NewCount);
    // Makes Dest a copy of this array; an empty source leaves Dest as it is.
    void CopyTo(TDArray* Dest) const;
    // Appends Source's elements when it is non-empty and of the same item size.
    void Append(const TDArray* Source);

protected:
    explicit TDArray(int32_t ItemSize) : FItemSize(ItemSize) {}
    void CheckIndex(int32_t Index, const char* Message) const;
    std::byte* Item(int32_t Index) const { return FData + std::size_t(Index) * std::size_t(FItemSize); }

private:
    void Reallocate(int32_t NewCount);

    std::byte* FData = nullptr;
    int32_t FCount = 0;
    int32_t FItemSize = 1;
};

class TGLVectorDArray : public TDArray {
public:
    TGLVectorDArray() : TDArray(sizeof(TGLVector)) {}
    TGLVector* Items() const { return static_cast<TGLVector*>(Data()); }
    TGLVector GetItem(int32_t Index) const;
    void SetItem(int32_t Index, const TGLVector& Value);
    void SetXYZ(int32_t Index, float X, float Y, float Z);
    // Three values per element; surplus values are ignored.
    void LoadFromArray(std::span<const float> Values);
    void FillZero();
};

class TGLColorDArray : public TDArray {
public:
    TGLColorDArray() : TDArray(sizeof(TGLColor)) {}
    TGLColor* Items() const { return static_cast<TGLColor*>(Data()); }
    TGLColor GetItem(int32_t Index) const;
    void SetItem(int32_t Index, const TGLColor& Value);
    void SetRGB(int32_t Index, float R, float G, float B);   // alpha 1.0
    // Three values (R, G, B) per element, alpha 1.0.
    void LoadFromArray(std::span<const float> Values);
};

class TGLTextureCoordDArray : public TDArray {
public:
    TGLTextureCoordDArray() : TDArray(sizeof(TGLTexCoord)) {}
    TGLTexCoord* Items() const { return static_cast<TGLTexCoord*>(Data()); }
    TGLTexCoord GetItem(int32_t Index) const;
    void SetItem(int32_t Index, const TGLTexCoord& Value);
    void SetST(int32_t Index, float S, float T);
    void LoadFromArray(std::span<const float> Values);   // S, T pairs
};

class TGLIndexDArray : public TDArray {
public:
    TGLIndexDArray() : TDArray(sizeof(int32_t)) {}
    int32_t* Items() const { return static_cast<int32_t*>(Data()); }
    int32_t GetIndex(int32_t Index) const;
    void SetIndex(int32_t Index, int32_t Value);
    void LoadFromArray(std::span<const int32_t> Values);
};
