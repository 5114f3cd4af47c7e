#pragma once

#include <functional>
#include <set>
#include <string>

// Top-level windows of the test display seen from outside the toolkit, the way
// a window manager sees them. Xvfb runs none, so these are children of the root.
using X11Window = unsigned long;

// A mapped window whose title is `title`, or 0. While waiting, `pump` runs
// between looks (for windows of this very process, let the toolkit work).
X11Window WaitForWindowTitled(const std::string& title, int timeoutMs,
                              const std::function<void()>& pump = {});

// The same for the windows of one process only (the toolkit marks its
// windows with the process id).
X11Window WaitForProcessWindow(long pid, const std::string& title, int timeoutMs);

// Sends what a window manager sends when the user clicks the close button.
bool RequestWindowClose(X11Window window);

// The shown windows of one process, and one shown later than those: message
// boxes often carry no title to find them by.
std::set<X11Window> ProcessWindows(long pid);
X11Window WaitForNewProcessWindow(long pid, const std::set<X11Window>& known, int timeoutMs);
