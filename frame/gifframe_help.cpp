#include "gifframe.h"

#include "domain_option.h"
#include "paths.h"
#include "update_check.h"
#include "web_browser.h"

#include <wx/dialog.h>
#include <wx/hyperlink.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/menuitem.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

namespace {
wxString AboutVersionLine()
{
    return wxString::Format("%s %s", GetProductName(), GetProductVersion());
}

wxString AboutNoticeLine()
{
    // TRANSLATORS: About dialog; the maker's name and the rest of the line follow.
    return _("Copyright (C) 2026 ") + GetMakerName() +
           // TRANSLATORS: About dialog; ends the line that names the maker.
           _(". All rights reserved.");
}

template <class Control>
Control* FindAboutControl(wxDialog& dialog, const char* name)
{
    return dynamic_cast<Control*>(dialog.FindWindow(XRCID(name)));
}
} // namespace

void GifFrame::OnHelpMenu(wxCommandEvent& event)
{
    StopPreview();
    const int id = event.GetId();
    if (m_item_help && id == m_item_help->GetId())
        OpenInBrowser(GetHelpUrl());
    else if (m_item_support && id == m_item_support->GetId())
        OpenInBrowser(GetSupportUrl());
    else if (m_item_check_update && id == m_item_check_update->GetId())
        CheckForUpdate();
}

void GifFrame::OnAbout(wxCommandEvent&)
{
    wxLogNull noLog;
    wxDialog dialog;
    if (!wxXmlResource::Get()->LoadDialog(&dialog, this, "AboutDialog")) {
        // Without its layout the dialog still has something to say.
        wxMessageBox(AboutVersionLine() + "\n" + AboutNoticeLine() + "\n" + GetHomeUrl(),
                     _("About"), wxOK | wxCENTRE, this);
        return;
    }
    if (auto* version = FindAboutControl<wxStaticText>(dialog, "m_static_version_name"))
        version->SetLabel(AboutVersionLine());
    if (auto* notice = FindAboutControl<wxStaticText>(dialog, "m_static_information"))
        notice->SetLabel(AboutNoticeLine());
    if (auto* link = FindAboutControl<wxHyperlinkCtrl>(dialog, "m_hyperlink")) {
        link->SetLabel(GetHomeUrl());
        link->SetURL(GetHomeUrl());
    }
    // The new texts are longer than the layout's placeholders.
    if (wxSizer* sizer = dialog.GetSizer())
        sizer->SetSizeHints(&dialog);
    dialog.CentreOnParent();
    dialog.ShowModal();
}

void GifFrame::OnUpdateChecked(wxCommandEvent& event)
{
    const wxString published = event.GetString();
    const wxString caption = GetProductName();
    if (published.empty()) {
        wxMessageBox(_("Update failed!Please check if the network is available."), caption,
                     wxOK | wxCENTRE, nullptr);
        return;
    }
    if (CompareVersions(GetProductVersion(), published) < 0) {
        const wxString text = wxString::Format(
            // TRANSLATORS: update check; the product's name, then the version published.
            _("A new version of %s (%s) is available. Click Yes to open the download page."), caption,
            published);
        wxMessageDialog dialog(this, text, caption, wxYES_NO | wxCENTRE);
        dialog.SetTitle(caption);
        if (dialog.ShowModal() == wxID_YES)
            OpenInBrowser(GetHomeUrl());
        return;
    }
    const wxString text = wxString::Format(
        // TRANSLATORS: update check; the product's name, then the version installed.
        _("This version of %s (%s) is the latest version."), caption, GetProductVersion());
    wxMessageBox(text, caption, wxOK | wxCENTRE, nullptr);
}
