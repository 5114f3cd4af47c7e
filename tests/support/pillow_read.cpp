#include "pillow_read.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
// Writes every composited frame's RGB bytes, one after the other.
const char kScript[] = "import sys\n"
                       "from PIL import Image, ImageSequence\n"
                       "out = open(sys.argv[2], 'wb')\n"
                       "for frame in ImageSequence.Iterator(Image.open(sys.argv[1])):\n"
                       "    out.write(frame.convert('RGB').tobytes())\n";
} // namespace

std::vector<Bytes> ComposeWithPillow(const wxString& path, int width, int height)
{
    const std::string gif(path.fn_str());
    const std::string rgb = gif + ".rgb";
    const std::string command =
        "/usr/bin/python3 -c \"" + std::string(kScript) + "\" '" + gif + "' '" + rgb + "' 2>/dev/null";
    std::vector<Bytes> shown;
    if (std::system(command.c_str()) != 0)
        return shown;
    std::FILE* file = std::fopen(rgb.c_str(), "rb");
    if (file == nullptr)
        return shown;
    Bytes frame(std::size_t(width) * height * 3);
    while (std::fread(frame.data(), 1, frame.size(), file) == frame.size())
        shown.push_back(frame);
    std::fclose(file);
    std::remove(rgb.c_str());
    return shown;
}
