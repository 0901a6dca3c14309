#include <gtest/gtest.h>

#include <cmath>

#include "fakes/RecordingGL.h"
#include "gl/GLClasses.h"

namespace {

TEST(ViewportTest, SetPerspectiveDerivesTheFrustum)
{
    TGLViewport V;
    V.SetPerspective(90, 2, 1, 100);
    EXPECT_NEAR(V.FrustumTop, 1, 1e-12);
    EXPECT_NEAR(V.FrustumBottom, -1, 1e-12);
    EXPECT_NEAR(V.FrustumRight, 2, 1e-12);
    EXPECT_NEAR(V.FrustumLeft, -2, 1e-12);
    EXPECT_EQ(V.FrustumNear, 1);
    EXPECT_EQ(V.FrustumFar, 100);

    V.SetPerspective(75, 4.0 / 3.0, 100, 10000);
    EXPECT_NEAR(V.FrustumTop, 76.733, 1e-3);
    EXPECT_NEAR(V.FrustumRight, 102.31, 1e-2);
    EXPECT_TRUE(V.Perspective);
}

TEST(ViewportTest, ApplySendsEverythingInOrderAndLeavesModelViewSelected)
{
    TRecordingGL Rec;
    TGLViewport V;
    V.SetBounds(0, 0, 640, 480);
    V.SetFrustum(-2, 2, -1.5, 1.5, 1, 100);
    V.Lighting = true;
    V.Dither = true;
    V.Apply();
    EXPECT_EQ(Rec.Calls, (std::vector<std::string>{"glViewport(0,0,640,480)",
                                                   "glMatrixMode(GL_PROJECTION)",
                                                   "glLoadIdentity()",
                                                   "glFrustum(-2,2,-1.5,1.5,1,100)",
                                                   "glPolygonMode(GL_FRONT_AND_BACK,GL_FILL)",
                                                   "glShadeModel(GL_SMOOTH)",
                                                   "glHint(GL_PERSPECTIVE_CORRECTION_HINT,GL_NICEST)",
                                                   "glHint(GL_POLYGON_SMOOTH_HINT,GL_FASTEST)",
                                                   "glDisable(GL_POLYGON_SMOOTH)",
                                                   "glHint(GL_LINE_SMOOTH_HINT,GL_FASTEST)",
                                                   "glDisable(GL_LINE_SMOOTH)",
                                                   "glHint(GL_POINT_SMOOTH_HINT,GL_FASTEST)",
                                                   "glDisable(GL_POINT_SMOOTH)",
                                                   "glEnable(GL_LIGHTING)",
                                                   "glEnable(GL_DITHER)",
                                                   "glMatrixMode(GL_MODELVIEW)"}));
}

TEST(ViewportTest, OrthographicAndTheOtherSwitches)
{
    TRecordingGL Rec;
    TGLViewport V;
    V.Perspective = false;
    V.SetOrtho(0, 10, 0, 5, -1, 1);
    V.PolygonMode = 1;
    V.ShadeModel = 0;
    V.NicestPerspective = false;
    V.Antialias = true;
    V.Apply();
    EXPECT_TRUE(Rec.CallsOf("glFrustum").empty());
    EXPECT_EQ(Rec.CallsOf("glOrtho"), std::vector<std::string>{"glOrtho(0,10,0,5,-1,1)"});
    EXPECT_EQ(Rec.CallsOf("glPolygonMode"), std::vector<std::string>{"glPolygonMode(GL_FRONT_AND_BACK,GL_LINE)"});
    EXPECT_EQ(Rec.CallsOf("glShadeModel"), std::vector<std::string>{"glShadeModel(GL_FLAT)"});
    EXPECT_EQ(Rec.CallsOf("glHint"), (std::vector<std::string>{"glHint(GL_PERSPECTIVE_CORRECTION_HINT,GL_FASTEST)",
                                                               "glHint(GL_POLYGON_SMOOTH_HINT,GL_NICEST)",
                                                               "glHint(GL_LINE_SMOOTH_HINT,GL_NICEST)",
                                                               "glHint(GL_POINT_SMOOTH_HINT,GL_NICEST)"}));
    EXPECT_EQ(Rec.CallsOf("glEnable"), (std::vector<std::string>{"glEnable(GL_POLYGON_SMOOTH)",
                                                                 "glEnable(GL_LINE_SMOOTH)",
                                                                 "glEnable(GL_POINT_SMOOTH)"}));
    EXPECT_EQ(Rec.Calls.back(), "glMatrixMode(GL_MODELVIEW)");
}

TEST(ViewportTest, AWindowOfHeightZeroStillGivesAFiniteFrustum)
{
    TRecordingGL Rec;
    TGLViewport V;
    V.SetBounds(0, 0, 640, 0);
    volatile double Height = 0;
    V.SetPerspective(75, 640 / Height, 100, 10000);   // infinite aspect
    EXPECT_TRUE(std::isfinite(V.FrustumRight));
    EXPECT_NEAR(V.FrustumRight, 640 * V.FrustumTop, 1e-6);
    V.SetBounds(0, 0, 0, 0);
    V.SetPerspective(75, 0 / Height, 100, 10000);   // NaN aspect
    EXPECT_NEAR(V.FrustumRight, V.FrustumTop, 1e-9);
    EXPECT_GT(V.FrustumRight, V.FrustumLeft);
}

} // namespace
