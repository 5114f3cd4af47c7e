#include "project/project_file.h"

#include "decode/gif_frame_name.h"
#include "decode/video_frame_name.h"
#include "io/wtoi.h"
#include "io/xml_guard.h"

#include <wx/ffile.h>
#include <wx/filefn.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/xml/xml.h>

#include <algorithm>
#include <vector>

namespace {
const wxString kXmlExtension = ".xml";

bool IsGifFrameEntry(const wxString& path)
{
    return path.Find(".gif_") > 0;
}

wxXmlNode* AddElement(wxXmlNode* parent, const wxString& name)
{
    auto* node = new wxXmlNode(wxXML_ELEMENT_NODE, name);
    parent->AddChild(node);
    return node;
}

wxXmlNode* AddTextElement(wxXmlNode* parent, const wxString& name, const wxString& text)
{
    wxXmlNode* element = AddElement(parent, name);
    element->AddChild(new wxXmlNode(wxXML_TEXT_NODE, wxEmptyString, text));
    return element;
}

void AddNumberElement(wxXmlNode* parent, const wxString& name, int value)
{
    AddTextElement(parent, name, wxString::Format("%d", value));
}

bool IsNamed(const wxXmlNode* node, const char* name)
{
    return node && node->GetName() == name;
}

int ReadNumber(const wxXmlNode* node)
{
    return WToI(node->GetNodeContent());
}

// A size limit in bytes; 0 (no limit) for anything that is not a positive
// whole number.
long long ReadByteCount(const wxXmlNode* node)
{
    long long bytes = 0;
    return node->GetNodeContent().ToLongLong(&bytes) && bytes > 0 ? bytes : 0;
}

bool ReadWholeFile(const wxString& path, std::vector<char>& data, wxString* error)
{
    wxFFile file(path, "rb");
    if (!file.IsOpened()) {
        *error = _("the file cannot be opened");
        return false;
    }
    const wxFileOffset length = file.Length();
    if (length < 0) {
        *error = _("the file cannot be read");
        return false;
    }
    if (length > kMaxProjectFileBytes) {
        *error = _("the file is too large for a project");
        return false;
    }
    data.resize(static_cast<std::size_t>(length));
    if (length > 0 && file.Read(data.data(), data.size()) != data.size()) {
        *error = _("the file cannot be read");
        return false;
    }
    return true;
}
} // namespace

int ClampProjectSetting(int value)
{
    return std::clamp(value, 0, kGifMaxField);
}

wxArrayString ProjectPathEntries(const wxArrayString& framePaths)
{
    wxArrayString entries;
    for (size_t i = 0; i < framePaths.size(); ++i) {
        const wxString& path = framePaths[i];
        entries.Add(path);
        if (!IsGifFrameEntry(path))
            continue;
        const wxString source = GifFrameSourcePath(path);
        const bool runGoesOn = i + 1 < framePaths.size() && GifFrameSourcePath(framePaths[i + 1]) == source;
        if (!runGoesOn)
            entries.Add(source);
    }
    return entries;
}

std::unique_ptr<wxXmlDocument> BuildProjectDocument(const ProjectFileSettings& settings,
                                                    const wxArrayString& framePaths,
                                                    const std::vector<int>& frameDelays)
{
    auto document = std::make_unique<wxXmlDocument>();
    auto* project = new wxXmlNode(wxXML_ELEMENT_NODE, "project");
    document->SetRoot(project);
    AddTextElement(project, "name", settings.gifName);
    wxXmlNode* gif = AddElement(project, "gif");
    AddNumberElement(gif, "width", settings.width);
    AddNumberElement(gif, "height", settings.height);
    AddNumberElement(gif, "delay_time", settings.delay);
    if (settings.loopCount != 0)
        AddNumberElement(gif, "loop_count", settings.loopCount);
    if (settings.loopInFile)
        AddNumberElement(gif, "loop_in_file", 1);
    if (settings.quality != kGifDefaultQuality)
        AddNumberElement(gif, "quality", settings.quality);
    if (settings.sizeLimit > 0)
        AddTextElement(gif, "size_limit", wxString::Format("%lld", settings.sizeLimit));
    if (settings.sizeLimitSide > 0)
        AddNumberElement(gif, "size_limit_side", settings.sizeLimitSide);
    if (settings.keepAllFrames)
        AddNumberElement(gif, "keep_all_frames", 1);
    wxXmlNode* images = AddElement(project, "images");
    // The frames come first in the entries, each followed at most by the
    // entry of its GIF file, so they are met in order.
    size_t frame = 0;
    for (const wxString& entry : ProjectPathEntries(framePaths)) {
        wxXmlNode* path = AddTextElement(images, "path", entry);
        if (frame >= framePaths.size() || entry != framePaths[frame])
            continue;
        if (frame < frameDelays.size() && frameDelays[frame] != settings.delay)
            path->AddAttribute("delay", wxString::Format("%d", frameDelays[frame]));
        ++frame;
    }
    return document;
}

