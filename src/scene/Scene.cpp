#include "scene/Scene.h"

#include <chrono>
#include <cstdlib>
#include <string_view>

#include "gl/GLMultitexture.h"
#include "gl/GLUtils.h"
#include "model/Convert3DM.h"
#include "model/MorphAnimation.h"
#include "scene/SceneSettings.h"
#include "scene/TuningFile.h"

namespace {

constexpr int PrerollSteps = 5001;
constexpr float PrerollStep = 0.25f;

// GLIMMORA_GL11 set to anything but "" or "0" keeps the OpenGL 1.1 path.
bool OpenGL11ForcedByEnvironment()
{
    const char* Value = std::getenv("GLIMMORA_GL11");
    return Value && std::string_view(Value) != "" && std::string_view(Value) != "0";
}

// The entry a value came from and the value, for messages: "[Bills] Model=x.3dm".
std::string EntryText(const TSceneSettings& Settings, const std::string& Field)
{
    return SceneSettingEntry(Settings, &Field) + "=" + Field;
}

// Runs Load; a failure gets the entry and its file name appended.
template <class F>
auto Named(const TSceneSettings& Settings, const std::string& Field, F Load)
{
    try {
        return Load();
    } catch (const EGlimmoraError& E) {
        throw EGlimmoraError(std::string(E.what()) + " (" + EntryText(Settings, Field) + ")");
    }
}

TGLRef<TGLPrimitive> LoadPrimitive(const TAssetSource& Assets, const TSceneSettings& Settings, const std::string& Name)
{
    auto P = Named(Settings, Name, [&] { return Load3DMPrimitive(Assets, Name); });
    if (!P)
        throw EGlimmoraError("The model \"" + Name + "\" holds no object (" + EntryText(Settings, Name) + ")");
    return P;
}

TGLRef<TGLTexture> NeedTexture(const TAssetSource& Assets, const TSceneSettings& Settings, const std::string& Name)
{
    auto Texture = Named(Settings, Name, [&] { return LoadTexture(Assets, Name); });
    if (!Texture)
        throw EGlimmoraError("The image \"" + Name + "\" is not a texture the program can load (" +
                             EntryText(Settings, Name) + ")");
    return Texture;
}

// The colour image with the mask's brightness as alpha. A failure is laid
// at the colour image's door when that image alone does not load, else at
// the mask's.
TGLRef<TGLTexture> NeedMaskedTexture(const TAssetSource& Assets, const TSceneSettings& Settings,
                                     const std::string& Name, const std::string& MaskName)
{
    TGLRef<TGLTexture> Texture;
    try {
        Texture = LoadTextureWithAlpha(Assets, Name, MaskName);
    } catch (const EGlimmoraError& E) {
        NeedTexture(Assets, Settings, Name);
        throw EGlimmoraError(std::string(E.what()) + " (" + EntryText(Settings, MaskName) + ")");
    }
    if (!Texture) {
        NeedTexture(Assets, Settings, Name);
        throw EGlimmoraError("The mask \"" + MaskName + "\" is not an image of the size of \"" + Name +
                             "\" the program can load (" + EntryText(Settings, MaskName) + ")");
    }
    return Texture;
}

} // namespace

TUnderwaterScene::TUnderwaterScene(TSceneServices Services)
    : FServices(std::move(Services)), FSound(FServices.Sound, FServices.ShowError)
{
    SetSceneDefaults();
}

TUnderwaterScene::~TUnderwaterScene() { FreeScene(); }

float TUnderwaterScene::Aspect() const
{
    return static_cast<float>(FViewWidth) / static_cast<float>(FViewHeight > 0 ? FViewHeight : 1);
}

void TUnderwaterScene::SetViewSize(int Width, int Height)
{
    FViewWidth = Width > 0 ? Width : 1;
    FViewHeight = Height > 0 ? Height : 1;
}

const TSceneObjects& TUnderwaterScene::Objects() const
{
    if (!FObjects)
        throw EGlimmoraError("The scene is not built");
    return *FObjects;
}

