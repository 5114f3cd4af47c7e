#include "gifframe.h"

bool GifFrame::SaveProject()
{
    return false;
}

void GifFrame::LoadProject() {}
void GifFrame::OnSaveProject(wxCommandEvent&) {}
