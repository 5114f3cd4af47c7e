#include "gifframe.h"

void GifFrame::StopPreview() {}
void GifFrame::ShowFrame(int) {}
void GifFrame::ClearPreview() {}
void GifFrame::ShowPlayLook() {}
void GifFrame::ShowStopLook() {}
void GifFrame::OnPlayAnimation(wxCommandEvent&) {}
void GifFrame::OnTimer(wxTimerEvent&) {}
void GifFrame::OnThumbnailLeftClick(wxThumbnailEvent&) {}
void GifFrame::OnLoopCount(wxCommandEvent&) {}
void GifFrame::OnImageLoaded(wxCommandEvent&) {}
