// The object layer over OpenGL.
//
//   TOpenGLEngine        libraries, pixel format, palette, context, errors
//   state routines       EnableBlending, DisableFog, ...
//   TGLItemList          reference-counted base of materials, textures and
//                        primitives; TGLRef, the reference that counts;
//                        TGLPrimitiveList, TGLMaterialList, TGLTextureList
//                        share such items
//   TGLMaterial          material values, sent only when changed
//   TGLLight             one light, sent only when changed
//   TGLPrimitive         a mesh drawn from vertex arrays
//   TGLViewport          viewport rectangle, projection, global switches
//
// Engine objects keep GL state on the program's side: setters store and
// mark a changed bit; Apply sends only what changed, in a fixed order.
// Sources: GLClasses.cpp (engine), GLLights.cpp, GLPrimitives.cpp,
// GLViewport.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "gl/DArrays.h"
#include "gl/Errors.h"
#include "gl/Geometry.h"
#include "gl/OpenGL12.h"
#include "platform/DynamicLibrary.h"
#include "platform/GLContext.h"

// ---------------------------------------------------------------------------
// Engine

class TOpenGLEngine {
public:
    // The context backend and the library loader the program picked; both
    // are borrowed and must outlive the engine. The library names start as
    // the loader's system names.
    TOpenGLEngine(IGLContextBackend& Backend, ILibraryLoader& Libraries);
    ~TOpenGLEngine();
    TOpenGLEngine(const TOpenGLEngine&) = delete;
    TOpenGLEngine& operator=(const TOpenGLEngine&) = delete;

    TGLRenderContext RC = nullptr;
    TGLPaletteHandle Palette = nullptr;
    bool DoubleBuffer = true;
    bool Active = false;
    TGLDeviceContext DC = nullptr;
    int32_t DepthBits = 16;
    int32_t AccumBits = 0;
    int32_t StencilBits = 0;
    int32_t ColorBits = 16;
    std::string OpenGLLibName;
    std::string GLULibName;
    bool LibLoaded = false;
    bool Generic = false;
    int32_t AlphaBits = 0;

    void SetDefaults();
    void SetDC(TGLDeviceContext NewDC);
    bool InitOpenGL();
    bool LoadLibraries();
    bool CreateRC();
    void MakeCurrent();
    void MakeNotCurrent();
    void DoneOpenGL();
    void DestroyRC();
    void DeletePalette();
    void CheckError();
    void SwapBuffers(TGLDeviceContext SwapDC);
    void UnloadLibraries();

    // The palette SetupPalette builds for a described palette format: 2^bits
    // entries (at most 256), each channel scaled to 0..255. A channel with
    // no bits is 0 in every entry.
    static std::vector<TPaletteEntry> MakePalette(const TPixelFormatDescription& Description);

private:
    bool SetupPalette(const TPixelFormatDescription& Description);

    IGLContextBackend& FBackend;
    ILibraryLoader& FLibraries;
};

// The message CheckError raises for an OpenGL error code.
std::string GLErrorMessage(GLenum Code);

// OpenGL state routines.
void DisableFog();
void EnableBlending();
void DisableBlending();
void EnableCulling();
void EnableDepthTest();
void DisableDepthTest();
void EnableLighting();
void DisableLighting();
void EnableTexturing();
void DisableTexturing();
void DisableStencilTest();

// Light-model ambient colour (R, G, B, 1).
void SetAmbientLight(float R, float G, float B);

// ---------------------------------------------------------------------------
// Shared items, their references and their lists

template <class T>
class TGLRef;

// An item counts the references that hold it and frees itself when the
// last one lets go. Items live on the heap only and only TGLRef counts and
// frees them: the destructors are protected and AddRef and Release are
// private, so an item cannot be deleted by hand, owned by a unique_ptr,
// put on the stack or released twice. Make one with MakeGLRef.
class TGLItemList {
public:
    TGLItemList(const TGLItemList&) = delete;
    TGLItemList& operator=(const TGLItemList&) = delete;

