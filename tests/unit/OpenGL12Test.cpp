#include <gtest/gtest.h>

#include <cfenv>
#include <cstring>
#include <memory>

#include "fakes/FakeLibraries.h"
#include "fakes/RecordingGL.h"
#include "gl/Errors.h"
#include "gl/OpenGL12.h"
#include "gl/FloatControl.h"
#include "platform/DynamicLibrary.h"

namespace {

bool AnyEntrySet()
{
    const TGLEntryPoints T = GetEntryPoints();
    bool Any = false;
#define CHECK_ENTRY(Ret, Name, Params) Any = Any || T.Name != nullptr;
    GLIMMORA_GL_ALL_ENTRIES(CHECK_ENTRY)
#undef CHECK_ENTRY
    return Any;
}

class OpenGL12Test : public ::testing::Test {
protected:
    void TearDown() override { CloseOpenGL(); }
};

TEST_F(OpenGL12Test, LoadsTheSystemLibrariesAndCloseClearsEveryEntry)
{
    ASSERT_TRUE(LoadOpenGL(SystemLibraries(), SystemLibraries().SystemOpenGLLibName(), SystemLibraries().SystemGLULibName()));
    EXPECT_TRUE(OpenGLLoaded());
    EXPECT_TRUE(GLULoaded());
    // Entry points every OpenGL 1.1 library and GLU export.
    EXPECT_NE(glGetError, nullptr);
    EXPECT_NE(glDrawElements, nullptr);
    EXPECT_NE(glBindTexture, nullptr);
    EXPECT_NE(glLightfv, nullptr);
    EXPECT_NE(gluLookAt, nullptr);

    CloseOpenGL();
    EXPECT_FALSE(OpenGLLoaded());
    EXPECT_FALSE(GLULoaded());
    EXPECT_FALSE(AnyEntrySet());
}

struct TMissingCase {
    bool GLMissing;
    bool GLUMissing;
};

class OpenGL12MissingTest : public ::testing::TestWithParam<TMissingCase> {
protected:
    void TearDown() override { CloseOpenGL(); }
};

TEST_P(OpenGL12MissingTest, AMissingLibraryLeavesBothUnloaded)
{
    // A successful load first, so the failing one must also close it.
    ASSERT_TRUE(LoadOpenGL(SystemLibraries(), SystemLibraries().SystemOpenGLLibName(), SystemLibraries().SystemGLULibName()));
    const std::string GL = GetParam().GLMissing ? "NoSuchOpenGL.dll" : SystemLibraries().SystemOpenGLLibName();
    const std::string GLU = GetParam().GLUMissing ? "NoSuchGLU.dll" : SystemLibraries().SystemGLULibName();
    EXPECT_FALSE(LoadOpenGL(SystemLibraries(), GL, GLU));
    EXPECT_FALSE(OpenGLLoaded());
    EXPECT_FALSE(GLULoaded());
    EXPECT_FALSE(AnyEntrySet());
}

INSTANTIATE_TEST_SUITE_P(Libraries, OpenGL12MissingTest,
                         ::testing::Values(TMissingCase{true, false}, TMissingCase{false, true},
                                           TMissingCase{true, true}));

// The fake libraries of a loader that lack one entry point: the library
// named Library does not export Entry.
class TLibraryWithoutEntry final : public TFakeLibraryLoader {
public:
    TLibraryWithoutEntry(std::string Library, std::string Entry) : FLibrary(std::move(Library)), FEntry(std::move(Entry))
    {
    }
    std::unique_ptr<IDynamicLibrary> Load(const std::string& Name) override
    {
        auto Library = TFakeLibraryLoader::Load(Name);
        if (!Library || Name != FLibrary)
            return Library;
        return std::make_unique<TWithout>(std::move(Library), FEntry);
    }

private:
    class TWithout final : public IDynamicLibrary {
    public:
        TWithout(std::unique_ptr<IDynamicLibrary> Inner, std::string Entry)
            : FInner(std::move(Inner)), FEntry(std::move(Entry))
        {
        }
        void* Symbol(const char* Name) override { return FEntry == Name ? nullptr : FInner->Symbol(Name); }

