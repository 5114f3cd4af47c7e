#include "test_clips.h"

#include "child_process.h"

#include "decode/picture_loader.h"

#include <wx/ffile.h>
#include <wx/filefn.h>

#include <webp/encode.h>
#include <webp/mux.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

bool RunFfmpeg(const std::vector<std::string>& arguments, const wxString& output)
{
    std::vector<std::string> argv = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    argv.push_back(std::string(output.fn_str()));
    ChildProcess ffmpeg;
    const std::string log = std::string(output.fn_str()) + ".log";
    if (!ffmpeg.Start(argv, {}, log) || !ffmpeg.WaitForExit(120000))
        return false;
    return ffmpeg.Exited() && ffmpeg.ExitCode() == 0 && (output.Contains("%") || wxFileExists(output));
}

bool MakePatternClip(const wxString& output, const std::string& size, const std::string& rate, double seconds,
                     const std::string& codec, const std::vector<std::string>& extra)
{
    std::vector<std::string> arguments = {
        "-f", "lavfi", "-i", "testsrc=size=" + size + ":rate=" + rate + ":duration=" + std::to_string(seconds),
        "-c:v", codec, "-pix_fmt", "yuv420p"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return RunFfmpeg(arguments, output);
}

bool TurnClipQuarterClockwise(const wxString& clip)
{
    wxFFile file(clip, "r+b");
    std::vector<unsigned char> bytes(file.IsOpened() ? file.Length() : 0);
    if (bytes.empty() || file.Read(bytes.data(), bytes.size()) != bytes.size())
        return false;
    const std::string text(bytes.begin(), bytes.end());
    const size_t tkhd = text.find("tkhd");
    if (tkhd == std::string::npos)
        return false;
    // After the box type: version and flags, then times of 4 or 8 bytes
    // (version 0 or 1), track id, reserved, duration, 8 reserved bytes,
    // layer, group, volume and 2 reserved bytes: then the matrix.
    const size_t matrix = tkhd + 4 + 4 + (bytes[tkhd + 4] == 1 ? 32 : 20) + 8 + 8;
    const std::int32_t quarterClockwise[9] = {0, 0x10000, 0, -0x10000, 0, 0, 0, 0, 0x40000000};
    if (matrix + sizeof quarterClockwise > bytes.size())
        return false;
    for (int i = 0; i < 9; ++i)
        for (int b = 0; b < 4; ++b)
            bytes[matrix + 4 * i + b] = static_cast<unsigned char>(std::uint32_t(quarterClockwise[i]) >> (24 - 8 * b));
    return file.Seek(0) && file.Write(bytes.data(), bytes.size()) == bytes.size();
}

namespace {

std::vector<wxImage> LoadNumberedPictures(const wxString& pattern)
{
    std::vector<wxImage> frames;
    for (int n = 1;; ++n) {
        const wxString png = wxString::Format(pattern, n);
        wxImage frame;
        LoadPictures(png, [&](wxImage&& picture, int) {
            frame = picture;
            return false;
        });
        if (!frame.IsOk())
            break;
        wxRemoveFile(png);
        frames.push_back(frame);
    }
    return frames;
}

} // namespace

bool MakePatternWebP(const wxString& output, const std::string& size, const std::vector<int>& durationsMs,
                     const wxString& work, std::vector<wxImage>& frames)
{
    const wxString pattern = work + "/webp-frame-%04d.png";
    if (!RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=" + size + ":rate=1", "-frames:v",
                    std::to_string(durationsMs.size()), "-pix_fmt", "rgb24"},
                   pattern))
        return false;
    frames = LoadNumberedPictures(pattern);
    if (frames.size() != durationsMs.size())
        return false;
    const wxSize shown = frames[0].GetSize();
    WebPAnimEncoderOptions options;
    WebPConfig config;
    if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&config))
        return false;
    config.lossless = 1;
    WebPAnimEncoder* encoder = WebPAnimEncoderNew(shown.x, shown.y, &options);
    bool made = encoder != nullptr;
    int timestamp = 0;
    for (size_t i = 0; made && i < frames.size(); ++i) {
        WebPPicture picture;
        made = WebPPictureInit(&picture) != 0;
        picture.use_argb = 1;
        picture.width = shown.x;
        picture.height = shown.y;
        made = made && WebPPictureImportRGB(&picture, frames[i].GetData(), 3 * shown.x)
               && WebPAnimEncoderAdd(encoder, &picture, timestamp, &config);
        WebPPictureFree(&picture);
        timestamp += durationsMs[i];
    }
    WebPData data;
    WebPDataInit(&data);
    made = made && WebPAnimEncoderAdd(encoder, nullptr, timestamp, nullptr) && WebPAnimEncoderAssemble(encoder, &data);
    WebPAnimEncoderDelete(encoder);
    wxFFile file(output, "wb");
    made = made && file.IsOpened() && file.Write(data.bytes, data.size) == data.size;
    WebPDataClear(&data);
    return made;
}

std::vector<wxImage> FfmpegFrames(const wxString& clip, const wxString& work)
{
    const wxString pattern = work + "/ffmpeg-frame-%04d.png";
    if (!RunFfmpeg({"-i", std::string(clip.fn_str()), "-vsync", "passthrough", "-pix_fmt", "rgb24"}, pattern))
        return {};
    return LoadNumberedPictures(pattern);
}

double MeanAbsoluteDifference(const wxImage& a, const wxImage& b)
{
    if (!a.IsOk() || !b.IsOk() || a.GetSize() != b.GetSize())
        return 1e9;
    const size_t bytes = static_cast<size_t>(a.GetWidth()) * a.GetHeight() * 3;
    double sum = 0;
    for (size_t i = 0; i < bytes; ++i)
        sum += std::abs(int(a.GetData()[i]) - int(b.GetData()[i]));
    return sum / bytes;
}
