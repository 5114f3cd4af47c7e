#include "xml_guard.h"

#include <expat.h>

#include <climits>
#include <memory>

namespace {
struct GuardState {
    XML_Parser parser;
    int depth;
    int maxDepth;
};

void XMLCALL OnStartElement(void* user, const XML_Char*, const XML_Char**)
{
    auto* state = static_cast<GuardState*>(user);
    if (++state->depth > state->maxDepth)
        XML_StopParser(state->parser, XML_FALSE);
}

void XMLCALL OnEndElement(void* user, const XML_Char*)
{
    --static_cast<GuardState*>(user)->depth;
}

void XMLCALL OnEntityDecl(void* user, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                          const XML_Char*, const XML_Char*, const XML_Char*)
{
    XML_StopParser(static_cast<GuardState*>(user)->parser, XML_FALSE);
}
} // namespace

bool IsHarmlessXml(const char* data, std::size_t size, int maxDepth)
{
    if (size > static_cast<std::size_t>(INT_MAX))
        return false;
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
        XML_ParserCreate(nullptr), XML_ParserFree);
    if (!parser)
        return false;
    GuardState state{parser.get(), 0, maxDepth};
    XML_SetUserData(parser.get(), &state);
    XML_SetElementHandler(parser.get(), OnStartElement, OnEndElement);
    XML_SetEntityDeclHandler(parser.get(), OnEntityDecl);
    return XML_Parse(parser.get(), data, static_cast<int>(size), XML_TRUE) == XML_STATUS_OK;
}
