// TGLViewport: viewport rectangle, projection and global switches.
#include <algorithm>
#include <cmath>

#include "gl/FastMath.h"
#include "gl/GLClasses.h"

TGLViewport::TGLViewport()
{
    SetBounds(0, 0, 100, 100);
    SetFrustum(-1, 1, -1, 1, 1, 100);
    SetOrtho(-1, 1, -1, 1, 1, 100);
}

void TGLViewport::SetBounds(int32_t X, int32_t Y, int32_t Width, int32_t Height)
{
    ViewX = X;
    ViewY = Y;
    ViewWidth = Width;
    ViewHeight = Height;
}

void TGLViewport::SetFrustum(double Left, double Right, double Bottom, double Top, double Near, double Far)
{
    FrustumLeft = Left;
    FrustumRight = Right;
    FrustumBottom = Bottom;
    FrustumTop = Top;
    FrustumNear = Near;
    FrustumFar = Far;
}

void TGLViewport::SetOrtho(double Left, double Right, double Bottom, double Top, double Near, double Far)
{
    OrthoLeft = Left;
    OrthoRight = Right;
    OrthoBottom = Bottom;
    OrthoTop = Top;
    OrthoNear = Near;
    OrthoFar = Far;
}

double TGLViewport::AspectRatio() const
{
    return static_cast<double>(std::max(ViewWidth, 1)) / static_cast<double>(std::max(ViewHeight, 1));
}

void TGLViewport::SetPerspective(double FovY, double Aspect, double ZNear, double ZFar)
{
    // A minimised window or an empty panel has height 0: its width / height
    // is infinite or NaN, and a frustum built from it is rejected by OpenGL.
    if (!std::isfinite(Aspect) || Aspect <= 0.0)
        Aspect = AspectRatio();
    const double Top = static_cast<double>(Tan(DegToRadExt(FovY) / 2.0L)) * ZNear;
    FrustumTop = Top;
    FrustumBottom = -Top;
    FrustumRight = Aspect * Top;
    FrustumLeft = -FrustumRight;
    FrustumNear = ZNear;
    FrustumFar = ZFar;
}

void TGLViewport::Apply()
{
    glViewport(ViewX, ViewY, ViewWidth, ViewHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (Perspective)
        glFrustum(FrustumLeft, FrustumRight, FrustumBottom, FrustumTop, FrustumNear, FrustumFar);
    else
        glOrtho(OrthoLeft, OrthoRight, OrthoBottom, OrthoTop, OrthoNear, OrthoFar);

    static constexpr GLenum PolygonModes[3] = {GL_FILL, GL_LINE, GL_POINT};
    glPolygonMode(GL_FRONT_AND_BACK, PolygonMode < 3 ? PolygonModes[PolygonMode] : GL_FILL);
    glShadeModel(ShadeModel == 0 ? GL_FLAT : GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, NicestPerspective ? GL_NICEST : GL_FASTEST);

    const GLenum SmoothHint = Antialias ? GL_NICEST : GL_FASTEST;
    auto Switch = [](GLenum Cap, bool On) { On ? glEnable(Cap) : glDisable(Cap); };
    glHint(GL_POLYGON_SMOOTH_HINT, SmoothHint);
    Switch(GL_POLYGON_SMOOTH, Antialias);
    glHint(GL_LINE_SMOOTH_HINT, SmoothHint);
    Switch(GL_LINE_SMOOTH, Antialias);
    glHint(GL_POINT_SMOOTH_HINT, SmoothHint);
    Switch(GL_POINT_SMOOTH, Antialias);

    Switch(GL_LIGHTING, Lighting);
    Switch(GL_DITHER, Dither);
    glMatrixMode(GL_MODELVIEW);
}
