// A plain X window for the screen tests: made at the given size, its id
// printed in decimal, then kept until the process is killed. The tests
// hand its id to glimmora3d as another program's window.
//
//   test_x_window [WIDTH [HEIGHT [argb]]]   make the window (argb: of a
//                                    32-bit visual with alpha, as
//                                    compositing desktops hand out)
//   test_x_window destroy ID         destroy window ID, as an outside
//                                    client (a screen-saver daemon) may
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "destroy") == 0) {
        Display* X = XOpenDisplay(nullptr);
        if (!X)
            return 1;
        XDestroyWindow(X, static_cast<Window>(std::strtoul(argv[2], nullptr, 0)));
        XSync(X, False);
        XCloseDisplay(X);
        return 0;
    }
    const int Width = argc > 1 ? std::atoi(argv[1]) : 200;
    const int Height = argc > 2 ? std::atoi(argv[2]) : 150;
    Display* X = XOpenDisplay(nullptr);
    if (!X)
        return 1;
    const int Screen = DefaultScreen(X);
    Window W = 0;
    XVisualInfo Argb{};
    if (argc > 3 && std::strcmp(argv[3], "argb") == 0) {
        if (!XMatchVisualInfo(X, Screen, 32, TrueColor, &Argb))
            return 2;
        XSetWindowAttributes A{};
        A.colormap = XCreateColormap(X, RootWindow(X, Screen), Argb.visual, AllocNone);
        W = XCreateWindow(X, RootWindow(X, Screen), 0, 0, Width, Height, 0, 32, InputOutput, Argb.visual,
                          CWColormap | CWBorderPixel | CWBackPixel, &A);
    } else {
        W = XCreateSimpleWindow(X, RootWindow(X, Screen), 0, 0, Width, Height, 0, BlackPixel(X, Screen),
                                BlackPixel(X, Screen));
    }
    XStoreName(X, W, "glimmora3d test window");
    XMapWindow(X, W);
    XSync(X, False);
    std::printf("%lu\n", static_cast<unsigned long>(W));
    std::fflush(stdout);
    for (;;) {
        XEvent E;
        XNextEvent(X, &E);
    }
}
