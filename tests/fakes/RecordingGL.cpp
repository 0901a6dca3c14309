#include "fakes/RecordingGL.h"

#include <charconv>
#include <cstdio>
#include <stdexcept>

namespace {

TRecordingGL* Active = nullptr;

// --- formatting -------------------------------------------------------------

std::string E(GLenum V) { return GLEnumName(V); }

std::string I(long long V) { return std::to_string(V); }

std::string F(double V)
{
    char Buf[40];
    auto R = std::to_chars(Buf, Buf + sizeof(Buf), V);
    return std::string(Buf, R.ptr);
}

std::string F(float V)
{
    char Buf[40];
    auto R = std::to_chars(Buf, Buf + sizeof(Buf), V);
    return std::string(Buf, R.ptr);
}

std::string Mode(GLenum V)
{
    static const char* const Names[] = {"GL_POINTS", "GL_LINES", "GL_LINE_LOOP", "GL_LINE_STRIP",
                                        "GL_TRIANGLES", "GL_TRIANGLE_STRIP", "GL_TRIANGLE_FAN", "GL_QUADS",
                                        "GL_QUAD_STRIP", "GL_POLYGON"};
    return V < 10 ? Names[V] : E(V);
}

std::string Factor(GLenum V) { return V == 0 ? "GL_ZERO" : V == 1 ? "GL_ONE" : E(V); }

std::string Mask(GLbitfield V)
{
    std::string S;
    const std::pair<GLbitfield, const char*> Bits[] = {{GL_COLOR_BUFFER_BIT, "GL_COLOR_BUFFER_BIT"},
                                                       {GL_DEPTH_BUFFER_BIT, "GL_DEPTH_BUFFER_BIT"},
                                                       {GL_STENCIL_BUFFER_BIT, "GL_STENCIL_BUFFER_BIT"},
                                                       {GL_ACCUM_BUFFER_BIT, "GL_ACCUM_BUFFER_BIT"}};
    for (auto [Bit, Name] : Bits)
        if (V & Bit) {
            S += S.empty() ? "" : "|";
            S += Name;
            V &= ~Bit;
        }
    if (V || S.empty())
        S += (S.empty() ? "" : "|") + I(V);
    return S;
}

std::string P(const void* Ptr) { return Active->PointerName(Ptr); }

std::string Floats(const GLfloat* V, int Count)
{
    if (!V)
        return "NULL";
    std::string S;
    for (int N = 0; N < Count; ++N)
        S += (N ? "," : "") + F(V[N]);
    return S;
}

std::string Names(GLsizei N, const GLuint* V)
{
    if (!V)
        return "NULL";
    std::string S = "[";
    for (GLsizei K = 0; K < N; ++K)
        S += (K ? "," : "") + I(V[K]);
    return S + "]";
}

// An integer parameter that names a constant for these parameter names.
std::string IntParam(GLenum PName, GLint V)
{
    switch (PName) {
    case GL_TEXTURE_MAG_FILTER:
    case GL_TEXTURE_MIN_FILTER:
    case GL_TEXTURE_WRAP_S:
    case GL_TEXTURE_WRAP_T:
    case GL_TEXTURE_ENV_MODE:
    case GL_TEXTURE_GEN_MODE:
    case GL_FOG_MODE:
    case GL_COMBINE_RGB:
    case GL_COMBINE_ALPHA:
    case GL_SOURCE0_RGB:
    case GL_SOURCE1_RGB:
    case GL_SOURCE2_RGB:
    case GL_SOURCE0_ALPHA:
    case GL_OPERAND0_RGB:
    case GL_OPERAND1_RGB:
    case GL_OPERAND2_RGB:
    case GL_OPERAND0_ALPHA:
        return E(static_cast<GLenum>(V));
    default:
        return I(V);
    }
}

// How many values a vector parameter carries.
int VectorSize(GLenum PName)
{
    switch (PName) {
    case GL_AMBIENT:
    case GL_DIFFUSE:
    case GL_SPECULAR:
    case GL_EMISSION:
    case GL_POSITION:
    case GL_AMBIENT_AND_DIFFUSE:
    case GL_LIGHT_MODEL_AMBIENT:
    case GL_FOG_COLOR:
    case GL_TEXTURE_ENV_COLOR:
    case GL_TEXTURE_BORDER_COLOR:
    case GL_OBJECT_PLANE:
    case GL_EYE_PLANE:
        return 4;
    case GL_SPOT_DIRECTION:
        return 3;
    default:
        return 1;
    }
}

template <class... A>
void Rec(const char* Name, const A&... Args)
{
    std::string S = Name;
    S += '(';
    bool First = true;
    ((S += (First ? "" : ","), S += Args, First = false), ...);
    S += ')';
    Active->Record(std::move(S));
}

void SetCap(GLenum Cap, bool On)
{
    if (On)
        Active->Enabled.insert(Cap);
    else
        Active->Enabled.erase(Cap);
}

template <class T>
void Answer(const std::map<GLenum, std::vector<T>>& From, GLenum PName, T* Out)
{
    if (!Out)
        return;
    auto It = From.find(PName);
    if (It == From.end()) {
        Out[0] = T{};
        return;
    }
    for (std::size_t K = 0; K < It->second.size(); ++K)
        Out[K] = It->second[K];
}

// --- stubs --------------------------------------------------------------------

namespace Stub {

GLenum GLAPIENTRY glGetError()
{
    Rec("glGetError");
    auto& Q = Active->PendingErrors;
    if (Q.empty())
        return GL_NO_ERROR;
    const GLenum Code = Q.front();
    Q.erase(Q.begin());
    return Code;
}
const GLubyte* GLAPIENTRY glGetString(GLenum name)
{
    Rec("glGetString", E(name));
    return reinterpret_cast<const GLubyte*>(Active->Strings[name].c_str());
}
void GLAPIENTRY glGetIntegerv(GLenum pname, GLint* params) { Rec("glGetIntegerv", E(pname), "out"); Answer(Active->Integers, pname, params); }
GLboolean GLAPIENTRY glIsEnabled(GLenum cap) { Rec("glIsEnabled", E(cap)); return Active->Enabled.count(cap) ? 1 : 0; }
void GLAPIENTRY glEnable(GLenum cap) { Rec("glEnable", E(cap)); SetCap(cap, true); }
void GLAPIENTRY glDisable(GLenum cap) { Rec("glDisable", E(cap)); SetCap(cap, false); }
void GLAPIENTRY glHint(GLenum target, GLenum mode) { Rec("glHint", E(target), E(mode)); }
void GLAPIENTRY glFlush() { Rec("glFlush"); }
void GLAPIENTRY glFinish() { Rec("glFinish"); }
void GLAPIENTRY glViewport(GLint x, GLint y, GLsizei w, GLsizei h) { Rec("glViewport", I(x), I(y), I(w), I(h)); }
void GLAPIENTRY glClear(GLbitfield mask) { Rec("glClear", Mask(mask)); }
void GLAPIENTRY glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { Rec("glClearColor", F(r), F(g), F(b), F(a)); }
void GLAPIENTRY glDepthFunc(GLenum func) { Rec("glDepthFunc", E(func)); }
void GLAPIENTRY glShadeModel(GLenum mode) { Rec("glShadeModel", E(mode)); }
void GLAPIENTRY glPolygonMode(GLenum face, GLenum mode) { Rec("glPolygonMode", E(face), E(mode)); }
void GLAPIENTRY glBlendFunc(GLenum s, GLenum d) { Rec("glBlendFunc", Factor(s), Factor(d)); }
void GLAPIENTRY glAlphaFunc(GLenum func, GLclampf ref) { Rec("glAlphaFunc", E(func), F(ref)); }
void GLAPIENTRY glMatrixMode(GLenum mode) { Rec("glMatrixMode", E(mode)); }
void GLAPIENTRY glLoadIdentity() { Rec("glLoadIdentity"); }
void GLAPIENTRY glPushMatrix() { Rec("glPushMatrix"); }
void GLAPIENTRY glPopMatrix() { Rec("glPopMatrix"); }
void GLAPIENTRY glTranslatef(GLfloat x, GLfloat y, GLfloat z) { Rec("glTranslatef", F(x), F(y), F(z)); }
void GLAPIENTRY glRotatef(GLfloat a, GLfloat x, GLfloat y, GLfloat z) { Rec("glRotatef", F(a), F(x), F(y), F(z)); }
void GLAPIENTRY glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) { Rec("glFrustum", F(l), F(r), F(b), F(t), F(n), F(f)); }
void GLAPIENTRY glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) { Rec("glOrtho", F(l), F(r), F(b), F(t), F(n), F(f)); }
void GLAPIENTRY glLightf(GLenum light, GLenum pname, GLfloat param) { Rec("glLightf", E(light), E(pname), F(param)); }
void GLAPIENTRY glLightfv(GLenum light, GLenum pname, const GLfloat* params) { Rec("glLightfv", E(light), E(pname), Floats(params, VectorSize(pname))); }
void GLAPIENTRY glGetLightfv(GLenum light, GLenum pname, GLfloat* params) { Rec("glGetLightfv", E(light), E(pname), "out"); Answer(Active->Floats, pname, params); }
void GLAPIENTRY glLightModelfv(GLenum pname, const GLfloat* params) { Rec("glLightModelfv", E(pname), Floats(params, VectorSize(pname))); }
void GLAPIENTRY glLightModeli(GLenum pname, GLint param) { Rec("glLightModeli", E(pname), I(param)); }
void GLAPIENTRY glMaterialf(GLenum face, GLenum pname, GLfloat param) { Rec("glMaterialf", E(face), E(pname), F(param)); }
void GLAPIENTRY glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) { Rec("glMaterialfv", E(face), E(pname), Floats(params, VectorSize(pname))); }
void GLAPIENTRY glGetMaterialfv(GLenum face, GLenum pname, GLfloat* params) { Rec("glGetMaterialfv", E(face), E(pname), "out"); Answer(Active->Floats, pname, params); }
void GLAPIENTRY glFogf(GLenum pname, GLfloat param) { Rec("glFogf", E(pname), F(param)); }
void GLAPIENTRY glFogfv(GLenum pname, const GLfloat* params) { Rec("glFogfv", E(pname), Floats(params, VectorSize(pname))); }
void GLAPIENTRY glFogi(GLenum pname, GLint param) { Rec("glFogi", E(pname), IntParam(pname, param)); }
void GLAPIENTRY glGenTextures(GLsizei n, GLuint* textures)
{
    Rec("glGenTextures", I(n), "out");
    for (GLsizei K = 0; textures && K < n; ++K)
        textures[K] = Active->NextTextureName++;
}
void GLAPIENTRY glDeleteTextures(GLsizei n, const GLuint* textures) { Rec("glDeleteTextures", I(n), Names(n, textures)); }
void GLAPIENTRY glBindTexture(GLenum target, GLuint texture) { Rec("glBindTexture", E(target), I(texture)); }
GLboolean GLAPIENTRY glIsTexture(GLuint texture) { Rec("glIsTexture", I(texture)); return texture != 0 && texture < Active->NextTextureName; }
void GLAPIENTRY glTexImage1D(GLenum target, GLint level, GLint ifmt, GLsizei w, GLint border, GLenum fmt, GLenum type, const GLvoid* pixels)
{
    Rec("glTexImage1D", E(target), I(level), E(static_cast<GLenum>(ifmt)), I(w), I(border), E(fmt), E(type), P(pixels));
}
void GLAPIENTRY glTexImage2D(GLenum target, GLint level, GLint ifmt, GLsizei w, GLsizei h, GLint border, GLenum fmt, GLenum type, const GLvoid* pixels)
{
    Rec("glTexImage2D", E(target), I(level), E(static_cast<GLenum>(ifmt)), I(w), I(h), I(border), E(fmt), E(type), P(pixels));
}
void GLAPIENTRY glTexParameteri(GLenum target, GLenum pname, GLint param) { Rec("glTexParameteri", E(target), E(pname), IntParam(pname, param)); }
void GLAPIENTRY glTexParameterf(GLenum target, GLenum pname, GLfloat param) { Rec("glTexParameterf", E(target), E(pname), F(param)); }
void GLAPIENTRY glTexEnvi(GLenum target, GLenum pname, GLint param) { Rec("glTexEnvi", E(target), E(pname), IntParam(pname, param)); }
void GLAPIENTRY glTexEnvfv(GLenum target, GLenum pname, const GLfloat* params) { Rec("glTexEnvfv", E(target), E(pname), Floats(params, VectorSize(pname))); }
void GLAPIENTRY glTexGeni(GLenum coord, GLenum pname, GLint param) { Rec("glTexGeni", E(coord), E(pname), IntParam(pname, param)); }
void GLAPIENTRY glPixelStorei(GLenum pname, GLint param) { Rec("glPixelStorei", E(pname), I(param)); }
void GLAPIENTRY glReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum fmt, GLenum type, GLvoid*)
{
    Rec("glReadPixels", I(x), I(y), I(w), I(h), E(fmt), E(type), "out");
}
void GLAPIENTRY glEnableClientState(GLenum array) { Rec("glEnableClientState", E(array)); Active->ClientStates.insert(array); }
void GLAPIENTRY glDisableClientState(GLenum array) { Rec("glDisableClientState", E(array)); Active->ClientStates.erase(array); }
void GLAPIENTRY glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* ptr) { Rec("glVertexPointer", I(size), E(type), I(stride), P(ptr)); }
void GLAPIENTRY glNormalPointer(GLenum type, GLsizei stride, const GLvoid* ptr) { Rec("glNormalPointer", E(type), I(stride), P(ptr)); }
void GLAPIENTRY glColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* ptr) { Rec("glColorPointer", I(size), E(type), I(stride), P(ptr)); }
void GLAPIENTRY glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* ptr) { Rec("glTexCoordPointer", I(size), E(type), I(stride), P(ptr)); }
void GLAPIENTRY glDrawArrays(GLenum mode, GLint first, GLsizei count) { Rec("glDrawArrays", Mode(mode), I(first), I(count)); }
void GLAPIENTRY glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) { Rec("glDrawElements", Mode(mode), I(count), E(type), P(indices)); }
void GLAPIENTRY glColor4fv(const GLfloat* v) { Rec("glColor4fv", Floats(v, 4)); }
void GLAPIENTRY glNormal3fv(const GLfloat* v) { Rec("glNormal3fv", Floats(v, 3)); }
void GLAPIENTRY glActiveTexture(GLenum texture) { Rec("glActiveTexture", E(texture)); }
void GLAPIENTRY glClientActiveTexture(GLenum texture) { Rec("glClientActiveTexture", E(texture)); }

