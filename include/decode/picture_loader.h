#pragma once

#include <wx/image.h>

#include <cstddef>
#include <functional>
#include <vector>

// Pictures with more pixels than this are refused before anything is
// allocated for them (the order of the decompression-bomb guards of other
// image libraries).
constexpr long long kMaxPicturePixels = 100LL * 1000 * 1000;

// Files larger than this are not read at all.
constexpr long long kMaxPictureFileBytes = 512LL * 1024 * 1024;

// A picture taken from a GIF frame that has a graphic control extension
// carries that frame's delay, in hundredths of a second exactly as the file
// stores it (0 and 1 included), as this image option.
extern const char kPictureDelayOption[];

// The delay a picture carries, or -1 when it has none (a still picture, or a
// GIF frame without timing).
int PictureDelayCs(const wxImage& picture);

// Receives each picture a path yields, with its frame index inside a GIF file
// (0 for other pictures). The picture is the only holder of its data; to keep
// it, take it over with TakePicture, which leaves no reference behind, so the
// result may be handed to another thread. Return false to stop the load early.
using PictureSink = std::function<bool(wxImage&& picture, int frameIndex)>;

// Decodes what `path` names: every frame of a file ending in ".gif" (each one
// the picture a viewer shows at that point), the single frame named by a GIF
// frame name ("anim.gif_3"), or the one picture of any other file. A file that
// cannot be read, or a picture that is refused, yields nothing. Returns the
// number of pictures delivered. Safe to call on any thread at the same time:
// it uses its own decoder objects and no shared state, and needs no image
// handler to be registered.
//
// Only PNG, JPEG, BMP and GIF are read, told apart by their contents (a GIF
// not named ".gif" yields its first frame). Each declared size is checked
// against kMaxPicturePixels before anything is allocated; a GIF file's frames
// are further bounded by kMaxGifFilePixels (gif_decode.h).
int LoadPictures(const wxString& path, const PictureSink& sink);

// What to take from a file's bytes.
enum class PictureRead {
    AllGifFrames, // a ".gif" file: every frame
    OneGifFrame,  // a GIF frame name: only frame `frameIndex`
    StillPicture  // anything else: one picture, its kind told by its contents
};

// LoadPictures on bytes already in memory.
int LoadPicturesFromMemory(const unsigned char* data, size_t size, PictureRead read, int frameIndex,
                           const PictureSink& sink);

// What a path names: a file, and which of its pictures to take.
struct PicturePath {
    wxString file;
    PictureRead read = PictureRead::StillPicture;
    int frame = -1; // for OneGifFrame
};
PicturePath ResolvePicturePath(const wxString& path);

// Reads a whole picture file (regular files up to kMaxPictureFileBytes).
bool ReadPictureFile(const wxString& path, std::vector<unsigned char>& bytes);

// The one picture of a still file's bytes, with the guards LoadPictures
// applies. A JPEG may come decoded at a reduced scale no smaller than
// `atLeast`; (0, 0) asks for the full size.
wxImage DecodeStillPicture(const unsigned char* data, size_t size, const wxSize& atLeast = wxSize(0, 0));

// Moves a picture given to a sink into a new heap object that holds the only
// reference to its data; `picture` is left empty.
wxImage* TakePicture(wxImage& picture);
