#include "update_check.h"

#include "domain_option.h"
#include "paths.h"
#include "url_download.h"
#include "io/xml_guard.h"

#include <wx/app.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/url.h>
#include <wx/utils.h>
#include <wx/window.h>
#include <wx/xml/xml.h>

#include <cstring>
#include <string>

wxDEFINE_EVENT(EVT_UPDATE_CHECKED, wxCommandEvent);

namespace {
long g_updateCheckTimeoutMs = kUpdateCheckTimeoutMs;

constexpr int kVersionKeyLength = 9;
constexpr int kDigitsPerComponent = 3;
constexpr unsigned kMaxComponentValue = 999;

// wxURL only knows http, ftp and file; https addresses, which option.cfg
// normally holds, are fetched all the same.
bool IsUsableAddress(const wxURL& url)
{
    if (url.GetError() == wxURL_NOERR)
        return true;
    return url.GetError() == wxURL_NOPROTO && url.GetScheme().IsSameAs("https", false) &&
           !url.GetServer().empty();
}

// Reads the whole stream; false when it fails or holds more than `maxBytes`.
bool ReadAll(wxInputStream& stream, std::size_t maxBytes, std::string& data)
{
    char buffer[8192];
    std::size_t got;
    do {
        stream.Read(buffer, sizeof buffer);
        got = stream.LastRead();
        if (got > maxBytes - data.size())
            return false;
        data.append(buffer, got);
    } while (stream.GetLastError() == wxSTREAM_NO_ERROR && got > 0);
    return stream.GetLastError() != wxSTREAM_READ_ERROR;
}
} // namespace

long SetUpdateCheckTimeout(long milliseconds)
{
    const long previous = g_updateCheckTimeoutMs;
    g_updateCheckTimeoutMs = milliseconds;
    return previous;
}

void CheckForUpdate()
{
    if (!g_domainOption)
        return;
    wxURL url(g_domainOption->m_updateUrl);
    if (!IsUsableAddress(url))
        return;
    DownloadUpdateInfo(url);
}

void DownloadUpdateInfo(wxURL& url)
{
    auto* event = new wxCommandEvent(EVT_UPDATE_CHECKED, 0);
    wxWindow* destination = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;

    std::string body;
    bool downloaded;
    {
        wxBusyCursor busy;
        downloaded = DownloadToMemory(url.BuildURI(), {g_updateCheckTimeoutMs, kMaxUpdateInfoBytes},
                                      body);
    }
    if (downloaded) {
        wxMemoryInputStream stream(body.data(), body.size());
        event->SetString(ReadLatestVersion(stream));
    }

    if (destination)
        destination->GetEventHandler()->QueueEvent(event);
    else
        delete event;
}

wxString ReadLatestVersion(wxInputStream& stream)
{
    if (!stream.IsOk())
        return wxString();
    std::string data;
    if (!ReadAll(stream, kMaxUpdateInfoBytes, data))
        return wxString();
    if (!CheckXmlText(data.data(), data.size(), kMaxUpdateInfoDepth, nullptr))
        return wxString();

    // The parser logs what it dislikes; the user sees the failure message only.
    wxLogNull noLog;
    wxMemoryInputStream checked(data.data(), data.size());
    wxXmlDocument doc;
    if (!doc.Load(checked, "UTF-8", 0))
        return wxString();
    return FindProductVersion(doc, GetProductName());
}

wxString FindProductVersion(const wxXmlDocument& doc, const wxString& productName)
{
    wxString version;
    const wxXmlNode* root = doc.GetRoot();
    if (!root)
        return version;
    for (const wxXmlNode* child = root->GetChildren(); child; child = child->GetNext()) {
        for (const wxXmlAttribute* attr = child->GetAttributes(); attr; attr = attr->GetNext()) {
            const wxXmlAttribute* next = attr->GetNext();
            if (next && attr->GetValue() == productName) {
                version = next->GetValue();
                break;
            }
        }
    }
    return version;
}

int CompareVersions(const wxString& installed, const wxString& published)
{
    char installedKey[kVersionKeyLength + 1] = {};
    char publishedKey[kVersionKeyLength + 1] = {};
    MakeVersionKey(installedKey, kVersionKeyLength, installed.utf8_str());
    MakeVersionKey(publishedKey, kVersionKeyLength, published.utf8_str());
    return std::strncmp(installedKey, publishedKey, kVersionKeyLength);
}

void MakeVersionKey(char* out, int capacity, const char* versionUtf8)
{
    const char* text = versionUtf8 ? versionUtf8 : "";
    for (int component = 0; component < capacity / kDigitsPerComponent; ++component) {
        unsigned value = 0;
        for (; *text >= '0' && *text <= '9'; ++text) {
            value = value * 10 + static_cast<unsigned>(*text - '0');
            if (value > kMaxComponentValue)
                value = kMaxComponentValue;
        }
        while (*text && *text != '.')
            ++text;
        if (*text == '.')
            ++text;
        for (int digit = kDigitsPerComponent - 1; digit >= 0; --digit) {
            out[component * kDigitsPerComponent + digit] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
    }
}
