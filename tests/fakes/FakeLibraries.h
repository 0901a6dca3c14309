// Library loaders for tests: the system's own, made once, and a fake.
//
// The fake knows two names, "fake-gl" and "fake-glu" (its system names),
// and refuses every other. Its libraries answer each GL entry point with
// the one installed when the loader was made (LoadOpenGL clears the table
// before it loads): a loader made under a TRecordingGL hands the engine the
// recording stubs, so the engine's calls are recorded.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "gl/OpenGL12.h"
#include "platform/DynamicLibrary.h"
#include "fakes/SystemBackends.h"

// The system's loader, made once: tests that load the real libraries.
inline ILibraryLoader& SystemLibraries()
{
    static const std::unique_ptr<ILibraryLoader> Loader = CreateSystemLibraryLoader();
    return *Loader;
}

class TFakeLibraryLoader : public ILibraryLoader {
public:
    std::vector<std::string> Loaded;   // every name asked for, in order

    std::unique_ptr<IDynamicLibrary> Load(const std::string& Name) override
    {
        Loaded.push_back(Name);
        if (Name != SystemOpenGLLibName() && Name != SystemGLULibName())
            return nullptr;
        return std::make_unique<TTableLibrary>(FTable);
    }
    std::string SystemOpenGLLibName() const override { return "fake-gl"; }
    std::string SystemGLULibName() const override { return "fake-glu"; }

private:
    TGLEntryPoints FTable = GetEntryPoints();

    class TTableLibrary : public IDynamicLibrary {
    public:
        explicit TTableLibrary(const TGLEntryPoints& Table) : FTable(Table) {}
        void* Symbol(const char* Name) override
        {
#define GLIMMORA_FAKE_SYMBOL(Ret, Entry, Params) \
    if (std::strcmp(Name, #Entry) == 0)          \
        return reinterpret_cast<void*>(FTable.Entry);
            GLIMMORA_GL_ALL_ENTRIES(GLIMMORA_FAKE_SYMBOL)
#undef GLIMMORA_FAKE_SYMBOL
            return nullptr;
        }

    private:
        TGLEntryPoints FTable;
    };
};
