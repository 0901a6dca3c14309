// The order in which the headless backend looks for an EGL display, over a
// scripted table of EGL calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/EGLDisplay.h"

namespace {

// Handles the script hands out; only their identity matters.
int SurfacelessTag, DeviceTag, DefaultTag, DeviceHandleTag;
EGLDisplay const Surfaceless = &SurfacelessTag;
EGLDisplay const OnDevice = &DeviceTag;
EGLDisplay const Default = &DefaultTag;
EGLDeviceEXT const FirstDevice = &DeviceHandleTag;

// Which steps give a display, which displays initialise; every call is
// logged in order.
struct TScript {
    bool SurfacelessExists = true, SurfacelessInits = true;
    bool HasQueryDevices = true;
    int Devices = 1;
    bool DeviceInits = true;
    bool DefaultExists = true, DefaultInits = true;
    std::vector<std::string> Log;

    static std::string Name(EGLDisplay D)
    {
        return D == Surfaceless ? "surfaceless" : D == OnDevice ? "device" : D == Default ? "default" : "?";
    }

    TEGLDisplayCalls Calls()
    {
        TEGLDisplayCalls Egl;
        Egl.GetPlatformDisplay = [this](EGLenum Platform, void* Native) -> EGLDisplay {
            if (Platform == EGL_PLATFORM_SURFACELESS_MESA) {
                Log.push_back("platform surfaceless");
                return SurfacelessExists && Native == EGL_DEFAULT_DISPLAY ? Surfaceless : EGL_NO_DISPLAY;
            }
            if (Platform == EGL_PLATFORM_DEVICE_EXT) {
                Log.push_back(Native == FirstDevice ? "platform device 1" : "platform device ?");
                return Native == FirstDevice ? OnDevice : EGL_NO_DISPLAY;
            }
            Log.push_back("platform ?");
            return EGL_NO_DISPLAY;
        };
        if (HasQueryDevices)
            Egl.QueryDevices = [this](EGLint Max, EGLDeviceEXT* Out, EGLint* Count) -> EGLBoolean {
                Log.push_back("query devices");
                *Count = Devices < Max ? Devices : Max;
                if (*Count > 0)
                    Out[0] = FirstDevice;
                return EGL_TRUE;
            };
        Egl.GetDisplay = [this](EGLNativeDisplayType Native) -> EGLDisplay {
            Log.push_back("default display");
            return DefaultExists && Native == EGL_DEFAULT_DISPLAY ? Default : EGL_NO_DISPLAY;
        };
        Egl.Initialize = [this](EGLDisplay D) -> EGLBoolean {
            Log.push_back("initialize " + Name(D));
            const bool Ok = D == Surfaceless ? SurfacelessInits : D == OnDevice ? DeviceInits : DefaultInits;
            return Ok ? EGL_TRUE : EGL_FALSE;
        };
        return Egl;
    }
};

struct TOrderCase {
    const char* What;
    void (*Arrange)(TScript&);
    EGLDisplay Expected;
    std::vector<std::string> Log;
};

class EGLDisplayOrder : public ::testing::TestWithParam<TOrderCase> {};

TEST_P(EGLDisplayOrder, EachStepOnlyWhenTheOnesBeforeFail)
{
    TScript S;
    GetParam().Arrange(S);
    EXPECT_EQ(OpenHeadlessDisplay(S.Calls()), GetParam().Expected) << GetParam().What;
    EXPECT_EQ(S.Log, GetParam().Log) << GetParam().What;
}

INSTANTIATE_TEST_SUITE_P(
    Fallbacks, EGLDisplayOrder,
    ::testing::Values(
        TOrderCase{"Mesa's surfaceless platform first", [](TScript&) {}, Surfaceless,
                   {"platform surfaceless", "initialize surfaceless"}},
        TOrderCase{"no surfaceless platform: the first device",
                   [](TScript& S) { S.SurfacelessExists = false; }, OnDevice,
                   {"platform surfaceless", "query devices", "platform device 1", "initialize device"}},
        TOrderCase{"a surfaceless display that fails to initialise falls through",
                   [](TScript& S) { S.SurfacelessInits = false; }, OnDevice,
                   {"platform surfaceless", "initialize surfaceless", "query devices", "platform device 1",
                    "initialize device"}},
        TOrderCase{"no device: the default display",
                   [](TScript& S) {
                       S.SurfacelessExists = false;
                       S.Devices = 0;
                   },
                   Default, {"platform surfaceless", "query devices", "default display", "initialize default"}},
        TOrderCase{"no device enumeration in the library: the default display",
                   [](TScript& S) {
                       S.SurfacelessExists = false;
                       S.HasQueryDevices = false;
                   },
                   Default, {"platform surfaceless", "default display", "initialize default"}},
        TOrderCase{"a device display that fails to initialise falls through",
                   [](TScript& S) {
                       S.SurfacelessInits = false;
                       S.DeviceInits = false;
                   },
                   Default,
                   {"platform surfaceless", "initialize surfaceless", "query devices", "platform device 1",
                    "initialize device", "default display", "initialize default"}},
        TOrderCase{"nothing initialises: no display",
                   [](TScript& S) {
                       S.SurfacelessInits = false;
                       S.DeviceInits = false;
                       S.DefaultInits = false;
                   },
                   EGL_NO_DISPLAY,
                   {"platform surfaceless", "initialize surfaceless", "query devices", "platform device 1",
                    "initialize device", "default display", "initialize default"}},
        TOrderCase{"no display anywhere: nothing to initialise",
                   [](TScript& S) {
                       S.SurfacelessExists = false;
                       S.Devices = 0;
                       S.DefaultExists = false;
                   },
                   EGL_NO_DISPLAY, {"platform surfaceless", "query devices", "default display"}}));

// Here (Mesa) the real library takes the first step.
TEST(EGLDisplayOnThisMachine, TheSystemCallsOpenADisplay)
{
    EXPECT_NE(OpenHeadlessDisplay(SystemEGLDisplayCalls()), EGL_NO_DISPLAY);
}

} // namespace
