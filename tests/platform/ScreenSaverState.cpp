// The X screen saver's state as the server itself tells it (the XScreenSaver extension), for
// the package check: "on" while the saver covers the screen, "off" or "disabled" otherwise.
// With --hold it stays connected until it is ended: Xvfb forgets "xset s" settings when its
// last client leaves, so a check holds one client for its whole run.
//
//   screen-saver-state [--hold]

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char* argv[])
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("screen-saver-state: no display\n", stderr);
        return 2;
    }
    if (argc > 1 && std::strcmp(argv[1], "--hold") == 0) {
        std::signal(SIGTERM, [](int) { _exit(0); });
        for (;;)
            pause();
    }
    int event = 0, error = 0;
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    if (!XScreenSaverQueryExtension(display, &event, &error) || !info
        || !XScreenSaverQueryInfo(display, DefaultRootWindow(display), info)) {
        std::fputs("screen-saver-state: no XScreenSaver extension\n", stderr);
        return 2;
    }
    std::puts(info->state == ScreenSaverOn ? "on" : info->state == ScreenSaverDisabled ? "disabled" : "off");
    XFree(info);
    XCloseDisplay(display);
    return 0;
}
