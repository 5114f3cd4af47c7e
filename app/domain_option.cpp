#include "domain_option.h"

#include <wx/filefn.h>

DomainOption* g_domainOption = nullptr;

bool DomainOption::Load()
{
    if (!wxFileExists(m_path))
        return false;
    if (!m_doc.Load(m_path, "UTF-8", 0))
        return false;
    return m_doc.GetRoot() != nullptr;
}

bool LoadDomainOptions()
{
    if (!g_domainOption || !g_domainOption->Load())
        return false;
    const wxXmlNode* group = g_domainOption->m_doc.GetRoot()->GetChildren();
    const wxXmlNode* node = group ? group->GetChildren() : nullptr;
    wxString* const values[] = {
        &g_domainOption->m_helpUrl,   &g_domainOption->m_reserved2, &g_domainOption->m_supportUrl,
        &g_domainOption->m_reserved4, &g_domainOption->m_updateUrl, &g_domainOption->m_homeUrl,
        &g_domainOption->m_reserved7,
    };
    for (wxString* value : values) {
        if (!node)
            return false;
        *value = node->GetNodeContent();
        if (value == &g_domainOption->m_updateUrl)
            *value += "-update.xml";
        node = node->GetNext();
    }
    return true;
}

wxString GetHelpUrl()
{
    return g_domainOption ? g_domainOption->m_helpUrl : wxString();
}

wxString GetSupportUrl()
{
    return g_domainOption ? g_domainOption->m_supportUrl : wxString();
}

wxString GetHomeUrl()
{
    return g_domainOption ? g_domainOption->m_homeUrl : wxString();
}
