// Brings the engine up on a real window through WGL, draws one frame,
// reads it back and writes what it found to a report file:
//
//   GLProbe.exe REPORT [OPENGL-LIBRARY]
//
// The report has "key: value" lines (renderer, generic, bits, the colours
// read back) and ends in "ok", or holds "error: MESSAGE" when the engine
// raised. Exit code 0 on success, 1 on an engine error, 2 on bad usage.
#include <windows.h>
#include <shellapi.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "gl/GLClasses.h"
#include "gl/GLMultitexture.h"
#include "platform/win32/Win32Backends.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Text.h"

namespace {

LRESULT CALLBACK ProbeWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) { return DefWindowProcW(Wnd, Msg, W, L); }

std::string Pixel(int X, int Y)
{
    std::array<GLubyte, 4> P{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(X, Y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, P.data());
    return std::to_string(P[0]) + "," + std::to_string(P[1]) + "," + std::to_string(P[2]);
}

} // namespace

int WINAPI WinMain(HINSTANCE Instance, HINSTANCE, LPSTR, int)
{
    int Argc = 0;
    LPWSTR* Argv = CommandLineToArgvW(GetCommandLineW(), &Argc);
    if (!Argv || Argc < 2)
        return 2;
    std::ofstream Report(Win32Narrow(Argv[1]));
    if (!Report)
        return 2;

    WNDCLASSW Class{};
    Class.lpfnWndProc = ProbeWndProc;
    Class.hInstance = Instance;
    Class.lpszClassName = L"GlimmoraGLProbe";
    Class.style = CS_OWNDC;
    RegisterClassW(&Class);
    const int Width = 200, Height = 150;
    HWND Wnd = CreateWindowExW(0, Class.lpszClassName, L"Glimmora GL Probe", WS_POPUP | WS_VISIBLE, 50, 50, Width,
                               Height, nullptr, nullptr, Instance, nullptr);
    HDC DC = GetDC(Wnd);

    int Code = 0;
    {
        const auto Context = CreateWGLContext();
        const auto Libraries = CreateSystemLibraryLoader();
        TOpenGLEngine Engine(*Context, *Libraries);
        if (Argc >= 3)
            Engine.OpenGLLibName = Win32Narrow(Argv[2]);
        try {
            Engine.SetDC(DC);
            Engine.SetDefaults();
            Engine.InitOpenGL();
            Engine.MakeCurrent();
            Report << "library: " << Engine.OpenGLLibName << "\n";
            Report << "loaded: " << (OpenGLLoaded() && GLULoaded() ? 1 : 0) << "\n";
            Report << "renderer: " << reinterpret_cast<const char*>(glGetString(GL_RENDERER)) << "\n";
            Report << "generic: " << (Engine.Generic ? 1 : 0) << "\n";
            Report << "doublebuffer: " << (Engine.DoubleBuffer ? 1 : 0) << "\n";
            Report << "colorbits: " << Engine.ColorBits << "\n";
            Report << "depthbits: " << Engine.DepthBits << "\n";
            // What the drawing can do in one pass: the multitexture calls
            // come from the driver (wglGetProcAddress), not the library.
            const TGLTextureUnits Units = QueryTextureUnits();
            Report << "multitexture: " << (glActiveTexture && glClientActiveTexture ? 1 : 0) << "\n";
            Report << "units: " << Units.Count << (Units.Combine ? " combine" : "") << (Units.Crossbar ? " crossbar" : "")
                   << "\n";

            TGLViewport View;
            View.SetBounds(0, 0, Width, Height);
            View.SetPerspective(75, static_cast<double>(Width) / Height, 1, 100);
            View.Apply();
            glLoadIdentity();
            gluLookAt(0, 0, 0, 0, 0, -1, 0, 1, 0);
            glClearColor(0, 0, 1, 1);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            EnableDepthTest();

            const auto SquareRef = MakeGLRef<TGLPrimitive>();
            TGLPrimitive& Square = *SquareRef;
            Square.Vertices.LoadFromArray(std::vector<float>{-1, -1, -5, 1, -1, -5, 1, 1, -5, -1, 1, -5});
            Square.Indices.LoadFromArray(std::vector<int32_t>{0, 1, 2, 2, 3, 0});
            Square.Colors.SetCount(1);
            Square.Colors.SetRGB(0, 1, 0, 0);
            Square.SetPrimitiveType(ptTriangles);
            Square.Draw();
            Engine.CheckError();
            glFinish();
            Report << "center: " << Pixel(Width / 2, Height / 2) << "\n";
            Report << "corner: " << Pixel(2, 2) << "\n";
            Engine.SwapBuffers(DC);
            Engine.CheckError();
            Report << "ok\n";
            Engine.MakeNotCurrent();
            Engine.DoneOpenGL();
        } catch (const EGlimmoraError& E) {
            Report << "loaded: " << (OpenGLLoaded() ? 1 : 0) << (GLULoaded() ? 1 : 0) << "\n";
            Report << "error: " << E.what() << "\n";
            Code = 1;
        }
        Engine.SetDC(nullptr);
    }
    ReleaseDC(Wnd, DC);
    DestroyWindow(Wnd);
    LocalFree(Argv);
    return Code;
}
