#pragma once

#include <wx/string.h>

// Opens an address in the user's default browser; the result is ignored by
// every caller, since a browser that does not start is the desktop's affair.
void OpenInBrowser(const wxString& url);

// The function that OpenInBrowser hands the address to, wxLaunchDefaultBrowser
// unless replaced. Tests put a recorder here so that nothing is started.
using BrowserLauncher = bool (*)(const wxString& url, int flags);
// Returns the launcher that was in place.
BrowserLauncher SetBrowserLauncher(BrowserLauncher launcher);
