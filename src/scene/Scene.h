// The underwater scene as one portable object: built once, started and
// restarted, draws one frame onto whatever GL context is current, freed.
// The Windows render window, the Linux window and the headless renderer
// all drive this object.
//
//   Scene.cpp        start sequence, build, free, frame loop, themes
//   SceneDraw.cpp    environment (planes, caustics, shading, backdrop),
//                    bills and bubbles
//   SceneReport.cpp  frames per second, OpenGL information block
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scene/LogFile.h"
#include "scene/TimePro.h"
#include "effects/Effects.h"
#include "effects/Random.h"
#include "gl/GLClasses.h"
#include "gl/GLTexture.h"
#include "gl/Resources.h"
#include "model/AnimClasses.h"
#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"
#include "platform/GLContext.h"
#include "platform/Process.h"
#include "platform/RenderWindow.h"
#include "scene/SceneSettings.h"
#include "scene/SceneSound.h"

inline constexpr const char* ColorDepthWarning =
    "Warning! This Screen Saver needs High Color (16 bits) or True Color (32 bits) to work in Preview Mode.\r\n "
    "Change the Color Depth of your Windows Desktop to run it!";

// The user's options that the scene reads (stored by the options code).
struct TSceneOptions {
    int BubbleCount = 100;
    int DollarCount = 60;
    bool ThemeAuto = false;
    int ThemeIndex = 0;
    bool SoundEnabled = true;
};

// What the scene needs from the system, borrowed for its whole life.
struct TSceneServices {
    IMillisecondClock& Clock;
    IGLContextBackend& GLBackend;
    ILibraryLoader& GLLibraries;
    IProcessControl& Process;
    ISoundOutput& Sound;
    TLogFile& Log;
    // Where models, frame lists and images come from (the program's
    // embedded resources); its resources must outlive the scene.
    TAssetSource Assets;
    // Shows an error message without stopping the scene (sound failures).
    std::function<void(const std::string&)> ShowError;
    // Receives the caption text of the windowed preview once a second.
    std::function<void(const std::string&)> SetCaption;
};

// The textures of one theme, loaded from the theme's names.
struct TThemeTextures {
    TGLRef<TGLTexture> CausticTexture, BottomTexture, WaterTexture;
};

// Everything BuildScene makes, freed in one go by FreeScene (members go in
// the reverse order: effects and clocks first, the engine last).
struct TSceneObjects {
    std::unique_ptr<TOpenGLEngine> Engine;
    TGLViewport Viewport;
    TGLLight Light;
    TGLRef<TGLMaterial> Material;
    std::array<TThemeTextures, 3> ThemeTextures;
    TGLRef<TGLTexture> BillTexture, ShimmerTexture, BubbleTexture;
    // The bill texture times the theme's bill colour (TintedBillColor), for
    // the one-pass bills of the multitexture path; made at first use.
    TGLRef<TGLTexture> TintedBillTexture;
    TGLColor TintedBillColor{-1, -1, -1, -1};
    TGLRef<TGLPrimitive> BillPrimitive, BillShimmerPrimitive, BubblePrimitive;
    TGLRef<TGLPrimitive> BottomPrimitive, BottomCausticLayer, BottomShadeLayer;
    TGLRef<TGLPrimitive> WaterPrimitive, WaterCausticLayer, WaterShadeLayer;
    TGLRef<TGLPrimitive> BackdropPrimitive;
    // The waving bill of the fish theme: its mesh (item 0) and the
    // animation that morphs it.
    TGLPrimitiveList WaveFrames;
    TAnimationList WaveAnimations;
    std::unique_ptr<TTimerPro> FpsTimer, SceneClock;
    std::unique_ptr<TFountain> FountainEffect;
    std::unique_ptr<TBubles> BubbleEffect;
    std::unique_ptr<TImmersion> ImmersionEffect;
    std::unique_ptr<TFish> FishEffect;
};

class TUnderwaterScene : private IAspectSource {
public:
    explicit TUnderwaterScene(TSceneServices Services);
    ~TUnderwaterScene() override;
    TUnderwaterScene(const TUnderwaterScene&) = delete;
    TUnderwaterScene& operator=(const TUnderwaterScene&) = delete;

    // Raises ColorDepthWarning unless the desktop runs at 16 or 32 bits and
    // the display offers such modes. The program checks before Start.
    static void CheckColorDepth(int DesktopColorDepth, bool HasColorDepthModes);

    // The start sequence up to the build: defaults, seeding (from the clock
    // unless a seed is given), options, tuning file (when the name is not
    // empty), BuildScene.
    void Start(const TSceneOptions& NewOptions, const std::string& TuningFileName,
               std::optional<uint32_t> Seed = std::nullopt);
    // Makes the engine objects, meshes, textures and effects from Settings
    // and the services' asset source; a failure leaves the scene unbuilt.
    void BuildScene();
    void FreeScene();
    bool Built() const { return FObjects != nullptr; }

    // Binds the engine to a device context and sets the GL defaults;
    // ReleaseGL gives the context back (the caller then releases the DC).
    void InitGL(TGLDeviceContext DC);
    void ReleaseGL();
    // Restarts the frame clock and counters and pre-runs the effects (for
    // the last view; again at the next frame when its view has another
    // shape).
    void ResetFrameState();
    // One frame: update, draw, swap, count.
    void RenderFrame(IRenderWindow& Window);
    // The next theme when the theme changes by itself.
    void NextAutoTheme();
    void ApplySoundOption();
    void StopSound() { FSound.StopSound(); }

