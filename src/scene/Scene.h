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

#include "app/LogFile.h"
#include "app/TimePro.h"
#include "effects/Effects.h"
#include "effects/Random.h"
#include "gl/GLClasses.h"
#include "model/AnimClasses.h"
#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"
#include "platform/GLContext.h"
#include "platform/Process.h"
#include "platform/RenderWindow.h"
#include "scene/SceneSettings.h"
#include "scene/SceneSound.h"

class TGLTexture;

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
    // Shows an error message without stopping the scene (sound failures).
    std::function<void(const std::string&)> ShowError;
    // Receives the caption text of the windowed preview once a second.
    std::function<void(const std::string&)> SetCaption;
};

// The textures of one theme, loaded from the theme's names.
struct TThemeTextures {
    std::unique_ptr<TGLTexture> CausticTexture, BottomTexture, WaterTexture;
};

class TUnderwaterScene : private IAspectSource {
public:
    explicit TUnderwaterScene(TSceneServices Services);
    ~TUnderwaterScene() override;
    TUnderwaterScene(const TUnderwaterScene&) = delete;
    TUnderwaterScene& operator=(const TUnderwaterScene&) = delete;

    TSceneSettings Settings{};
    TSceneOptions Options;
    std::array<TThemeTextures, 3> ThemeTextures;
    bool FullScreenRunning = false;
    float LastFrameClock = 0;
    float FrameTime = 0;
    int32_t FrameCount = 0;
    int32_t FramesPerSecond = 0;
    bool GLInfoLogged = false;
    std::string GLSummaryText;
    // How long the last frame's UpdateScene took (for the benchmark).
    std::chrono::steady_clock::duration LastUpdateTime{};

    // The start sequence up to the build: colour-depth check, defaults,
    // seeding (from the clock unless a seed is given), options, tuning
    // file (when the name is not empty), BuildScene.
    void Start(int DesktopColorDepth, bool HasColorDepthModes, const TSceneOptions& NewOptions,
               const std::string& TuningFileName, std::optional<uint32_t> Seed = std::nullopt);
    static void CheckColorDepth(int DesktopColorDepth, bool HasColorDepthModes);

    void SetSceneDefaults();
    void BuildScene();
    void FreeScene();
    bool Built() const { return FEngine != nullptr; }

    // Binds the engine to a device context and sets the GL defaults;
    // ReleaseGL gives the context back (the caller then releases the DC).
    void InitGL(TGLDeviceContext DC);
    void ReleaseGL();
    void ResetFrameState();
    void RenderFrame(IRenderWindow& Window);
    void UpdateScene();
    void DrawScene(IRenderWindow& Window);
    void NextAutoTheme();
    int ActiveTheme() const;

    void LoadThemeTextures();
    void FreeThemeTextures();
    void ReleaseTextureNames();
    void SyncBubbleCount();
    void SyncBillCount();
    void PrerollBubbles();
    void PrerollBills();
    void ApplySoundOption();
    void StopSound() { FSound.StopSound(); }

    // Drawing steps.
    void DrawEnvironment(const TSceneTheme& Theme, const TThemeTextures& Textures, int Width, int Height);
    void DrawPlane(TGLPrimitive& Primitive, TGLTexture* Texture, float Height);
    void DrawCausticLayer(TGLPrimitive& Layer, TGLTexture* Texture, float Opacity, float Height);
    void DrawShadeLayer(TGLPrimitive& Layer, const TGLColor& Color, float Height);
    static void ShadeByDepth(TGLPrimitive& Layer, const TGLColor& NearColor, const TGLColor& FarColor,
                             float NearDepth, float FarDepth);
    void DrawBackdrop(const TSceneTheme& Theme, int Width, int Height);
    void SetupFog(const TGLColor& Color, float FogStartValue);
    void ScrollCaustics();
    void DrawBills(TGLPrimitive& BaseMesh, TGLPrimitive& ShimmerMesh, const TSceneTheme& Theme, TParticles& Effect);
    void DrawBubbles(TParticles& Bubbles, const TSceneTheme& Theme);

