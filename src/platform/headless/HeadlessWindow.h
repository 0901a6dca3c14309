// An off-screen window of a fixed size: a pbuffer target of the EGL pbuffer
// context (EGLPbufferContext.h). The headless program and the GL tests draw
// into it; the frame stays in the pbuffer, where the caller reads it back.
#pragma once

#include "platform/RenderWindow.h"

class THeadlessWindow final : public IRenderWindow {
public:
    // Sizes below 1 are taken as 1.
    THeadlessWindow(int Width, int Height);
    ~THeadlessWindow() override;
    THeadlessWindow(const THeadlessWindow&) = delete;
    THeadlessWindow& operator=(const THeadlessWindow&) = delete;

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    TGLDeviceContext DC() const override { return FDC; }

private:
    int FWidth, FHeight;
    TGLDeviceContext FDC;
};
