#include "gifframe.h"

#include <wx/intl.h>
#include <wx/stattext.h>

void GifFrame::SetLabels()
{
    auto set = [](wxStaticText* label, const wxString& text) {
        if (label)
            label->SetLabel(text);
    };
    set(m_staticText_delay, _("Delay ") + ":");
    set(m_staticText_sec, "1/100" + _("sec "));
    set(m_staticText_gif, _("GIF") + ":");
    set(m_staticText_width, _("Width") + ":");
    set(m_staticText_wpx, _("px"));
    set(m_staticText_height, _("Height") + ":");
    set(m_staticText_hpx, _("px"));
}

void GifFrame::UpdateOutputSize() {}
void GifFrame::UpdateLabels() {}
void GifFrame::OnSetDelay(wxCommandEvent&) {}
void GifFrame::OnSetWidth(wxCommandEvent&) {}
void GifFrame::OnSetHeight(wxCommandEvent&) {}
void GifFrame::OnChangeSplitterWindow(wxSplitterEvent&) {}
