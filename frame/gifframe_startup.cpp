#include "gifframe.h"

#include "command_line.h"
#include "rules/drop_rules.h"

#include <wx/intl.h>
#include <wx/msgdlg.h>

void GifFrame::OpenStartupFiles(const StartupFiles& files)
{
    wxString problems;
    if (!files.missing.empty())
        problems = ListedFiles(_("These files could not be opened:"), files.missing);
    if (!files.leftOut.empty()) {
        if (!problems.empty())
            problems << "\n\n";
        problems << ListedFiles(_("A project opens on its own; these files were not added:"),
                                files.leftOut);
    }
    if (!problems.empty())
        wxMessageBox(problems, GetTitle(), wxOK | wxICON_WARNING, this);

    if (!files.project.empty())
        LoadProject(files.project);
    else if (!files.pictures.empty())
        AddImages(files.pictures);
}
