// The OpenGL and GLU entry points the program uses, loaded at run time from
// the system's libraries by name. The system GL header is not used: this
// header declares the types, constants and one function-pointer variable
// per entry point. Every GL call of the program goes through these
// variables, so tests can point them at recording stubs (GetEntryPoints /
// SetEntryPoints) or at a real library (LoadOpenGL, through the loader the
// program picked).
//
// The table holds the OpenGL 1.1 calls that the engine, the
// textures, the scene and the headless runs make, the few state queries the
// GL tests read back (glIsEnabled, glIsTexture, glGetLightfv,
// glGetMaterialfv), the two multitexture calls of OpenGL 1.3 that the
// drawing uses where the context offers them (these may stay null), and
// gluLookAt. A library that does not export one of the others is refused
// at load. A call joins the table when code first makes it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/DynamicLibrary.h"

// 32-bit Windows exports the GL and GLU entry points with the stdcall
// convention; everywhere else the platform's default convention is used.
#if defined(_WIN32) && !defined(_WIN64)
#define GLAPIENTRY __attribute__((stdcall))
#else
#define GLAPIENTRY
#endif

using GLenum = unsigned int;
using GLboolean = unsigned char;
using GLbitfield = unsigned int;
using GLbyte = signed char;
using GLshort = short;
using GLint = int;
using GLsizei = int;
using GLubyte = unsigned char;
using GLushort = unsigned short;
using GLuint = unsigned int;
using GLfloat = float;
using GLclampf = float;
using GLdouble = double;
using GLclampd = double;
using GLvoid = void;

