#include "layout_check.h"

#include <wx/panel.h>
#include <wx/spinctrl.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

namespace {
struct RequiredWindow {
    const char* name;
    wxClassInfo* kind;
};

const char* const kRequiredTools[] = {"m_tool_play", "m_tool_delete", "m_tool_insert"};
} // namespace

wxString FindMissingLayoutObject(wxWindow& frame)
{
    const RequiredWindow required[] = {
        {"m_splitter3", wxCLASSINFO(wxSplitterWindow)},
        {"m_panel_top", wxCLASSINFO(wxPanel)},
        {"m_panel_down", wxCLASSINFO(wxPanel)},
        {"m_spinctrl_delay", wxCLASSINFO(wxSpinCtrl)},
        {"m_spinctrl_width", wxCLASSINFO(wxSpinCtrl)},
        {"m_spinctrl_height", wxCLASSINFO(wxSpinCtrl)},
        {"m_staticText_delay", wxCLASSINFO(wxStaticText)},
        {"m_staticText_sec", wxCLASSINFO(wxStaticText)},
        {"m_staticText_gif", wxCLASSINFO(wxStaticText)},
        {"m_staticText_width", wxCLASSINFO(wxStaticText)},
        {"m_staticText_wpx", wxCLASSINFO(wxStaticText)},
        {"m_staticText_height", wxCLASSINFO(wxStaticText)},
        {"m_staticText_hpx", wxCLASSINFO(wxStaticText)},
        {"m_statusBar1", wxCLASSINFO(wxStatusBar)},
        {"m_toolBar_button", wxCLASSINFO(wxToolBar)},
    };
    for (const RequiredWindow& window : required) {
        const wxWindow* found = frame.FindWindow(XRCID(window.name));
        if (!found || !found->IsKindOf(window.kind))
            return wxString::Format("\"%s\" (%s)", window.name, window.kind->GetClassName());
    }
    const auto* tools = wxDynamicCast(frame.FindWindow(XRCID("m_toolBar_button")), wxToolBar);
    for (const char* tool : kRequiredTools)
        if (!tools->FindById(XRCID(tool)))
            return wxString::Format("\"%s\" (tool)", tool);
    return wxString();
}
