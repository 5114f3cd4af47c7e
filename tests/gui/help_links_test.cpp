// Help and Support open their pages in the browser.
#include "help_test_support.h"

TEST_F(HelpMenuTest, HelpOpensTheHelpPage)
{
    Choose(ID_MENU_HELP);
    ASSERT_EQ(s_launched.size(), 1u);
    EXPECT_EQ(s_launched[0], "https://brackwell.test/help");
}

TEST_F(HelpMenuTest, SupportStopsThePreviewThenOpensTheSupportPage)
{
    StartPreview();
    Choose(ID_MENU_SUPPORT);
    ASSERT_EQ(s_launched.size(), 1u);
    EXPECT_EQ(s_launched[0], "https://brackwell.test/support");
    ASSERT_EQ(s_playingAtLaunch.size(), 1u);
    EXPECT_FALSE(s_playingAtLaunch[0]);
}

TEST_F(HelpMenuTest, AnEmptyAddressIsStillHandedToTheBrowser)
{
    g_domainOption->m_helpUrl.clear();
    Choose(ID_MENU_HELP);
    ASSERT_EQ(s_launched.size(), 1u);
    EXPECT_EQ(s_launched[0], "");
}
