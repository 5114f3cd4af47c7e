#include "io/file_extension.h"

namespace {
wxString EnsureExtension(const wxString& path, const wxString& extension)
{
    return path.EndsWith(extension) ? path : path + extension;
}
} // namespace

wxString EnsureGifExtension(const wxString& path)
{
    return EnsureExtension(path, ".gif");
}

wxString EnsureXmlExtension(const wxString& path)
{
    return EnsureExtension(path, ".xml");
}
