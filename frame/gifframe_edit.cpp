#include "gifframe.h"
#include "rules/status_text.h"

#include "rules/picture_file_types.h"
#include "rules/project_rules.h"
#include "rules/selection_rules.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"
#include "window/thumbnaillayout.h"

#include <wx/filedlg.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

#include <utility>

namespace {

int SpinValue(const wxSpinCtrl* spin)
{
    return spin ? spin->GetValue() : 0;
}

int AskUnsavedProject(wxWindow* parent)
{
    wxMessageDialog question(parent,
                             _("The project is unsaved,you can continue to edit\n your project when "
                               "you open it next time,do you \nwant to save the project now?"),
                             _("Warning"), wxYES_NO | wxCANCEL | wxNO_DEFAULT | wxICON_EXCLAMATION);
    return question.ShowModal();
}
} // namespace

void GifFrame::SwitchEditingSet(bool enable)
{
    for (wxMenuItem* item : {m_item_save, m_item_save_as, m_item_delete, m_item_clear_all, m_item_set_delay,
                             m_item_run_animation, m_item_loop_count, m_item_move_left, m_item_move_right,
                             m_item_move_start, m_item_move_end, m_item_duplicate, m_item_reverse,
                             m_item_back_and_forth})
        if (item)
            item->Enable(enable);
    if (m_toolBar_button) {
        m_toolBar_button->EnableTool(XRCID("m_tool_delete"), enable);
        m_toolBar_button->EnableTool(XRCID("m_tool_play"), enable);
    }
    for (wxSpinCtrl* spin : {m_spinctrl_delay, m_spinctrl_width, m_spinctrl_height, m_spinctrl_quality})
        if (spin)
            spin->Enable(enable);
    if (m_item_save_project)
        m_item_save_project->Enable(enable);
    m_editingEnabled = enable;
}

void GifFrame::EnableCommands()
{
    SwitchEditingSet(true);
}

void GifFrame::DisableCommands()
{
    SwitchEditingSet(false);
}

AnimationSettings GifFrame::CurrentSettings() const
{
    AnimationSettings settings;
    settings.frameCount = m_thumbnail_ctrl ? m_thumbnail_ctrl->GetCount() : 0;
    settings.delay = SpinValue(m_spinctrl_delay);
    settings.width = SpinValue(m_spinctrl_width);
    settings.height = SpinValue(m_spinctrl_height);
    settings.frameDelays = GetFrameDelays();
    settings.frames = GetFramePaths();
    settings.loopCount = m_loopCount;
    settings.loopInFile = m_loopInFile;
    settings.quality = GetQuality();
    const GifFitOptions fit = GetFitOptions();
    settings.sizeLimit = fit.limit;
    settings.sizeLimitSide = fit.maxSide;
    settings.keepAllFrames = !fit.dropFrames;
    return settings;
}

bool GifFrame::IsProjectUnsaved() const
{
    // The frames' pictures are compared too: a frame deleted and its file
    // added again may hold other pixels.
    return !CaptureState().SameAnimation(m_savedState) || ::IsProjectUnsaved(CurrentSettings(), m_projectRecord);
}

wxArrayString GifFrame::AskImagePaths(const wxString& message)
{
    wxFileDialog dialog(this, message, wxEmptyString, wxEmptyString,
                        // TRANSLATORS: file type of the Add and Insert Image dialogs.
                        PictureFileWildcard(_("All supported files"),
                                            // TRANSLATORS: file type of the Add and Insert Image dialogs.
                                            _("All files")),
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST | wxFD_MULTIPLE);
    wxArrayString paths;
    if (dialog.ShowModal() == wxID_OK)
        dialog.GetPaths(paths);
    return paths;
}

void GifFrame::OnAddImage(wxCommandEvent&)
{
    StopPreview();
    AddImages(AskImagePaths(_("Add Image Files")));
}

void GifFrame::AddImages(const wxArrayString& paths)
{
    if (paths.empty())
        return;
    LoadFilesAt(paths, -1);
}

void GifFrame::OnThumbnailRightClick(wxThumbnailEvent&)
{
    StopPreview();
    wxMenu menu;
    menu.Append(ID_INSERT_IMAGE, _("&Insert Image") + "\tCtrl+Ins");
    menu.Append(wxID_DELETE, _("&Delete") + "\tCtrl+Del");
    menu.Append(ID_MENU_SET_DELAY, _("Set Delay of Selected Frames...") + "\t" + kSetDelayAccelerator);
    menu.AppendSeparator();
    menu.Append(ID_MENU_MOVE_LEFT, _("Move Left") + "\t" + kMoveLeftAccelerator);
    menu.Append(ID_MENU_MOVE_RIGHT, _("Move Right") + "\t" + kMoveRightAccelerator);
    menu.Append(ID_MENU_MOVE_START, _("Move to Start") + "\t" + kMoveStartAccelerator);
    menu.Append(ID_MENU_MOVE_END, _("Move to End") + "\t" + kMoveEndAccelerator);
    menu.AppendSeparator();
    menu.Append(ID_MENU_DUPLICATE, _("Duplicate") + "\t" + kDuplicateAccelerator);
    menu.Append(ID_MENU_REVERSE, _("Reverse"));
    menu.Append(ID_MENU_BACK_AND_FORTH, _("Back and Forth"));
    PopupMenu(&menu);
}