// Constants. GLIMMORA_GL_NAMED_ENUMS lists the values that are unique
// names (a value maps back to one name); GLIMMORA_GL_OTHER_ENUMS the
// small values and bit masks whose meaning depends on the argument.
#define GLIMMORA_GL_NAMED_ENUMS(X) \
    X(GL_DEPTH_BUFFER_BIT, 0x0100) \
    X(GL_NEVER, 0x0200) X(GL_LESS, 0x0201) X(GL_EQUAL, 0x0202) X(GL_LEQUAL, 0x0203) \
    X(GL_GREATER, 0x0204) X(GL_NOTEQUAL, 0x0205) X(GL_GEQUAL, 0x0206) X(GL_ALWAYS, 0x0207) \
    X(GL_SRC_COLOR, 0x0300) X(GL_ONE_MINUS_SRC_COLOR, 0x0301) X(GL_SRC_ALPHA, 0x0302) \
    X(GL_ONE_MINUS_SRC_ALPHA, 0x0303) X(GL_DST_ALPHA, 0x0304) X(GL_ONE_MINUS_DST_ALPHA, 0x0305) \
    X(GL_DST_COLOR, 0x0306) X(GL_ONE_MINUS_DST_COLOR, 0x0307) X(GL_SRC_ALPHA_SATURATE, 0x0308) \
    X(GL_FRONT, 0x0404) X(GL_BACK, 0x0405) X(GL_FRONT_AND_BACK, 0x0408) \
    X(GL_INVALID_ENUM, 0x0500) X(GL_INVALID_VALUE, 0x0501) X(GL_INVALID_OPERATION, 0x0502) \
    X(GL_STACK_OVERFLOW, 0x0503) X(GL_STACK_UNDERFLOW, 0x0504) X(GL_OUT_OF_MEMORY, 0x0505) \
    X(GL_EXP, 0x0800) X(GL_EXP2, 0x0801) X(GL_CW, 0x0900) X(GL_CCW, 0x0901) \
    X(GL_CURRENT_COLOR, 0x0B00) X(GL_CURRENT_NORMAL, 0x0B02) \
    X(GL_POINT_SMOOTH, 0x0B10) X(GL_POINT_SIZE, 0x0B11) X(GL_LINE_SMOOTH, 0x0B20) X(GL_LINE_WIDTH, 0x0B21) \
    X(GL_POLYGON_MODE, 0x0B40) X(GL_POLYGON_SMOOTH, 0x0B41) X(GL_CULL_FACE, 0x0B44) \
    X(GL_CULL_FACE_MODE, 0x0B45) X(GL_FRONT_FACE, 0x0B46) \
    X(GL_LIGHTING, 0x0B50) X(GL_LIGHT_MODEL_LOCAL_VIEWER, 0x0B51) X(GL_LIGHT_MODEL_TWO_SIDE, 0x0B52) \
    X(GL_LIGHT_MODEL_AMBIENT, 0x0B53) X(GL_SHADE_MODEL, 0x0B54) X(GL_COLOR_MATERIAL, 0x0B57) \
    X(GL_FOG, 0x0B60) X(GL_FOG_DENSITY, 0x0B62) X(GL_FOG_START, 0x0B63) X(GL_FOG_END, 0x0B64) \
    X(GL_FOG_MODE, 0x0B65) X(GL_FOG_COLOR, 0x0B66) \
    X(GL_DEPTH_RANGE, 0x0B70) X(GL_DEPTH_TEST, 0x0B71) X(GL_DEPTH_WRITEMASK, 0x0B72) \
    X(GL_DEPTH_CLEAR_VALUE, 0x0B73) X(GL_DEPTH_FUNC, 0x0B74) X(GL_STENCIL_TEST, 0x0B90) \
    X(GL_MATRIX_MODE, 0x0BA0) X(GL_NORMALIZE, 0x0BA1) X(GL_VIEWPORT, 0x0BA2) \
    X(GL_MODELVIEW_MATRIX, 0x0BA6) X(GL_PROJECTION_MATRIX, 0x0BA7) \
    X(GL_ALPHA_TEST, 0x0BC0) X(GL_ALPHA_TEST_FUNC, 0x0BC1) X(GL_ALPHA_TEST_REF, 0x0BC2) \
    X(GL_DITHER, 0x0BD0) X(GL_BLEND_DST, 0x0BE0) X(GL_BLEND_SRC, 0x0BE1) X(GL_BLEND, 0x0BE2) \
    X(GL_DRAW_BUFFER, 0x0C01) X(GL_READ_BUFFER, 0x0C02) X(GL_SCISSOR_TEST, 0x0C11) \
    X(GL_COLOR_CLEAR_VALUE, 0x0C22) X(GL_DOUBLEBUFFER, 0x0C32) \
    X(GL_PERSPECTIVE_CORRECTION_HINT, 0x0C50) X(GL_POINT_SMOOTH_HINT, 0x0C51) \
    X(GL_LINE_SMOOTH_HINT, 0x0C52) X(GL_POLYGON_SMOOTH_HINT, 0x0C53) X(GL_FOG_HINT, 0x0C54) \
    X(GL_TEXTURE_GEN_S, 0x0C60) X(GL_TEXTURE_GEN_T, 0x0C61) X(GL_TEXTURE_GEN_R, 0x0C62) \
    X(GL_TEXTURE_GEN_Q, 0x0C63) X(GL_UNPACK_ALIGNMENT, 0x0CF5) X(GL_PACK_ALIGNMENT, 0x0D05) \
    X(GL_MAX_LIGHTS, 0x0D31) X(GL_MAX_TEXTURE_SIZE, 0x0D33) X(GL_MAX_MODELVIEW_STACK_DEPTH, 0x0D36) \
    X(GL_MAX_NAME_STACK_DEPTH, 0x0D37) X(GL_MAX_PROJECTION_STACK_DEPTH, 0x0D38) \
    X(GL_MAX_VIEWPORT_DIMS, 0x0D3A) X(GL_RED_BITS, 0x0D52) X(GL_GREEN_BITS, 0x0D53) \
    X(GL_BLUE_BITS, 0x0D54) X(GL_ALPHA_BITS, 0x0D55) X(GL_DEPTH_BITS, 0x0D56) X(GL_STENCIL_BITS, 0x0D57) \
    X(GL_TEXTURE_1D, 0x0DE0) X(GL_TEXTURE_2D, 0x0DE1) \
    X(GL_TEXTURE_WIDTH, 0x1000) X(GL_TEXTURE_HEIGHT, 0x1001) X(GL_TEXTURE_BORDER_COLOR, 0x1004) \
    X(GL_DONT_CARE, 0x1100) X(GL_FASTEST, 0x1101) X(GL_NICEST, 0x1102) \
    X(GL_AMBIENT, 0x1200) X(GL_DIFFUSE, 0x1201) X(GL_SPECULAR, 0x1202) X(GL_POSITION, 0x1203) \
    X(GL_SPOT_DIRECTION, 0x1204) X(GL_SPOT_EXPONENT, 0x1205) X(GL_SPOT_CUTOFF, 0x1206) \
    X(GL_CONSTANT_ATTENUATION, 0x1207) X(GL_LINEAR_ATTENUATION, 0x1208) \
    X(GL_QUADRATIC_ATTENUATION, 0x1209) \
    X(GL_BYTE, 0x1400) X(GL_UNSIGNED_BYTE, 0x1401) X(GL_SHORT, 0x1402) X(GL_UNSIGNED_SHORT, 0x1403) \
    X(GL_INT, 0x1404) X(GL_UNSIGNED_INT, 0x1405) X(GL_FLOAT, 0x1406) X(GL_DOUBLE, 0x140A) \
    X(GL_EMISSION, 0x1600) X(GL_SHININESS, 0x1601) X(GL_AMBIENT_AND_DIFFUSE, 0x1602) \
    X(GL_MODELVIEW, 0x1700) X(GL_PROJECTION, 0x1701) X(GL_TEXTURE, 0x1702) \
    X(GL_COLOR, 0x1800) X(GL_DEPTH, 0x1801) X(GL_STENCIL, 0x1802) \
    X(GL_STENCIL_INDEX, 0x1901) X(GL_DEPTH_COMPONENT, 0x1902) X(GL_RED, 0x1903) X(GL_GREEN, 0x1904) \
    X(GL_BLUE, 0x1905) X(GL_ALPHA, 0x1906) X(GL_RGB, 0x1907) X(GL_RGBA, 0x1908) \
    X(GL_LUMINANCE, 0x1909) X(GL_LUMINANCE_ALPHA, 0x190A) \
    X(GL_POINT, 0x1B00) X(GL_LINE, 0x1B01) X(GL_FILL, 0x1B02) \
    X(GL_FLAT, 0x1D00) X(GL_SMOOTH, 0x1D01) \
    X(GL_KEEP, 0x1E00) X(GL_REPLACE, 0x1E01) X(GL_INCR, 0x1E02) X(GL_DECR, 0x1E03) \
    X(GL_VENDOR, 0x1F00) X(GL_RENDERER, 0x1F01) X(GL_VERSION, 0x1F02) X(GL_EXTENSIONS, 0x1F03) \
    X(GL_S, 0x2000) X(GL_T, 0x2001) X(GL_R, 0x2002) X(GL_Q, 0x2003) \
    X(GL_MODULATE, 0x2100) X(GL_DECAL, 0x2101) X(GL_TEXTURE_ENV_MODE, 0x2200) \
    X(GL_TEXTURE_ENV_COLOR, 0x2201) X(GL_TEXTURE_ENV, 0x2300) \
    X(GL_EYE_LINEAR, 0x2400) X(GL_OBJECT_LINEAR, 0x2401) X(GL_SPHERE_MAP, 0x2402) \
    X(GL_TEXTURE_GEN_MODE, 0x2500) X(GL_OBJECT_PLANE, 0x2501) X(GL_EYE_PLANE, 0x2502) \
    X(GL_NEAREST, 0x2600) X(GL_LINEAR, 0x2601) \
    X(GL_NEAREST_MIPMAP_NEAREST, 0x2700) X(GL_LINEAR_MIPMAP_NEAREST, 0x2701) \
    X(GL_NEAREST_MIPMAP_LINEAR, 0x2702) X(GL_LINEAR_MIPMAP_LINEAR, 0x2703) \
    X(GL_TEXTURE_MAG_FILTER, 0x2800) X(GL_TEXTURE_MIN_FILTER, 0x2801) \
    X(GL_TEXTURE_WRAP_S, 0x2802) X(GL_TEXTURE_WRAP_T, 0x2803) X(GL_CLAMP, 0x2900) X(GL_REPEAT, 0x2901) \
    X(GL_LIGHT0, 0x4000) X(GL_LIGHT1, 0x4001) X(GL_LIGHT2, 0x4002) X(GL_LIGHT3, 0x4003) \
    X(GL_LIGHT4, 0x4004) X(GL_LIGHT5, 0x4005) X(GL_LIGHT6, 0x4006) X(GL_LIGHT7, 0x4007) \
    X(GL_POLYGON_OFFSET_FILL, 0x8037) X(GL_RESCALE_NORMAL, 0x803A) X(GL_RGB8, 0x8051) X(GL_RGBA8, 0x8058) \
    X(GL_TEXTURE_PRIORITY, 0x8066) X(GL_TEXTURE_BINDING_1D, 0x8068) X(GL_TEXTURE_BINDING_2D, 0x8069) \
    X(GL_VERTEX_ARRAY, 0x8074) X(GL_NORMAL_ARRAY, 0x8075) X(GL_COLOR_ARRAY, 0x8076) \
    X(GL_INDEX_ARRAY, 0x8077) X(GL_TEXTURE_COORD_ARRAY, 0x8078) \
    X(GL_BGR, 0x80E0) X(GL_BGRA, 0x80E1) X(GL_CLAMP_TO_EDGE, 0x812F) \
    X(GL_TEXTURE0, 0x84C0) X(GL_TEXTURE1, 0x84C1) X(GL_TEXTURE2, 0x84C2) X(GL_MAX_TEXTURE_UNITS, 0x84E2) \
    X(GL_COMBINE, 0x8570) X(GL_COMBINE_RGB, 0x8571) X(GL_COMBINE_ALPHA, 0x8572) X(GL_RGB_SCALE, 0x8573) \
    X(GL_ADD_SIGNED, 0x8574) X(GL_INTERPOLATE, 0x8575) X(GL_CONSTANT, 0x8576) X(GL_PRIMARY_COLOR, 0x8577) \
    X(GL_PREVIOUS, 0x8578) X(GL_SOURCE0_RGB, 0x8580) X(GL_SOURCE1_RGB, 0x8581) X(GL_SOURCE2_RGB, 0x8582) \
    X(GL_SOURCE0_ALPHA, 0x8588) X(GL_SOURCE1_ALPHA, 0x8589) X(GL_SOURCE2_ALPHA, 0x858A) \
    X(GL_OPERAND0_RGB, 0x8590) X(GL_OPERAND1_RGB, 0x8591) X(GL_OPERAND2_RGB, 0x8592) \
    X(GL_OPERAND0_ALPHA, 0x8598) X(GL_OPERAND1_ALPHA, 0x8599) X(GL_OPERAND2_ALPHA, 0x859A)

