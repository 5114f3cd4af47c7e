#include "pillow_gif.h"

#include <wx/tokenzr.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
// Debian's interpreter, where python3-pil installs; another python3 on PATH
// may lack it.
const char kPython[] = "/usr/bin/python3";

const char kScript[] = "import sys\n"
                       "from PIL import Image\n"
                       "im = Image.open(sys.argv[1])\n"
                       "print('loop', im.info.get('loop', -1))\n"
                       "for i in range(im.n_frames):\n"
                       "    im.seek(i)\n"
                       "    print('duration', im.info.get('duration', -1))\n";

// Writes every composited frame's RGB bytes, one after the other.
const char kComposeScript[] = "import sys\n"
                              "from PIL import Image, ImageSequence\n"
                              "out = open(sys.argv[2], 'wb')\n"
                              "for frame in ImageSequence.Iterator(Image.open(sys.argv[1])):\n"
                              "    out.write(frame.convert('RGB').tobytes())\n";
} // namespace

PillowGif ReadGifWithPillow(const wxString& path)
{
    PillowGif gif;
    const wxString command = wxString::Format("%s -c \"%s\" '%s' 2>&1", kPython, kScript, path);
    FILE* pipe = popen(command.utf8_str(), "r");
    if (!pipe) {
        gif.error = "cannot start python3";
        return gif;
    }
    std::string output;
    std::array<char, 4096> buffer;
    size_t got;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), got);
    const int status = pclose(pipe);
    gif.error = wxString::FromUTF8(output);
    if (status != 0)
        return gif;
    wxStringTokenizer lines(gif.error, "\n", wxTOKEN_STRTOK);
    while (lines.HasMoreTokens()) {
        const wxString line = lines.GetNextToken();
        long value = 0;
        wxString rest;
        if (line.StartsWith("loop ", &rest) && rest.ToLong(&value))
            gif.loop = int(value);
        else if (line.StartsWith("duration ", &rest) && rest.ToLong(&value))
            gif.durationsMs.push_back(int(value));
    }
    gif.ok = true;
    gif.error.clear();
    return gif;
}

std::vector<Bytes> ComposeWithPillow(const wxString& path, int width, int height)
{
    const wxString rgb = path + ".rgb";
    const wxString command =
        wxString::Format("%s -c \"%s\" '%s' '%s' 2>/dev/null", kPython, kComposeScript, path, rgb);
    std::vector<Bytes> shown;
    if (std::system(command.utf8_str()) != 0)
        return shown;
    const Bytes all = ReadFileBytes(rgb);
    std::remove(rgb.fn_str());
    const std::size_t frameBytes = std::size_t(width) * height * 3;
    for (std::size_t at = 0; frameBytes > 0 && at + frameBytes <= all.size(); at += frameBytes)
        shown.emplace_back(all.begin() + at, all.begin() + at + frameBytes);
    return shown;
}