    int32_t RefCount() const { return FRefCount; }

protected:
    TGLItemList() = default;
    virtual ~TGLItemList() = default;

private:
    template <class T>
    friend class TGLRef;

    int32_t AddRef() { return ++FRefCount; }
    // Frees the item when the count drops to 0 or below.
    int32_t Release();

    int32_t FRefCount = 0;
};

// A counted reference to an item: copying adds a reference, destroying or
// resetting gives it back, moving hands it over. The base pointer is kept
// beside the item's so that a reference can be copied and destroyed where
// T is only declared.
template <class T>
class TGLRef {
public:
    TGLRef() noexcept = default;
    TGLRef(std::nullptr_t) noexcept {}
    TGLRef(const TGLRef& Other) noexcept : FItem(Other.FItem), FBase(Other.FBase)
    {
        if (FBase)
            FBase->AddRef();
    }
    TGLRef(TGLRef&& Other) noexcept
        : FItem(std::exchange(Other.FItem, nullptr)), FBase(std::exchange(Other.FBase, nullptr))
    {
    }
    // A reference to a derived item is also one to its base class.
    template <class U>
        requires std::is_convertible_v<U*, T*>
    TGLRef(const TGLRef<U>& Other) noexcept : FItem(Other.FItem), FBase(Other.FBase)
    {
        if (FBase)
            FBase->AddRef();
    }
    template <class U>
        requires std::is_convertible_v<U*, T*>
    TGLRef(TGLRef<U>&& Other) noexcept
        : FItem(std::exchange(Other.FItem, nullptr)), FBase(std::exchange(Other.FBase, nullptr))
    {
    }
    ~TGLRef() { Reset(); }

    TGLRef& operator=(TGLRef Other) noexcept
    {
        std::swap(FItem, Other.FItem);
        std::swap(FBase, Other.FBase);
        return *this;
    }

    void Reset() noexcept
    {
        TGLItemList* Base = std::exchange(FBase, nullptr);
        FItem = nullptr;
        if (Base)
            Base->Release();
    }

    T* Get() const noexcept { return FItem; }
    T* operator->() const noexcept { return FItem; }
    T& operator*() const noexcept { return *FItem; }
    explicit operator bool() const noexcept { return FItem != nullptr; }
    friend bool operator==(const TGLRef& A, const TGLRef& B) noexcept { return A.FItem == B.FItem; }

private:
    template <class U>
    friend class TGLRef;
    template <class U, class... TArgs>
    friend TGLRef<U> MakeGLRef(TArgs&&... Args);

    TGLRef(T* Item, TGLItemList* Base) noexcept : FItem(Item), FBase(Base) { FBase->AddRef(); }

    T* FItem = nullptr;
    TGLItemList* FBase = nullptr;
};

// A new item of class T, held by the one reference returned.
template <class T, class... TArgs>
TGLRef<T> MakeGLRef(TArgs&&... Args)
{
    T* Item = new T(std::forward<TArgs>(Args)...);
    return TGLRef<T>(Item, Item);
}

// The list behind the three item lists: each entry is a reference, so an
// item lives while some list or owner holds it. Lists move, never copy.
template <class T>
class TGLItemPointerList {
public:
    explicit TGLItemPointerList(const char* NilMessage) : FNilMessage(NilMessage) {}
    ~TGLItemPointerList() { Clear(); }
    TGLItemPointerList(const TGLItemPointerList&) = delete;
    TGLItemPointerList& operator=(const TGLItemPointerList&) = delete;
    TGLItemPointerList(TGLItemPointerList&&) noexcept = default;
    TGLItemPointerList& operator=(TGLItemPointerList&& Other) noexcept
    {
        Clear();
        FItems = std::move(Other.FItems);
        return *this;
    }

