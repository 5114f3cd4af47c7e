#include "x11_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

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

long ProcessOf(Display* display, Window window)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    long pid = 0;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                           &remaining, &data) == Success && data) {
        if (count == 1 && format == 32)
            pid = *reinterpret_cast<long*>(data);
        XFree(data);
    }
    return pid;
}

bool IsShown(Display* display, Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

std::vector<Window> ShownTopLevels(Display* display)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> shown;
    const auto previous = XSetErrorHandler(IgnoreXError);
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count; ++i)
            if (IsShown(display, children[i]))
                shown.push_back(children[i]);
        if (children)
            XFree(children);
    }
    XSync(display, False);
    XSetErrorHandler(previous);
    return shown;
}

// pid 0 accepts the windows of every process.
Window FindTitled(Display* display, const std::string& title, long pid)
{
    const auto previous = XSetErrorHandler(IgnoreXError);
    Window found = 0;
    for (Window window : ShownTopLevels(display))
        if (!found && TitleOf(display, window) == title && (pid == 0 || ProcessOf(display, window) == pid))
            found = window;
    XSync(display, False);
    XSetErrorHandler(previous);
    return found;
}

std::set<X11Window> WindowsOf(Display* display, long pid)
{
    const auto previous = XSetErrorHandler(IgnoreXError);
    std::set<X11Window> windows;
    for (Window window : ShownTopLevels(display))
        if (ProcessOf(display, window) == pid)
            windows.insert(window);
    XSync(display, False);
    XSetErrorHandler(previous);
    return windows;
}
} // namespace

namespace {
X11Window WaitForWindow(const std::string& title, long pid, int timeoutMs,
                        const std::function<void()>& pump)
{
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display)
        return 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        const Window found = FindTitled(display.get(), title, pid);
        if (found)
            return found;
        if (pump)
            pump();
        std::this_thread::sleep_for(kPollInterval);
    }
    return 0;
}
} // namespace

X11Window WaitForWindowTitled(const std::string& title, int timeoutMs,
                              const std::function<void()>& pump)
{
    return WaitForWindow(title, 0, timeoutMs, pump);
}

X11Window WaitForProcessWindow(long pid, const std::string& title, int timeoutMs)
{
    return WaitForWindow(title, pid, timeoutMs, {});
}

std::set<X11Window> ProcessWindows(long pid)
{
    DisplayPtr display(XOpenDisplay(nullptr));
    return display ? WindowsOf(display.get(), pid) : std::set<X11Window>();
}

X11Window WaitForNewProcessWindow(long pid, const std::set<X11Window>& known, int timeoutMs)
{
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display)
        return 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        for (X11Window window : WindowsOf(display.get(), pid))
            if (!known.count(window))
                return window;
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
