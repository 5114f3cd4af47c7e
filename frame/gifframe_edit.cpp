#include "gifframe.h"

#include "window/thumbnailctrl.h"

#include <wx/menu.h>
#include <wx/spinctrl.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

namespace {
void SwitchEditingSet(GifFrame& frame, bool enable)
{
    for (wxMenuItem* item : {frame.m_item_save, frame.m_item_save_as, frame.m_item_delete,
                             frame.m_item_clear_all, frame.m_item_run_animation,
                             frame.m_item_loop_count})
        if (item)
            item->Enable(enable);
    if (frame.m_toolBar_button) {
        frame.m_toolBar_button->EnableTool(XRCID("m_tool_delete"), enable);
        frame.m_toolBar_button->EnableTool(XRCID("m_tool_play"), enable);
    }
    for (wxSpinCtrl* spin : {frame.m_spinctrl_delay, frame.m_spinctrl_width, frame.m_spinctrl_height})
        if (spin)
            spin->Enable(enable);
    if (frame.m_item_save_project)
        frame.m_item_save_project->Enable(enable);
    frame.m_editingEnabled = enable;
}
} // namespace

void GifFrame::EnableCommands()
{
    SwitchEditingSet(*this, true);
}

void GifFrame::DisableCommands()
{
    SwitchEditingSet(*this, false);
}

bool GifFrame::IsProjectUnsaved() const
{
    return false;
}

void GifFrame::OnAddImage(wxCommandEvent&) {}
void GifFrame::OnInsertImage(wxCommandEvent&) {}
void GifFrame::OnDeleteImage(wxCommandEvent&) {}
void GifFrame::OnClearAll(wxCommandEvent&) {}
void GifFrame::OnThumbnailRightClick(wxThumbnailEvent&) {}
void GifFrame::OnOpenProject(wxCommandEvent&) {}

void GifFrame::OnCloseFrame(wxEvent&)
{
    Destroy();
}
