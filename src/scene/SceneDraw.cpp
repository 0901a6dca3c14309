// Drawing the environment, the bills and the bubbles.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "gl/FastMath.h"
#include "gl/GLMultitexture.h"
#include "gl/GLTexture.h"
#include "scene/Scene.h"

namespace {

void BlendSourceAlpha()
{
    EnableBlending();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

float Clamp01(float V)
{
    if (V > 1.0f)
        return 1.0f;
    if (V < 0.001f)
        return 0.0f;
    return V;
}

} // namespace

void TUnderwaterScene::DrawEnvironment(const TSceneTheme& Theme, const TThemeTextures& Textures, int Width,
                                       int Height)
{
    if (FLayeredPlanes && CanLayerPlanes(Textures)) {
        DrawLayeredEnvironment(Theme, Textures, Width, Height);
        return;
    }
    DisableLighting();
    DisableDepthTest();
    DisableFog();
    EnableTexturing();

    const TSceneObjects& O = *FObjects;
    DisableBlending();
    DrawPlane(*O.WaterPrimitive, Textures.WaterTexture.Get(), FSettings.WaterHeight);
    DisableBlending();
    DrawPlane(*O.BottomPrimitive, Textures.BottomTexture.Get(), FSettings.BottomHeight);
    DrawCausticLayer(*O.WaterCausticLayer, Textures.CausticTexture.Get(), FSettings.WaterCausticAlpha,
                     FSettings.WaterHeight);
    DrawCausticLayer(*O.BottomCausticLayer, Textures.CausticTexture.Get(), FSettings.BottomCausticAlpha,
                     FSettings.BottomHeight);
    DrawShadeLayer(*O.WaterShadeLayer, Theme.WaterColor, FSettings.WaterHeight);
    DrawShadeLayer(*O.BottomShadeLayer, Theme.BottomColor, FSettings.BottomHeight);
    DrawBackdrop(Theme, Width, Height);
    SetupFog(Theme.FogColor, FSettings.FogStart);
}

void TUnderwaterScene::DrawPlane(TGLPrimitive& Primitive, TGLTexture* Texture, float Height)
{
    if (Texture)
        Texture->Bind();
    // The model's own copy, then copies beside it toward each side: the
    // texture repeats a whole number of times across the model, so the
    // copies join without a seam.
    for (int i = 0; i <= 2 * FPlaneCopies; ++i) {
        const int Step = i == 0 ? 0 : (i % 2 == 1 ? -(i + 1) / 2 : i / 2);
        glPushMatrix();
        glTranslatef(static_cast<float>(Step) * FPlaneSpan, Height, 0);
        Primitive.Draw();
        glPopMatrix();
    }
}

void TUnderwaterScene::FitPlanesToView()
{
    const TGLPrimitive& Plane = *FObjects->BottomPrimitive;
    const int32_t N = Plane.Vertices.Count();
    FPlaneCopies = 0;
    if (N == 0)
        return;
    const TGLVector* V = Plane.Vertices.Items();
    float MinX = V[0].X, MaxX = V[0].X, FarZ = 0;
    for (int32_t i = 0; i < N; ++i) {
        MinX = std::min(MinX, V[i].X);
        MaxX = std::max(MaxX, V[i].X);
        FarZ = std::max(FarZ, -V[i].Z);
    }
    FPlaneSpan = MaxX - MinX;
    // The half width of the view where the plane ends (or where the view
    // does), against the shorter side of the model.
    const double Depth = std::min<double>(FarZ, FSettings.FarPlane);
    const double Visible = std::tan(FSettings.FieldOfView * std::numbers::pi / 360.0) * Aspect() * Depth;
    const double Half = std::min(-MinX, MaxX);
    if (FPlaneSpan <= 0 || !(Visible > Half))
        return;
    FPlaneCopies = static_cast<int>(std::min(8.0, std::ceil((Visible - Half) / FPlaneSpan)));
}

void TUnderwaterScene::DrawCausticLayer(TGLPrimitive& Layer, TGLTexture* Texture, float Opacity, float Height)
{
    BlendSourceAlpha();
    Layer.Colors.SetCount(1);
    Layer.Colors.SetItem(0, MakeColor(1, 1, 1, Opacity));
    if (Opacity > 0)
        DrawPlane(Layer, Texture, Height);
}

void TUnderwaterScene::DrawShadeLayer(TGLPrimitive& Layer, const TGLColor& Color, float Height)
{
    DisableFog();
    DisableTexturing();
    BlendSourceAlpha();
    ShadeByDepth(Layer, MakeColor(Color.R, Color.G, Color.B, 0), MakeColor(Color.R, Color.G, Color.B, 1),
                 -FSettings.ShadeStart, -FSettings.FogEnd);
    DrawPlane(Layer, nullptr, Height);
}

void TUnderwaterScene::ShadeByDepth(TGLPrimitive& Layer, const TGLColor& NearColor, const TGLColor& FarColor,
                                    float NearDepth, float FarDepth)
{
    const float P = NearDepth, Q = FarDepth;
    const int32_t N = Layer.Vertices.Count();
    if (Layer.Colors.Count() != N || std::fabs(P - Q) < 0.01f)
        return;
    const TGLVector* V = Layer.Vertices.Items();
    TGLColor* C = Layer.Colors.Items();
    for (int32_t i = 0; i < N; ++i) {
        const float Z = V[i].Z;
        const bool Near = P >= Q ? Z > P : Z < P;
        const bool Far = P >= Q ? Z <= Q : Z >= Q;
        if (Near) {
            C[i] = NearColor;
        } else if (Far) {
            C[i] = FarColor;
        } else {
            const float T = std::fabs((Z - P) / (Q - P));
            C[i] = TGLColor{Clamp01(NearColor.R + (FarColor.R - NearColor.R) * T),
                            Clamp01(NearColor.G + (FarColor.G - NearColor.G) * T),
                            Clamp01(NearColor.B + (FarColor.B - NearColor.B) * T),
                            Clamp01(NearColor.A + (FarColor.A - NearColor.A) * T)};
        }
    }
}

void TUnderwaterScene::DrawBackdrop(const TSceneTheme& Theme, int Width, int Height)
{
    DisableFog();
    DisableBlending();
    DisableTexturing();
    const float H = static_cast<float>(Tan(DegToRadExt(FSettings.FieldOfView / 2.0L)) * FSettings.FarPlane);
    const float W = H * static_cast<float>(Width) / static_cast<float>(Height > 0 ? Height : 1);
    const float Far = -FSettings.FarPlane;
    TGLPrimitive& B = *FObjects->BackdropPrimitive;
    B.Vertices.SetCount(4);
    B.Vertices.SetXYZ(0, -W, FSettings.WaterHeight, Far);
    B.Vertices.SetXYZ(1, -W, FSettings.BottomHeight, Far);
    B.Vertices.SetXYZ(2, W, FSettings.BottomHeight, Far);
    B.Vertices.SetXYZ(3, W, FSettings.WaterHeight, Far);
    B.Colors.SetCount(4);
    B.Colors.SetItem(0, Theme.WaterColor);
    B.Colors.SetItem(1, Theme.BottomColor);
    B.Colors.SetItem(2, Theme.BottomColor);
    B.Colors.SetItem(3, Theme.WaterColor);
    B.Draw();
}

void TUnderwaterScene::SetupFog(const TGLColor& Color, float FogStartValue)
{
    // Fog stays disabled: these parameters never change a pixel.
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glHint(GL_FOG_HINT, GL_NICEST);
    glFogf(GL_FOG_START, FogStartValue);
    glFogf(GL_FOG_END, FSettings.FogEnd);
    const GLfloat C[4] = {Color.R, Color.G, Color.B, Color.A};
    glFogfv(GL_FOG_COLOR, C);
}

void TUnderwaterScene::ScrollCaustics()
{
    const float Step = 0.1f * FFrameTime;
    TGLPrimitive& Water = *FObjects->WaterCausticLayer;
    TGLPrimitive& Bottom = *FObjects->BottomCausticLayer;
    TGLTexCoord* W = Water.TexCoords.Items();
    for (int32_t i = 0; i < Water.TexCoords.Count(); ++i) {
        W[i].S -= Step;
        W[i].T += Step;
    }
    TGLTexCoord* B = Bottom.TexCoords.Items();
    for (int32_t i = 0; i < Bottom.TexCoords.Count(); ++i) {
        B[i].S += Step;
        B[i].T += Step;
    }
}

namespace {

void DrawParticles(TParticles& Effect, TGLPrimitive& Mesh)
{
    for (int32_t i = 0; i < Effect.Count(); ++i) {
        const TParticle& P = Effect.Particles[static_cast<std::size_t>(i)];
        glPushMatrix();
        glTranslatef(P.Position.X, P.Position.Y, P.Position.Z);
        glRotatef(P.Rotation.Y, 0, 1, 0);
        glRotatef(P.Rotation.X, 1, 0, 0);
        glRotatef(P.Rotation.Z, 0, 0, 1);
        Mesh.Draw();
        glPopMatrix();
    }
}

} // namespace

namespace {

// The view volume of the frame (the model-view matrix is the identity:
// the eye at the origin looking down -Z), as four side planes through the
// eye and the near and far planes.
struct TViewVolume {
    float Near = 1, Far = 100;
    // Side planes a*x + b*z <= 0 (or a*y + b*z), normalised.
    float SideX[2][2]{}, SideY[2][2]{};