#define GLIMMORA_GL_OTHER_ENUMS(X) \
    X(GL_FALSE, 0) X(GL_TRUE, 1) X(GL_NO_ERROR, 0) X(GL_ZERO, 0) X(GL_ONE, 1) \
    X(GL_POINTS, 0) X(GL_LINES, 1) X(GL_LINE_LOOP, 2) X(GL_LINE_STRIP, 3) X(GL_TRIANGLES, 4) \
    X(GL_TRIANGLE_STRIP, 5) X(GL_TRIANGLE_FAN, 6) X(GL_QUADS, 7) X(GL_QUAD_STRIP, 8) X(GL_POLYGON, 9) \
    X(GL_ACCUM_BUFFER_BIT, 0x0200) X(GL_STENCIL_BUFFER_BIT, 0x0400) X(GL_COLOR_BUFFER_BIT, 0x4000)

#define GLIMMORA_GL_DECLARE_ENUM(Name, Value) inline constexpr GLenum Name = Value;
GLIMMORA_GL_NAMED_ENUMS(GLIMMORA_GL_DECLARE_ENUM)
GLIMMORA_GL_OTHER_ENUMS(GLIMMORA_GL_DECLARE_ENUM)
#undef GLIMMORA_GL_DECLARE_ENUM

// OpenGL entry points: X(result, name, parameter list).
#define GLIMMORA_GL_ENTRIES(X) \
    X(GLenum, glGetError, (void)) \
    X(const GLubyte*, glGetString, (GLenum name)) \
    X(void, glGetIntegerv, (GLenum pname, GLint* params)) \
    X(GLboolean, glIsEnabled, (GLenum cap)) \
    X(void, glEnable, (GLenum cap)) \
    X(void, glDisable, (GLenum cap)) \
    X(void, glHint, (GLenum target, GLenum mode)) \
    X(void, glFlush, (void)) \
    X(void, glFinish, (void)) \
    X(void, glViewport, (GLint x, GLint y, GLsizei width, GLsizei height)) \
    X(void, glClear, (GLbitfield mask)) \
    X(void, glClearColor, (GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha)) \
    X(void, glDepthFunc, (GLenum func)) \
    X(void, glShadeModel, (GLenum mode)) \
    X(void, glPolygonMode, (GLenum face, GLenum mode)) \
    X(void, glBlendFunc, (GLenum sfactor, GLenum dfactor)) \
    X(void, glAlphaFunc, (GLenum func, GLclampf ref)) \
    X(void, glMatrixMode, (GLenum mode)) \
    X(void, glLoadIdentity, (void)) \
    X(void, glPushMatrix, (void)) \
    X(void, glPopMatrix, (void)) \
    X(void, glTranslatef, (GLfloat x, GLfloat y, GLfloat z)) \
    X(void, glRotatef, (GLfloat angle, GLfloat x, GLfloat y, GLfloat z)) \
    X(void, glFrustum, (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar)) \
    X(void, glOrtho, (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar)) \
    X(void, glLightf, (GLenum light, GLenum pname, GLfloat param)) \
    X(void, glLightfv, (GLenum light, GLenum pname, const GLfloat* params)) \
    X(void, glGetLightfv, (GLenum light, GLenum pname, GLfloat* params)) \
    X(void, glLightModelfv, (GLenum pname, const GLfloat* params)) \
    X(void, glLightModeli, (GLenum pname, GLint param)) \
    X(void, glMaterialf, (GLenum face, GLenum pname, GLfloat param)) \
    X(void, glMaterialfv, (GLenum face, GLenum pname, const GLfloat* params)) \
    X(void, glGetMaterialfv, (GLenum face, GLenum pname, GLfloat* params)) \
    X(void, glFogf, (GLenum pname, GLfloat param)) \
    X(void, glFogfv, (GLenum pname, const GLfloat* params)) \
    X(void, glFogi, (GLenum pname, GLint param)) \
    X(void, glGenTextures, (GLsizei n, GLuint* textures)) \
    X(void, glDeleteTextures, (GLsizei n, const GLuint* textures)) \
    X(void, glBindTexture, (GLenum target, GLuint texture)) \
    X(GLboolean, glIsTexture, (GLuint texture)) \
    X(void, glTexImage1D, (GLenum target, GLint level, GLint internalformat, GLsizei width, GLint border, GLenum format, GLenum type, const GLvoid* pixels)) \
    X(void, glTexImage2D, (GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height, GLint border, GLenum format, GLenum type, const GLvoid* pixels)) \
    X(void, glTexParameteri, (GLenum target, GLenum pname, GLint param)) \
    X(void, glTexParameterf, (GLenum target, GLenum pname, GLfloat param)) \
    X(void, glTexEnvi, (GLenum target, GLenum pname, GLint param)) \
    X(void, glTexEnvfv, (GLenum target, GLenum pname, const GLfloat* params)) \
    X(void, glTexGeni, (GLenum coord, GLenum pname, GLint param)) \
    X(void, glPixelStorei, (GLenum pname, GLint param)) \
    X(void, glReadPixels, (GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid* pixels)) \
    X(void, glEnableClientState, (GLenum array)) \
    X(void, glDisableClientState, (GLenum array)) \
    X(void, glVertexPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid* pointer)) \
    X(void, glNormalPointer, (GLenum type, GLsizei stride, const GLvoid* pointer)) \
    X(void, glColorPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid* pointer)) \
    X(void, glTexCoordPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid* pointer)) \
    X(void, glDrawArrays, (GLenum mode, GLint first, GLsizei count)) \
    X(void, glDrawElements, (GLenum mode, GLsizei count, GLenum type, const GLvoid* indices)) \
    X(void, glColor4fv, (const GLfloat* v)) \
    X(void, glNormal3fv, (const GLfloat* v))

