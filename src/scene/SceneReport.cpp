// Frames per second and the OpenGL information block of the log.
#include <cstdio>

#include "scene/Scene.h"

namespace {

std::string GLText(GLenum Name)
{
    const GLubyte* S = glGetString(Name);
    return S ? std::string(reinterpret_cast<const char*>(S)) : std::string();
}

// The block's "%s %s" lines: a label, one blank, a value.
std::string Pair(const std::string& Label, const std::string& Value) { return Label + " " + Value; }

} // namespace

std::vector<std::string> SplitCommaText(std::string_view Text)
{
    std::vector<std::string> Items;
    std::size_t i = 0;
    const auto Blank = [&](std::size_t k) { return k < Text.size() && static_cast<unsigned char>(Text[k]) <= ' '; };
    while (Blank(i))
        ++i;
    while (i < Text.size()) {
        std::string Item;
        if (Text[i] == '"') {
            ++i;
            while (i < Text.size()) {
                if (Text[i] == '"') {
                    if (i + 1 < Text.size() && Text[i + 1] == '"') {
                        Item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                Item += Text[i++];
            }
        } else {
            while (i < Text.size() && !Blank(i) && Text[i] != ',')
                Item += Text[i++];
        }
        Items.push_back(Item);
        while (Blank(i))
            ++i;
        if (i < Text.size() && Text[i] == ',') {
            ++i;
            while (Blank(i))
                ++i;
            if (i >= Text.size())
                Items.emplace_back();   // "a," ends in an empty item
        }
    }
    return Items;
}

std::string TUnderwaterScene::FpsCaption(int32_t Fps)
{
    char Buffer[64];
    std::snprintf(Buffer, sizeof(Buffer), "Glimmora 3D Screen Saver FPS: %d", static_cast<int>(Fps));
    return Buffer;
}

void TUnderwaterScene::CountFrame()
{
    ++FFrameCount;
    TTimerPro& FpsTimer = *FObjects->FpsTimer;
    if (FpsTimer.Elapsed().Seconds() >= 1.0L) {
        FFramesPerSecond = FFrameCount;
        if (!FFullScreenRunning && FServices.SetCaption)
            FServices.SetCaption(FpsCaption(FFramesPerSecond));
        FpsTimer.Stop();
        FpsTimer.Start();
        FFrameCount = 0;
    }
}

void TUnderwaterScene::DumpGLInfo()
{
    const std::string Vendor = GLText(GL_VENDOR), Renderer = GLText(GL_RENDERER), Version = GLText(GL_VERSION);
    FGLSummaryText = Pair("Vendor: ", Vendor) + "\r\n" + Pair("Video: ", Renderer) + "\r\n" +
                    Pair("OpenGL: ", Version);

    TLogFile& Log = FServices.Log;
    Log.WriteLog("*** Start OpenGL Info ***");
    Log.WriteLog(Pair("Version:", Version));
    Log.WriteLog(Pair("Vendor:", Vendor));
    Log.WriteLog(Pair("Render:", Renderer));

    Log.WriteLog("*** Start OpenGL Extensions ***");
    for (const std::string& Item : SplitCommaText(GLText(GL_EXTENSIONS)))
        Log.WriteLog(Item);
    Log.WriteLog("*** End OpenGL Extensions ***");

    const std::pair<const char*, GLenum> Integers[] = {
        {"MaxLights:", GL_MAX_LIGHTS},
        {"MaxModelViewStack:", GL_MAX_MODELVIEW_STACK_DEPTH},
        {"MaxNameStack:", GL_MAX_NAME_STACK_DEPTH},
        {"MaxTextureSize:", GL_MAX_TEXTURE_SIZE},
    };
    for (const auto& [Label, Name] : Integers) {
        GLint Values[4] = {0, 0, 0, 0};
        glGetIntegerv(Name, Values);
        Log.WriteLog(std::string(Label) + " " + std::to_string(Values[0]));
    }
    GLint Dims[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, Dims);
    Log.WriteLog("MaxViewportSize: " + std::to_string(Dims[0]) + " " + std::to_string(Dims[1]));
    Log.WriteLog("*** End OpenGL Info ***");
}
