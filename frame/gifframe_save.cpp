#include "gifframe.h"
#include "rules/status_text.h"

#include "encode/gif_pipeline.h"

#include "io/file_extension.h"
#include "window/thumbnailctrl.h"
#include "window/worksaveasgifthread.h"
#include "io/trace.h"

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/progdlg.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <utility>

namespace {
const int kProgressMaximum = 100;
// Elapsed, estimated and remaining time and a Cancel button; only the main
// window is disabled while it is shown.
const long kProgressStyle = wxPD_ELAPSED_TIME | wxPD_ESTIMATED_TIME | wxPD_REMAINING_TIME | wxPD_CAN_ABORT;
} // namespace

wxString GifFrame::AskGifPath(const wxString& title)
{
    wxFileDialog dialog(this, title, wxEmptyString, "*.gif", _("Image files") + " (*.gif)|*.gif",
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    return dialog.ShowModal() == wxID_OK ? dialog.GetPath() : wxString();
}

void GifFrame::OnSaveAnimator(wxCommandEvent&)
{
    Trace("OnSaveAnimator");
    StopPreview();
    if (m_thumbnail_ctrl->GetCount() == 0) {
        // Nothing to write yet; a chosen path is kept for the first save.
        if (m_gifPath.empty()) {
            m_gifPath = AskGifPath(_("Save GIF Files"));
            if (!m_gifPath.empty())
                m_gifName = wxFileName(m_gifPath).GetFullName();
        }
        return;
    }

    const AnimationSettings current = CurrentSettings();
    if (m_gifPath.empty()) {
        m_gifPath = AskGifPath(_("Save GIF Files"));
        if (m_gifPath.empty())
            return;
        m_gifName = wxFileName(m_gifPath).GetFullName();
        m_gifPath = EnsureGifExtension(m_gifPath);
        m_saveRunning = current;
        StartSave(wxSize(current.width, current.height), _("Save GIF Progress Dialog"));
        ShowSaveStatus();
        return;
    }

    if (wxFileExists(m_gifPath) && current == m_savedRecord)
        return;
    m_saveRunning = current;
    StartSave(wxSize(current.width, current.height), _("Save GIF Progress Dialog"));
    ShowSaveStatus();
}

void GifFrame::OnSaveAs(wxCommandEvent&)
{
    StopPreview();
    if (m_thumbnail_ctrl->GetCount() == 0)
        return;
    // A cancelled dialog forgets the remembered path, so the next Save asks.
    m_gifPath = AskGifPath(_("Save As GIF Files"));
    if (m_gifPath.empty())
        return;
    m_gifPath = EnsureGifExtension(m_gifPath);
    m_saveRunning = CurrentSettings();
    StartSave(wxSize(m_outputWidth, m_outputHeight), _("Save As GIF Progress Dialog"));
    m_gifName = wxFileName(m_gifPath).GetFullName();
    ShowSaveStatus();
}

bool GifFrame::StartSave(const wxSize& size, const wxString& title)
{
    if (m_thumbnail_ctrl->GetCount() == 0) {
        wxMessageBox(_("There are no frames to save."), GetTitle(), wxOK | wxICON_ERROR, this);
        return false;
    }
    if (!IsGifOutputSizeAllowed(size.GetWidth(), size.GetHeight())) {
        wxMessageBox(wxString::Format(_("The output size %d * %d px is too large to save. Choose a smaller width "
                                        "or height."),
                                      size.GetWidth(), size.GetHeight()),
                     GetTitle(), wxOK | wxICON_ERROR, this);
        return false;
    }
    long long limit = 0;
    int side = 0;
    if (!GetSizeLimit(limit, side)) {
        wxMessageBox(_("The size limit is not understood. Write it as 10M, 256K or a number of bytes, or choose "
                       "one from the list."),
                     GetTitle(), wxOK | wxICON_ERROR, this);
        return false;
    }
    std::vector<SaveFrame> frames = CollectSaveFrames(*m_thumbnail_ctrl);
    if (!AcceptChangedFrames(frames))
        return false;
    GifEncodeSettings settings = GetSaveSettings(size);
    settings.delayCs = m_saveRunning.delay;
    m_saveStop = std::make_shared<std::atomic<bool>>(false);
    auto* thread = new WorkSaveAsGifThread(this, std::move(frames), m_gifPath, settings, m_saveStop, GetFitOptions());
    if (thread->Run() != wxTHREAD_NO_ERROR) {
        delete thread;
        wxMessageBox(wxString::Format(_("The animation could not be saved to \"%s\":\n%s"), m_gifPath,
                                      _("the save could not be started")),
                     GetTitle(), wxOK | wxICON_ERROR, this);
        return false;
    }
    m_saveEndPending = false;
    m_saveProgress = new wxProgressDialog(title, _(" Saving images...."), kProgressMaximum, this, kProgressStyle);
    return true;
}

bool GifFrame::AcceptChangedFrames(const std::vector<SaveFrame>& frames)
{
    const std::vector<int> changed = ChangedSaveFrames(frames);
    if (changed.empty())
        return true;
    wxString names;
    for (int index : changed)
        names += wxString::Format("\n%d: %s", index + 1, frames[static_cast<size_t>(index)].name);
    wxMessageDialog dialog(this,
                           _("These frames changed or vanished on disk since they were added:") + names + "\n\n" +
                               _("Save anyway with what can still be read? A frame that cannot be read as it "
                                 "was added stops the save and leaves the previous file as it is."),
                           GetTitle(), wxYES_NO | wxNO_DEFAULT | wxICON_WARNING);
    dialog.SetYesNoLabels(_("Save Anyway"), _("Cancel"));
    return dialog.ShowModal() == wxID_YES;
}

void GifFrame::ShowSaveStatus()
{
    m_statusBar1->SetStatusText(
        OutputStatusText(m_gifName, m_spinctrl_width->GetValue(), m_spinctrl_height->GetValue()),
        kOutputStatusField);
}

void GifFrame::OnSaveThreadUpdate(wxCommandEvent& event)
{
    Trace("WorkSaveAsGifThreadUpdate:");
    if (event.GetExtraLong() == SAVE_EVENT_FINISHED) {
        const bool written = event.GetInt() != 0;
        if (m_saveUpdating) {
            m_saveEndPending = true;
            m_saveEndWritten = written;
            m_saveEndError = event.GetString();
            return;
        }
        FinishSave(written, event.GetString());
        return;
    }

    if (!m_saveProgress || m_saveUpdating)
        return;
    // At its maximum the dialog would wait modally for the user; the end of
    // the save closes it instead.
    const int value = std::min(event.GetInt(), kProgressMaximum - 1);
    m_saveUpdating = true;
    // Cancel abandons the file being written; the thread's end closes the
    // dialog.
    if (!m_saveProgress->Update(value, wxEmptyString))
        m_saveStop->store(true);
    m_saveUpdating = false;
    if (m_saveEndPending) {
        m_saveEndPending = false;
        FinishSave(m_saveEndWritten, m_saveEndError);
    }
}

void GifFrame::FinishSave(bool written, const wxString& error)
{
    if (m_saveProgress) {
        m_saveProgress->Destroy();
        m_saveProgress = nullptr;
    }
    wxWakeUpIdle();
    if (written) {
        m_savedRecord = m_saveRunning;
        // A save under a size limit says what it changed.
        if (!error.empty())
            m_statusBar1->SetStatusText(error, kOutputStatusField);
        return;
    }
    if (error == WorkSaveAsGifThread::CancelledMessage()) {
        m_statusBar1->SetStatusText(_("Save cancelled; the previous file is unchanged"), kOutputStatusField);
        return;
    }
    wxMessageBox(wxString::Format(_("The animation could not be saved to \"%s\":\n%s"), m_gifPath, error),
                 GetTitle(), wxOK | wxICON_ERROR, this);
}
