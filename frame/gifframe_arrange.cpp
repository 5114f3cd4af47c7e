// Arranging the frames (move, duplicate, reverse, back and forth) and undoing
// and redoing every change of the frame list and the output settings.
#include "gifframe.h"

#include "loopcountdialog.h"
#include "rules/frame_arrangement.h"
#include "rules/status_text.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"

#include <wx/intl.h>
#include <wx/menu.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

namespace {
int SpinValue(const wxSpinCtrl* spin)
{
    return spin ? spin->GetValue() : 0;
}

void SetSpin(wxSpinCtrl* spin, int value)
{
    // Setting the value sends no text event, so nothing is recorded here.
    if (spin && spin->GetValue() != value)
        spin->SetValue(value);
}
} // namespace

FrameListState GifFrame::CaptureState() const
{
    FrameListState state;
    if (m_thumbnail_ctrl) {
        const int count = m_thumbnail_ctrl->GetCount();
        state.frames.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            if (auto* item = dynamic_cast<wxImageThumbnailItem*>(m_thumbnail_ctrl->GetItem(i)))
                state.frames.push_back({item->GetPicture(), item->GetDelay()});
        state.selection = SelectedFrames();
    }
    state.width = SpinValue(m_spinctrl_width);
    state.height = SpinValue(m_spinctrl_height);
    state.aspectWidth = m_aspectWidth;
    state.aspectHeight = m_aspectHeight;
    state.loopCount = m_loopCount;
    state.loopInFile = m_loopInFile;
    state.quality = GetQuality();
    return state;
}

void GifFrame::RestoreState(const FrameListState& state)
{
    if (!m_thumbnail_ctrl)
        return;
    std::vector<wxThumbnailItem*> items;
    items.reserve(state.frames.size());
    for (const FrameListState::Frame& frame : state.frames) {
        auto* item = new wxImageThumbnailItem(frame.picture);
        item->SetDelay(frame.delay);
        items.push_back(item);
    }
    m_thumbnail_ctrl->ReplaceItems(std::move(items), state.selection);
    m_quality = state.quality;
    SetSpin(m_spinctrl_width, state.width);
    SetSpin(m_spinctrl_height, state.height);
    SetSpin(m_spinctrl_quality, state.quality);
    m_outputWidth = state.width;
    m_outputHeight = state.height;
    m_aspectWidth = state.aspectWidth;
    m_aspectHeight = state.aspectHeight;
    m_loopCount = g_loopCountSetting = state.loopCount;
    m_loopInFile = g_loopInFileSetting = state.loopInFile;
    m_loopsPlayed = 0;
    const bool empty = m_thumbnail_ctrl->GetCount() == 0;
    ClearPreview();
    if (m_statusBar1) {
        m_statusBar1->SetStatusText(empty ? wxString() : OutputStatusText(m_gifName, state.width, state.height),
                                    kOutputStatusField);
        m_statusBar1->SetStatusText(wxEmptyString, kFrameStatusField);
    }
    ShowSelectionDelay();
    empty ? DisableCommands() : EnableCommands();
    UpdateUndoItems();
}

void GifFrame::RecordStep(const char* label, const FrameListState& before, int mergeKey)
{
    if (!before.SameAnimation(CaptureState()))
        m_history.Record(label, before, mergeKey);
    UpdateUndoItems();
}

void GifFrame::UpdateUndoItems()
{
    if (m_item_undo) {
        const bool can = m_history.CanUndo();
        // TRANSLATORS: Edit menu; %s names the change, e.g. "Undo Move".
        m_item_undo->SetItemLabel(
            (can ? wxString::Format(_("&Undo %s"), wxGetTranslation(m_history.UndoLabel())) : _("&Undo")) +
            "\tCtrl+Z");
        m_item_undo->Enable(can);
    }
    if (m_item_redo) {
        const bool can = m_history.CanRedo();
        // TRANSLATORS: Edit menu; %s names the change, e.g. "Redo Move".
        m_item_redo->SetItemLabel(
            (can ? wxString::Format(_("&Redo %s"), wxGetTranslation(m_history.RedoLabel())) : _("&Redo")) +
            "\tCtrl+Y");
        m_item_redo->Enable(can);
    }
}

