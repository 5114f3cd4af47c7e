#include "gifframe.h"

#include <wx/filedlg.h>
#include <wx/intl.h>

bool GifFrame::SaveProject()
{
    return false;
}

void GifFrame::LoadProject() {}
void GifFrame::LoadProject(const wxString&) {}
void GifFrame::OnProjectLoadFinished() {}

wxString GifFrame::AskProjectPath()
{
    wxFileDialog dialog(this, _("Load Xml Files"), wxEmptyString, wxEmptyString, _("Xml files") + " (*.xml)|*.xml",
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    return dialog.ShowModal() == wxID_OK ? dialog.GetPath() : wxString();
}
void GifFrame::OnSaveProject(wxCommandEvent&) {}
