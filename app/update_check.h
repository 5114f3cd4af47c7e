#pragma once

#include <wx/event.h>
#include <wx/string.h>

#include <cstddef>

class wxInputStream;
class wxURL;
class wxXmlDocument;

// Carries the newest published version, empty when the check failed.
wxDECLARE_EVENT(EVT_UPDATE_CHECKED, wxCommandEvent);

// Fetches the update description named in option.cfg and queues the result to
// the main window as an EVT_UPDATE_CHECKED event. Does nothing when the
// address is not usable (option.cfg missing or short). Blocks the calling
// (main) thread for at most the update check timeout, with a busy cursor.
void CheckForUpdate();
void DownloadUpdateInfo(wxURL& url);

// The newest version of this product named by an update description, empty
// when the stream is not a harmless, well-formed description of at most
// kMaxUpdateInfoBytes that names it.
wxString ReadLatestVersion(wxInputStream& stream);

// The value of the attribute that follows an attribute whose value is exactly
// `productName`, in the last child of the root element that has one.
wxString FindProductVersion(const wxXmlDocument& doc, const wxString& productName);

// Negative when `published` is newer than `installed`, zero when their keys are
// equal, positive otherwise.
int CompareVersions(const wxString& installed, const wxString& published);

// Writes the comparison key of a dotted version text into `out`, which holds
// `capacity` bytes (9 for CompareVersions): one group of three decimal digits
// per component, zero-padded on the left, so that keys compared bytewise
// order versions numerically: "1.0.82" -> "001000082", "1.0.100" ->
// "001000100", "2.0" -> "002000000".
// A component's value is its leading run of digits (none counts as 0, as does
// a missing component, so "2" == "2.0" == "2.0.0"); anything else in it, such
// as "-beta", is ignored. Limits: capacity / 3 components (three for
// CompareVersions), further ones are ignored, so "1.0.82.7" == "1.0.82"; a
// value above 999 counts as 999. The key holds no zero byte, so strncmp looks
// at all of it.
void MakeVersionKey(char* out, int capacity, const char* versionUtf8);

// Limits of one check. The timeout bounds how long a dead or slow server can
// freeze the window.
constexpr long kUpdateCheckTimeoutMs = 10000;
constexpr std::size_t kMaxUpdateInfoBytes = 1024 * 1024;
// A real description nests two levels deep.
constexpr int kMaxUpdateInfoDepth = 32;

// Replaces the timeout of the following checks (tests use a short one);
// returns the one in force before.
long SetUpdateCheckTimeout(long milliseconds);
