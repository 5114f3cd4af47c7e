#include "crash_report.h"

#include "paths.h"

#include <wx/convauto.h>
#include <wx/datetime.h>
#include <wx/debugrpt.h>
#include <wx/ffile.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>

namespace {
const char kStampName[] = "timestamp.my";
}

wxString CrashReportMessage(const wxString& reportFolder)
{
    wxString message;
    message += _("Application have crashed due to some unknown reasons,\nPlease email the zip "
                 "crashing report file that is generated in \n%s\n to us.");
    // Plain replacement, so a "%" in the folder name stays harmless.
    message.Replace("%s", reportFolder);
    return message;
}

void GenerateCrashReport()
{
    auto* report = new wxDebugReportCompress;
    report->AddAll(wxDebugReport::Context_Exception);

    const wxFileName stampPath(report->GetDirectory(), kStampName);
    wxFFile stamp(stampPath.GetFullPath(wxPATH_NATIVE), "w");
    if (stamp.IsOpened()) {
        const wxDateTime now = wxDateTime::Now();
        stamp.Write(now.FormatISODate() + " " + now.FormatISOTime(), wxConvAuto());
        stamp.Close();
    }
    report->SetCompressedFileDirectory(report->GetDirectory());
    report->AddFile(kStampName, "timestamp of this report");

    const wxString message = CrashReportMessage(report->GetDirectory());
    if (report->Process()) {
        wxMessageBox(message, wxMessageBoxCaptionStr, wxOK | wxCENTRE);
        OpenFolderInShell(report->GetDirectory());
        // Keeps the folder and its files on disk when the report object goes.
        report->Reset();
    }
    delete report;
}
