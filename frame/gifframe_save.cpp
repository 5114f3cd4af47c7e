#include "gifframe.h"

void GifFrame::OnSaveAnimator(wxCommandEvent&) {}
void GifFrame::OnSaveAs(wxCommandEvent&) {}
void GifFrame::OnSaveThreadUpdate(wxCommandEvent&) {}