void GLAPIENTRY gluLookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz, GLdouble ux, GLdouble uy, GLdouble uz)
{
    Rec("gluLookAt", F(ex), F(ey), F(ez), F(cx), F(cy), F(cz), F(ux), F(uy), F(uz));
}

} // namespace Stub

} // namespace

std::string GLEnumName(GLenum Value)
{
    static const std::map<GLenum, const char*> Names = [] {
        std::map<GLenum, const char*> M;
#define GLIMMORA_GL_NAME(Name, Value) M.emplace(Value, #Name);
        GLIMMORA_GL_NAMED_ENUMS(GLIMMORA_GL_NAME)
#undef GLIMMORA_GL_NAME
        return M;
    }();
    auto It = Names.find(Value);
    if (It != Names.end())
        return It->second;
    char Buf[16];
    std::snprintf(Buf, sizeof(Buf), "0x%04X", Value);
    return Buf;
}

TRecordingGL::TRecordingGL() : FSaved(GetEntryPoints())
{
    if (Active)
        throw std::logic_error("TRecordingGL: only one recorder at a time");
    Active = this;
    TGLEntryPoints Stubs;
    // A stub missing here fails to compile: every entry point is covered.
#define GLIMMORA_GL_STUB(Ret, Name, Params) Stubs.Name = &Stub::Name;
    GLIMMORA_GL_ALL_ENTRIES(GLIMMORA_GL_STUB)
#undef GLIMMORA_GL_STUB
    SetEntryPoints(Stubs);
}

TRecordingGL::~TRecordingGL()
{
    SetEntryPoints(FSaved);
    Active = nullptr;
}

TRecordingGL& TRecordingGL::Current()
{
    if (!Active)
        throw std::logic_error("TRecordingGL: no recorder installed");
    return *Active;
}

std::vector<std::string> TRecordingGL::CallsOf(std::string_view Name) const
{
    std::vector<std::string> Result;
    for (const std::string& C : Calls)
        if (C.size() > Name.size() && C.compare(0, Name.size(), Name) == 0 && C[Name.size()] == '(')
            Result.push_back(C);
    return Result;
}

std::string TRecordingGL::PointerName(const void* Pointer) const
{
    if (!Pointer)
        return "NULL";
    auto It = FPointerNames.find(Pointer);
    return It != FPointerNames.end() ? It->second : "ptr";
}
