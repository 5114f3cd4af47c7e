#include "x11_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <memory>
#include <thread>

namespace {
constexpr auto kPollInterval = std::chrono::milliseconds(20);

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

// Windows may vanish between listing and reading them; such errors are
// expected here and must not end the test program.
int IgnoreXError(Display*, XErrorEvent*)
{
    return 0;
}

std::string TitleOf(Display* display, Window window)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    std::string title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &remaining, &data) == Success && data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        return title;
    }
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

bool IsShown(Display* display, Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

Window FindTitled(Display* display, const std::string& title)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i)
        if (IsShown(display, children[i]) && TitleOf(display, children[i]) == title)
            found = children[i];
    if (children)
        XFree(children);
    return found;
}
} // namespace

X11Window WaitForWindowTitled(const std::string& title, int timeoutMs,
                              const std::function<void()>& pump)
{
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display)
        return 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        const auto previous = XSetErrorHandler(IgnoreXError);
        const Window found = FindTitled(display.get(), title);
        XSync(display.get(), False);
        XSetErrorHandler(previous);
        if (found)
            return found;
        if (pump)
            pump();
        std::this_thread::sleep_for(kPollInterval);
    }
    return 0;
}

bool RequestWindowClose(X11Window window)
{
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display)
        return false;
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display.get(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display.get(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const auto previous = XSetErrorHandler(IgnoreXError);
    const Status sent = XSendEvent(display.get(), window, False, NoEventMask, &event);
    XSync(display.get(), False);
    XSetErrorHandler(previous);
    return sent != 0;
}
