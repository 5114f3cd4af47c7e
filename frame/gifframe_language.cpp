#include "gifframe.h"

#include "language.h"
#include "paths.h"

void GifFrame::OnLanguage(wxCommandEvent& event)
{
    const int code = event.GetId();
    m_language = code;
    WriteLanguageSetting(code);
    ApplyLanguage(code, *this);
    CreateMenus();
    UpdateLabels();
}