// OpenGL 1.3 multitexturing, which OpenGL 1.1 libraries lack: fetched by
// these names or, failing that, with the ARB suffix (GL_ARB_multitexture);
// null where neither is exported. A null one keeps the program on the
// OpenGL 1.1 drawing path.
#define GLIMMORA_GL_MULTITEXTURE_ENTRIES(X) \
    X(void, glActiveTexture, (GLenum texture)) \
    X(void, glClientActiveTexture, (GLenum texture))

// GLU entry points.
#define GLIMMORA_GLU_ENTRIES(X) \
    X(void, gluLookAt, (GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY, GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ))

#define GLIMMORA_GL_ALL_ENTRIES(X) \
    GLIMMORA_GL_ENTRIES(X) GLIMMORA_GL_MULTITEXTURE_ENTRIES(X) GLIMMORA_GLU_ENTRIES(X)

// The variables live in a namespace so that they never clash with the
// exported symbols of a system library; the using-declarations below let
// the program call them by their usual names.
namespace OpenGL12 {
#define GLIMMORA_GL_DECLARE_ENTRY(Ret, Name, Params) \
    using PFN_##Name = Ret(GLAPIENTRY*) Params; \
    extern PFN_##Name Name;
GLIMMORA_GL_ALL_ENTRIES(GLIMMORA_GL_DECLARE_ENTRY)
#undef GLIMMORA_GL_DECLARE_ENTRY

// A copy of the whole table, for tests that swap it and put it back.
struct TGLEntryPoints {
#define GLIMMORA_GL_TABLE_FIELD(Ret, Name, Params) PFN_##Name Name = nullptr;
    GLIMMORA_GL_ALL_ENTRIES(GLIMMORA_GL_TABLE_FIELD)
#undef GLIMMORA_GL_TABLE_FIELD
};
} // namespace OpenGL12

