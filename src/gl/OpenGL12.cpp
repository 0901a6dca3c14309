#include "gl/OpenGL12.h"

#include <memory>

#include "platform/DynamicLibrary.h"
#include "gl/Errors.h"
#include "gl/FloatControl.h"

namespace OpenGL12 {
#define GLIMMORA_GL_DEFINE_ENTRY(Ret, Name, Params) PFN_##Name Name = nullptr;
GLIMMORA_GL_ALL_ENTRIES(GLIMMORA_GL_DEFINE_ENTRY)
#undef GLIMMORA_GL_DEFINE_ENTRY
} // namespace OpenGL12

namespace {

std::unique_ptr<IDynamicLibrary> GLHandle;
std::unique_ptr<IDynamicLibrary> GLUHandle;

void ClearEntryPoints() { SetEntryPoints(TGLEntryPoints{}); }

// The unit's start and end: the floating-point state is set once before
// any GL work, and the libraries are freed at exit.
struct TOpenGL12Unit {
    TOpenGL12Unit() { ResetFloatControlState(); }
    ~TOpenGL12Unit() { CloseOpenGL(); }
} OpenGL12Unit;

} // namespace

bool LoadOpenGL(ILibraryLoader& Loader, const std::string& OpenGLLibName, const std::string& GLULibName)
{
    CloseOpenGL();
    auto GL = Loader.Load(OpenGLLibName);
    auto GLU = Loader.Load(GLULibName);
    if (!GL || !GLU)
        return false;   // whichever did load is freed here
    // Every entry is checked before any is installed: a library that lacks
    // one is refused whole (and freed on the way out) rather than leaving a
    // null pointer for the first frame to call.
    TGLEntryPoints Table;
    auto Missing = [](const char* Name, const std::string& Library) {
        throw EGlimmoraError("Load library failed: " + std::string(Name) + " is not found in " + Library + "!");
    };
#define GLIMMORA_GL_FETCH(Ret, Name, Params)                                              \
    Table.Name = reinterpret_cast<OpenGL12::PFN_##Name>(GL->Symbol(#Name));               \
    if (!Table.Name)                                                                      \
        Missing(#Name, OpenGLLibName);
    GLIMMORA_GL_ENTRIES(GLIMMORA_GL_FETCH)
#undef GLIMMORA_GL_FETCH
    // The multitexture calls are optional: without them the drawing keeps
    // to its OpenGL 1.1 passes.
#define GLIMMORA_GL_FETCH_EXTENSION(Ret, Name, Params)                                    \
    if (void* Address = GL->Symbol(#Name); Address)                                       \
        Table.Name = reinterpret_cast<OpenGL12::PFN_##Name>(Address);                     \
    else                                                                                  \
        Table.Name = reinterpret_cast<OpenGL12::PFN_##Name>(GL->Symbol(#Name "ARB"));
    GLIMMORA_GL_MULTITEXTURE_ENTRIES(GLIMMORA_GL_FETCH_EXTENSION)
#undef GLIMMORA_GL_FETCH_EXTENSION
#define GLIMMORA_GLU_FETCH(Ret, Name, Params)                                             \
    Table.Name = reinterpret_cast<OpenGL12::PFN_##Name>(GLU->Symbol(#Name));              \
    if (!Table.Name)                                                                      \
        Missing(#Name, GLULibName);
    GLIMMORA_GLU_ENTRIES(GLIMMORA_GLU_FETCH)
#undef GLIMMORA_GLU_FETCH
    GLHandle = std::move(GL);
    GLUHandle = std::move(GLU);
    SetEntryPoints(Table);
    return true;
}

void LoadContextEntryPoints(const std::function<void*(const char*)>& Entry)
{
#define GLIMMORA_GL_FETCH_CONTEXT(Ret, Name, Params)                                      \
    if (!OpenGL12::Name) {                                                                \
        void* Address = Entry(#Name);                                                     \
        OpenGL12::Name = reinterpret_cast<OpenGL12::PFN_##Name>(Address ? Address : Entry(#Name "ARB")); \
    }
    GLIMMORA_GL_MULTITEXTURE_ENTRIES(GLIMMORA_GL_FETCH_CONTEXT)
#undef GLIMMORA_GL_FETCH_CONTEXT
}

void CloseOpenGL()
{
    GLHandle.reset();
    GLUHandle.reset();
    ClearEntryPoints();
}

bool OpenGLLoaded() { return GLHandle != nullptr; }
bool GLULoaded() { return GLUHandle != nullptr; }

TGLEntryPoints GetEntryPoints()
{
    TGLEntryPoints T;
#define GLIMMORA_GL_GET(Ret, Name, Params) T.Name = OpenGL12::Name;
    GLIMMORA_GL_ALL_ENTRIES(GLIMMORA_GL_GET)
#undef GLIMMORA_GL_GET
    return T;
}

void SetEntryPoints(const TGLEntryPoints& Table)
{
#define GLIMMORA_GL_SET(Ret, Name, Params) OpenGL12::Name = Table.Name;
    GLIMMORA_GL_ALL_ENTRIES(GLIMMORA_GL_SET)
#undef GLIMMORA_GL_SET
}
