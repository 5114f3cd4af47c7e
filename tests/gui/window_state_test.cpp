// The main window comes back with the size, place and strip height it was
// closed with, but never somewhere no screen shows.
#include "gifframe.h"
#include "home_override.h"
#include "main_window.h"
#include "mainwindow_test_support.h"

#include <wx/app.h>
#include <wx/config.h>
#include <wx/display.h>
#include <wx/fileconf.h>
#include <wx/splitter.h>

namespace {
class WindowState : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = wxConfigBase::Set(new wxFileConfig("", "", m_dir.File("settings.conf"), "",
                                                        wxCONFIG_USE_LOCAL_FILE));
    }
    void TearDown() override
    {
        DestroyMainWindowForTest(m_frame);
        delete wxConfigBase::Set(m_previous);
    }

    void Show()
    {
        m_frame = CreateMainWindowForTest();
        ASSERT_NE(m_frame, nullptr);
        wxYield();
    }
    // Closed as the title bar's close button does, then gone.
    void Close()
    {
        m_frame->Close(true);
        wxTheApp->ProcessIdle();
        wxYield();
        m_frame = nullptr;
    }

    AssertsFailTests m_asserts;
    HomeOverride m_home;
    TempDir m_dir;
    wxConfigBase* m_previous = nullptr;
    GifFrame* m_frame = nullptr;
};
} // namespace

TEST_F(WindowState, SizePlaceAndStripHeightComeBack)
{
    Show();
    const wxRect chosen(120, 90, 1100, 760);
    m_frame->SetSize(chosen);
    wxYield();
    m_frame->m_splitter3->SetSashPosition(300);
    wxYield();
    const wxRect closedAt = m_frame->GetRect();
    Close();

    Show();
    EXPECT_EQ(m_frame->GetRect(), closedAt);
    EXPECT_EQ(m_frame->m_splitter3->GetSashPosition(), 300);
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
    Show();
    EXPECT_EQ(m_frame->GetSize(), wxSize(1000, 700));
    EXPECT_TRUE(screen.Contains(m_frame->GetPosition())) << m_frame->GetPosition().x;
}