#define GLIMMORA_GL_USE_ENTRY(Ret, Name, Params) using OpenGL12::Name;
GLIMMORA_GL_ALL_ENTRIES(GLIMMORA_GL_USE_ENTRY)
#undef GLIMMORA_GL_USE_ENTRY

using OpenGL12::TGLEntryPoints;

// Closes any loaded libraries, then loads both by name through Loader
// (which must outlive the loaded libraries' use). If either is
// missing, frees the one that loaded, leaves both unloaded and returns
// false. Otherwise fetches every entry point and returns true; when one of
// them is not exported, both libraries are freed, every entry stays null
// and an EGlimmoraError "Load library failed: NAME is not found in
// LIBRARY!" names the entry and the library.
bool LoadOpenGL(ILibraryLoader& Loader, const std::string& OpenGLLibName, const std::string& GLULibName);
// Fetches each multitexture entry point the library did not export from
// the current context's driver (Entry: the context backend's
// ContextEntry), by its name or with the ARB suffix; one that neither
// gives stays null, keeping the drawing on its OpenGL 1.1 passes.
void LoadContextEntryPoints(const std::function<void*(const char*)>& Entry);
// Frees the OpenGL library, then the GLU library, and clears every entry
// point. Runs again at program exit.
void CloseOpenGL();
// Whether each library is loaded now.
bool OpenGLLoaded();
bool GLULoaded();

TGLEntryPoints GetEntryPoints();
void SetEntryPoints(const TGLEntryPoints& Table);
