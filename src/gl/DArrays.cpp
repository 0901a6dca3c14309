#include "gl/DArrays.h"

#include <cstring>
#include <limits>
#include <new>

#include "gl/Errors.h"

TDArray::~TDArray() { delete[] FData; }

void TDArray::CheckIndex(int32_t Index, const char* Message) const
{
    if (Index < 0 || Index >= FCount)
        throw EGlimmoraError(Message);
}

void TDArray::GetItem(int32_t Index, void* Dest) const
{
    CheckIndex(Index, "TDArray GetItem: index out of bounds.");
    std::memcpy(Dest, Item(Index), std::size_t(FItemSize));
}

void TDArray::SetItem(int32_t Index, const void* Source)
{
    CheckIndex(Index, "TDArray SetItem: index out of bounds.");
    std::memcpy(Item(Index), Source, std::size_t(FItemSize));
}

// Moves the first min(Count, NewCount) elements into a new zero-filled block
// of exactly NewCount elements (NewCount > 0).
void TDArray::Reallocate(int32_t NewCount)
{
    const std::size_t Bytes = std::size_t(NewCount) * std::size_t(FItemSize);
    if (Bytes / std::size_t(FItemSize) != std::size_t(NewCount))
        throw std::bad_alloc();
    std::byte* Block = new std::byte[Bytes]();
    const int32_t Keep = FCount < NewCount ? FCount : NewCount;
    if (Keep > 0)
        std::memcpy(Block, FData, std::size_t(Keep) * std::size_t(FItemSize));
    delete[] FData;
    FData = Block;
    FCount = NewCount;
}

void TDArray::Grow(int32_t Delta)
{
    if (Delta <= 0)
        return;
    if (Delta > std::numeric_limits<int32_t>::max() - FCount)
        throw std::bad_alloc();
    Reallocate(FCount + Delta);
}

void TDArray::Shrink(int32_t Delta)
{
    if (Delta <= 0)
        return;
    if (Delta >= FCount) {
        delete[] FData;
        FData = nullptr;
        FCount = 0;
        return;
    }
    Reallocate(FCount - Delta);
}

void TDArray::SetCount(int32_t NewCount)
{
    if (NewCount > FCount)
        Grow(NewCount - FCount);
    else if (NewCount < FCount)
        Shrink(NewCount < 0 ? FCount : FCount - NewCount);
}

void TDArray::CopyTo(TDArray* Dest) const
{
    if (Dest == nullptr || FCount == 0 || Dest == this)
        return;
    if (Dest->FItemSize != FItemSize) {
        Dest->SetCount(0);
        Dest->FItemSize = FItemSize;
    }
    Dest->SetCount(FCount);
    std::memcpy(Dest->FData, FData, std::size_t(FCount) * std::size_t(FItemSize));
}

void TDArray::Append(const TDArray* Source)
{
    if (Source == nullptr || Source->FCount == 0 || Source->FItemSize != FItemSize)
        return;
    // Read the source's size before growing: appending an array to itself
    // appends the elements it had before.
    const int32_t Old = FCount;
    const int32_t Added = Source->FCount;
    Grow(Added);
    const std::byte* From = (Source == this) ? FData : Source->FData;
    std::memcpy(Item(Old), From, std::size_t(Added) * std::size_t(FItemSize));
}

// Typed arrays ---------------------------------------------------------------

TGLVector TGLVectorDArray::GetItem(int32_t Index) const
{
    TGLVector V;
    TDArray::GetItem(Index, &V);
    return V;
}

void TGLVectorDArray::SetItem(int32_t Index, const TGLVector& Value) { TDArray::SetItem(Index, &Value); }

void TGLVectorDArray::SetXYZ(int32_t Index, float X, float Y, float Z)
{
    SetItem(Index, TGLVector{X, Y, Z});
}

void TGLVectorDArray::LoadFromArray(std::span<const float> Values)
{
    const int32_t N = static_cast<int32_t>(Values.size() / 3);
    SetCount(N);
    for (int32_t j = 0; j < N; ++j)
        Items()[j] = TGLVector{Values[3 * j], Values[3 * j + 1], Values[3 * j + 2]};
}

void TGLVectorDArray::FillZero()
{
    for (int32_t j = 0; j < Count(); ++j)
        Items()[j] = ZeroVector;
}

TGLColor TGLColorDArray::GetItem(int32_t Index) const
{
    TGLColor C;
    TDArray::GetItem(Index, &C);
    return C;
}

void TGLColorDArray::SetItem(int32_t Index, const TGLColor& Value) { TDArray::SetItem(Index, &Value); }

void TGLColorDArray::SetRGB(int32_t Index, float R, float G, float B)
{
    SetItem(Index, TGLColor{R, G, B, 1.0f});
}

void TGLColorDArray::LoadFromArray(std::span<const float> Values)
{
    const int32_t N = static_cast<int32_t>(Values.size() / 3);
    SetCount(N);
    for (int32_t j = 0; j < N; ++j)
        Items()[j] = TGLColor{Values[3 * j], Values[3 * j + 1], Values[3 * j + 2], 1.0f};
}

TGLTexCoord TGLTextureCoordDArray::GetItem(int32_t Index) const
{
    TGLTexCoord T;
    TDArray::GetItem(Index, &T);
    return T;
}

void TGLTextureCoordDArray::SetItem(int32_t Index, const TGLTexCoord& Value)
{
    TDArray::SetItem(Index, &Value);
}

void TGLTextureCoordDArray::SetST(int32_t Index, float S, float T)
{
    SetItem(Index, TGLTexCoord{S, T});
}

void TGLTextureCoordDArray::LoadFromArray(std::span<const float> Values)
{
    const int32_t N = static_cast<int32_t>(Values.size() / 2);
    SetCount(N);
    for (int32_t j = 0; j < N; ++j)
        Items()[j] = TGLTexCoord{Values[2 * j], Values[2 * j + 1]};
}

int32_t TGLIndexDArray::GetIndex(int32_t Index) const
{
    int32_t V;
    TDArray::GetItem(Index, &V);
    return V;
}

void TGLIndexDArray::SetIndex(int32_t Index, int32_t Value) { TDArray::SetItem(Index, &Value); }

void TGLIndexDArray::LoadFromArray(std::span<const int32_t> Values)
{
    const int32_t N = static_cast<int32_t>(Values.size());
    SetCount(N);
    for (int32_t j = 0; j < N; ++j)
        Items()[j] = Values[j];
}
