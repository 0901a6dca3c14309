// Drawing the environment, the bills and the bubbles.
#include <cmath>

#include "gl/FastMath.h"
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
    glPushMatrix();
    glTranslatef(0, Height, 0);
    Primitive.Draw();
    glPopMatrix();
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

void TUnderwaterScene::DrawBills(TGLPrimitive& BaseMesh, TGLPrimitive& ShimmerMesh, const TSceneTheme& Theme,
                                 TParticles& Effect)
{
    TSceneObjects& O = *FObjects;
    DisableFog();
    EnableLighting();
    EnableDepthTest();
    O.Light.SetSpotDirection(MakeVector(-1, -1, -1));
    O.Light.Enable();

    glDepthFunc(GL_LEQUAL);
    DisableBlending();
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
    for (int32_t i = 0; i < Bubbles.Count(); ++i) {
        const TParticle& P = Bubbles.Particles[static_cast<std::size_t>(i)];
        glPushMatrix();
        glTranslatef(P.Position.X, P.Position.Y, P.Position.Z);
        Mesh.Draw();
        glPopMatrix();
    }
    glDisable(GL_ALPHA_TEST);
}
