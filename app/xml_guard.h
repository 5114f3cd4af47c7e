#pragma once

#include <cstddef>

// Checks XML from an untrusted source before the toolkit's parser builds a
// tree of it: true only for a well-formed document without entity
// declarations (no entity expansion attacks) whose elements nest at most
// `maxDepth` deep (the toolkit builds and frees its tree recursively, so a
// deeply nested document would overflow the stack).
bool IsHarmlessXml(const char* data, std::size_t size, int maxDepth);
