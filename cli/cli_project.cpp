#include "cli_project.h"

#include "encode/gif_output_size.h"
#include "decode/frame_loader.h"
#include "project/project_file.h"
#include "video/video_loader.h"

#include <algorithm>

bool ReadProjectForRender(const wxString& path, std::vector<LoadedFrame>& frames, std::vector<wxString>& names,
                          GifEncodeSettings& settings, wxString& error, GifFitOptions* fit)
{
    const ProjectContents project = ReadProjectFile(path);
    if (project.stage == ProjectReadStage::NoImages) {
        error = wxString::Format("the project \"%s\" lists no pictures", path);
        return false;
    }
    if (project.stage != ProjectReadStage::Entries) {
        error = wxString::Format("\"%s\" is not a complete project file", path);
        return false;
    }
    // Each picture takes its entry's delay, as the window's loading gives it.
    const wxArrayString loadList = ProjectLoadList(project.entries);
    const std::vector<int> entryDelays = ProjectLoadDelays(project);
    for (size_t i = 0; i < loadList.size(); ++i)
        LoadMediaFrames(loadList[i], nullptr, [&](LoadedFrame&& frame) {
            frames.push_back(std::move(frame));
            names.push_back(loadList[i]);
            settings.delaysCs.push_back(entryDelays[i]);
            return true;
        });
    if (frames.empty()) {
        error = wxString::Format("none of the pictures of the project \"%s\" can be read", path);
        return false;
    }

    // The window shows the project's size once its pictures have arrived, or
    // the size taken from the pictures when the project holds none.
    settings.delayCs = ClampProjectSetting(project.settings.delay);
    settings.loopCount = project.settings.loopInFile ? std::clamp(project.settings.loopCount, 0, kGifMaxPlays) : 0;
    // The window's quality control holds 1 to 100.
    settings.quality = std::clamp(project.settings.quality, 1, 100);
    if (fit) {
        fit->limit = project.settings.sizeLimit;
        fit->maxSide = project.settings.sizeLimitSide;
        fit->dropFrames = !project.settings.keepAllFrames;
    }
    settings.width = ClampProjectSetting(project.settings.width);
    settings.height = ClampProjectSetting(project.settings.height);
    if (settings.width == 0 || settings.height == 0) {
        std::vector<wxSize> sizes;
        for (const LoadedFrame& frame : frames)
            sizes.push_back(frame.size);
        const wxSize size = GifDefaultOutputSize(sizes);
        settings.width = ClampProjectSetting(size.GetWidth());
        settings.height = ClampProjectSetting(size.GetHeight());
    }
    return true;
}