    // Reports.
    void DumpGLInfo();
    static std::string FpsCaption(int32_t FramesPerSecond);
    void CountFrame();

    // The scene's objects, for the program and for tests.
    TOpenGLEngine* Engine() const { return FEngine.get(); }
    TGLViewport* Viewport() const { return FViewport.get(); }
    TGLLight* Light() const { return FLight.get(); }
    TGLMaterial* Material() const { return FMaterial.get(); }
    TGLPrimitive* BillPrimitive() const { return FBillPrimitive.get(); }
    TGLPrimitive* BillShimmerPrimitive() const { return FBillShimmerPrimitive.get(); }
    TGLPrimitive* BubblePrimitive() const { return FBubblePrimitive.get(); }
    TGLPrimitive* BottomPrimitive() const { return FBottomPrimitive.get(); }
    TGLPrimitive* WaterPrimitive() const { return FWaterPrimitive.get(); }
    TGLPrimitive* BottomShadeLayer() const { return FBottomShadeLayer.get(); }
    TGLPrimitive* WaterShadeLayer() const { return FWaterShadeLayer.get(); }
    TGLPrimitive* BottomCausticLayer() const { return FBottomCausticLayer.get(); }
    TGLPrimitive* WaterCausticLayer() const { return FWaterCausticLayer.get(); }
    TGLPrimitive* BackdropPrimitive() const { return FBackdropPrimitive.get(); }
    TGLPrimitiveList* WaveFrames() const { return FWaveFrames; }
    TAnimationList* WaveAnimations() const { return FWaveAnimations; }
    TBubles* BubbleEffect() const { return FBubbleEffect.get(); }
    TImmersion* ImmersionEffect() const { return FImmersionEffect.get(); }
    TFountain* FountainEffect() const { return FFountainEffect.get(); }
    TFish* FishEffect() const { return FFishEffect.get(); }
    TParticles* ActiveBillEffect() const;
    TRandomGenerator& Random() { return FRandom; }
    long double SceneSeconds();

    // The window size the effects see (they place bills across the view).
    void SetViewSize(int Width, int Height);

private:
    float Aspect() const override;

    TSceneServices FServices;
    TSceneSound FSound;
    TRandomGenerator FRandom;
    int FViewWidth = 4, FViewHeight = 3;

    std::unique_ptr<TTimerPro> FFpsTimer, FSceneClock;
    std::unique_ptr<TOpenGLEngine> FEngine;
    std::unique_ptr<TGLViewport> FViewport;
    std::unique_ptr<TGLLight> FLight;
    std::unique_ptr<TGLMaterial> FMaterial;
    std::unique_ptr<TGLPrimitive> FBillPrimitive, FBillShimmerPrimitive, FBubblePrimitive, FBottomPrimitive;
    std::unique_ptr<TGLPrimitive> FBottomCausticLayer, FBottomShadeLayer, FWaterPrimitive, FWaterCausticLayer;
    std::unique_ptr<TGLPrimitive> FWaterShadeLayer, FBackdropPrimitive;
    std::unique_ptr<TGLTexture> FBillTexture, FShimmerTexture, FBubbleTexture;
    TGLPrimitiveList* FWaveFrames = nullptr;
    TAnimationList* FWaveAnimations = nullptr;
    std::unique_ptr<TBubles> FBubbleEffect;
    std::unique_ptr<TImmersion> FImmersionEffect;
    std::unique_ptr<TFountain> FFountainEffect;
    std::unique_ptr<TFish> FFishEffect;
};

// Splits a text the way a comma-separated list is read: items end at blanks
// or commas, and a double-quoted item may hold blanks ("" is a quote).
std::vector<std::string> SplitCommaText(std::string_view Text);
