#pragma once

#include <wx/string.h>

#include <cstddef>
#include <string>

// What a download may cost before it is given up.
struct DownloadLimits {
    long timeoutMs;        // the whole transfer, connecting and redirects included
    std::size_t maxBytes;  // a longer body fails the download
};

// Fetches an http, https, ftp or file address into memory, following up to a
// few redirects and honouring the usual proxy variables. False when the server
// cannot be reached, answers with an error status, exceeds one of the limits
// or the address uses another scheme; the body is then empty.
bool DownloadToMemory(const wxString& url, const DownloadLimits& limits, std::string& body);
