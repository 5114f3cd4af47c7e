#include "gifframe.h"

#include "io/settings_store.h"
#include "rules/window_placement.h"

#include <wx/config.h>
#include <wx/display.h>
#include <wx/splitter.h>

#include <vector>

// The window's size, place, maximised state and the height of the strip are
// kept in the user's configuration (wxConfig) from one session to the next.
namespace {
const char kGroup[] = "/MainWindow/";
const char kX[] = "X";
const char kY[] = "Y";
const char kWidth[] = "Width";
const char kHeight[] = "Height";
const char kMaximised[] = "Maximised";
const char kSash[] = "StripHeight";

std::vector<wxRect> ScreenAreas()
{
    std::vector<wxRect> screens;
    for (unsigned i = 0; i < wxDisplay::GetCount(); ++i)
        screens.push_back(wxDisplay(i).GetGeometry());
    return screens;
}

wxString Key(const char* name)
{
    return wxString(kGroup) + name;
}
} // namespace

void GifFrame::SaveWindowState() const
{
    wxConfigBase* config = wxConfigBase::Get();
    if (!config)
        return;
    const bool maximised = IsMaximized();
    config->Write(Key(kMaximised), maximised);
    // A maximised window's size is the screen's; the size to come back to
    // is the one saved before it was maximised.
    if (!maximised && !IsIconized()) {
        const wxRect rect = GetRect();
        config->Write(Key(kX), rect.x);
        config->Write(Key(kY), rect.y);
        config->Write(Key(kWidth), rect.width);
        config->Write(Key(kHeight), rect.height);
    }
    if (m_splitter3 && m_splitter3->IsSplit())
        config->Write(Key(kSash), m_splitter3->GetSashPosition());
    FlushProgramSettings(*config);
}

void GifFrame::RestoreWindowState()
{
    const wxConfigBase* config = wxConfigBase::Get();
    if (!config)
        return;
    wxRect rect;
    if (config->Read(Key(kWidth), &rect.width) && config->Read(Key(kHeight), &rect.height) &&
        rect.width > 0 && rect.height > 0) {
        SetSize(rect.GetSize());
        if (config->Read(Key(kX), &rect.x) && config->Read(Key(kY), &rect.y) &&
            IsReachablePlace(rect, ScreenAreas()))
            Move(rect.GetPosition());
    }
    // The strip's height once the window has its size, so that the splitter
    // does not cut it down to a smaller first size.
    Layout();
    int sash = 0;
    if (m_splitter3 && m_splitter3->IsSplit() && config->Read(Key(kSash), &sash) && sash > 0)
        m_splitter3->SetSashPosition(sash);
    bool maximised = false;
    if (config->Read(Key(kMaximised), &maximised) && maximised)
        Maximize();
}
