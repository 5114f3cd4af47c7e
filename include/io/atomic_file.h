#pragma once

#include <wx/stream.h>
#include <wx/string.h>

#include <functional>

// Writes a file so that it is either complete or untouched: the writer fills a
// temporary file beside `path`, which replaces `path` only when the writer
// returned true and everything reached the disk. On failure the temporary file
// is removed, `path` keeps its previous content, and `error` (when given)
// receives a sentence naming the reason.
bool WriteFileAtomically(const wxString& path, const std::function<bool(wxOutputStream&)>& writer,
                         wxString* error = nullptr);