void TUnderwaterScene::CheckColorDepth(int DesktopColorDepth, bool HasColorDepthModes)
{
    if ((DesktopColorDepth != 16 && DesktopColorDepth != 32) || !HasColorDepthModes)
        throw EGlimmoraError(ColorDepthWarning);
}

void TUnderwaterScene::SetSceneDefaults()
{
    ::SetSceneDefaults(FSettings);
    SetProcessPriority(FServices.Process, FSettings.ProcessPriority);
}

void TUnderwaterScene::Start(const TSceneOptions& NewOptions, const std::string& TuningFileName,
                             std::optional<uint32_t> Seed)
{
    SetSceneDefaults();
    FRandom.SetSeed(Seed ? *Seed
                         : static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                                                 std::chrono::system_clock::now().time_since_epoch().count()));
    FOptions = NewOptions;
    if (FOptions.ThemeIndex < 0 || FOptions.ThemeIndex > 2)
        FOptions.ThemeIndex = 0;
    FTuningNotices.clear();
    if (!TuningFileName.empty())
        LoadTuningFile(TuningFileName, FSettings, FServices.Process, FServices.Log, &FTuningNotices);
    BuildScene();
}

void TUnderwaterScene::BuildScene()
{
    FreeScene();
    auto Objects = std::make_unique<TSceneObjects>();
    TSceneObjects& O = *Objects;
    const TAssetSource& Assets = FServices.Assets;
    O.FpsTimer = std::make_unique<TTimerPro>(FServices.Clock);
    O.FpsTimer->Start();
    O.SceneClock = std::make_unique<TTimerPro>(FServices.Clock);
    O.SceneClock->Start();

    O.Engine = std::make_unique<TOpenGLEngine>(FServices.GLBackend, FServices.GLLibraries);
    O.Material = MakeGLRef<TGLMaterial>();

    O.BillPrimitive = LoadPrimitive(Assets, FSettings, FSettings.BillModelName);
    O.BillShimmerPrimitive = O.BillPrimitive->Copy();
    O.BillShimmerPrimitive->TexCoords.LoadFromArray(
        std::vector<float>{0, 0, 0, 4, 4, 4, 4, 0, 0, 0, 0, 4, 4, 4, 4, 0});

    O.BubblePrimitive = LoadPrimitive(Assets, FSettings, FSettings.BubbleModelName);

    O.BottomPrimitive = LoadPrimitive(Assets, FSettings, FSettings.PlaneModelName);
    O.BottomCausticLayer = O.BottomPrimitive->Copy();
    O.BottomShadeLayer = O.BottomPrimitive->Copy();
    O.BottomShadeLayer->Colors.SetCount(O.BottomShadeLayer->Vertices.Count());

    O.WaterPrimitive = O.BottomPrimitive->Copy();
    O.WaterPrimitive->RotateZ(180);
    O.WaterPrimitive->CalcNormals();
    O.WaterCausticLayer = O.WaterPrimitive->Copy();
    O.WaterShadeLayer = O.WaterPrimitive->Copy();
    O.WaterShadeLayer->Colors.SetCount(O.WaterShadeLayer->Vertices.Count());

    O.BackdropPrimitive = MakeGLRef<TGLPrimitive>();
    O.BackdropPrimitive->SetPrimitiveType(ptTriangles);
    O.BackdropPrimitive->Vertices.LoadFromArray(std::vector<float>{-1, 1, 0, -1, -1, 0, 1, -1, 0, 1, 1, 0});
    O.BackdropPrimitive->Indices.LoadFromArray(std::vector<int32_t>{0, 1, 2, 0, 2, 3});
    O.BackdropPrimitive->TexCoords.LoadFromArray(std::vector<float>{0, 0, 0, 1, 1, 1, 1, 0});
    O.BackdropPrimitive->Normals.LoadFromArray(std::vector<float>{0, 1, 0});

    O.BillTexture = NeedTexture(Assets, FSettings, FSettings.BillTextureName);
    O.ShimmerTexture = NeedTexture(Assets, FSettings, FSettings.ShimmerTextureName);
    O.BubbleTexture = NeedMaskedTexture(Assets, FSettings, FSettings.BubbleTextureName, FSettings.BubbleMaskName);
    LoadThemeTextures(O);

    TAnimatedModel Wave =
        Named(FSettings, FSettings.WaveFrameListName, [&] { return LoadAnimatedModel(Assets, FSettings.WaveFrameListName); });
    O.WaveFrames = std::move(Wave.Primitives);
    O.WaveAnimations = std::move(Wave.Animations);
    if (O.WaveFrames.Count() == 0)
        throw EGlimmoraError("The frame list \"" + FSettings.WaveFrameListName + "\" holds no frame (" +
                             EntryText(FSettings, FSettings.WaveFrameListName) + ")");

    // Each effect's own ranges, then the view and the planes they share.
    const TSceneSettings& S = FSettings;
    O.FountainEffect = std::make_unique<TFountain>(FRandom, static_cast<const IAspectSource&>(*this));
    O.FountainEffect->Params = {S.Fountain, S.FieldOfView};
    O.FountainEffect->Gravity = S.FountainGravity;
    O.FountainEffect->UseGravity = true;

    O.BubbleEffect = std::make_unique<TBubles>(FRandom, static_cast<const IAspectSource&>(*this));
    O.BubbleEffect->Params = {S.Bubbles, S.WaterHeight, S.BottomHeight, S.FieldOfView};

    O.ImmersionEffect = std::make_unique<TImmersion>(FRandom, static_cast<const IAspectSource&>(*this));
    O.ImmersionEffect->Params = {S.Immersion, S.WaterHeight, S.BottomHeight, S.FieldOfView};

    O.FishEffect = std::make_unique<TFish>(FRandom, static_cast<const IAspectSource&>(*this));
    O.FishEffect->Params = {S.Fish, S.FieldOfView};

    FObjects = std::move(Objects);
}

