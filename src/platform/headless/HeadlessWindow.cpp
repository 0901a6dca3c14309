#include "platform/headless/HeadlessWindow.h"

#include "platform/headless/EGLPbufferContext.h"

THeadlessWindow::THeadlessWindow(int Width, int Height)
    : FWidth(Width < 1 ? 1 : Width), FHeight(Height < 1 ? 1 : Height), FDC(CreatePbufferTarget(FWidth, FHeight))
{
}

THeadlessWindow::~THeadlessWindow() { DestroyPbufferTarget(FDC); }
