#pragma once

#include "project/animation_settings.h"
#include "format/gif_format.h"

#include <wx/arrstr.h>
#include <wx/string.h>

#include <memory>
#include <vector>

class wxXmlDocument;

// A project file is refused beyond these limits before a tree is built: a
// project lists one short path per frame and is four elements deep.
constexpr long long kMaxProjectFileBytes = 8LL * 1024 * 1024;
constexpr int kMaxProjectDepth = 32;

// The window's delay, width and height controls, like the GIF's 16-bit
// fields, hold values from 0 to kGifMaxField; a project's values are clamped
// to that.
int ClampProjectSetting(int value);

// What a project records besides its frames: the settings, and the output
// GIF's file name part (empty when none was chosen). A file keeps no frame
// count (its entries are the frames), so frameCount stays 0. Settings at their
// defaults are not written, so a project that uses none of them is written as
// version 1.0.82 wrote it; that version's reader passes over what is written.
struct ProjectFileSettings : AnimationSettings {
    wxString gifName;
};

// The `path` entries for a frame list: each frame path in order, and after
// every run of frames taken from one GIF file the path of that file itself
// (older readers expect it; the reader skips it).
wxArrayString ProjectPathEntries(const wxArrayString& framePaths);

// The project document: `project` with `name`, `gif` (`width`, `height`,
// `delay_time`, then the other settings that differ from their defaults) and
// `images` holding one `path` per entry. `frameDelays` holds one delay per
// frame, or nothing when every frame has settings.delay; a frame whose delay
// differs from settings.delay carries it as the attribute `delay` of its
// `path`.
std::unique_ptr<wxXmlDocument> BuildProjectDocument(const ProjectFileSettings& settings,
                                                    const wxArrayString& framePaths,
                                                    const std::vector<int>& frameDelays = {});

// Writes the document indented by 2, replacing `path` only when all of it was
// written. On failure `error` receives the reason.
bool WriteProjectFile(const wxString& path, const wxXmlDocument& document, wxString* error);

// The window title's project part: the file name without its final ".xml",
// or empty when it does not end with ".xml".
wxString ProjectTitleStem(const wxString& fileName);

// How far reading got. Values are applied as they are reached, so each stage
// includes everything of the stages before it.
enum class ProjectReadStage {
    Unreadable, // not XML, refused, or the structure fails before `width`
    Width,      // `width` read; `height` missing
    Size,       // `name` and `height` read; `delay_time` missing
    Settings,   // `delay_time` read; `images` missing
    NoImages,   // `images` has no children
    BadEntry,   // `images` holds something other than `path`
    Entries,    // every `path` entry read
};

struct ProjectContents {
    ProjectReadStage stage = ProjectReadStage::Unreadable;
    ProjectFileSettings settings;
    wxArrayString entries; // the text of every `path`, in order
    std::vector<int> entryDelays; // each entry's own delay, -1 for none
};

// Reads a project file. A file too large, nested too deep or not well-formed
// is refused with an error log message and yields the Unreadable stage.
ProjectContents ReadProjectFile(const wxString& path);

// Checks the structure of a loaded document, stopping at the first element
// that is not where a project has it.
ProjectContents ReadProjectDocument(const wxXmlDocument& document);

// The pictures to load for a project's entries: those whose file exists (for
// a clip's frame, "clip.mp4#t=1.5", the clip), leaving out entries that name
// a GIF file itself.
wxArrayString ProjectLoadList(const wxArrayString& entries);

// The delay of each picture of ProjectLoadList(project.entries), in that
// order: the entry's own, or the project's delay.
std::vector<int> ProjectLoadDelays(const ProjectContents& project);
