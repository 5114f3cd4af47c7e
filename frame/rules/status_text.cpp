#include "rules/status_text.h"

#include <wx/intl.h>

wxString OutputStatusText(const wxString& gifName, int width, int height, const wxString& unit)
{
    if (gifName.empty())
        return wxString::Format("Untitled.gif (%d * %d)", width, height) + unit;
    return wxString::Format("%s (%d * %d)", gifName, width, height) + unit;
}

wxString OpenedProjectStatusText(const wxString& gifName, int width, int height, const wxString& unit)
{
    const wxString name = gifName.empty() ? wxString("Unititle.gif") : gifName;
    return wxString::Format("%s(%d * %d)", name, width, height) + unit;
}

wxString FrameDetailsText(const wxString& name, int width, int height)
{
    // Built piece by piece so that a translation can never act as a format.
    return name + " " + _("Width") + ":" + wxString::Format("%d", width) + _("px") + "," +
           _("Height") + wxString::Format(":%d ", height) + _("px");
}
