// What a context's strings and unit count allow the drawing.
#include <string>

#include <gtest/gtest.h>

#include "gl/GLMultitexture.h"

TEST(GLMultitexture, UnitsFollowVersionExtensionsAndEntryPoints)
{
    const struct {
        std::string Version, Extensions;
        int Units;
        bool EntryPoints;
        int Count;
        bool Combine, Crossbar;
    } Cases[] = {
        {"1.1.0", "", 4, true, 1, false, false},
        {"1.1.0", "GL_ARB_multitexture", 4, true, 1, false, false},
        {"1.1.0", "GL_ARB_multitexture GL_ARB_texture_env_combine", 4, true, 4, true, false},
        {"1.2.1", "GL_ARB_multitexture GL_ARB_texture_env_combine GL_ARB_texture_env_crossbar", 2, true, 2, true, true},
        {"1.3", "", 2, true, 2, true, false},
        {"1.3", "GL_ARB_texture_env_crossbarX", 2, true, 2, true, false},
        {"1.4 Mesa", "", 8, true, 8, true, true},
        {"4.5 (Compatibility Profile) Mesa 22.3.6", "", 8, true, 8, true, true},
        {"10.0", "", 3, true, 3, true, true},
        {"4.5", "", 1, true, 1, false, false},
        {"4.5", "", 8, false, 1, false, false},
        {"", "", 8, true, 1, false, false},
        {"OpenGL ES 3.2", "", 8, true, 1, false, false},
        {"1.", "", 8, true, 1, false, false},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Version + " / " + C.Extensions);
        const TGLTextureUnits U = TextureUnitsOf(C.Version, C.Extensions, C.Units, C.EntryPoints);
        EXPECT_EQ(U.Count, C.Count);
        EXPECT_EQ(U.Combine, C.Combine);
        EXPECT_EQ(U.Crossbar, C.Crossbar);
    }
}

TEST(GLMultitexture, AnExtensionIsAWholeName)
{
    const std::string List = "GL_ARB_multitexture GL_EXT_bgra GL_ARB_texture_env_combine";
    EXPECT_TRUE(HasExtension(List, "GL_ARB_multitexture"));
    EXPECT_TRUE(HasExtension(List, "GL_EXT_bgra"));
    EXPECT_TRUE(HasExtension(List, "GL_ARB_texture_env_combine"));
    EXPECT_FALSE(HasExtension(List, "GL_ARB_texture_env"));
    EXPECT_FALSE(HasExtension(List, "GL_EXT"));
    EXPECT_FALSE(HasExtension("", "GL_EXT_bgra"));
}