void TUnderwaterScene::LoadThemeTextures(TSceneObjects& O) const
{
    for (int i = 0; i < 3; ++i) {
        const TSceneTheme& T = FSettings.Themes[i];
        TThemeTextures& Textures = O.ThemeTextures[i];
        Textures.CausticTexture = NeedTexture(FServices.Assets, FSettings, T.CausticTextureName);
        Textures.BottomTexture = NeedTexture(FServices.Assets, FSettings, T.BottomTextureName);
        Textures.WaterTexture = NeedTexture(FServices.Assets, FSettings, T.WaterTextureName);
    }
}

void TUnderwaterScene::ReleaseTextureNames()
{
    TSceneObjects& O = *FObjects;
    for (TGLTexture* T : {O.BillTexture.Get(), O.ShimmerTexture.Get(), O.BubbleTexture.Get(), O.TintedBillTexture.Get()})
        if (T)
            T->DeleteTexture();
    for (TThemeTextures& Theme : O.ThemeTextures)
        for (TGLTexture* T : {Theme.CausticTexture.Get(), Theme.BottomTexture.Get(), Theme.WaterTexture.Get()})
            if (T)
                T->DeleteTexture();
}

void TUnderwaterScene::FreeScene()
{
    if (!FObjects)
        return;
    FSound.StopSound();
    FObjects.reset();
}

