#include "decode/gif_decode.h"

#include "decode/gif_canvas.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct MemoryReader {
    const unsigned char* data;
    size_t size;
    size_t offset;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int wanted)
{
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    if (wanted <= 0)
        return 0;
    const size_t count = std::min(static_cast<size_t>(wanted), reader->size - reader->offset);
    std::memcpy(buffer, reader->data + reader->offset, count);
    reader->offset += count;
    return static_cast<int>(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

// Rows of an interlaced frame come in four passes.
constexpr int kInterlaceStart[] = {0, 4, 2, 1};
constexpr int kInterlaceStep[] = {8, 8, 4, 2};

// The row order of a frame: row number of the i-th decoded line.
std::vector<int> RowOrder(int height, bool interlaced)
{
    std::vector<int> rows;
    rows.reserve(height);
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            rows.push_back(y);
        return rows;
    }
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kInterlaceStart[pass]; y < height; y += kInterlaceStep[pass])
            rows.push_back(y);
    return rows;
}

class GifPictureReader {
public:
    GifPictureReader(GifFileType* gif, MemoryReader& reader, int wantedFrame, const PictureSink& sink)
        : m_gif(gif)
        , m_reader(reader)
        , m_wantedFrame(wantedFrame)
        , m_sink(sink)
        , m_workBudget(std::max(kMaxGifFilePixels, static_cast<long long>(reader.size) * kGifPixelsPerFileByte))
    {
    }

