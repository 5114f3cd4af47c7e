#pragma once

#include <wx/string.h>
#include <wx/xml/xml.h>

// The installation's option.cfg: seven text values taken by position.
class DomainOption {
public:
    explicit DomainOption(const wxString& path) : m_path(path) {}
    virtual ~DomainOption() = default;

    bool Load();

    wxString m_path;
    wxXmlDocument m_doc;
    wxString m_helpUrl;
    wxString m_reserved2;
    wxString m_supportUrl;
    wxString m_reserved4;
    wxString m_updateUrl;
    wxString m_homeUrl;
    wxString m_reserved7;
};

extern DomainOption* g_domainOption;

// Fills g_domainOption from its file; false when the file is missing, not XML
// or holds fewer than seven values (those read stay set).
bool LoadDomainOptions();

wxString GetHelpUrl();
wxString GetSupportUrl();
wxString GetHomeUrl();
