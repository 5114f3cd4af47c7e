// The Add and Insert Image dialogs list every file the loader reads, whatever
// the letter case of its extension, with one entry per format.
#include "rules/picture_file_types.h"

#include <gtest/gtest.h>
#include <wx/filefn.h>

#include <fnmatch.h>

#include <string>
#include <vector>

namespace {
struct ParsedWildcard {
    wxArrayString labels;
    wxArrayString patterns;
};

ParsedWildcard Parse(const wxString& wildcard)
{
    ParsedWildcard parsed;
    EXPECT_GT(wxParseCommonDialogsFilter(wildcard, parsed.labels, parsed.patterns), 0);
    return parsed;
}

// The entries whose patterns take `name`, the way GTK's chooser matches them.
std::vector<int> EntriesShowing(const ParsedWildcard& parsed, const char* name)
{
    std::vector<int> entries;
    for (size_t i = 0; i < parsed.patterns.size(); ++i) {
        const wxArrayString patterns = wxSplit(parsed.patterns[i], ';', '\0');
        for (const wxString& pattern : patterns)
            if (fnmatch(pattern.utf8_str(), name, 0) == 0) {
                entries.push_back(static_cast<int>(i));
                break;
            }
    }
    return entries;
}

const wxString kWildcard = PictureFileWildcard("All supported files", "All files");

// Entries: 0 all supported, 1 PNG, 2 JPEG, 3 BMP, 4 GIF, 5 MP4, 6 QuickTime,
// 7 Matroska, 8 WebM, 9 WebP, 10 all files.
struct Listing {
    const char* name;
    std::vector<int> entries;
};
const Listing kListings[] = {
    {"frame.png", {0, 1, 10}},    {"SHOT.PNG", {0, 1, 10}},     {"IMG_0001.JPG", {0, 2, 10}},
    {"photo.jpeg", {0, 2, 10}},   {"photo.Jpeg", {0, 2, 10}},   {"photo.jpe", {0, 2, 10}},
    {"photo.JFIF", {0, 2, 10}},   {"scan.bmp", {0, 3, 10}},     {"scan.DIB", {0, 3, 10}},
    {"anim.GIF", {0, 4, 10}},     {"VID_0001.MP4", {0, 5, 10}}, {"clip.m4v", {0, 5, 10}},
    {"IMG_0002.MOV", {0, 6, 10}}, {"screen.mkv", {0, 7, 10}},   {"clip.webm", {0, 8, 10}},
    {"picture.tiff", {10}},       {"notes.txt", {10}},          {"png", {10}},
    {"archive.png.zip", {10}},  {"anim.WebP", {0, 9, 10}},
};

class PictureFileFilter : public ::testing::TestWithParam<Listing> {};

TEST_P(PictureFileFilter, FileIsListedUnderItsEntries)
{
    EXPECT_EQ(EntriesShowing(Parse(kWildcard), GetParam().name), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(Names, PictureFileFilter, ::testing::ValuesIn(kListings),
                         [](const ::testing::TestParamInfo<Listing>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST(PictureFileFilterLabels, AllSupportedFirstThenEachFormatThenAllFiles)
{
    const ParsedWildcard parsed = Parse(kWildcard);
    ASSERT_EQ(parsed.labels.size(), PictureFileTypes().size() + 2);
    EXPECT_EQ(parsed.labels[0],
              "All supported files (*.png;*.jpg;*.jpeg;*.jpe;*.jfif;*.bmp;*.dib;*.gif;*.mp4;*.m4v;*.mov;*.mkv;*.webm;*.webp)");
    EXPECT_EQ(parsed.labels[1], "PNG (*.png)");
    EXPECT_EQ(parsed.labels[2], "JPEG (*.jpg;*.jpeg;*.jpe;*.jfif)");
    EXPECT_EQ(parsed.labels.Last(), "All files (*)");
    EXPECT_EQ(parsed.patterns.Last(), "*");
}
} // namespace
