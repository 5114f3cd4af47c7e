#include "url_download.h"

#include "paths.h"

#include <curl/curl.h>

#include <memory>

namespace {
// Enough for a site that moved, not enough to loop for long.
constexpr long kMaxRedirects = 5;

struct BodySink {
    std::string* body;
    std::size_t maxBytes;
};

// Returning less than was offered makes libcurl abort the transfer.
size_t AppendToBody(char* data, size_t size, size_t count, void* user)
{
    auto* sink = static_cast<BodySink*>(user);
    const size_t bytes = size * count;
    if (bytes > sink->maxBytes - sink->body->size())
        return 0;
    sink->body->append(data, bytes);
    return bytes;
}

void InitCurlOnce()
{
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)initialised;
}
} // namespace

bool DownloadToMemory(const wxString& url, const DownloadLimits& limits, std::string& body)
{
    body.clear();
    InitCurlOnce();
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(),
                                                                   curl_easy_cleanup);
    if (!curl)
        return false;
    CURL* handle = curl.get();
    const std::string address(url.utf8_str());
    const std::string userAgent((GetProductName() + "/" + GetProductVersion()).utf8_str());
    BodySink sink{&body, limits.maxBytes};

    curl_easy_setopt(handle, CURLOPT_URL, address.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https,ftp,file");
    // A redirect must never lead to a local file.
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
    // Signals would be needed for timeouts of the system's name lookup, and
    // they are not safe in a threaded program.
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, limits.timeoutMs);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, limits.timeoutMs);
    curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
    curl_easy_setopt(handle, CURLOPT_USERAGENT, userAgent.c_str());
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, AppendToBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);

    if (curl_easy_perform(handle) == CURLE_OK)
        return true;
    body.clear();
    return false;
}