void GifFrame::OnInsertImage(wxCommandEvent&)
{
    if (IsListBusy())
        return;
    StopPreview();
    InsertImages(AskImagePaths(_("Insert Image Files")));
}

void GifFrame::InsertImages(const wxArrayString& paths)
{
    if (!m_thumbnail_ctrl)
        return;
    LoadFilesAt(paths, InsertPosition(m_thumbnail_ctrl->GetSelections(), m_thumbnail_ctrl->GetCount()),
                wxTRANSLATE("Insert Image"));
}

void GifFrame::OnDeleteImage(wxCommandEvent&)
{
    StopPreview();
    if (!m_thumbnail_ctrl || m_thumbnail_ctrl->GetCount() == 0 || IsListBusy())
        return;
    const wxArrayInt& selections = m_thumbnail_ctrl->GetSelections();
    if (selections.empty() || selections[0] < 0)
        return;
    const std::vector<int> order = DeletionOrder(selections, m_thumbnail_ctrl->GetCount());
    const FrameListState before = CaptureState();

    wxMessageDialog question(this, _("Are you sure you want to delete selected image(s)?"),
                             _("Confirm"), wxYES_NO | wxNO_DEFAULT | wxICON_INFORMATION);
    const bool deleting = question.ShowModal() == wxID_YES;
    if (deleting) {
        m_thumbnail_ctrl->FreezeLayout();
        for (int index : order)
            m_thumbnail_ctrl->Delete(index);
        m_thumbnail_ctrl->ThawLayout();
        ClearPreview();
    }
    if (m_statusBar1)
        m_statusBar1->SetStatusText(wxEmptyString, kFrameStatusField);
    UpdateOutputSize();
    ShowSelectionDelay();
    if (m_thumbnail_ctrl->GetCount() == 0)
        DisableCommands();
    if (deleting)
        RecordStep(wxTRANSLATE("Delete"), before);
}

void GifFrame::OnClearAll(wxCommandEvent&)
{
    if (IsListBusy())
        return;
    StopPreview();
    const FrameListState before = CaptureState();
    DisableCommands();
    if (m_thumbnail_ctrl)
        m_thumbnail_ctrl->Clear();
    UpdateOutputSize();
    ShowSelectionDelay();
    if (m_statusBar1)
        m_statusBar1->SetStatusText(wxEmptyString, kFrameStatusField);
    ClearPreview();
    RecordStep(wxTRANSLATE("Clear All"), before);
}

void GifFrame::OnCloseFrame(wxEvent& event)
{
    // Exit arrives as a menu command: a checked cast, since the toolkit's
    // wxDynamicCast downcasts before it checks the type.
    auto* close = dynamic_cast<wxCloseEvent*>(&event);
    const bool canStay = !close || close->CanVeto();
    auto stay = [close] {
        if (close)
            close->Veto();
    };
    // The loading thread posts to this window until its last event: the
    // window stays while a load runs, and a close that cannot be refused
    // waits for that event first.
    if (m_loadProgress && canStay) {
        stay();
        return;
    }
    WaitForImageLoad();
    StopPreview();
    const bool ask = canStay && m_thumbnail_ctrl && m_thumbnail_ctrl->GetCount() > 0 &&
                     IsProjectUnsaved();
    if (ask) {
        const int answer = AskUnsavedProject(this);
        // Leaving with Yes only once the project has really been written.
        if ((answer == wxID_YES && !SaveProject()) || (answer != wxID_YES && answer != wxID_NO)) {
            stay();
            return;
        }
    }
    SaveWindowState();
    Destroy();
}

void GifFrame::OnOpenProject(wxCommandEvent&)
{
    OpenProject();
}

void GifFrame::OpenProject(const wxString& givenPath)
{
    if (IsListBusy())
        return;
    const int count = m_thumbnail_ctrl ? m_thumbnail_ctrl->GetCount() : 0;
    const bool ask = ShouldAskBeforeOpen(!m_projectPath.empty(), count, IsProjectUnsaved());
    if (ask) {
        const int answer = AskUnsavedProject(this);
        if (answer != wxID_YES && answer != wxID_NO)
            return;
        // Nothing is cleared unless the frames were saved or the user let them go.
        if (answer == wxID_YES && !SaveProject())
            return;
    }
    // The file comes first, so that cancelling here keeps the strip.
    const wxString path = givenPath.empty() ? AskProjectPath() : givenPath;
    if (path.empty())
        return;
    if (ask && m_thumbnail_ctrl) {
        // As Clear All, so that a project that fails to open leaves a
        // consistent empty window.
        DisableCommands();
        m_thumbnail_ctrl->Clear();
        UpdateOutputSize();
        ClearPreview();
        if (m_statusBar1)
            m_statusBar1->SetStatusText(wxEmptyString, kFrameStatusField);
    }
    LoadProject(path);
}