    void Add(TGLRef<T> Item)
    {
        if (!Item)
            throw EGlimmoraError(FNilMessage);
        FItems.push_back(std::move(Item));
    }
    // Gives the references back from the first to the last.
    void Clear()
    {
        for (TGLRef<T>& Item : FItems)
            Item.Reset();
        FItems.clear();
    }
    T* Items(int32_t Index) const { return Ref(Index).Get(); }
    // The list's reference, for sharing the item with another owner.
    const TGLRef<T>& Ref(int32_t Index) const
    {
        if (Index < 0 || Index >= Count())
            throw EGlimmoraError("List index out of bounds (" + std::to_string(Index) + ")");
        return FItems[static_cast<std::size_t>(Index)];
    }
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }

private:
    const char* FNilMessage;
    std::vector<TGLRef<T>> FItems;
};

class TGLPrimitive;
class TGLMaterial;
class TGLTexture;   // textures (gl/GLTexture.h): a TGLItemList

class TGLPrimitiveList : public TGLItemPointerList<TGLPrimitive> {
public:
    TGLPrimitiveList() : TGLItemPointerList("TGLPrimitiveList error: Add NIL Primitive!") {}
};

class TGLMaterialList : public TGLItemPointerList<TGLMaterial> {
public:
    TGLMaterialList() : TGLItemPointerList("TGLMaterialList error: Add NIL Material!") {}
};

class TGLTextureList : public TGLItemPointerList<TGLTexture> {
public:
    TGLTextureList() : TGLItemPointerList("TGLTextureList error: Add NIL Texture!") {}
};

// ---------------------------------------------------------------------------
// Materials and lights

class TGLMaterial : public TGLItemList {
public:
    static constexpr uint32_t chAmbient = 1;
    static constexpr uint32_t chDiffuse = 2;
    static constexpr uint32_t chSpecular = 8;
    static constexpr uint32_t chEmission = 16;
    static constexpr uint32_t chShininess = 32;
    static constexpr uint32_t chAllValues = chAmbient | chDiffuse | chSpecular | chEmission | chShininess;

    TGLMaterial() { SetDefaults(); }

    void SetDefaults();
    void SetAmbient(const TGLColor& Value) { FAmbient = Value; FChanged |= chAmbient; }
    void SetDiffuse(const TGLColor& Value) { FDiffuse = Value; FChanged |= chDiffuse; }
    void SetSpecular(const TGLColor& Value) { FSpecular = Value; FChanged |= chSpecular; }
    void SetEmission(const TGLColor& Value) { FEmission = Value; FChanged |= chEmission; }
    void SetShininess(float Value) { FShininess = Value; FChanged |= chShininess; }
    void SetFrontFace(bool Value) { FFrontFace = Value; FChanged |= chAllValues; }
    void SetBackFace(bool Value) { FBackFace = Value; FChanged |= chAllValues; }

    const TGLColor& Ambient() const { return FAmbient; }
    const TGLColor& Diffuse() const { return FDiffuse; }
    const TGLColor& Specular() const { return FSpecular; }
    const TGLColor& Emission() const { return FEmission; }
    float Shininess() const { return FShininess; }
    bool FrontFace() const { return FFrontFace; }
    bool BackFace() const { return FBackFace; }
    uint32_t Changed() const { return FChanged; }

    // Sends the changed values to the face(s), then clears the changed set.
    void Apply();
    void ApplyAll();

protected:
    ~TGLMaterial() override = default;

private:
    TGLColor FAmbient{};
    TGLColor FDiffuse{};
    TGLColor FSpecular{};
    TGLColor FEmission{};
    float FShininess = 0.0f;
    uint32_t FChanged = 0;
    bool FBackFace = false;
    bool FFrontFace = true;
};