    private:
        std::unique_ptr<IDynamicLibrary> FInner;
        std::string FEntry;
    };
    std::string FLibrary;
    std::string FEntry;
};

struct TMissingEntryCase {
    const char* Library;
    const char* Entry;
};

class OpenGL12MissingEntryTest : public ::testing::TestWithParam<TMissingEntryCase> {
protected:
    void TearDown() override { CloseOpenGL(); }
};

TEST_P(OpenGL12MissingEntryTest, AMissingEntryIsAnErrorNamingItAndTheLibrary)
{
    TRecordingGL Rec;   // every entry answered, so only the dropped one lacks
    TLibraryWithoutEntry Loader(GetParam().Library, GetParam().Entry);
    try {
        LoadOpenGL(Loader, "fake-gl", "fake-glu");
        FAIL() << "no error for a library without " << GetParam().Entry;
    } catch (const EGlimmoraError& E) {
        EXPECT_EQ(std::string(E.what()), std::string("Load library failed: ") + GetParam().Entry +
                                             " is not found in " + GetParam().Library + "!");
    }
    EXPECT_FALSE(OpenGLLoaded());
    EXPECT_FALSE(GLULoaded());
    EXPECT_FALSE(AnyEntrySet());
}

INSTANTIATE_TEST_SUITE_P(Entries, OpenGL12MissingEntryTest,
                         ::testing::Values(TMissingEntryCase{"fake-gl", "glDrawElements"},
                                           TMissingEntryCase{"fake-gl", "glGetError"},
                                           TMissingEntryCase{"fake-gl", "glNormal3fv"},
                                           TMissingEntryCase{"fake-glu", "gluLookAt"}));

TEST(OpenGL12LoadTest, EveryEntryOfCompleteLibrariesIsInstalled)
{
    TRecordingGL Rec;
    TFakeLibraryLoader Loader;
    const TGLEntryPoints Stubs = GetEntryPoints();
    ASSERT_TRUE(LoadOpenGL(Loader, "fake-gl", "fake-glu"));
    const TGLEntryPoints T = GetEntryPoints();
    EXPECT_EQ(T.glDrawElements, Stubs.glDrawElements);
    EXPECT_EQ(T.gluLookAt, Stubs.gluLookAt);
    CloseOpenGL();
}

TEST(RecordingGLTest, InstallsStubsForEveryEntryAndRestoresTheTable)
{
    const TGLEntryPoints Before = GetEntryPoints();
    {
        TRecordingGL Rec;
        const TGLEntryPoints T = GetEntryPoints();
        bool AllSet = true;
#define CHECK_ENTRY(Ret, Name, Params) AllSet = AllSet && T.Name != nullptr;
        GLIMMORA_GL_ALL_ENTRIES(CHECK_ENTRY)
#undef CHECK_ENTRY
        EXPECT_TRUE(AllSet);
    }
    const TGLEntryPoints After = GetEntryPoints();
    EXPECT_EQ(After.glEnable, Before.glEnable);
    EXPECT_EQ(After.gluLookAt, Before.gluLookAt);
}

TEST(RecordingGLTest, WritesCallsReadably)
{
    TRecordingGL Rec;
    const float Pos[4] = {0.0f, 1.0f, 1.0f, 0.0f};
    const float Grey[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    const int Data[3] = {0, 1, 2};
    Rec.NamePointer(Data, "Data");
    glEnable(GL_LIGHTING);
    glLightfv(GL_LIGHT0, GL_POSITION, Pos);
    glMaterialfv(GL_FRONT, GL_AMBIENT, Grey);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDrawElements(GL_TRIANGLES, 3, GL_UNSIGNED_INT, Data);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glFrustum(-2, 2, -1, 1, 1, 100);
    glVertexPointer(3, GL_FLOAT, 12, nullptr);
    glTexCoordPointer(2, GL_FLOAT, 8, Pos);
    gluLookAt(0, 0, 0, 0, 0, -1, 0, 1, 0);
    EXPECT_EQ(Rec.Calls, (std::vector<std::string>{
                             "glEnable(GL_LIGHTING)",
                             "glLightfv(GL_LIGHT0,GL_POSITION,0,1,1,0)",
                             "glMaterialfv(GL_FRONT,GL_AMBIENT,0.2,0.2,0.2,1)",
                             "glClear(GL_COLOR_BUFFER_BIT|GL_DEPTH_BUFFER_BIT)",
                             "glBlendFunc(GL_SRC_ALPHA,GL_ONE)",
                             "glDrawElements(GL_TRIANGLES,3,GL_UNSIGNED_INT,Data)",
                             "glTexParameteri(GL_TEXTURE_2D,GL_TEXTURE_MAG_FILTER,GL_LINEAR)",
                             "glFrustum(-2,2,-1,1,1,100)",
                             "glVertexPointer(3,GL_FLOAT,12,NULL)",
                             "glTexCoordPointer(2,GL_FLOAT,8,ptr)",
                             "gluLookAt(0,0,0,0,0,-1,0,1,0)",
                         }));
    EXPECT_EQ(Rec.CallsOf("glEnable"), std::vector<std::string>{"glEnable(GL_LIGHTING)"});
}

TEST(RecordingGLTest, AnswersQueries)
{
    TRecordingGL Rec;
    Rec.PendingErrors = {GL_INVALID_VALUE};
    Rec.Strings[GL_RENDERER] = "Fake";
    Rec.Integers[GL_VIEWPORT] = {1, 2, 3, 4};
    EXPECT_EQ(glGetError(), GL_INVALID_VALUE);
    EXPECT_EQ(glGetError(), GL_NO_ERROR);
    EXPECT_STREQ(reinterpret_cast<const char*>(glGetString(GL_RENDERER)), "Fake");
    GLint V[4] = {};
    glGetIntegerv(GL_VIEWPORT, V);
    EXPECT_EQ(V[3], 4);
    glEnable(GL_FOG);
    EXPECT_EQ(glIsEnabled(GL_FOG), 1);
    glDisable(GL_FOG);
    EXPECT_EQ(glIsEnabled(GL_FOG), 0);
    GLuint Names[2] = {};
    glGenTextures(2, Names);
    EXPECT_EQ(Names[0], 1u);
    EXPECT_EQ(Names[1], 2u);
}

TEST(FloatControlTest, ResetMasksEverythingAndRoundsToNearest)
{
    DisturbFloatControlState();
    const TFloatControlState Disturbed = ReadFloatControlState();
    ResetFloatControlState();
    const TFloatControlState S = ReadFloatControlState();
    EXPECT_FALSE(Disturbed.RoundToNearest && Disturbed.AllMasked);
    EXPECT_TRUE(S.RoundToNearest);
    EXPECT_TRUE(S.AllMasked);
    EXPECT_TRUE(S.ExtendedPrecision);
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
    // Masked: a division by zero gives infinity instead of a trap.
    volatile double Zero = 0.0;
    EXPECT_TRUE(1.0 / Zero > 1e308);
}

} // namespace
