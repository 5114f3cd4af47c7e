#include "gifframe.h"

#include "language.h"
#include "paths.h"

#include <wx/app.h>
#include <wx/menu.h>

void GifFrame::OnLanguage(wxCommandEvent& event)
{
    const int code = event.GetId();
    m_language = code;
    WriteLanguageSetting(code);
    ApplyLanguage(code, *this);

    // Installing a new menu bar only detaches the old one. The old bar sent
    // this very command, so it is deleted once the event has been handled.
    wxMenuBar* replaced = GetMenuBar();
    CreateMenus();
    if (replaced && replaced != GetMenuBar())
        wxTheApp->ScheduleForDestruction(replaced);

    UpdateLabels();
}
