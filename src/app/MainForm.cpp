#include "app/MainForm.h"

#include <utility>

#include "gl/Errors.h"

// The render window's events go to the form's Render* handlers.
class TMainForm::TRenderEvents final : public IWindowEvents {
public:
    explicit TRenderEvents(TMainForm& Form) : F(Form) {}
    void Paint() override { F.RenderFramePaint(); }
    void KeyDown(unsigned Key) override { F.RenderKeyDown(Key); }
    void MouseDown(TMouseButton Button, int X, int Y) override { F.RenderMouseDown(Button, X, Y); }
    void MouseMove(int X, int Y) override { F.RenderMouseMove(X, Y); }

private:
    TMainForm& F;
};

// The main window's own events: in the preview it follows its parent.
class TMainForm::TMainEvents final : public IWindowEvents {
public:
    explicit TMainEvents(TMainForm& Form) : F(Form) {}
    void Timer() override { F.ParentCheck(); }
    void Destroyed() override { F.Close(); }

private:
    TMainForm& F;
};

// The render window as the scene draws into it.
class TMainForm::TRenderTarget final : public IRenderWindow {
public:
    explicit TRenderTarget(TMainForm& Form) : F(Form) {}
    int Width() const override { return F.FRenderForm ? F.FRenderForm->Width() : 0; }
    int Height() const override { return F.FRenderForm ? F.FRenderForm->Height() : 0; }
    TGLDeviceContext DC() const override { return F.FRenderDC; }
    void Focus() override
    {
        if (F.FRenderForm)
            F.FRenderForm->Focus();
    }
    bool Visible() const override { return F.FRenderForm && F.FRenderForm->Visible(); }

private:
    TMainForm& F;
};

TPicture PictureOf(const TGLBitmap& Bitmap)
{
    TPicture P;
    if (Bitmap.Empty() || Bitmap.Width <= 0 || Bitmap.Height <= 0)
        return P;
    P.Width = Bitmap.Width;
    P.Height = Bitmap.Height;
    P.Pixels.resize(std::size_t(P.Width) * std::size_t(P.Height) * 4);
    std::size_t Out = 0;
    for (std::int32_t Y = 0; Y < Bitmap.Height; ++Y)
        for (std::int32_t X = 0; X < Bitmap.Width; ++X) {
            const TBitmapColor C = Bitmap.PixelColor(X, Y);
            P.Pixels[Out++] = C.B;
            P.Pixels[Out++] = C.G;
            P.Pixels[Out++] = C.R;
            P.Pixels[Out++] = 0;
        }
    return P;
}

TMainForm::TMainForm(TMainFormServices Services)
    : S(Services), FRenderEvents(std::make_unique<TRenderEvents>(*this)),
      FMainEvents(std::make_unique<TMainEvents>(*this)), FRenderTarget(std::make_unique<TRenderTarget>(*this))
{
}

TMainForm::~TMainForm()
{
    // Windows go before the event objects they report to.
    FRenderForm.reset();
    FMainWindow.reset();
}

void TMainForm::PrepareSaverForm()
{
    FMainWindow = S.Windows.CreateMainForm(
        MainFormCaption, TWindowBounds{-MainFormDesignWidth, -MainFormDesignHeight, 0, 0}, *FMainEvents);
}

bool TMainForm::PreparePreviewForm(TWindowHandle Parent)
{
    TWindowRect Client;
    if (!S.Windows.ClientRect(Parent, Client))
        return false;
    FParent = Parent;
    FMainWindow = S.Windows.CreateChildForm(
        Parent, TWindowBounds{0, 0, Client.Right - Client.Left, Client.Bottom - Client.Top}, *FMainEvents);
    if (!FMainWindow)
        return false;
    // Nothing else wakes the preview: a parent destroyed in a way that
    // leaves this window alive is noticed here.
    FMainWindow->StartTimer(PreviewParentCheckMs);
    return true;
}

void TMainForm::FormShow()
{
    if (S.Frame.Mode() != smPreview || !FMainWindow)
        return;
    // The picture is always the program's own embedded bitmap.
    const TGLBitmap Background = LoadBitmapResource(S.Resources, BackgroundPictureName);
    FMainWindow->SetPicture(PictureOf(Background));
}

void TMainForm::ScreenSaverAppStart()
{
    const TScreenSaverMode Mode = S.Frame.Mode();
    if (Mode == smPreview)
        return;
    const int DesktopDepth = S.Display.DesktopColorDepth();
    const bool HasDepths = S.Display.HasColorDepthModes();
    TUnderwaterScene::CheckColorDepth(DesktopDepth, HasDepths);
    S.Options.SetDefaultOptions();
    S.Options.LoadOptions();
    S.Scene.Start(S.Options.SceneOptions(), S.Frame.TuningFileName());
    if (Mode == smSaver)
        StartFullScreen();
}

