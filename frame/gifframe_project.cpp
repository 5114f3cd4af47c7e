#include "gifframe.h"

bool GifFrame::SaveProject()
{
    return false;
}

void GifFrame::LoadProject(const wxString&) {}
void GifFrame::OnSaveProject(wxCommandEvent&) {}
