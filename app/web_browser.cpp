#include "web_browser.h"

#include <wx/utils.h>

namespace {
bool LaunchDefaultBrowser(const wxString& url, int flags)
{
    return wxLaunchDefaultBrowser(url, flags);
}

BrowserLauncher g_browserLauncher = LaunchDefaultBrowser;
} // namespace

void OpenInBrowser(const wxString& url)
{
    g_browserLauncher(url, 0);
}

BrowserLauncher SetBrowserLauncher(BrowserLauncher launcher)
{
    const BrowserLauncher previous = g_browserLauncher;
    g_browserLauncher = launcher ? launcher : LaunchDefaultBrowser;
    return previous;
}
