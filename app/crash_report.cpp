#include "gifapp.h"
#include "paths.h"

#include <wx/convauto.h>
#include <wx/datetime.h>
#include <wx/debugrpt.h>
#include <wx/ffile.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>

void GenerateCrashReport()
{
    auto* report = new wxDebugReportCompress;
    report->AddAll(wxDebugReport::Context_Exception);

    const wxString stampName = "timestamp.my";
    const wxFileName stampPath(report->GetDirectory(), stampName);
    wxFFile stamp(stampPath.GetFullPath(wxPATH_NATIVE), "w");
    if (stamp.IsOpened()) {
        const wxDateTime now = wxDateTime::Now();
        stamp.Write(now.FormatISODate() + " " + now.FormatISOTime(), wxConvAuto());
        stamp.Close();
    }
    report->SetCompressedFileDirectory(report->GetDirectory());
    report->AddFile(stampName, "timestamp of this report");

    wxString message;
    message += _("Application have crashed due to some unknown reasons,\nPlease email the zip "
                 "crashing report file that is generated in \n%s\n to us.");
    message.Replace("%s", report->GetDirectory());

    if (report->Process()) {
        wxMessageBox(message, wxMessageBoxCaptionStr, wxOK | wxCENTRE);
        OpenFolderInShell(report->GetDirectory());
        report->Reset();
    }
    delete report;
}