void TUnderwaterScene::InitGL(TGLDeviceContext DC)
{
    TSceneObjects& O = *FObjects;
    O.Engine->SetDC(DC);
    O.Engine->SetDefaults();
    O.Engine->InitOpenGL();
    O.Engine->MakeCurrent();

    O.Viewport.NicestPerspective = true;
    O.Viewport.Dither = true;
    O.Viewport.ShadeModel = 1;   // smooth
    O.Viewport.Lighting = true;
    O.Viewport.PolygonMode = 0;  // fill

    O.Light.SetAmbient(MakeColor(0, 0, 0, 1));
    O.Light.SetDiffuse(FSettings.LightDiffuse);
    O.Light.SetSpecular(MakeColor(0, 0, 0, 1));
    O.Light.SetLightIndex(0);
    O.Light.SetLocalViewer(false);
    O.Light.SetDirectional(true);
    O.Light.SetSpotDirection(MakeVector(0, -1, -1));
    O.Light.SetPosition(MakeVector(0, 0, 0));

    O.Material->SetAmbient(MakeColor(1, 1, 1, 1));
    O.Material->SetDiffuse(MakeColor(1, 1, 1, 1));
    O.Material->SetSpecular(MakeColor(1, 1, 1, 1));
    O.Material->SetShininess(100);

    if (!FGLInfoLogged) {
        FGLInfoLogged = true;
        DumpGLInfo();
    }

    const TGLTextureUnits Units =
        FForceOpenGL11 || FSettings.OpenGL11 != 0 || OpenGL11ForcedByEnvironment() ? TGLTextureUnits{} : QueryTextureUnits();
    FLayeredPlanes = Units.Combine;
    FShimmerInBillPass = Units.Combine && Units.Crossbar;
}

void TUnderwaterScene::ReleaseGL()
{
    if (!FObjects)
        return;
    ReleaseTextureNames();
    FObjects->Engine->MakeNotCurrent();
    FObjects->Engine->DoneOpenGL();
    FObjects->Engine->SetDC(nullptr);
}

long double TUnderwaterScene::SceneSeconds()
{
    return FObjects && FObjects->SceneClock ? FObjects->SceneClock->Elapsed().Seconds() : 0.0L;
}

void TUnderwaterScene::ResetFrameState()
{
    FFramesPerSecond = 0;
    FFrameCount = 0;
    FLastFrameClock = static_cast<float>(SceneSeconds());
    FFrameTime = 0;
    PrerollEffects();
}

void TUnderwaterScene::PrerollEffects()
{
    PrerollBubbles();
    PrerollBills();
    FPrerollAspect = Aspect();
}

void TUnderwaterScene::SyncBubbleCount()
{
    TBubles& Bubbles = *FObjects->BubbleEffect;
    if (Bubbles.Count() != FOptions.BubbleCount)
        Bubbles.SetCount(FOptions.BubbleCount);
}

void TUnderwaterScene::SyncBillCount()
{
    const TSceneObjects& O = *FObjects;
    for (TParticles* E : {static_cast<TParticles*>(O.FishEffect.get()), static_cast<TParticles*>(O.ImmersionEffect.get()),
                          static_cast<TParticles*>(O.FountainEffect.get())})
        if (E->Count() != FOptions.DollarCount)
            E->SetCount(FOptions.DollarCount);
}

void TUnderwaterScene::PrerollBubbles()
{
    SyncBubbleCount();
    for (int i = 0; i < PrerollSteps; ++i)
        FObjects->BubbleEffect->Update(PrerollStep);
}

void TUnderwaterScene::PrerollBills()
{
    SyncBillCount();
    const TSceneObjects& O = *FObjects;
    for (int i = 0; i < PrerollSteps; ++i) {
        O.ImmersionEffect->Update(PrerollStep);
        O.FountainEffect->Update(PrerollStep);
        O.FishEffect->Update(PrerollStep);
    }
    FObjects->WaveAnimations.Start(SceneSeconds());
}

void TUnderwaterScene::ApplySoundOption() { FSound.ApplySoundOption(FOptions.SoundEnabled); }

int TUnderwaterScene::ActiveTheme() const
{
    return (FOptions.ThemeIndex >= 0 && FOptions.ThemeIndex <= 2) ? FOptions.ThemeIndex : 0;
}

void TUnderwaterScene::NextAutoTheme()
{
    if (FOptions.ThemeAuto)
        FOptions.ThemeIndex = ActiveTheme() >= 2 ? 0 : ActiveTheme() + 1;
}