class TGLLight {
public:
    static constexpr uint32_t chAmbient = 1;
    static constexpr uint32_t chDiffuse = 2;
    static constexpr uint32_t chSpecular = 8;
    static constexpr uint32_t chDirectional = 64;
    static constexpr uint32_t chPosition = 128;
    static constexpr uint32_t chSpotDirection = 256;
    static constexpr uint32_t chSpotExponent = 512;
    static constexpr uint32_t chSpotCutoff = 1024;
    static constexpr uint32_t chConstantAttenuation = 2048;
    static constexpr uint32_t chLinearAttenuation = 4096;
    static constexpr uint32_t chQuadraticAttenuation = 8192;
    static constexpr uint32_t chTwoSide = 16384;
    static constexpr uint32_t chLocalViewer = 32768;
    static constexpr uint32_t chAllProperties = 0xFFCB;

    TGLLight() { Setup(1.0f, 1.0f, 1.0f, 0.0f, 0.0f, -1.0f); }
    virtual ~TGLLight() = default;

    void Setup(float DiffuseR, float DiffuseG, float DiffuseB, float DirX, float DirY, float DirZ);

    void SetAmbient(const TGLColor& Value) { FAmbient = Value; FChanged |= chAmbient; }
    void SetDiffuse(const TGLColor& Value) { FDiffuse = Value; FChanged |= chDiffuse; }
    void SetSpecular(const TGLColor& Value) { FSpecular = Value; FChanged |= chSpecular; }
    void SetPosition(const TGLVector& Value) { FPosition = Value; FChanged |= chPosition; }
    void SetSpotDirection(const TGLVector& Value) { FSpotDirection = Value; FChanged |= chSpotDirection; }
    void SetSpotExponent(float Value) { FSpotExponent = Value; FChanged |= chSpotExponent; }
    void SetSpotCutoff(float Value) { FSpotCutoff = Value; FChanged |= chSpotCutoff; }
    void SetConstantAttenuation(float Value) { FConstantAttenuation = Value; FChanged |= chConstantAttenuation; }
    void SetLinearAttenuation(float Value) { FLinearAttenuation = Value; FChanged |= chLinearAttenuation; }
    void SetQuadraticAttenuation(float Value) { FQuadraticAttenuation = Value; FChanged |= chQuadraticAttenuation; }
    void SetDirectional(bool Value) { FDirectional = Value; FChanged |= chDirectional; }
    void SetLocalViewer(bool Value) { FLocalViewer = Value; FChanged |= chLocalViewer; }
    void SetTwoSide(bool Value) { FTwoSide = Value; FChanged |= chTwoSide; }
    void SetLightIndex(int32_t Value) { FLightIndex = Value; FChanged |= chAllProperties; }

    const TGLColor& Ambient() const { return FAmbient; }
    const TGLColor& Diffuse() const { return FDiffuse; }
    const TGLColor& Specular() const { return FSpecular; }
    const TGLVector& Position() const { return FPosition; }
    const TGLVector& SpotDirection() const { return FSpotDirection; }
    float SpotExponent() const { return FSpotExponent; }
    float SpotCutoff() const { return FSpotCutoff; }
    float ConstantAttenuation() const { return FConstantAttenuation; }
    float LinearAttenuation() const { return FLinearAttenuation; }
    float QuadraticAttenuation() const { return FQuadraticAttenuation; }
    bool Directional() const { return FDirectional; }
    bool LocalViewer() const { return FLocalViewer; }
    bool TwoSide() const { return FTwoSide; }
    int32_t LightIndex() const { return FLightIndex; }
    uint32_t Changed() const { return FChanged; }
    GLenum GLLightID() const { return GL_LIGHT0 + static_cast<GLenum>(FLightIndex); }

    void Apply();
    void ApplyAll();
    // ApplyAll, then switches the light on.
    void Enable();

private:
    TGLColor FAmbient{};
    TGLColor FDiffuse{};
    TGLColor FSpecular{};
    TGLVector FPosition{};
    TGLVector FSpotDirection{};
    float FSpotExponent = 0.0f;
    float FSpotCutoff = 180.0f;
    float FConstantAttenuation = 1.0f;
    float FLinearAttenuation = 0.0f;
    float FQuadraticAttenuation = 0.0f;
    bool FDirectional = true;
    bool FLocalViewer = false;
    bool FTwoSide = false;
    int32_t FLightIndex = 0;
    uint32_t FChanged = 0;
};

