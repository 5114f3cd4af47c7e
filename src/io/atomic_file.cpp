#include "io/atomic_file.h"

#include "io/fd_output_stream.h"

#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/log.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Permissions a new file gets before the user's umask applies.
constexpr mode_t kNewFileMode = 0666;

wxString Reason(int error)
{
    return wxString(std::strerror(error), wxConvLibc);
}

void Report(wxString* error, const wxString& text)
{
    if (error)
        *error = text;
}

// The mode the finished file should have: the old file's, or what a newly
// created file would get.
mode_t TargetMode(const wxString& path)
{
    struct stat old;
    if (::stat(path.fn_str(), &old) == 0)
        return old.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return kNewFileMode & ~mask;
}

} // namespace

AtomicFile::AtomicFile(const wxString& path) : m_path(path) {}

AtomicFile::~AtomicFile()
{
    Drop();
}

bool AtomicFile::Open(wxString* error)
{
    // Failures are told through `error`; the toolkit's own log lines would repeat them.
    wxLogNull quiet;
    Drop();
    // A device, pipe or folder at the path is no file to replace: the rename
    // would put a plain file in its place (for root even /dev/null).
    struct stat existing;
    if (::stat(m_path.fn_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        Report(error, wxString::Format(_("Cannot replace \"%s\": %s."), m_path, _("not a regular file")));
        return false;
    }
    const wxFileName target(m_path);
    m_folder = target.GetPath();
    if (m_folder.empty())
        m_folder = ".";
    // Hidden, in the same folder so that the final rename stays on one file system.
    const wxString temporary = m_folder + "/." + target.GetFullName() + ".XXXXXX";
    m_temporary = temporary.fn_str();
    m_fd = ::mkstemp(m_temporary.data());
    if (m_fd < 0) {
        Report(error, wxString::Format(_("Cannot create a file in \"%s\": %s."), m_folder, Reason(errno)));
        return false;
    }
    m_stream = std::make_unique<FdOutputStream>(m_fd);
    return true;
}

wxOutputStream& AtomicFile::Stream()
{
    return *m_stream;
}

void AtomicFile::Drop()
{
    m_stream.reset();
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlink(m_temporary.data());
        m_fd = -1;
    }
}

bool AtomicFile::Commit(bool produced, wxString* error)
{
    wxLogNull quiet;
    if (m_fd < 0)
        return false;
    bool ok = false;
    wxString failure;
    if (!m_stream->Flush()) {
        failure = wxString::Format(_("Writing \"%s\" failed: %s."), m_path, Reason(m_stream->ErrorCode()));
    } else if (!produced || !m_stream->IsOk()) {
        failure = _("The data could not be produced.");
    } else if (::fchmod(m_fd, TargetMode(m_path)) != 0 || ::fsync(m_fd) != 0) {
        failure = wxString::Format(_("Writing \"%s\" failed: %s."), m_path, Reason(errno));
    } else {
        ok = true;
    }
    m_stream.reset();
    if (::close(m_fd) != 0 && ok) {
        failure = wxString::Format(_("Writing \"%s\" failed: %s."), m_path, Reason(errno));
        ok = false;
    }
    m_fd = -1;
    if (ok && ::rename(m_temporary.data(), m_path.fn_str()) != 0) {
        failure = wxString::Format(_("Cannot replace \"%s\": %s."), m_path, Reason(errno));
        ok = false;
    }
    if (!ok) {
        ::unlink(m_temporary.data());
        Report(error, failure);
        return false;
    }
    // Make the rename itself durable.
    const int folderFd = ::open(m_folder.fn_str(), O_RDONLY | O_DIRECTORY);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}

bool WriteFileAtomically(const wxString& path, const std::function<bool(wxOutputStream&)>& writer,
                         wxString* error)
{
    AtomicFile file(path);
    if (!file.Open(error))
        return false;
    const bool produced = writer(file.Stream());
    return file.Commit(produced, error);
}
