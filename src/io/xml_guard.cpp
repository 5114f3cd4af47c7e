#include "io/xml_guard.h"

#include <wx/intl.h>

#include <expat.h>

#include <climits>

namespace {
struct NestingState {
    XML_Parser parser;
    int depth = 0;
    int maxDepth = 0;
    bool tooDeep = false;
    bool declaresEntity = false;
};

void XMLCALL OnStartElement(void* data, const XML_Char*, const XML_Char**)
{
    auto* state = static_cast<NestingState*>(data);
    if (++state->depth > state->maxDepth) {
        state->tooDeep = true;
        XML_StopParser(state->parser, XML_FALSE);
    }
}

void XMLCALL OnEndElement(void* data, const XML_Char*)
{
    --static_cast<NestingState*>(data)->depth;
}

// Neither file we read ever declares an entity; refusing them rules out
// expansion attacks whatever a later parser does.
void XMLCALL OnEntityDecl(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                          const XML_Char*, const XML_Char*, const XML_Char*)
{
    auto* state = static_cast<NestingState*>(data);
    state->declaresEntity = true;
    XML_StopParser(state->parser, XML_FALSE);
}

// Receiving unhandled text here also keeps expat from expanding internal
// entities.
void XMLCALL OnOtherText(void*, const XML_Char*, int) {}
} // namespace

bool CheckXmlText(const char* data, std::size_t size, int maxDepth, wxString* error)
{
    if (size > static_cast<std::size_t>(INT_MAX)) {
        if (error)
            *error = _("the file is too large");
        return false;
    }
    NestingState state;
    state.parser = XML_ParserCreate(nullptr);
    if (!state.parser) {
        if (error)
            *error = _("out of memory");
        return false;
    }
    state.maxDepth = maxDepth;
    XML_SetUserData(state.parser, &state);
    XML_SetElementHandler(state.parser, OnStartElement, OnEndElement);
    XML_SetDefaultHandler(state.parser, OnOtherText);
    XML_SetEntityDeclHandler(state.parser, OnEntityDecl);

    const bool parsed = XML_Parse(state.parser, data, static_cast<int>(size), XML_TRUE) == XML_STATUS_OK;
    if (!parsed && error) {
        if (state.tooDeep)
            *error = wxString::Format(_("elements are nested more than %d deep"), maxDepth);
        else if (state.declaresEntity)
            *error = _("the file declares entities");
        else
            *error = wxString::Format(_("%s at line %lu"),
                                      wxString::FromUTF8(XML_ErrorString(XML_GetErrorCode(state.parser))),
                                      static_cast<unsigned long>(XML_GetCurrentLineNumber(state.parser)));
    }
    XML_ParserFree(state.parser);
    return parsed;
}
