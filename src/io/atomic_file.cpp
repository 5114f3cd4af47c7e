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

bool WriteFileAtomically(const wxString& path, const std::function<bool(wxOutputStream&)>& writer,
                         wxString* error)
{
    // Failures are told through `error`; the toolkit's own log lines would repeat them.
    wxLogNull quiet;
    // A device, pipe or folder at the path is no file to replace: the rename
    // would put a plain file in its place (for root even /dev/null).
    struct stat existing;
    if (::stat(path.fn_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        Report(error, wxString::Format(_("Cannot replace \"%s\": %s."), path, _("not a regular file")));
        return false;
    }
    const wxFileName target(path);
    wxString folder = target.GetPath();
    if (folder.empty())
        folder = ".";
    // Hidden, in the same folder so that the final rename stays on one file system.
    wxString temporary = folder + "/." + target.GetFullName() + ".XXXXXX";
    wxCharBuffer name = temporary.fn_str();
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        Report(error, wxString::Format(_("Cannot create a file in \"%s\": %s."), folder, Reason(errno)));
        return false;
    }
    temporary = wxString(name, wxConvFile);

    bool ok = false;
    wxString failure;
    {
        FdOutputStream stream(fd);
        const bool produced = writer(stream);
        if (!stream.Flush()) {
            failure = wxString::Format(_("Writing \"%s\" failed: %s."), path, Reason(stream.ErrorCode()));
        } else if (!produced || !stream.IsOk()) {
            failure = _("The data could not be produced.");
        } else if (::fchmod(fd, TargetMode(path)) != 0 || ::fsync(fd) != 0) {
            failure = wxString::Format(_("Writing \"%s\" failed: %s."), path, Reason(errno));
        } else {
            ok = true;
        }
        if (::close(fd) != 0 && ok) {
            failure = wxString::Format(_("Writing \"%s\" failed: %s."), path, Reason(errno));
            ok = false;
        }
    }
    if (ok && ::rename(name.data(), path.fn_str()) != 0) {
        failure = wxString::Format(_("Cannot replace \"%s\": %s."), path, Reason(errno));
        ok = false;
    }
    if (!ok) {
        ::unlink(name.data());
        Report(error, failure);
        return false;
    }
    // Make the rename itself durable.
    const int folderFd = ::open(wxString(folder).fn_str(), O_RDONLY | O_DIRECTORY);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}
