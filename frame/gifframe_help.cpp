#include "gifframe.h"

void GifFrame::OnHelpMenu(wxCommandEvent&) {}
void GifFrame::OnAbout(wxCommandEvent&) {}
void GifFrame::OnUpdateChecked(wxCommandEvent&) {}
