// Files dropped from the file manager on the strip or the preview, and
// loading pictures in front of a given frame.
#include "gifframe.h"

#include "rules/drop_rules.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"

#include <wx/dnd.h>
#include <wx/panel.h>

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
        OpenProject(dropped.project);
        return true;
    }
    if (dropped.pictures.empty())
        return false;
    StopPreview();
    // TRANSLATORS: names the change in "Undo %s" and "Redo %s": files dropped on the window.
    return LoadFilesAt(dropped.pictures, position, wxTRANSLATE("Drop"));
}

bool GifFrame::LoadFilesAt(const wxArrayString& paths, int position, const char* label)
{
    if (paths.empty() || IsListBusy() || !m_thumbnail_ctrl)
        return false;
    auto before = std::make_unique<FrameListState>(CaptureState());
    m_loadPosition = position;
    if (!StartImageLoad(paths)) {
        m_loadPosition = -1;
        return false;
    }
    m_loadBefore = std::move(before);
    m_loadLabel = label;
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
