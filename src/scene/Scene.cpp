#include "scene/Scene.h"

#include <chrono>

#include "gl/GLTexture.h"
#include "gl/GLUtils.h"
#include "model/Convert3DM.h"
#include "model/MorphAnimation.h"
#include "scene/TuningFile.h"

namespace {

constexpr int PrerollSteps = 5001;
constexpr float PrerollStep = 0.25f;

// Makes an owned primitive out of CopyTo's "create when null" result.
std::unique_ptr<TGLPrimitive> CopyOf(const TGLPrimitive& Source)
{
    TGLPrimitive* Copy = nullptr;
    Source.CopyTo(Copy);
    return std::unique_ptr<TGLPrimitive>(Copy);
}

std::unique_ptr<TGLPrimitive> LoadPrimitive(const std::string& Name)
{
    auto P = Load3DMPrimitive(Name);
    if (!P)
        throw EGlimmoraError("The model \"" + Name + "\" holds no object");
    return P;
}

std::unique_ptr<TGLTexture> NeedTexture(std::unique_ptr<TGLTexture> Texture, const std::string& Name)
{
    if (!Texture)
        throw EGlimmoraError("The image \"" + Name + "\" is not a texture the program can load");
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

void TUnderwaterScene::CheckColorDepth(int DesktopColorDepth, bool HasColorDepthModes)
{
    if ((DesktopColorDepth != 16 && DesktopColorDepth != 32) || !HasColorDepthModes)
        throw EGlimmoraError(ColorDepthWarning);
}

void TUnderwaterScene::SetSceneDefaults()
{
    ::SetSceneDefaults(Settings);
    SetProcessPriority(FServices.Process, Settings.ProcessPriority);
}

void TUnderwaterScene::Start(int DesktopColorDepth, bool HasColorDepthModes, const TSceneOptions& NewOptions,
                             const std::string& TuningFileName, std::optional<uint32_t> Seed)
{
    CheckColorDepth(DesktopColorDepth, HasColorDepthModes);
    SetSceneDefaults();
    FRandom.SetSeed(Seed ? *Seed
                         : static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                                                 std::chrono::system_clock::now().time_since_epoch().count()));
    Options = NewOptions;
    if (Options.ThemeIndex < 0 || Options.ThemeIndex > 2)
        Options.ThemeIndex = 0;
    if (!TuningFileName.empty())
        LoadTuningFile(TuningFileName, Settings, FServices.Process, FServices.Log);
    BuildScene();
}

void TUnderwaterScene::BuildScene()
{
    FreeScene();
    FFpsTimer = std::make_unique<TTimerPro>(FServices.Clock);
    FFpsTimer->Start();
    FSceneClock = std::make_unique<TTimerPro>(FServices.Clock);
    FSceneClock->Start();

    UseResources = true;

    FEngine = std::make_unique<TOpenGLEngine>(FServices.GLBackend, FServices.GLLibraries);
    FViewport = std::make_unique<TGLViewport>();
    FLight = std::make_unique<TGLLight>();
    FMaterial = std::make_unique<TGLMaterial>();

    FBillPrimitive = LoadPrimitive(Settings.BillModelName);
    FBillShimmerPrimitive = CopyOf(*FBillPrimitive);
    FBillShimmerPrimitive->TexCoords.LoadFromArray(
        std::vector<float>{0, 0, 0, 4, 4, 4, 4, 0, 0, 0, 0, 4, 4, 4, 4, 0});

    FBubblePrimitive = LoadPrimitive(Settings.BubbleModelName);

    FBottomPrimitive = LoadPrimitive(Settings.PlaneModelName);
    FBottomCausticLayer = CopyOf(*FBottomPrimitive);
    FBottomShadeLayer = CopyOf(*FBottomPrimitive);
    FBottomShadeLayer->Colors.SetCount(FBottomShadeLayer->Vertices.Count());

    FWaterPrimitive = CopyOf(*FBottomPrimitive);
    FWaterPrimitive->RotateZ(180);
    FWaterPrimitive->CalcNormals();
    FWaterCausticLayer = CopyOf(*FWaterPrimitive);
    FWaterShadeLayer = CopyOf(*FWaterPrimitive);
    FWaterShadeLayer->Colors.SetCount(FWaterShadeLayer->Vertices.Count());

    FBackdropPrimitive = std::make_unique<TGLPrimitive>();
    FBackdropPrimitive->SetPrimitiveType(ptTriangles);
    FBackdropPrimitive->Vertices.LoadFromArray(std::vector<float>{-1, 1, 0, -1, -1, 0, 1, -1, 0, 1, 1, 0});
    FBackdropPrimitive->Indices.LoadFromArray(std::vector<int32_t>{0, 1, 2, 0, 2, 3});
    FBackdropPrimitive->TexCoords.LoadFromArray(std::vector<float>{0, 0, 0, 1, 1, 1, 1, 0});
    FBackdropPrimitive->Normals.LoadFromArray(std::vector<float>{0, 1, 0});

    FBillTexture = NeedTexture(LoadTexture(Settings.BillTextureName), Settings.BillTextureName);
    FShimmerTexture = NeedTexture(LoadTexture(Settings.ShimmerTextureName), Settings.ShimmerTextureName);
    FBubbleTexture = NeedTexture(LoadTextureWithAlpha(Settings.BubbleTextureName, Settings.BubbleMaskName),
                                 Settings.BubbleTextureName);
    LoadThemeTextures();

    LoadAnimatedModel(Settings.WaveFrameListName, FWaveFrames, FWaveAnimations);
    if (FWaveFrames == nullptr || FWaveFrames->Count() == 0)
        throw EGlimmoraError("The frame list \"" + Settings.WaveFrameListName + "\" holds no frame");

    const TSceneSettings& S = Settings;
    FFountainEffect = std::make_unique<TFountain>(FRandom, static_cast<const IAspectSource&>(*this));
    FFountainEffect->Gravity = S.FountainGravity;
    FFountainEffect->UseGravity = true;
    FFountainEffect->Depth = S.FountainDepth;
    FFountainEffect->LaunchSpeed = S.LaunchSpeed;
    FFountainEffect->SpeedSpread = S.SpeedSpread;
    FFountainEffect->Spread = S.FountainSpread;
    FFountainEffect->MaxSpin = S.FountainMaxSpin;
    FFountainEffect->MinSpin = S.FountainMinSpin;
    FFountainEffect->FieldOfView = S.FieldOfView;

    FBubbleEffect = std::make_unique<TBubles>(FRandom, static_cast<const IAspectSource&>(*this));
    FBubbleEffect->MaxDepth = S.BubbleMaxDepth;
    FBubbleEffect->MinDepth = S.BubbleMinDepth;
    FBubbleEffect->MaxSpeed = S.BubbleMaxSpeed;
    FBubbleEffect->MinSpeed = S.BubbleMinSpeed;
    FBubbleEffect->TopHeight = S.WaterHeight;
    FBubbleEffect->StartHeight = S.BottomHeight;
    FBubbleEffect->FieldOfView = S.FieldOfView;

    FImmersionEffect = std::make_unique<TImmersion>(FRandom, static_cast<const IAspectSource&>(*this));
    FImmersionEffect->MaxDepth = S.ImmersionMaxDepth;
    FImmersionEffect->MinDepth = S.ImmersionMinDepth;
    FImmersionEffect->TopHeight = S.WaterHeight;
    FImmersionEffect->BottomLimit = S.BottomHeight;
    FImmersionEffect->MaxSpeed = S.ImmersionMaxSpeed;
    FImmersionEffect->MinSpeed = S.ImmersionMinSpeed;
    FImmersionEffect->MaxSpin = S.ImmersionMaxSpin;
    FImmersionEffect->MinSpin = S.ImmersionMinSpin;
    FImmersionEffect->FieldOfView = S.FieldOfView;

    FFishEffect = std::make_unique<TFish>(FRandom, static_cast<const IAspectSource&>(*this));
    FFishEffect->MaxDepth = S.FishMaxDepth;
    FFishEffect->MinDepth = S.FishMinDepth;
    FFishEffect->MaxHeight = S.FishMaxHeight;
    FFishEffect->MinHeight = S.FishMinHeight;
    FFishEffect->MaxSpeed = S.FishMaxSpeed;
    FFishEffect->MinSpeed = S.FishMinSpeed;
    FFishEffect->FieldOfView = S.FieldOfView;
}

void TUnderwaterScene::LoadThemeTextures()
{
    for (int i = 0; i < 3; ++i) {
        const TSceneTheme& T = Settings.Themes[i];
        ThemeTextures[i].CausticTexture = NeedTexture(LoadTexture(T.CausticTextureName), T.CausticTextureName);
        ThemeTextures[i].BottomTexture = NeedTexture(LoadTexture(T.BottomTextureName), T.BottomTextureName);
        ThemeTextures[i].WaterTexture = NeedTexture(LoadTexture(T.WaterTextureName), T.WaterTextureName);
    }
}

void TUnderwaterScene::FreeThemeTextures()
{
    for (TThemeTextures& T : ThemeTextures)
        T = TThemeTextures{};
}

void TUnderwaterScene::ReleaseTextureNames()
{
    for (TGLTexture* T : {FBillTexture.get(), FShimmerTexture.get(), FBubbleTexture.get()})
        if (T)
            T->DeleteTexture();
    for (TThemeTextures& Theme : ThemeTextures)
        for (TGLTexture* T : {Theme.CausticTexture.get(), Theme.BottomTexture.get(), Theme.WaterTexture.get()})
            if (T)
                T->DeleteTexture();
}

void TUnderwaterScene::FreeScene()
{
    FFishEffect.reset();
    FImmersionEffect.reset();
    FBubbleEffect.reset();
    FFountainEffect.reset();
    FSceneClock.reset();
    FFpsTimer.reset();
    delete FWaveAnimations;
    FWaveAnimations = nullptr;
    delete FWaveFrames;
    FWaveFrames = nullptr;
    if (FEngine)
        FSound.StopSound();
    FBillPrimitive.reset();
    FBillShimmerPrimitive.reset();
    FBackdropPrimitive.reset();
    FBubblePrimitive.reset();
    FBottomPrimitive.reset();
    FWaterPrimitive.reset();
    FBottomCausticLayer.reset();
    FWaterCausticLayer.reset();
    FBottomShadeLayer.reset();
    FWaterShadeLayer.reset();
    FBillTexture.reset();
    FBubbleTexture.reset();
    FShimmerTexture.reset();
    FreeThemeTextures();
    FMaterial.reset();
    FLight.reset();
    FViewport.reset();
    FEngine.reset();
}

void TUnderwaterScene::InitGL(TGLDeviceContext DC)
{
    FEngine->SetDC(DC);
    FEngine->SetDefaults();
    FEngine->InitOpenGL();
    FEngine->MakeCurrent();

    FViewport->NicestPerspective = true;
    FViewport->Dither = true;
    FViewport->ShadeModel = 1;   // smooth
    FViewport->Lighting = true;
    FViewport->PolygonMode = 0;  // fill

    FLight->SetAmbient(MakeColor(0, 0, 0, 1));
    FLight->SetDiffuse(Settings.LightDiffuse);
    FLight->SetSpecular(MakeColor(0, 0, 0, 1));
    FLight->SetLightIndex(0);
    FLight->SetLocalViewer(false);
    FLight->SetDirectional(true);
    FLight->SetSpotDirection(MakeVector(0, -1, -1));
    FLight->SetPosition(MakeVector(0, 0, 0));

    FMaterial->SetAmbient(MakeColor(1, 1, 1, 1));
    FMaterial->SetDiffuse(MakeColor(1, 1, 1, 1));
    FMaterial->SetSpecular(MakeColor(1, 1, 1, 1));
    FMaterial->SetShininess(100);

    if (!GLInfoLogged) {
        GLInfoLogged = true;
        DumpGLInfo();
    }
}

void TUnderwaterScene::ReleaseGL()
{
    if (!FEngine)
        return;
    ReleaseTextureNames();
    FEngine->MakeNotCurrent();
    FEngine->DoneOpenGL();
    FEngine->SetDC(nullptr);
}

long double TUnderwaterScene::SceneSeconds() { return FSceneClock ? FSceneClock->Elapsed().Seconds() : 0.0L; }

void TUnderwaterScene::ResetFrameState()
{
    FramesPerSecond = 0;
    FrameCount = 0;
    LastFrameClock = static_cast<float>(SceneSeconds());
    FrameTime = 0;
    PrerollBubbles();
    PrerollBills();
}

void TUnderwaterScene::SyncBubbleCount()
{
    if (FBubbleEffect && FBubbleEffect->Count() != Options.BubbleCount)
        FBubbleEffect->SetCount(Options.BubbleCount);
}

void TUnderwaterScene::SyncBillCount()
{
    for (TParticles* E : {static_cast<TParticles*>(FFishEffect.get()), static_cast<TParticles*>(FImmersionEffect.get()),
                          static_cast<TParticles*>(FFountainEffect.get())})
        if (E && E->Count() != Options.DollarCount)
            E->SetCount(Options.DollarCount);
}

void TUnderwaterScene::PrerollBubbles()
{
    SyncBubbleCount();
    for (int i = 0; i < PrerollSteps; ++i)
        FBubbleEffect->Update(PrerollStep);
}

void TUnderwaterScene::PrerollBills()
{
    SyncBillCount();
    for (int i = 0; i < PrerollSteps; ++i) {
        FImmersionEffect->Update(PrerollStep);
        FFountainEffect->Update(PrerollStep);
        FFishEffect->Update(PrerollStep);
    }
    FWaveAnimations->Start(SceneSeconds());
}

void TUnderwaterScene::ApplySoundOption() { FSound.ApplySoundOption(Options.SoundEnabled); }

int TUnderwaterScene::ActiveTheme() const
{
    return (Options.ThemeIndex >= 0 && Options.ThemeIndex <= 2) ? Options.ThemeIndex : 0;
}

void TUnderwaterScene::NextAutoTheme()
{
    if (Options.ThemeAuto)
        Options.ThemeIndex = ActiveTheme() >= 2 ? 0 : ActiveTheme() + 1;
}

TParticles* TUnderwaterScene::ActiveBillEffect() const
{
    switch (ActiveTheme()) {
    case thFountain:
        return FFountainEffect.get();
    case thFishes:
        return FFishEffect.get();
    default:
        return FImmersionEffect.get();
    }
}

void TUnderwaterScene::RenderFrame(IRenderWindow& Window)
{
    const int Width = Window.Width();
    const int Height = Window.Height() > 0 ? Window.Height() : 1;
    SetViewSize(Width, Height);
    const TSceneTheme& Theme = Settings.Themes[ActiveTheme()];

    if (FullScreenRunning && Window.Visible())
        Window.Focus();
    const auto UpdateStart = std::chrono::steady_clock::now();
    UpdateScene();
    LastUpdateTime = std::chrono::steady_clock::now() - UpdateStart;
    FEngine->CheckError();

    FViewport->SetBounds(0, 0, Width, Height);
    FViewport->SetPerspective(Settings.FieldOfView, static_cast<double>(Width) / Height, Settings.NearPlane,
                              Settings.FarPlane);
    FViewport->Apply();
    FEngine->CheckError();

    EnableCulling();
    DisableStencilTest();
    glClearColor(Theme.FogColor.R, Theme.FogColor.G, Theme.FogColor.B, Theme.FogColor.A);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SetAmbientLight(Settings.GlobalAmbient.R, Settings.GlobalAmbient.G, Settings.GlobalAmbient.B);
    SetupFog(Theme.FogColor, Settings.FogStart);
    FEngine->CheckError();

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 0, 0, 0, -1, 0, 1, 0);

