#include "io/atomic_file.h"
#include "project/project_file.h"

#include <wx/xml/xml.h>

namespace {
const int kIndentStep = 2;
} // namespace

bool WriteProjectFile(const wxString& path, const wxXmlDocument& document, wxString* error)
{
    return WriteFileAtomically(
        path, [&](wxOutputStream& out) { return document.Save(out, kIndentStep) && out.IsOk(); }, error);
}