// ---------------------------------------------------------------------------
// Primitives

enum TGLPrimitiveType : uint8_t {
    ptTriangles = 0,
    ptPoints = 1,
    ptLines = 2,
    ptLineStrip = 3,
    ptLineLoop = 4,
    ptTriangleStrip = 5,
    ptTriangleFan = 6,
    ptQuadStrip = 7,
    ptQuads = 8,
    ptPolygon = 9,
};

// The OpenGL mode a kind draws with; any value above 9 draws triangles.
GLenum GLModeOf(uint8_t Kind);

class TGLPrimitive : public TGLItemList {
public:
    TGLPrimitive() = default;

    TGLIndexDArray Indices;
    TGLTextureCoordDArray TexCoords;
    TGLVectorDArray Normals;
    TGLVectorDArray Vertices;
    TGLColorDArray Colors;
    uint8_t PrimitiveType = ptTriangles;
    GLenum GLMode = GL_TRIANGLES;

    void SetPrimitiveType(uint8_t Kind);
    // Hands the arrays to OpenGL. An index outside the vertices raises an
    // error before anything is sent.
    void Draw();
    // Draws once more from the arrays that this primitive's Draw handed to
    // OpenGL, without sending them again: only right after its Draw, with
    // no other primitive drawn and the arrays unchanged in between.
    void DrawAgain() const;
    // Smooth normals over the indexed triangles (flat ones without
    // indices). A triangle index outside the vertices raises the vertex
    // array's own "TDArray GetItem: index out of bounds." and changes
    // nothing.
    void CalcNormals();
    void NormalizeNormals();
    void AddPrimitive(const TGLPrimitive& Other);
    // Gives Target this kind and copies the five arrays into it (an empty
    // array leaves Target's as it was).
    void CopyTo(TGLPrimitive& Target) const;
    // A new primitive that is a copy of this one.
    TGLRef<TGLPrimitive> Copy() const;
    void Morph(const TGLVectorDArray& A, const TGLVectorDArray& B, float T);
    void RotateZ(float AngleDeg);
    void Transform(const TGLMatrix& M);

protected:
    ~TGLPrimitive() override = default;

private:
    void CheckIndices() const;
    std::vector<int32_t> FNormalCounts;   // reused by CalcNormals
};

// ---------------------------------------------------------------------------
// Viewport

class TGLViewport {
public:
    TGLViewport();
    virtual ~TGLViewport() = default;

    bool Perspective = true;
    bool NicestPerspective = true;
    bool Lighting = false;
    int32_t ViewX = 0, ViewY = 0;
    int32_t ViewWidth = 100, ViewHeight = 100;
    double OrthoLeft = -1, OrthoRight = 1, OrthoBottom = -1, OrthoTop = 1, OrthoNear = 1, OrthoFar = 100;
    double FrustumLeft = -1, FrustumRight = 1, FrustumBottom = -1, FrustumTop = 1, FrustumNear = 1, FrustumFar = 100;
    uint8_t PolygonMode = 0;
    bool Dither = false;
    uint8_t ShadeModel = 1;
    bool Antialias = false;

    void SetBounds(int32_t X, int32_t Y, int32_t Width, int32_t Height);
    void SetFrustum(double Left, double Right, double Bottom, double Top, double Near, double Far);
    void SetOrtho(double Left, double Right, double Bottom, double Top, double Near, double Far);
    // An Aspect that is not a positive finite number (a window of height 0)
    // is replaced by AspectRatio().
    void SetPerspective(double FovY, double Aspect, double ZNear, double ZFar);
    // Width / height of the bounds, each taken as at least 1.
    double AspectRatio() const;
    void Apply();
};
