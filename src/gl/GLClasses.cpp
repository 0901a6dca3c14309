// TOpenGLEngine, the state routines and the item base.
#include "gl/GLClasses.h"

#include "gl/FloatControl.h"

TOpenGLEngine::TOpenGLEngine(IGLContextBackend& Backend, ILibraryLoader& Libraries)
    : FBackend(Backend), FLibraries(Libraries)
{
    SetDefaults();
    OpenGLLibName = Libraries.SystemOpenGLLibName();
    GLULibName = Libraries.SystemGLULibName();
}

TOpenGLEngine::~TOpenGLEngine()
{
    DoneOpenGL();
    UnloadLibraries();
}

void TOpenGLEngine::SetDefaults()
{
    DoubleBuffer = true;
    Active = false;
    DepthBits = 16;
    AccumBits = 0;
    StencilBits = 0;
    ColorBits = 16;
    Generic = false;
    AlphaBits = 0;
}

void TOpenGLEngine::SetDC(TGLDeviceContext NewDC)
{
    if (RC && !FBackend.ReleaseCurrent())
        throw EGlimmoraError(FBackend.LastErrorMessage());
    DC = NewDC;
}

bool TOpenGLEngine::InitOpenGL()
{
    if (!DC)
        throw EGlimmoraError("Init OpenGL failed: DC is not assigned!");
    LoadLibraries();
    CreateRC();
    Active = true;
    return true;
}

bool TOpenGLEngine::LoadLibraries()
{
    if (!LibLoaded)
        LibLoaded = LoadOpenGL(FLibraries, OpenGLLibName, GLULibName);
    ResetFloatControlState();
    if (!LibLoaded)
        throw EGlimmoraError("Load library failed: OpenGL DLL is not found!");
    return true;
}

bool TOpenGLEngine::CreateRC()
{
    // A second start without DoneOpenGL would otherwise leak the old context.
    DestroyRC();

    TPixelFormatRequest Request;
    Request.DrawToBitmap = FBackend.DrawsToBitmap(DC);
    Request.DoubleBuffer = DoubleBuffer;
    Request.SupportGDI = !DoubleBuffer;
    Request.Generic = Generic;
    Request.ColorBits = ColorBits;
    Request.AlphaBits = AlphaBits;
    Request.AccumBits = AccumBits;
    Request.DepthBits = DepthBits;
    Request.StencilBits = StencilBits;

    const int Format = FBackend.ChoosePixelFormat(DC, Request);
    if (Format == 0)
        throw EGlimmoraError("Create RC failed: pixel format is not choosed!");
    if (!FBackend.SetPixelFormat(DC, Format))
        throw EGlimmoraError("Create RC failed: pixel format is not set!");

    TPixelFormatDescription Chosen;
    if (FBackend.DescribePixelFormat(DC, Format, Chosen)) {
        DoubleBuffer = Chosen.DoubleBuffer;
        ColorBits = Chosen.ColorBits;
        DepthBits = Chosen.DepthBits;
        StencilBits = Chosen.StencilBits;
        AlphaBits = Chosen.AlphaBits;
        AccumBits = Chosen.AccumBits;
        Generic = Chosen.Generic;
    }
    if (Chosen.NeedPalette && !SetupPalette(Chosen))
        throw EGlimmoraError("Create RC failed: palette is not created!");

    RC = FBackend.CreateContext(DC);
    if (!RC)
        throw EGlimmoraError("Create RC failed: layer context is not created!");
    return true;
}

std::vector<TPaletteEntry> TOpenGLEngine::MakePalette(const TPixelFormatDescription& Description)
{
    const int Bits = Description.ColorBits < 0 ? 0 : (Description.ColorBits > 8 ? 8 : Description.ColorBits);
    const int Count = 1 << Bits;
    // A channel of 0 bits has no levels: it stays 0 instead of dividing by 0.
    auto Level = [](int Index, int ChannelBits, int Shift) -> uint8_t {
        if (ChannelBits <= 0 || ChannelBits > 8 || Shift < 0 || Shift > 30)
            return 0;
        const int Max = (1 << ChannelBits) - 1;
        return static_cast<uint8_t>(((Index >> Shift) & Max) * 255 / Max);
    };
    std::vector<TPaletteEntry> Entries(static_cast<std::size_t>(Count));
    for (int I = 0; I < Count; ++I) {
        TPaletteEntry& E = Entries[static_cast<std::size_t>(I)];
        E.Red = Level(I, Description.RedBits, Description.RedShift);
        E.Green = Level(I, Description.GreenBits, Description.GreenShift);
        E.Blue = Level(I, Description.BlueBits, Description.BlueShift);
        E.Flags = 0;
    }
    return Entries;
}