void TMainForm::ScreenSaverAppIdle(bool& Done)
{
    (void)Done;
    if (FRenderForm)
        FRenderForm->Paint();
}

void TMainForm::ScreenSaverAppStop()
{
    if (S.Frame.Mode() != smSaver)
        return;
    const TSceneOptions& O = S.Scene.Options();
    if (O.ThemeAuto)
        S.Options.SaveAutoTheme(O.ThemeIndex);
}

void TMainForm::ScreenSaverAppException(const std::exception& E)
{
    // Each step is tried on its own: the box comes whatever fails before it.
    try {
        S.Windows.ShowCursor(true);
    } catch (...) {
    }
    try {
        S.Display.SetFullScreen(false);
    } catch (...) {
    }
    try {
        ReleaseGL();
    } catch (...) {
    }
    try {
        FreeRenderForm();
    } catch (...) {
    }
    S.Windows.ShowMessageBox(FMainWindow ? FMainWindow->Handle() : 0, E.what(), ErrorBoxCaption,
                         mbsOk | mbsIconError);
    Close();
}

void TMainForm::StartFullScreen()
{
    ReleaseGL();
    FreeRenderForm();
    S.Scene.NextAutoTheme();
    S.Display.SetFullScreen(!S.Options.DesktopOnly());
    // The mode in force, not the one asked for: a refused switch leaves
    // the desktop's, and the window still covers the whole screen.
    const TFormDisplayMode Mode = S.Display.CurrentMode();
    FRenderForm = S.Windows.CreateRenderForm(TWindowBounds{0, 0, Mode.Width, Mode.Height}, *FRenderEvents);
    FRenderForm->SetTopMost();
    S.Windows.ShowCursor(false);
    FRenderForm->Show();
    FRenderForm->CaptureMouse();
    InitGL();
    S.Scene.ResetFrameState();
    S.Frame.ResetMouseFilter();
    S.Scene.SetFullScreenRunning(true);
    S.Scene.ApplySoundOption();
}

void TMainForm::InitGL()
{
    if (!FRenderForm)
        throw EGlimmoraError("Init OpenGL failed: DC is not assigned!");
    FRenderDC = FRenderForm->GetDC();
    S.Scene.InitGL(FRenderDC);
}

void TMainForm::ReleaseGL()
{
    S.Scene.ReleaseGL();
    if (FRenderDC && FRenderForm)
        FRenderForm->ReleaseDC(FRenderDC);
    FRenderDC = nullptr;
}

void TMainForm::FreeRenderForm()
{
    if (!FRenderForm)
        return;
    FRenderForm->Hide();
    FRenderForm.reset();
}

void TMainForm::EndSaver()
{
    const TFormDisplayMode Mode = S.Display.CurrentMode();
    const TRunSummary Summary{Mode.Width, Mode.Height, Mode.ColorDepth, S.Scene.FramesPerSecond()};
    S.Frame.EndSaver(Summary, TEndSaverSteps{[this] { S.Scene.StopSound(); },
                                             [this] {
                                                 if (FRenderForm)
                                                     FRenderForm->Hide();
                                             },
                                             [this] { Close(); }});
}

void TMainForm::Close()
{
    if (FClosed)
        return;
    FClosed = true;
    // The window goes and the loop ends even when the close query fails;
    // its error then reaches the exception hook.
    struct TEnd {
        TMainForm& F;
        ~TEnd()
        {
            F.FRenderForm.reset();
            F.FMainWindow.reset();
            F.S.Loop.Terminate();
        }
    } End{*this};
    FormCloseQuery();
}

bool TMainForm::FormCloseQuery()
{
    if (S.Frame.Mode() == smPreview)
        return true;
    ReleaseGL();
    S.Display.SetFullScreen(false);
    S.Scene.FreeScene();
    FreeRenderForm();
    return true;
}

void TMainForm::RenderFramePaint()
{
    if (FRenderForm)
        S.Scene.RenderFrame(*FRenderTarget);
}

void TMainForm::RenderKeyDown(unsigned Key)
{
    (void)Key;
    EndSaver();
}

void TMainForm::RenderMouseDown(TMouseButton Button, int X, int Y)
{
    (void)Button, (void)X, (void)Y;
    EndSaver();
}

void TMainForm::RenderMouseMove(int X, int Y)
{
    if (S.Frame.MouseMoveEndsRun(X, Y))
        EndSaver();
}

void TMainForm::ParentCheck()
{
    if (!S.Windows.IsWindow(FParent))
        Close();
}