TParticles& TUnderwaterScene::ActiveBillEffect() const
{
    switch (ActiveTheme()) {
    case thFountain:
        return *FObjects->FountainEffect;
    case thFishes:
        return *FObjects->FishEffect;
    default:
        return *FObjects->ImmersionEffect;
    }
}

void TUnderwaterScene::RenderFrame(IRenderWindow& Window)
{
    TSceneObjects& O = *FObjects;
    const int Width = Window.Width();
    const int Height = Window.Height() > 0 ? Window.Height() : 1;
    SetViewSize(Width, Height);
    // Effects pre-run for a view of another shape (the first frame's
    // window was not known then) run again for this one, so that they fill
    // its width from the start.
    if (FPrerollAspect > 0 && std::fabs(Aspect() - FPrerollAspect) > 0.01f * FPrerollAspect)
        PrerollEffects();
    FPrerollAspect = 0;
    FitPlanesToView();
    const TSceneTheme& Theme = FSettings.Themes[ActiveTheme()];

    if (FFullScreenRunning && Window.Visible())
        Window.Focus();
    const auto UpdateStart = std::chrono::steady_clock::now();
    UpdateScene();
    FLastUpdateTime = std::chrono::steady_clock::now() - UpdateStart;
    O.Engine->CheckError();

    O.Viewport.SetBounds(0, 0, Width, Height);
    O.Viewport.SetPerspective(FSettings.FieldOfView, static_cast<double>(Width) / Height, FSettings.NearPlane,
                              FSettings.FarPlane);
    O.Viewport.Apply();
    O.Engine->CheckError();

    EnableCulling();
    DisableStencilTest();
    glClearColor(Theme.FogColor.R, Theme.FogColor.G, Theme.FogColor.B, Theme.FogColor.A);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SetAmbientLight(FSettings.GlobalAmbient.R, FSettings.GlobalAmbient.G, FSettings.GlobalAmbient.B);
    SetupFog(Theme.FogColor, FSettings.FogStart);
    O.Engine->CheckError();

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 0, 0, 0, -1, 0, 1, 0);

    SyncBillCount();
    SyncBubbleCount();
    DrawScene(Window);
    O.Engine->CheckError();

    O.Engine->SwapBuffers(Window.DC());
    O.Engine->CheckError();

    CountFrame();
}

void TUnderwaterScene::UpdateScene()
{
    TSceneObjects& O = *FObjects;
    ScrollCaustics();
    O.BubbleEffect->Update(FFrameTime);
    switch (ActiveTheme()) {
    case thImmersion:
        O.ImmersionEffect->Update(FFrameTime);
        break;
    case thFountain:
        O.FountainEffect->Update(FFrameTime);
        break;
    case thFishes:
        O.WaveAnimations.Update(SceneSeconds());
        O.WaveFrames.Items(0)->CalcNormals();
        O.FishEffect->Update(FFrameTime);
        break;
    }
}

void TUnderwaterScene::DrawScene(IRenderWindow& Window)
{
    TSceneObjects& O = *FObjects;
    const float Now = static_cast<float>(SceneSeconds());
    FFrameTime = Now - FLastFrameClock;
    FLastFrameClock = Now;

    const int Theme = ActiveTheme();
    DrawEnvironment(FSettings.Themes[Theme], O.ThemeTextures[Theme], Window.Width(), Window.Height());
    if (FShimmerInBillPass && CanFoldShimmer()) {
        TGLPrimitive& Mesh = Theme == thFishes ? *O.WaveFrames.Items(0) : *O.BillPrimitive;
        DrawBillsInOnePass(Mesh, FSettings.Themes[Theme], ActiveBillEffect());
    } else if (Theme == thFishes) {
        TGLPrimitive& Wave = *O.WaveFrames.Items(0);
        DrawBills(Wave, Wave, FSettings.Themes[Theme], *O.FishEffect);
    } else {
        DrawBills(*O.BillPrimitive, *O.BillShimmerPrimitive, FSettings.Themes[Theme], ActiveBillEffect());
    }
    DrawBubbles(*O.BubbleEffect, FSettings.Themes[Theme]);
}