bool TOpenGLEngine::SetupPalette(const TPixelFormatDescription& Description)
{
    Palette = FBackend.CreatePalette(DC, MakePalette(Description));
    return Palette != nullptr;
}

void TOpenGLEngine::MakeCurrent()
{
    if (Active && DC && RC && FBackend.MakeCurrent(DC, RC) && LibLoaded)
        LoadContextEntryPoints([this](const char* Name) { return FBackend.ContextEntry(Name); });
}

void TOpenGLEngine::MakeNotCurrent()
{
    if (Active)
        FBackend.ReleaseCurrent();
}

void TOpenGLEngine::DoneOpenGL()
{
    DestroyRC();
    Active = false;
}

void TOpenGLEngine::DestroyRC()
{
    if (RC) {
        FBackend.ReleaseCurrent();
        FBackend.DeleteContext(RC);
        RC = nullptr;
    }
    DeletePalette();
}

void TOpenGLEngine::DeletePalette()
{
    if (Palette) {
        FBackend.DeletePalette(Palette);
        Palette = nullptr;
    }
}

std::string GLErrorMessage(GLenum Code)
{
    switch (Code) {
    case GL_INVALID_ENUM:
        return "OpenGL error: An unacceptable value is specified for an enumerated argument!";
    case GL_INVALID_VALUE:
        return "OpenGL error: A numeric argument is out of range!";
    case GL_INVALID_OPERATION:
        return "OpenGL error: The specified operation is not allowed in the current state!";
    case GL_STACK_OVERFLOW:
        return "OpenGL error: Stack overflow!";
    case GL_STACK_UNDERFLOW:
        return "OpenGL error: Stack underflow!";
    case GL_OUT_OF_MEMORY:
        return "OpenGL error: There is not enough memory left to execute the function!";
    default:
        return "OpenGL error: Undefined error!";
    }
}

void TOpenGLEngine::CheckError()
{
    // Without a loaded library there is no error state to read.
    if (!glGetError)
        return;
    const GLenum Code = glGetError();
    if (Code != GL_NO_ERROR)
        throw EGlimmoraError(GLErrorMessage(Code));
}

void TOpenGLEngine::SwapBuffers(TGLDeviceContext SwapDC)
{
    ResetFloatControlState();
    if (glFlush)
        glFlush();
    FBackend.SwapBuffers(SwapDC);
}

void TOpenGLEngine::UnloadLibraries()
{
    if (LibLoaded)
        CloseOpenGL();
    LibLoaded = false;
}

// ---------------------------------------------------------------------------

void DisableFog() { glDisable(GL_FOG); }
void EnableBlending() { glEnable(GL_BLEND); }
void DisableBlending() { glDisable(GL_BLEND); }
void EnableCulling() { glEnable(GL_CULL_FACE); }
void EnableDepthTest() { glEnable(GL_DEPTH_TEST); }
void DisableDepthTest() { glDisable(GL_DEPTH_TEST); }
void EnableLighting() { glEnable(GL_LIGHTING); }
void DisableLighting() { glDisable(GL_LIGHTING); }

void EnableTexturing()
{
    glEnable(GL_TEXTURE_1D);
    glEnable(GL_TEXTURE_2D);
}

void DisableTexturing()
{
    glDisable(GL_TEXTURE_1D);
    glDisable(GL_TEXTURE_2D);
}

void DisableStencilTest() { glDisable(GL_STENCIL_TEST); }

void SetAmbientLight(float R, float G, float B)
{
    const GLfloat Color[4] = {R, G, B, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, Color);
}

int32_t TGLItemList::Release()
{
    const int32_t Result = --FRefCount;
    if (Result <= 0)
        delete this;
    return Result;
}
