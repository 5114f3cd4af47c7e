#include "program_paths.h"

#include "test_paths.h"

const char kMainWindowTitle[] = "Brackwell GIF Maker";

std::string BuiltProgram()
{
    return std::string((BinaryDir() + "/bin/gifmaker").utf8_str());
}
