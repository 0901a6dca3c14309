// A library planted next to the saver under the name of a system library
// (GLU32.DLL, OPENGL32.dll, WINMM.dll): when anything loads it, its entry
// leaves a file beside it, named after it with ".loaded" added. It exports
// the names the saver takes from those libraries, so a program that
// imported it would start with it; none of them does anything useful.
//
// The system headers are left out on purpose: they declare these names as
// imports. The few kernel32 calls needed are declared here.
#include <cstdint>

#define PLANTED_API __attribute__((stdcall))

extern "C" {
__declspec(dllimport) unsigned long PLANTED_API GetModuleFileNameW(void* Module, wchar_t* Name, unsigned long Size);
__declspec(dllimport) void* PLANTED_API CreateFileW(const wchar_t* Name, unsigned long Access, unsigned long Share,
                                                    void* Security, unsigned long Disposition, unsigned long Flags,
                                                    void* Template);
__declspec(dllimport) int PLANTED_API CloseHandle(void* Handle);
}

namespace {

constexpr unsigned long MaxPath = 260;
constexpr unsigned long GenericWrite = 0x40000000;
constexpr unsigned long CreateAlways = 2;
constexpr unsigned long NormalFile = 0x80;
constexpr unsigned long ProcessAttach = 1;

void LeaveMarker(void* Module)
{
    wchar_t Path[MaxPath + 16] = {};
    const unsigned long Length = GetModuleFileNameW(Module, Path, MaxPath);
    if (Length == 0 || Length >= MaxPath)
        return;
    const wchar_t Suffix[] = L".loaded";
    for (unsigned long I = 0; I < sizeof(Suffix) / sizeof(Suffix[0]); ++I)
        Path[Length + I] = Suffix[I];
    void* File = CreateFileW(Path, GenericWrite, 0, nullptr, CreateAlways, NormalFile, nullptr);
    if (File != reinterpret_cast<void*>(static_cast<intptr_t>(-1)))
        CloseHandle(File);
}

} // namespace

extern "C" int PLANTED_API DllMain(void* Module, unsigned long Reason, void*)
{
    if (Reason == ProcessAttach)
        LeaveMarker(Module);
    return 1;
}

// The exports, each with its entry's own argument sizes (the 32-bit build
// pops them); --kill-at drops the stdcall decoration of their names.
extern "C" {
__declspec(dllexport) unsigned long PLANTED_API timeGetTime() { return 0; }
__declspec(dllexport) unsigned PLANTED_API timeGetDevCaps(void*, unsigned) { return 1; }
__declspec(dllexport) unsigned PLANTED_API timeBeginPeriod(unsigned) { return 1; }
__declspec(dllexport) unsigned PLANTED_API timeEndPeriod(unsigned) { return 1; }
__declspec(dllexport) int PLANTED_API PlaySoundA(const char*, void*, unsigned long) { return 0; }
__declspec(dllexport) void* PLANTED_API wglCreateContext(void*) { return nullptr; }
__declspec(dllexport) int PLANTED_API wglDeleteContext(void*) { return 0; }
__declspec(dllexport) int PLANTED_API wglMakeCurrent(void*, void*) { return 0; }
__declspec(dllexport) void PLANTED_API gluLookAt(double, double, double, double, double, double, double, double,
                                                 double)
{
}
}