    // The entries of the tuning file that the last Start did not use, each
    // as a line naming it (also written to the log).
    const std::vector<std::string>& TuningNotices() const { return FTuningNotices; }

    TSceneOptions& Options() { return FOptions; }
    const TSceneOptions& Options() const { return FOptions; }
    TSceneSettings& Settings() { return FSettings; }
    const TSceneSettings& Settings() const { return FSettings; }
    // Full screen: the window takes the focus each frame and the caption is
    // left alone.
    void SetFullScreenRunning(bool Value) { FFullScreenRunning = Value; }
    // The window size the effects see (they place bills across the view).
    void SetViewSize(int Width, int Height);

    // Keeps the drawing on the OpenGL 1.1 path (one texture unit, a pass per
    // layer) at the next InitGL, as the environment variable GLIMMORA_GL11
    // (set, and not "0") and the tuning file's [System] OpenGL11=1 do.
    void ForceOpenGL11(bool Value) { FForceOpenGL11 = Value; }
    // What the bound context lets the drawing do (set by InitGL): each plane
    // with its caustic and shade layers in one pass, and the shimmer within
    // the bills' own pass.
    bool LayeredPlanes() const { return FLayeredPlanes; }
    bool ShimmerInBillPass() const { return FShimmerInBillPass; }

    // Frames counted in the last whole second.
    int32_t FramesPerSecond() const { return FFramesPerSecond; }
    // Vendor, renderer and version of the first context bound.
    const std::string& GLSummaryText() const { return FGLSummaryText; }
    // How long the last frame's update took (for the benchmark).
    std::chrono::steady_clock::duration LastUpdateTime() const { return FLastUpdateTime; }
    // What BuildScene made; only while Built().
    const TSceneObjects& Objects() const;

    static std::string FpsCaption(int32_t FramesPerSecond);
    // Colours each vertex of Layer by its depth between NearColor (at
    // NearDepth) and FarColor (at FarDepth).
    static void ShadeByDepth(TGLPrimitive& Layer, const TGLColor& NearColor, const TGLColor& FarColor,
                             float NearDepth, float FarDepth);

private:
    float Aspect() const override;

    void SetSceneDefaults();
    void LoadThemeTextures(TSceneObjects& O) const;
    void ReleaseTextureNames();
    int ActiveTheme() const;
    TParticles& ActiveBillEffect() const;
    long double SceneSeconds();
    void SyncBubbleCount();
    void SyncBillCount();
    void PrerollBubbles();
    void PrerollBills();
    void PrerollEffects();
    void UpdateScene();
    void DrawScene(IRenderWindow& Window);

    // Drawing steps (SceneDraw.cpp).
    void DrawEnvironment(const TSceneTheme& Theme, const TThemeTextures& Textures, int Width, int Height);
    void DrawPlane(TGLPrimitive& Primitive, TGLTexture* Texture, float Height);
    // How many copies of the planes each side of the model's own the view
    // needs (wide views see past the model's ends) and how far apart.
    void FitPlanesToView();
    void DrawCausticLayer(TGLPrimitive& Layer, TGLTexture* Texture, float Opacity, float Height);
    void DrawShadeLayer(TGLPrimitive& Layer, const TGLColor& Color, float Height);
    void DrawBackdrop(const TSceneTheme& Theme, int Width, int Height);
    void SetupFog(const TGLColor& Color, float FogStartValue);
    void ScrollCaustics();
    // The state both ways of drawing the bills start from: lit, depth
    // tested, opaque, no fog.
    void BeginBillPass();
    void DrawBills(TGLPrimitive& BaseMesh, TGLPrimitive& ShimmerMesh, const TSceneTheme& Theme, TParticles& Effect);
    void DrawBubbles(TParticles& Bubbles, const TSceneTheme& Theme);
    // The multitexture path (SceneDraw.cpp).
    bool CanLayerPlanes(const TThemeTextures& Textures) const;
    void DrawLayeredEnvironment(const TSceneTheme& Theme, const TThemeTextures& Textures, int Width, int Height);
    bool CanFoldShimmer() const;
    void DrawBillsInOnePass(TGLPrimitive& Mesh, const TSceneTheme& Theme, TParticles& Effect);
    TGLTexture& TintedBillTexture(const TGLColor& Color);

    // Reports (SceneReport.cpp).
    void DumpGLInfo();
    void CountFrame();

    TSceneServices FServices;
    std::vector<std::string> FTuningNotices;
    TSceneSound FSound;
    TRandomGenerator FRandom;
    TSceneSettings FSettings{};
    TSceneOptions FOptions;
    int FViewWidth = 4, FViewHeight = 3;
    // The view's aspect the effects were last pre-run for, until the first
    // frame after (0 after it).
    float FPrerollAspect = 0;
    int FPlaneCopies = 0;
    float FPlaneSpan = 0;
    bool FFullScreenRunning = false;
    float FLastFrameClock = 0;
    float FFrameTime = 0;
    int32_t FFrameCount = 0;
    int32_t FFramesPerSecond = 0;
    bool FGLInfoLogged = false;
    bool FForceOpenGL11 = false;
    bool FLayeredPlanes = false;
    bool FShimmerInBillPass = false;
    std::string FGLSummaryText;
    std::chrono::steady_clock::duration FLastUpdateTime{};
    std::unique_ptr<TSceneObjects> FObjects;
};

// Splits a text the way a comma-separated list is read: items end at blanks
// or commas, and a double-quoted item may hold blanks ("" is a quote).
std::vector<std::string> SplitCommaText(std::string_view Text);
