#include "io/trace.h"

#include <atomic>

namespace {
// Worker threads trace too.
std::atomic<std::FILE*> g_traceOutput{stdout};
} // namespace

void Trace(const char* line)
{
    if (std::FILE* output = g_traceOutput.load())
        std::fprintf(output, "%s\n", line);
}

void SetTraceOutput(std::FILE* output)
{
    g_traceOutput = output;
}