    explicit TViewVolume(const TGLViewport& V)
        : Near(static_cast<float>(V.FrustumNear)), Far(static_cast<float>(V.FrustumFar))
    {
        const auto Plane = [](float (&P)[2], float Sign, float Slope) {
            const float L = std::sqrt(1 + Slope * Slope);
            P[0] = Sign / L;
            P[1] = Slope / L;
        };
        const float N = Near > 0 ? Near : 1;
        Plane(SideX[0], 1, static_cast<float>(V.FrustumRight) / N);
        Plane(SideX[1], -1, static_cast<float>(-V.FrustumLeft) / N);
        Plane(SideY[0], 1, static_cast<float>(V.FrustumTop) / N);
        Plane(SideY[1], -1, static_cast<float>(-V.FrustumBottom) / N);
    }
    // Whether a ball of radius R around P lies wholly outside.
    bool Outside(const TGLVector& P, float R) const
    {
        if (-P.Z + R < Near || -P.Z - R > Far)
            return true;
        for (const auto& S : SideX)
            if (S[0] * P.X + S[1] * P.Z > R)
                return true;
        for (const auto& S : SideY)
            if (S[0] * P.Y + S[1] * P.Z > R)
                return true;
        return false;
    }
};

// The radius of the ball around the mesh's origin that holds it, with a
// margin for rounding.
float BoundingRadius(const TGLPrimitive& Mesh)
{
    float R2 = 0;
    const TGLVector* V = Mesh.Vertices.Items();
    for (int32_t i = 0; i < Mesh.Vertices.Count(); ++i)
        R2 = std::max(R2, V[i].X * V[i].X + V[i].Y * V[i].Y + V[i].Z * V[i].Z);
    return std::sqrt(R2) * 1.01f + 1.0f;
}

// Each particle in view, turned as DrawParticles turns it.
void DrawVisibleParticles(TParticles& Effect, TGLPrimitive& Mesh, const TViewVolume& View, bool Turn)
{
    const float R = BoundingRadius(Mesh);
    bool Sent = false;
    for (int32_t i = 0; i < Effect.Count(); ++i) {
        const TParticle& P = Effect.Particles[static_cast<std::size_t>(i)];
        if (View.Outside(P.Position, R))
            continue;
        glPushMatrix();
        glTranslatef(P.Position.X, P.Position.Y, P.Position.Z);
        if (Turn) {
            glRotatef(P.Rotation.Y, 0, 1, 0);
            glRotatef(P.Rotation.X, 1, 0, 0);
            glRotatef(P.Rotation.Z, 0, 0, 1);
        }
        if (Sent)
            Mesh.DrawAgain();
        else
            Mesh.Draw();
        Sent = true;
        glPopMatrix();
    }
}

// Whether a sum of light terms stays at 1 or below, as the GL would see it
// in single precision. The 32-bit build keeps sums in the x87 unit's
// extended precision, where 0.6f + 0.4f is a little above 1, so the test
// allows far less than half a step of an 8-bit colour channel.
bool AtMostOne(float V) { return V <= 1.0f + 1.0f / 1024.0f; }

} // namespace

void TUnderwaterScene::BeginBillPass()
{
    DisableFog();
    EnableLighting();
    EnableDepthTest();
    FObjects->Light.SetSpotDirection(MakeVector(-1, -1, -1));
    FObjects->Light.Enable();

    glDepthFunc(GL_LEQUAL);
    DisableBlending();
}

void TUnderwaterScene::DrawBills(TGLPrimitive& BaseMesh, TGLPrimitive& ShimmerMesh, const TSceneTheme& Theme,
                                 TParticles& Effect)
{
    TSceneObjects& O = *FObjects;
    BeginBillPass();
    O.Material->SetDiffuse(Theme.BillColor);
    O.Material->SetAmbient(Theme.BillColor);
    O.Material->SetSpecular(Theme.BillColor);
    O.Material->ApplyAll();
    EnableTexturing();
    O.BillTexture->Bind();
    DrawParticles(Effect, BaseMesh);

    if (FSettings.ShimmerAlpha > 0) {
        BlendSourceAlpha();
        glDepthFunc(GL_EQUAL);
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
        O.Material->SetAmbient(MakeColor(1, 1, 1, 1));
        O.Material->SetSpecular(MakeColor(1, 1, 1, 1));
        O.Material->SetDiffuse(MakeColor(1, 1, 1, FSettings.ShimmerAlpha));
        O.Material->ApplyAll();
        O.ShimmerTexture->Bind();
        DrawParticles(Effect, ShimmerMesh);
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
}

void TUnderwaterScene::DrawBubbles(TParticles& Bubbles, const TSceneTheme& Theme)
{
    DisableFog();
    DisableLighting();
    EnableBlending();
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.1f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthFunc(GL_LEQUAL);
    EnableDepthTest();
    EnableTexturing();
    FObjects->BubbleTexture->Bind();
    TGLPrimitive& Mesh = *FObjects->BubblePrimitive;
    if (Mesh.Colors.Count() < 1)
        Mesh.Colors.SetCount(1);
    Mesh.Colors.SetItem(0, Theme.BubbleColor);
    if (FLayeredPlanes) {
        DrawVisibleParticles(Bubbles, Mesh, TViewVolume(FObjects->Viewport), false);
        glDisable(GL_ALPHA_TEST);
        return;
    }
    for (int32_t i = 0; i < Bubbles.Count(); ++i) {
        const TParticle& P = Bubbles.Particles[static_cast<std::size_t>(i)];
        glPushMatrix();
        glTranslatef(P.Position.X, P.Position.Y, P.Position.Z);
        Mesh.Draw();
        glPopMatrix();
    }
    glDisable(GL_ALPHA_TEST);
}

// ---------------------------------------------------------------------------
// The multitexture path: the same picture in fewer passes where the context
// has texture combiners (see InitGL).
//
// A plane, its caustic layer and its shade layer are one pass: unit 0 the
// plane's texture times the current colour (as the plane alone), unit 1
// the caustic texture mixed in by the layer's opacity (as the layer blended
// with its source alpha), and linear fog from ShadeStart to FogEnd in the
// theme's plane colour for the shade layer, whose alpha runs over the same
// depths in the same straight line.
//
// A bill and its shimmer are one pass: the light with a white material
// gives the shimmer pass's colour L; the bill pass's colour is L times the
// bill colour while no light term saturates, so unit 0 mixes the shimmer
// texture (unit 1's, with its sphere map) into the bill texture pre-tinted
// by the bill colour, by the shimmer opacity, and unit 1 multiplies by L.
//
// Bills and bubbles wholly outside the view are skipped, and repeated
// draws of one mesh send its arrays once.


bool TUnderwaterScene::CanLayerPlanes(const TThemeTextures& Textures) const
{
    const TSceneObjects& O = *FObjects;
    // The combiner takes the layer's opacity as the caustic's alpha, which
    // holds for a texture without alpha; the fog needs a depth range.
    const TGLTexture* Caustic = Textures.CausticTexture.Get();
    return Caustic && Caustic->Format() == tfRGB && Textures.WaterTexture && Textures.BottomTexture &&
           std::fabs(FSettings.ShadeStart - FSettings.FogEnd) >= 0.01f &&
           O.WaterCausticLayer->TexCoords.Count() == O.WaterPrimitive->Vertices.Count() &&
           O.BottomCausticLayer->TexCoords.Count() == O.BottomPrimitive->Vertices.Count();
}

void TUnderwaterScene::DrawLayeredEnvironment(const TSceneTheme& Theme, const TThemeTextures& Textures, int Width,
                                              int Height)
{
    const TSceneObjects& O = *FObjects;
    DisableLighting();
    DisableDepthTest();
    DisableBlending();
    EnableTexturing();

    const bool Caustics = FSettings.WaterCausticAlpha > 0 || FSettings.BottomCausticAlpha > 0;
    if (Caustics) {
        glActiveTexture(GL_TEXTURE1);
        glEnable(GL_TEXTURE_2D);
        Textures.CausticTexture->Bind();
        SetCombineStep({GL_INTERPOLATE, GL_TEXTURE, GL_PREVIOUS, GL_CONSTANT, GL_SRC_COLOR, GL_SRC_COLOR,
                        GL_SRC_ALPHA, GL_PREVIOUS});
        glActiveTexture(GL_TEXTURE0);
    }
    glEnable(GL_FOG);
    glFogf(GL_FOG_START, FSettings.ShadeStart);
    glFogf(GL_FOG_END, FSettings.FogEnd);

    const struct {
        TGLPrimitive& Plane;
        TGLPrimitive& Caustic;
        TGLTexture* Texture;
        float Opacity, Height;
        const TGLColor& Color;
    } Planes[2] = {
        {*O.WaterPrimitive, *O.WaterCausticLayer, Textures.WaterTexture.Get(), FSettings.WaterCausticAlpha,
         FSettings.WaterHeight, Theme.WaterColor},
        {*O.BottomPrimitive, *O.BottomCausticLayer, Textures.BottomTexture.Get(), FSettings.BottomCausticAlpha,
         FSettings.BottomHeight, Theme.BottomColor},
    };
    for (const auto& P : Planes) {
        if (Caustics) {
            glActiveTexture(GL_TEXTURE1);
            SetEnvColor(1, 1, 1, std::max(P.Opacity, 0.0f));
            glActiveTexture(GL_TEXTURE0);
            // The plane's Draw sends unit 0's coordinates.
            glClientActiveTexture(GL_TEXTURE1);
            if (&P == &Planes[0])
                glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, sizeof(TGLTexCoord), P.Caustic.TexCoords.Data());
            glClientActiveTexture(GL_TEXTURE0);
        }
        const GLfloat Fog[4] = {P.Color.R, P.Color.G, P.Color.B, 1};
        glFogfv(GL_FOG_COLOR, Fog);
        DrawPlane(P.Plane, P.Texture, P.Height);
    }

    if (Caustics) {
        glClientActiveTexture(GL_TEXTURE1);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glClientActiveTexture(GL_TEXTURE0);
        glActiveTexture(GL_TEXTURE1);
        glDisable(GL_TEXTURE_2D);
        glActiveTexture(GL_TEXTURE0);
    }
    DrawBackdrop(Theme, Width, Height);
    SetupFog(Theme.FogColor, FSettings.FogStart);
}

bool TUnderwaterScene::CanFoldShimmer() const
{
    const TSceneObjects& O = *FObjects;
    // Without any term above 1 the bill colour factors out of the light.
    const TGLColor& A = FSettings.GlobalAmbient;
    const TGLColor& D = FSettings.LightDiffuse;
    return FSettings.ShimmerAlpha > 0 && O.ShimmerTexture->Format() == tfRGB && O.BillTexture->Pixels() &&
           AtMostOne(A.R + D.R) && AtMostOne(A.G + D.G) && AtMostOne(A.B + D.B);
}

TGLTexture& TUnderwaterScene::TintedBillTexture(const TGLColor& Color)
{
    TSceneObjects& O = *FObjects;
    if (!O.TintedBillTexture)
        O.TintedBillTexture = MakeGLRef<TGLTexture>();
    TGLTexture& T = *O.TintedBillTexture;
    const TGLColor& C = O.TintedBillColor;
    if (C.R == Color.R && C.G == Color.G && C.B == Color.B)
        return T;
    const TGLTexture& Bill = *O.BillTexture;
    T.SetSize(Bill.Format(), Bill.Width(), Bill.Height());
    T.SetFilter(Bill.Filter());
    T.SetRepeat(Bill.RepeatWrap());
    const int32_t BPP = Bill.BytesPerPixel();
    const float Scale[4] = {Color.R, Color.G, Color.B, 1};
    for (int32_t y = 0; y < Bill.Height(); ++y) {
        const uint8_t* Src = Bill.PixelRow(y);
        uint8_t* Dst = T.PixelRow(y);
        for (int32_t i = 0; i < Bill.Width() * BPP; ++i) {
            const float V = static_cast<float>(Src[i]) * std::clamp(Scale[i % BPP], 0.0f, 1.0f) + 0.5f;
            Dst[i] = static_cast<uint8_t>(std::min(V, 255.0f));
        }
    }
    O.TintedBillColor = Color;
    return T;
}

void TUnderwaterScene::DrawBillsInOnePass(TGLPrimitive& Mesh, const TSceneTheme& Theme, TParticles& Effect)
{
    TSceneObjects& O = *FObjects;
    BeginBillPass();
    O.Material->SetAmbient(MakeColor(1, 1, 1, 1));
    O.Material->SetSpecular(MakeColor(1, 1, 1, 1));
    O.Material->SetDiffuse(MakeColor(1, 1, 1, 1));
    O.Material->ApplyAll();
    EnableTexturing();

    TGLTexture& Tinted = TintedBillTexture(Theme.BillColor);
    glActiveTexture(GL_TEXTURE1);
    glEnable(GL_TEXTURE_2D);
    O.ShimmerTexture->Bind();
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    SetCombineStep({GL_MODULATE, GL_PREVIOUS, GL_PRIMARY_COLOR, GL_CONSTANT, GL_SRC_COLOR, GL_SRC_COLOR,
                    GL_SRC_ALPHA, GL_PREVIOUS});
    glActiveTexture(GL_TEXTURE0);
    Tinted.Bind();
    SetCombineStep({GL_INTERPOLATE, GL_TEXTURE1, GL_TEXTURE, GL_CONSTANT, GL_SRC_COLOR, GL_SRC_COLOR,
                    GL_SRC_ALPHA, GL_TEXTURE});
    SetEnvColor(0, 0, 0, FSettings.ShimmerAlpha);

    DrawVisibleParticles(Effect, Mesh, TViewVolume(O.Viewport), true);

    glActiveTexture(GL_TEXTURE1);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLint(GL_MODULATE));
}
