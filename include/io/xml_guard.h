#pragma once

#include <wx/string.h>

#include <cstddef>

// Checks XML text before a document tree is built from it: the toolkit's tree
// frees its nodes recursively, so a file nested deeply enough would overflow
// the stack. Returns false, with the reason in `error` when given, for text
// that is not well-formed, declares entities (no expansion attacks) or is
// nested deeper than `maxDepth` elements.
bool CheckXmlText(const char* data, std::size_t size, int maxDepth, wxString* error);
