#include "gifframe.h"
#include "rules/status_text.h"

#include "loopcountdialog.h"
#include "paths.h"
#include "io/file_extension.h"
#include "project/project_file.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>
#include <wx/xml/xml.h>

#include <algorithm>

namespace {
wxString FileNamePart(const wxString& path)
{
    return wxFileName(path).GetFullName();
}

wxString ProjectTitle(const wxString& projectName)
{
    return ProjectTitleStem(projectName) + " - " + GetProductName();
}

void ShowLoadFailure(GifFrame& frame)
{
    wxMessageBox(_("Failed to load XML file!"), frame.GetTitle(), wxOK | wxICON_INFORMATION, &frame);
}

// The record keeps what the control shows.
int ApplySetting(wxSpinCtrl* control, int value)
{
    control->SetValue(ClampProjectSetting(value));
    return control->GetValue();
}
} // namespace

void GifFrame::OnSaveProject(wxCommandEvent&)
{
    SaveProject();
}

bool GifFrame::SaveProject()
{
    if (m_thumbnail_ctrl->GetCount() == 0)
        return false;

    const AnimationSettings current = CurrentSettings();
    ProjectFileSettings settings;
    static_cast<AnimationSettings&>(settings) = current;
    settings.gifName = FileNamePart(m_gifPath);
    wxArrayString frames;
    for (const wxString& path : current.frames)
        frames.Add(path);
    const auto document = BuildProjectDocument(settings, frames, current.frameDelays);

    const bool askedForPath = m_projectPath.empty();
    if (askedForPath) {
        wxFileDialog dialog(this, _("Save XML Files"), wxEmptyString, wxEmptyString,
                            _("XML files") + " (*.xml)|*.xml", wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
        if (dialog.ShowModal() == wxID_OK)
            m_projectPath = dialog.GetPath();
        if (m_projectPath.empty())
            return false;
    }
    m_projectPath = EnsureXmlExtension(m_projectPath);

    wxString error;
    if (!WriteProjectFile(m_projectPath, *document, &error)) {
        wxMessageBox(wxString::Format(_("The project could not be saved to \"%s\":\n%s"), m_projectPath, error),
                     GetTitle(), wxOK | wxICON_ERROR, this);
        // A path that cannot be written is asked for again next time.
        if (askedForPath)
            m_projectPath.clear();
        return false;
    }

    // The record changes only when the project was written, so an unsaved
    // project still counts as unsaved after a cancelled or failed save.
    m_projectRecord = current;
    m_projectName = FileNamePart(m_projectPath);
    SetTitle(ProjectTitle(m_projectName));
    m_savedState = CaptureState();
    return true;
}

wxString GifFrame::AskProjectPath()
{
    StopPreview();
    wxFileDialog dialog(this, _("Load Xml Files"), wxEmptyString, wxEmptyString,
                        _("Xml files") + " (*.xml)|*.xml", wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    return dialog.ShowModal() == wxID_OK ? dialog.GetPath() : wxString();
}

void GifFrame::LoadProject(const wxString& path)
{
    StopPreview();
    // Nothing before the project can be undone into it.
    m_history.Clear();
    UpdateUndoItems();
    m_projectPath = path;
    m_projectName = FileNamePart(path);
    SetTitle(ProjectTitle(m_projectName));

    const ProjectContents project = ReadProjectFile(path);
    const ProjectFileSettings& settings = project.settings;
    if (project.stage < ProjectReadStage::Width)
        return;
    m_projectRecord.width = ApplySetting(m_spinctrl_width, settings.width);
    if (project.stage < ProjectReadStage::Size)
        return;
    m_projectRecord.height = ApplySetting(m_spinctrl_height, settings.height);
    m_gifName = settings.gifName;
    m_statusBar1->SetStatusText(OpenedProjectStatusText(m_gifName, settings.width, settings.height, _("px")),
                                kOutputStatusField);
    m_outputWidth = m_aspectWidth = m_projectRecord.width;
    m_outputHeight = m_aspectHeight = m_projectRecord.height;
    if (project.stage < ProjectReadStage::Settings)
        return;
    m_projectRecord.delay = ApplySetting(m_spinctrl_delay, settings.delay);
    ApplyLoopAndQuality(settings);
    if (project.stage == ProjectReadStage::NoImages) {
        ShowLoadFailure(*this);
        return;
    }
    if (project.stage != ProjectReadStage::Entries)
        return;

    const wxArrayString loadList = ProjectLoadList(project.entries);
    if (loadList.empty()) {
        m_statusBar1->SetStatusText(wxEmptyString, kFrameStatusField);
        ClearPreview();
        ShowLoadFailure(*this);
        return;
    }

    if (!StartImageLoad(loadList, true, ProjectLoadDelays(project))) {
        RecordProjectFrames();
        wxMessageBox(_("The pictures of the project could not be loaded."), GetTitle(), wxOK | wxICON_ERROR, this);
        return;
    }
    EnableCommands();
}

void GifFrame::OnProjectLoadFinished()
{
    // The end of a load sizes the output after the pictures; a project keeps
    // the size it was saved with, when it has one.
    if (m_projectRecord.width > 0 && m_projectRecord.height > 0) {
        m_spinctrl_width->SetValue(m_projectRecord.width);
        m_spinctrl_height->SetValue(m_projectRecord.height);
        m_outputWidth = m_aspectWidth = m_projectRecord.width;
        m_outputHeight = m_aspectHeight = m_projectRecord.height;
        m_statusBar1->SetStatusText(OutputStatusText(m_gifName, m_projectRecord.width, m_projectRecord.height),
                                    kOutputStatusField);
    } else {
        m_projectRecord.width = m_spinctrl_width->GetValue();
        m_projectRecord.height = m_spinctrl_height->GetValue();
    }
    RecordProjectFrames();
}

void GifFrame::RecordProjectFrames()
{
    // Loading the project's frames is no step to undo; they are what was saved.
    m_history.Clear();
    UpdateUndoItems();
    m_savedState = CaptureState();
    m_projectRecord.frameCount = m_thumbnail_ctrl->GetCount();
    m_projectRecord.frameDelays = GetFrameDelays();
    m_projectRecord.frames = GetFramePaths();
}

void GifFrame::ApplyLoopAndQuality(const ProjectFileSettings& settings)
{
    // A project without them had the defaults: endless, not in the file.
    m_loopCount = g_loopCountSetting = std::clamp(settings.loopCount, 0, kGifMaxPlays);
    m_loopInFile = g_loopInFileSetting = settings.loopInFile;
    m_loopsPlayed = 0;
    m_projectRecord.loopCount = m_loopCount;
    m_projectRecord.loopInFile = m_loopInFile;
    if (m_spinctrl_quality)
        m_spinctrl_quality->SetValue(settings.quality);
    m_projectRecord.quality = GetQuality();
    m_quality = GetQuality();
    ApplySizeLimit(settings.sizeLimit, settings.sizeLimitSide, settings.keepAllFrames);
    const GifFitOptions fit = GetFitOptions();
    m_projectRecord.sizeLimit = fit.limit;
    m_projectRecord.sizeLimitSide = fit.maxSide;
    m_projectRecord.keepAllFrames = !fit.dropFrames;
}
