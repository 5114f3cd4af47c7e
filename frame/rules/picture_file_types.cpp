#include "rules/picture_file_types.h"

#include <cctype>

namespace {
// What the pattern list looks like in a label: "*.png;*.jpg".
wxString ShownPatterns(const std::vector<const char*>& extensions)
{
    wxString shown;
    for (const char* extension : extensions)
        shown << (shown.empty() ? "" : ";") << "*." << extension;
    return shown;
}

wxString Patterns(const std::vector<const char*>& extensions)
{
    wxString patterns;
    for (const char* extension : extensions)
        patterns << (patterns.empty() ? "" : ";") << AnyCasePattern(extension);
    return patterns;
}
} // namespace

const std::vector<PictureFileType>& PictureFileTypes()
{
    static const std::vector<PictureFileType> types = {
        {"PNG", {"png"}},
        {"JPEG", {"jpg", "jpeg", "jpe", "jfif"}},
        {"BMP", {"bmp", "dib"}},
        {"GIF", {"gif"}},
        // Video clips, whose frames the import dialog takes at a chosen rate.
        {"MP4", {"mp4", "m4v"}},
        {"QuickTime", {"mov"}},
        {"Matroska", {"mkv"}},
        {"WebM", {"webm"}},
        // A still picture, or an animation taken like a clip.
        {"WebP", {"webp"}},
    };
    return types;
}

wxString AnyCasePattern(const char* extension)
{
    wxString pattern = "*.";
    for (const char* c = extension; *c; ++c) {
        const int ch = static_cast<unsigned char>(*c);
        if (std::isalpha(ch))
            pattern << '[' << char(std::tolower(ch)) << char(std::toupper(ch)) << ']';
        else
            pattern << char(ch);
    }
    return pattern;
}

wxString PictureFileWildcard(const wxString& allSupportedLabel, const wxString& allFilesLabel)
{
    std::vector<const char*> all;
    for (const PictureFileType& type : PictureFileTypes())
        all.insert(all.end(), type.extensions.begin(), type.extensions.end());

    wxString wildcard;
    wildcard << allSupportedLabel << " (" << ShownPatterns(all) << ")|" << Patterns(all);
    for (const PictureFileType& type : PictureFileTypes())
        wildcard << '|' << type.name << " (" << ShownPatterns(type.extensions) << ")|"
                 << Patterns(type.extensions);
    wildcard << '|' << allFilesLabel << " (*)|*";
    return wildcard;
}
