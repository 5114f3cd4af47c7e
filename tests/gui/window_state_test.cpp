// The main window comes back with the size, place and strip height it was
// closed with, but never somewhere no screen shows.
#include "gifframe.h"
#include "main_window.h"

#include <wx/app.h>
#include <wx/config.h>
#include <wx/display.h>
#include <wx/fileconf.h>
#include <wx/splitter.h>

namespace {
class WindowState : public MainWindowTest {
protected:
    // The settings go to a file of the test before the window reads them.
    void SetUp() override
    {
        m_previous = wxConfigBase::Set(
            new wxFileConfig("", "", m_dir.File("settings.conf"), "", wxCONFIG_USE_LOCAL_FILE));
        MainWindowTest::SetUp();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        delete wxConfigBase::Set(m_previous);
    }

    wxSplitterWindow* Splitter() const
    {
        return dynamic_cast<wxSplitterWindow*>(LayoutWindow(*m_frame, "m_splitter3"));
    }

    wxConfigBase* m_previous = nullptr;
};
} // namespace

TEST_F(WindowState, SizePlaceAndStripHeightComeBack)
{
    m_frame->SetSize(wxRect(120, 90, 1100, 760));
    wxYield();
    Splitter()->SetSashPosition(300);
    wxYield();
    const wxRect closedAt = m_frame->GetRect();
    Choose(ID_MENU_EXIT);
    ASSERT_TRUE(Closed());

    Restart();
    EXPECT_EQ(m_frame->GetRect(), closedAt);
    EXPECT_EQ(Splitter()->GetSashPosition(), 300);
    EXPECT_FALSE(m_frame->IsMaximized());
}

TEST_F(WindowState, APlaceOnNoScreenIsIgnored)
{
    const wxRect screen = wxDisplay(0u).GetGeometry();
    wxConfigBase* config = wxConfigBase::Get();
    config->Write("/MainWindow/X", screen.GetRight() + 500);
    config->Write("/MainWindow/Y", 40);
    config->Write("/MainWindow/Width", 1000);
    config->Write("/MainWindow/Height", 700);
    Restart();
    EXPECT_EQ(m_frame->GetSize(), wxSize(1000, 700));
    EXPECT_TRUE(screen.Contains(m_frame->GetPosition())) << m_frame->GetPosition().x;
}