wxString ProjectTitleStem(const wxString& fileName)
{
    wxString stem;
    return fileName.EndsWith(kXmlExtension, &stem) ? stem : wxString();
}

ProjectContents ReadProjectFile(const wxString& path)
{
    std::vector<char> data;
    wxString error;
    if (!ReadWholeFile(path, data, &error) ||
        !CheckXmlText(data.data(), data.size(), kMaxProjectDepth, &error)) {
        wxLogError(_("Cannot open the project \"%s\": %s."), path, error);
        return {};
    }
    wxMemoryInputStream stream(data.data(), data.size());
    wxXmlDocument document;
    if (!document.Load(stream, "UTF-8"))
        return {};
    return ReadProjectDocument(document);
}

ProjectContents ReadProjectDocument(const wxXmlDocument& document)
{
    ProjectContents contents;
    const wxXmlNode* project = document.GetRoot();
    if (!IsNamed(project, "project"))
        return contents;
    const wxXmlNode* name = project->GetChildren();
    if (!IsNamed(name, "name"))
        return contents;
    const wxXmlNode* gif = name->GetNext();
    if (!IsNamed(gif, "gif"))
        return contents;

    const wxXmlNode* width = gif->GetChildren();
    if (!IsNamed(width, "width"))
        return contents;
    contents.settings.width = ReadNumber(width);
    contents.stage = ProjectReadStage::Width;

    const wxXmlNode* height = width->GetNext();
    if (!IsNamed(height, "height"))
        return contents;
    contents.settings.height = ReadNumber(height);
    contents.settings.gifName = name->GetNodeContent();
    contents.stage = ProjectReadStage::Size;

    const wxXmlNode* delay = height->GetNext();
    if (!IsNamed(delay, "delay_time"))
        return contents;
    contents.settings.delay = ReadNumber(delay);
    contents.stage = ProjectReadStage::Settings;
    for (const wxXmlNode* setting = delay->GetNext(); setting; setting = setting->GetNext()) {
        if (IsNamed(setting, "loop_count"))
            contents.settings.loopCount = ReadNumber(setting);
        else if (IsNamed(setting, "loop_in_file"))
            contents.settings.loopInFile = ReadNumber(setting) != 0;
        else if (IsNamed(setting, "quality"))
            contents.settings.quality = ReadNumber(setting);
        else if (IsNamed(setting, "size_limit"))
            contents.settings.sizeLimit = ReadByteCount(setting);
        else if (IsNamed(setting, "size_limit_side"))
            contents.settings.sizeLimitSide = std::max(0, ReadNumber(setting));
        else if (IsNamed(setting, "keep_all_frames"))
            contents.settings.keepAllFrames = ReadNumber(setting) != 0;
    }

    const wxXmlNode* images = gif->GetNext();
    if (!IsNamed(images, "images"))
        return contents;
    if (!images->GetChildren()) {
        contents.stage = ProjectReadStage::NoImages;
        return contents;
    }
    for (const wxXmlNode* entry = images->GetChildren(); entry; entry = entry->GetNext()) {
        if (!IsNamed(entry, "path")) {
            contents.entries.clear();
            contents.entryDelays.clear();
            contents.stage = ProjectReadStage::BadEntry;
            return contents;
        }
        contents.entries.Add(entry->GetNodeContent());
        wxString delay;
        contents.entryDelays.push_back(entry->GetAttribute("delay", &delay) ? WToI(delay) : -1);
    }
    contents.stage = ProjectReadStage::Entries;
    return contents;
}

namespace {
// A picture, a GIF frame or a clip frame whose file is there; a whole GIF
// is not (its frames are entries of their own).
bool IsLoadedEntry(const wxString& entry)
{
    ClipName clip;
    const bool clipFrame = ParseClipName(entry, clip) && !wxFileExists(entry);
    return !HasGifExtension(entry) && wxFileExists(clipFrame ? clip.file : GifFrameSourcePath(entry));
}
} // namespace

wxArrayString ProjectLoadList(const wxArrayString& entries)
{
    wxLogNull noLog;
    wxArrayString list;
    for (const wxString& entry : entries) {
        if (IsLoadedEntry(entry))
            list.Add(entry);
    }
    return list;
}

std::vector<int> ProjectLoadDelays(const ProjectContents& project)
{
    wxLogNull noLog;
    std::vector<int> delays;
    for (size_t i = 0; i < project.entries.size(); ++i) {
        if (!IsLoadedEntry(project.entries[i]))
            continue;
        const int own = i < project.entryDelays.size() ? project.entryDelays[i] : -1;
        delays.push_back(ClampProjectSetting(own >= 0 ? own : project.settings.delay));
    }
    return delays;
}