    SyncBillCount();
    SyncBubbleCount();
    DrawScene(Window);
    FEngine->CheckError();

    FEngine->SwapBuffers(Window.DC());
    FEngine->CheckError();

    CountFrame();
}

void TUnderwaterScene::UpdateScene()
{
    ScrollCaustics();
    FBubbleEffect->Update(FrameTime);
    switch (ActiveTheme()) {
    case thImmersion:
        FImmersionEffect->Update(FrameTime);
        break;
    case thFountain:
        FFountainEffect->Update(FrameTime);
        break;
    case thFishes:
        FWaveAnimations->Update(SceneSeconds());
        FWaveFrames->Items(0)->CalcNormals();
        FFishEffect->Update(FrameTime);
        break;
    }
}

void TUnderwaterScene::DrawScene(IRenderWindow& Window)
{
    const float Now = static_cast<float>(SceneSeconds());
    FrameTime = Now - LastFrameClock;
    LastFrameClock = Now;

    const int Theme = ActiveTheme();
    DrawEnvironment(Settings.Themes[Theme], ThemeTextures[Theme], Window.Width(), Window.Height());
    if (Theme == thFishes) {
        TGLPrimitive& Wave = *FWaveFrames->Items(0);
        DrawBills(Wave, Wave, Settings.Themes[Theme], *FFishEffect);
    } else {
        DrawBills(*FBillPrimitive, *FBillShimmerPrimitive, Settings.Themes[Theme], *ActiveBillEffect());
    }
    DrawBubbles(*FBubbleEffect, Settings.Themes[Theme]);
}
