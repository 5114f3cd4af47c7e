// The main window as the program shows it right after start-up.
#include "gifframe.h"
#include "main_window.h"
#include "paths.h"
#include "window/thumbnailctrl.h"

#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

namespace {
class StartupState : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_frame = CreateMainWindowForTest();
        ASSERT_NE(m_frame, nullptr);
    }
    void TearDown() override { DestroyMainWindowForTest(m_frame); }

    GifFrame* m_frame = nullptr;
};

} // namespace

TEST_F(StartupState, TitleIsTheProductName)
{
    EXPECT_EQ(m_frame->GetTitle(), "Brackwell GIF Maker");
}
