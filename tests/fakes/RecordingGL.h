// Recording stubs for the whole OpenGL entry-point table (gl/OpenGL12.h).
//
// While a TRecordingGL lives, every GL and GLU call of the program lands in
// a stub that appends one readable line to Calls, arguments comma-separated
// without blanks:
//
//   glEnable(GL_LIGHTING)
//   glLightfv(GL_LIGHT0,GL_POSITION,0,1,1,0)      arrays: their values
//   glDrawArrays(GL_TRIANGLES,0,3)                 modes, blend factors,
//   glClear(GL_COLOR_BUFFER_BIT|GL_DEPTH_BUFFER_BIT)   masks by name
//   glVertexPointer(3,GL_FLOAT,12,Vertices)        pointers: a name given
//                                                  with NamePointer, else
//                                                  "ptr" (null: "NULL")
//   glGenTextures(1,out)                           outputs: "out"
//
// Floats print in their shortest exact form (0.2, not 0.200000003).
// Queries answer from the fields below. The previous table comes back when
// the recorder is destroyed. One recorder at a time.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "gl/OpenGL12.h"

class TRecordingGL {
public:
    TRecordingGL();
    ~TRecordingGL();
    TRecordingGL(const TRecordingGL&) = delete;
    TRecordingGL& operator=(const TRecordingGL&) = delete;

    std::vector<std::string> Calls;

    // glGetError answers these in order, then GL_NO_ERROR.
    std::vector<GLenum> PendingErrors;
    // glGetString answers; "" when absent.
    std::map<GLenum, std::string> Strings;
    // glGetIntegerv and glGetLightfv / glGetMaterialfv answers; a single 0
    // when absent.
    std::map<GLenum, std::vector<GLint>> Integers;
    std::map<GLenum, std::vector<GLfloat>> Floats;
    // Capabilities switched on by glEnable and off by glDisable; glIsEnabled
    // reads it.
    std::set<GLenum> Enabled;
    std::set<GLenum> ClientStates;
    // glGenTextures hands out names counting up from here.
    GLuint NextTextureName = 1;

    void Clear() { Calls.clear(); }
    void NamePointer(const void* Pointer, std::string Name) { FPointerNames[Pointer] = std::move(Name); }
    // The calls of one entry point, e.g. CallsOf("glLightfv").
    std::vector<std::string> CallsOf(std::string_view Name) const;

    static TRecordingGL& Current();
    void Record(std::string Line) { Calls.push_back(std::move(Line)); }
    std::string PointerName(const void* Pointer) const;

private:
    TGLEntryPoints FSaved;
    std::map<const void*, std::string> FPointerNames;
};

// Name of a GL constant as the recorder prints it ("0x1234" if unknown).
std::string GLEnumName(GLenum Value);
