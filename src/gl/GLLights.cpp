// TGLMaterial and TGLLight: values kept here, sent only when changed.
#include "gl/GLClasses.h"

void TGLMaterial::SetDefaults()
{
    SetAmbient(MakeColor(0.2f, 0.2f, 0.2f, 1.0f));
    SetDiffuse(MakeColor(0.8f, 0.8f, 0.8f, 1.0f));
    SetSpecular(MakeColor(0.0f, 0.0f, 0.0f, 0.0f));
    SetEmission(MakeColor(0.0f, 0.0f, 0.0f, 0.0f));
    FShininess = 0.0f;
    SetBackFace(false);
    SetFrontFace(true);
}

void TGLMaterial::Apply()
{
    if (FChanged == 0)
        return;
    GLenum Face = GL_BACK;
    if (FFrontFace && FBackFace)
        Face = GL_FRONT_AND_BACK;
    else if (FFrontFace)
        Face = GL_FRONT;
    if (FChanged & chAmbient)
        glMaterialfv(Face, GL_AMBIENT, &FAmbient.R);
    if (FChanged & chDiffuse)
        glMaterialfv(Face, GL_DIFFUSE, &FDiffuse.R);
    if (FChanged & chSpecular)
        glMaterialfv(Face, GL_SPECULAR, &FSpecular.R);
    if (FChanged & chEmission)
        glMaterialfv(Face, GL_EMISSION, &FEmission.R);
    if (FChanged & chShininess)
        glMaterialf(Face, GL_SHININESS, FShininess);
    FChanged = 0;
}

void TGLMaterial::ApplyAll()
{
    FChanged = 0x7FFFFFFF;
    Apply();
}

void TGLLight::Setup(float DiffuseR, float DiffuseG, float DiffuseB, float DirX, float DirY, float DirZ)
{
    SetAmbient(MakeColor(0.0f, 0.0f, 0.0f, 1.0f));
    SetDiffuse(MakeColor(DiffuseR, DiffuseG, DiffuseB, 1.0f));
    SetSpecular(MakeColor(1.0f, 1.0f, 1.0f, 1.0f));
    SetPosition(MakeVector(0.0f, 0.0f, 1.0f));
    SetSpotDirection(MakeVector(DirX, DirY, DirZ));
    SetSpotExponent(0.0f);
    SetSpotCutoff(180.0f);
    SetConstantAttenuation(1.0f);
    SetLinearAttenuation(0.0f);
    SetQuadraticAttenuation(0.0f);
    SetTwoSide(false);
    SetLocalViewer(false);
    SetDirectional(true);
}

void TGLLight::Apply()
{
    if (FChanged == 0)
        return;
    const GLenum Light = GLLightID();
    if (FChanged & chAmbient)
        glLightfv(Light, GL_AMBIENT, &FAmbient.R);
    if (FChanged & chDiffuse)
        glLightfv(Light, GL_DIFFUSE, &FDiffuse.R);
    if (FChanged & chSpecular)
        glLightfv(Light, GL_SPECULAR, &FSpecular.R);
    if (FChanged & (chDirectional | chPosition | chSpotDirection)) {
        if (FDirectional) {
            // A light at infinity shining along the spot direction.
            if (FChanged & (chDirectional | chSpotDirection)) {
                const GLfloat P[4] = {-FSpotDirection.X, -FSpotDirection.Y, -FSpotDirection.Z, 0.0f};
                glLightfv(Light, GL_POSITION, P);
            }
        } else {
            if (FChanged & (chDirectional | chPosition)) {
                const GLfloat P[4] = {FPosition.X, FPosition.Y, FPosition.Z, 1.0f};
                glLightfv(Light, GL_POSITION, P);
            }
            if (FChanged & chSpotDirection)
                glLightfv(Light, GL_SPOT_DIRECTION, &FSpotDirection.X);
        }
    }
    if (FChanged & chSpotExponent)
        glLightf(Light, GL_SPOT_EXPONENT, FSpotExponent);
    if (FChanged & chSpotCutoff)
        glLightf(Light, GL_SPOT_CUTOFF, FSpotCutoff);
    if (FChanged & chLocalViewer)
        glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, FLocalViewer ? 1 : 0);
    if (FChanged & chTwoSide)
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, FTwoSide ? 1 : 0);
    if (FChanged & chConstantAttenuation)
        glLightf(Light, GL_CONSTANT_ATTENUATION, FConstantAttenuation);
    if (FChanged & chLinearAttenuation)
        glLightf(Light, GL_LINEAR_ATTENUATION, FLinearAttenuation);
    if (FChanged & chQuadraticAttenuation)
        glLightf(Light, GL_QUADRATIC_ATTENUATION, FQuadraticAttenuation);
    FChanged = 0;
}

void TGLLight::ApplyAll()
{
    FChanged = 0x7FFFFFFF;
    Apply();
}

void TGLLight::Enable()
{
    ApplyAll();
    glEnable(GLLightID());
}
