// Files dropped from the file manager on the strip or the preview, and
// loading pictures and clips in front of a given frame.
#include "gifframe.h"

#include "videoimportdialog.h"
#include "decode/picture_format.h"
#include "rules/drop_rules.h"
#include "video/video_clip.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"

#include <wx/dnd.h>
#include <wx/file.h>
#include <wx/filefn.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/spinctrl.h>

namespace {
// The preview takes dropped files at the end of the list.
class PreviewDropTarget : public wxFileDropTarget {
public:
    explicit PreviewDropTarget(GifFrame* frame) : m_frame(frame) {}

    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override
    {
        if (m_frame->IsListBusy())
            return false;
        // Opening a project asks questions: not inside the drop itself.
        GifFrame* frame = m_frame;
        m_frame->CallAfter([frame, files] { frame->DropFiles(files, -1); });
        return true;
    }

private:
    GifFrame* m_frame;
};

// A file whose first bytes name no picture format and that is no clip
// cannot be added; a drop says so instead of passing over it.
bool IsReadableMedia(const wxString& path)
{
    wxLogNull noLog;
    wxFile file;
    if (!file.Open(path))
        return false;
    unsigned char head[64] = {};
    const ssize_t read = file.Read(head, sizeof head);
    if (read > 0 && SniffPictureFormat(head, static_cast<size_t>(read)) != PictureFormat::Unknown)
        return true;
    return IsVideoClip(path);
}
} // namespace

void GifFrame::InstallDropTargets()
{
    if (m_panel_down)
        m_panel_down->SetDropTarget(new PreviewDropTarget(this));
}

void GifFrame::OnThumbnailFilesDropped(wxThumbnailEvent& event)
{
    if (IsListBusy()) {
        event.Veto();
        return;
    }
    const wxArrayString files = event.GetFiles();
    const int gap = event.GetItemIndex();
    CallAfter([this, files, gap] { DropFiles(files, gap); });
}

bool GifFrame::DropFiles(const wxArrayString& paths, int position)
{
    if (IsListBusy())
        return false;
    const DroppedFiles dropped = SortDroppedFiles(paths);
    if (!dropped.project.empty()) {
        // As on the command line: the project comes alone, and the user hears
        // which files did not come with it.
        if (!dropped.pictures.empty())
            wxMessageBox(ListedFiles(_("A project opens on its own; these files were not added:"), dropped.pictures),
                         GetTitle(), wxOK | wxICON_WARNING, this);
        OpenProject(dropped.project);
        return true;
    }
    wxArrayString readable;
    wxArrayString unreadable;
    for (const wxString& path : dropped.pictures)
        (IsReadableMedia(path) ? readable : unreadable).Add(path);
    if (!unreadable.empty())
        wxMessageBox(ListedFiles(_("These files could not be read and were left out:"), unreadable), GetTitle(),
                     wxOK | wxICON_WARNING, this);
    if (readable.empty())
        return false;
    StopPreview();
    // TRANSLATORS: names the change in "Undo %s" and "Redo %s": files dropped on the window.
    return LoadFilesAt(readable, position, wxTRANSLATE("Drop"));
}

bool GifFrame::LoadFilesAt(const wxArrayString& paths, int position, const char* label)
{
    if (paths.empty() || IsListBusy() || !m_thumbnail_ctrl)
        return false;
    // Each clip asks which part to take, before anything loads.
    wxArrayString names;
    std::vector<VideoClipPtr> clips;
    for (const wxString& path : paths) {
        if (!wxFileExists(path) || !IsVideoClip(path)) {
            names.Add(path);
            continue;
        }
        // A clip the program cannot read is passed over, as a broken picture is.
        const VideoClipPtr clip = VideoClip::Open(path);
        if (!clip)
            continue;
        VideoImportDialog dialog(this, clip, m_spinctrl_delay ? m_spinctrl_delay->GetValue() : 0);
        if (dialog.ShowModal() != wxID_OK)
            continue;
        names.Add(dialog.RangeName());
        clips.push_back(clip);
    }
    if (names.empty())
        return false;
    auto before = std::make_unique<FrameListState>(CaptureState());
    m_loadPosition = position;
    if (!StartImageLoad(names)) {
        m_loadPosition = -1;
        return false;
    }
    m_loadBefore = std::move(before);
    m_loadLabel = label;
    m_loadClips = std::move(clips);
    EnableCommands();
    return true;
}

bool GifFrame::PlaceLoadedItem(wxThumbnailItem* item, int delay)
{
    if (!m_thumbnail_ctrl)
        return false;
    if (m_loadPosition < 0 || m_loadPosition >= m_thumbnail_ctrl->GetCount())
        return m_thumbnail_ctrl->Append(item, delay) >= 0;
    item->SetDelay(delay);
    if (!item->PrepareBitmaps(m_thumbnail_ctrl, false))
        return false;
    m_thumbnail_ctrl->Insert(item, m_loadPosition++);
    return true;
}

void GifFrame::FinishLoadStep()
{
    m_loadPosition = -1;
    if (m_loadBefore) {
        const std::unique_ptr<FrameListState> before = std::move(m_loadBefore);
        RecordStep(m_loadLabel, *before);
    }
}