    int Run()
    {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        while (!m_finished && DGifGetRecordType(m_gif, &type) == GIF_OK) {
            switch (type) {
            case IMAGE_DESC_RECORD_TYPE:
                ReadFrame();
                break;
            case EXTENSION_RECORD_TYPE:
                ReadExtension();
                break;
            default:
                m_finished = true;
                break;
            }
        }
        return m_delivered;
    }

private:
    void ReadExtension()
    {
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(m_gif, &code, &block) != GIF_OK) {
            m_finished = true;
            return;
        }
        if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4 &&
            DGifExtensionToGCB(block[0], block + 1, &m_control) == GIF_OK)
            m_hasControl = true;
        while (block) {
            if (DGifGetExtensionNext(m_gif, &block) != GIF_OK) {
                m_finished = true;
                return;
            }
        }
    }

    // The low-level reader also keeps a copy of every image descriptor and
    // its colour table, growing one array frame by frame; nothing here uses
    // them, and dropping them keeps memory and copying flat for files with
    // very many frames. The current descriptor (m_gif->Image) stays.
    void ForgetSavedImages()
    {
        GifFreeSavedImages(m_gif);
        m_gif->ImageCount = 0;
    }

    bool MakeCanvas(const GifImageDesc& frame)
    {
        long long width = m_gif->SWidth;
        long long height = m_gif->SHeight;
        if (width <= 0 || height <= 0) {
            // A screen without area: show the first frame at its own size.
            width = frame.Width;
            height = frame.Height;
        }
        if (width <= 0 || height <= 0 || width * height > kMaxPicturePixels)
            return false;
        m_canvas = std::make_unique<GifCanvas>(static_cast<int>(width), static_cast<int>(height));
        return true;
    }

    void ReadFrame()
    {
        if (DGifGetImageDesc(m_gif) != GIF_OK) {
            m_finished = true;
            return;
        }
        ForgetSavedImages();
        const GifImageDesc frame = m_gif->Image;
        const long long framePixels = static_cast<long long>(frame.Width) * frame.Height;
        if (!m_canvas && !MakeCanvas(frame)) {
            m_finished = true;
            return;
        }
        const long long screenPixels = static_cast<long long>(m_canvas->Width()) * m_canvas->Height();
        m_work += framePixels + screenPixels;
        if (framePixels > kMaxPicturePixels || m_work > m_workBudget || m_frameIndex >= kMaxGifFrames) {
            m_finished = true;
            return;
        }

        const int disposal = m_control.DisposalMode;
        const int transparent = m_control.TransparentColor;
        const int delayCs = m_hasControl ? m_control.DelayTime : -1;
        m_control = GraphicsControlBlock{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
        m_hasControl = false;

        m_canvas->BeginFrame({frame.Left, frame.Top, frame.Width, frame.Height}, disposal);
        const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : m_gif->SColorMap;
        const auto* colours = map ? reinterpret_cast<const uint8_t*>(map->Colors) : nullptr;
        const int colourCount = map ? map->ColorCount : 0;

        // The frame's data sub-blocks start here (giflib has read the LZW
        // minimum code size with the descriptor).
        const size_t dataStart = m_reader.offset;
        bool decoded = true;
        int rowsDecoded = 0;
        if (framePixels > 0) {
            std::vector<GifPixelType> line(frame.Width);
            for (int row : RowOrder(frame.Height, frame.Interlace)) {
                if (DGifGetLine(m_gif, line.data(), frame.Width) != GIF_OK) {
                    decoded = false;
                    break;
                }
                m_canvas->PaintRow(row, line.data(), colours, colourCount, transparent);
                ++rowsDecoded;
            }
        } else {
            decoded = SkipImageData();
        }
        // Like viewers, go on after a frame whose pixel data is damaged or
        // short, as long as the file goes on.
        const bool resumed = decoded || ResumeAfterImageData(dataStart);

        // A frame of which not one row decoded is skipped (its number stays
        // taken, so frame names keep pointing at the same frames).
        const bool shown = decoded || rowsDecoded > 0;
        const bool wanted = m_wantedFrame < 0 || m_wantedFrame == m_frameIndex;
        if (wanted && shown)
            Deliver(delayCs);
        if (m_wantedFrame >= 0 && m_frameIndex >= m_wantedFrame)
            m_finished = true;
        ++m_frameIndex;
        if (!resumed)
            m_finished = true;
    }

    // Moves the reader past the data sub-blocks that begin at `start`; false
    // when the file ends inside them.
    bool ResumeAfterImageData(size_t start)
    {
        size_t at = start;
        while (at < m_reader.size && m_reader.data[at] != 0)
            at += m_reader.data[at] + 1;
        if (at >= m_reader.size)
            return false;
        m_reader.offset = at + 1; // past the block terminator
        return true;
    }

    // The compressed data of a frame without pixels.
    bool SkipImageData()
    {
        int codeSize = 0;
        GifByteType* block = nullptr;
        if (DGifGetCode(m_gif, &codeSize, &block) != GIF_OK)
            return false;
        while (block) {
            if (DGifGetCodeNext(m_gif, &block) != GIF_OK)
                return false;
        }
        return true;
    }

    void Deliver(int delayCs)
    {
        wxImage picture = m_canvas->Snapshot();
        if (!picture.IsOk()) {
            m_finished = true;
            return;
        }
        if (delayCs >= 0)
            picture.SetOption(kPictureDelayOption, delayCs);
        ++m_delivered;
        if (!m_sink(std::move(picture), m_frameIndex))
            m_finished = true;
    }

    GifFileType* m_gif;
    MemoryReader& m_reader;
    int m_wantedFrame;
    const PictureSink& m_sink;
    std::unique_ptr<GifCanvas> m_canvas;
    GraphicsControlBlock m_control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    bool m_hasControl = false; // a graphic control extension came before the current frame
    const long long m_workBudget;
    long long m_work = 0;
    int m_frameIndex = 0;
    int m_delivered = 0;
    bool m_finished = false;
};

} // namespace

int DecodeGifPictures(const unsigned char* data, size_t size, int wantedFrame, const PictureSink& sink)
{
    MemoryReader reader{data, size, 0};
    int error = 0;
    GifHandle gif(DGifOpen(&reader, ReadFromMemory, &error));
    if (!gif)
        return 0;
    GifPictureReader pictures(gif.get(), reader, wantedFrame, sink);
    return pictures.Run();
}