void GifFrame::OnUndo(wxCommandEvent&)
{
    if (IsListBusy() || !m_history.CanUndo())
        return;
    StopPreview();
    RestoreState(m_history.Undo(CaptureState()));
}

void GifFrame::OnRedo(wxCommandEvent&)
{
    if (IsListBusy() || !m_history.CanRedo())
        return;
    StopPreview();
    RestoreState(m_history.Redo(CaptureState()));
}

std::vector<int> GifFrame::SelectedFrames() const
{
    if (!m_thumbnail_ctrl)
        return {};
    const wxArrayInt& selections = m_thumbnail_ctrl->GetSelections();
    return CleanSelection(std::vector<int>(selections.begin(), selections.end()), m_thumbnail_ctrl->GetCount());
}

void GifFrame::ApplyArrangement(const Arrangement& arrangement, const char* label)
{
    StopPreview();
    const FrameListState before = CaptureState();
    m_thumbnail_ctrl->Rearrange(arrangement.order, arrangement.selection);
    ShowSelectionDelay();
    RecordStep(label, before);
}

void GifFrame::OnMoveFrames(wxCommandEvent& event)
{
    if (IsListBusy() || !m_thumbnail_ctrl)
        return;
    const std::vector<int> selection = SelectedFrames();
    if (selection.empty())
        return;
    MoveStep step = MoveStep::Left;
    switch (event.GetId()) {
    case ID_MENU_MOVE_RIGHT:
        step = MoveStep::Right;
        break;
    case ID_MENU_MOVE_START:
        step = MoveStep::Start;
        break;
    case ID_MENU_MOVE_END:
        step = MoveStep::End;
        break;
    default:
        break;
    }
    // TRANSLATORS: names the change in "Undo %s" and "Redo %s".
    ApplyArrangement(MoveSelectionBy(m_thumbnail_ctrl->GetCount(), selection, step), wxTRANSLATE("Move"));
}

void GifFrame::OnThumbnailMoveSelection(wxThumbnailEvent& event)
{
    if (IsListBusy() || !m_thumbnail_ctrl)
        return;
    const std::vector<int> selection = SelectedFrames();
    if (selection.empty())
        return;
    ApplyArrangement(MoveSelectionTo(m_thumbnail_ctrl->GetCount(), selection, event.GetItemIndex()),
                     wxTRANSLATE("Move"));
}

void GifFrame::OnDuplicateFrames(wxCommandEvent&)
{
    if (IsListBusy() || !m_thumbnail_ctrl || SelectedFrames().empty())
        return;
    // TRANSLATORS: names the change in "Undo %s" and "Redo %s".
    ApplyArrangement(DuplicateSelection(m_thumbnail_ctrl->GetCount(), SelectedFrames()), wxTRANSLATE("Duplicate"));
}

void GifFrame::OnReverseFrames(wxCommandEvent&)
{
    if (IsListBusy() || !m_thumbnail_ctrl || m_thumbnail_ctrl->GetCount() == 0)
        return;
    // TRANSLATORS: names the change in "Undo %s" and "Redo %s".
    ApplyArrangement(ReverseSelection(m_thumbnail_ctrl->GetCount(), SelectedFrames()), wxTRANSLATE("Reverse"));
}

void GifFrame::OnBackAndForth(wxCommandEvent&)
{
    if (IsListBusy() || !m_thumbnail_ctrl || m_thumbnail_ctrl->GetCount() == 0)
        return;
    // TRANSLATORS: names the change in "Undo %s" and "Redo %s".
    ApplyArrangement(BackAndForth(m_thumbnail_ctrl->GetCount(), SelectedFrames()), wxTRANSLATE("Back and Forth"));
}

void GifFrame::OnSetQuality(wxCommandEvent&)
{
    FrameListState before = CaptureState();
    before.quality = m_quality;
    m_quality = GetQuality();
    // TRANSLATORS: names the change in "Undo %s" and "Redo %s".
    RecordStep(wxTRANSLATE("Quality"), before, kMergeQuality);
}
