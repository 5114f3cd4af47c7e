#pragma once

#include <wx/stream.h>
#include <wx/string.h>

#include <functional>
#include <memory>

class FdOutputStream;

// A file written so that it is either complete or untouched: Open() creates a
// temporary file beside `path`, Commit() puts it in place of `path` once
// everything reached the disk. A file not committed is removed when it is
// destroyed, and `path` keeps its previous content. Failures give a sentence
// naming the reason through `error` (when given).
class AtomicFile {
public:
    explicit AtomicFile(const wxString& path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool Open(wxString* error = nullptr);
    // Where the content goes; only between a successful Open() and Commit().
    wxOutputStream& Stream();
    // `produced` says whether the writer finished its content; false (or a
    // failed write) drops the file.
    bool Commit(bool produced, wxString* error = nullptr);

private:
    void Drop();

    wxString m_path;
    wxString m_folder;
    wxCharBuffer m_temporary;
    int m_fd = -1;
    std::unique_ptr<FdOutputStream> m_stream;
};

// Writes a file through AtomicFile: `path` is replaced only when the writer
// returned true and everything reached the disk.
bool WriteFileAtomically(const wxString& path, const std::function<bool(wxOutputStream&)>& writer,
                         wxString* error = nullptr);
