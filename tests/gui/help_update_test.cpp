// Check for Update from the Help menu against a real HTTP server on the
// loopback interface.
#include "gifmaker_version.h"
#include "help_test_support.h"
#include "local_http_server.h"

#include <wx/ffile.h>

namespace {
const char kFailure[] = "Update failed!Please check if the network is available.";
const char kLatest[] = "This version of Brackwell GIF Maker (" GIFMAKER_VERSION ") is the latest version.";

std::string Description(const std::string& entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<updates>\n" + entries + "</updates>\n";
}

std::string Entry(const std::string& name, const std::string& version)
{
    return "  <product name=\"" + name + "\" version=\"" + version + "\"/>\n";
}
} // namespace

class UpdateCheckTest : public HelpMenuTest {
protected:
    void SetUp() override
    {
        HelpMenuTest::SetUp();
        ASSERT_TRUE(m_server.IsRunning());
        g_domainOption->m_updateUrl = m_server.Url("/gifmaker-update.xml");
    }

    // Chooses Check for Update, lets the result arrive and answers the one
    // message box it brings.
    ShownMessage CheckAndAnswer(int answer)
    {
        ShownMessage shown;
        wxTEST_DIALOG(
            {
                Choose(ID_MENU_CHECK_UPDATE);
                DeliverQueuedEvents();
            },
            ExpectMessage(shown, answer));
        return shown;
    }

    void ExpectFailureMessage()
    {
        const ShownMessage shown = CheckAndAnswer(wxID_OK);
        EXPECT_EQ(shown.message, kFailure);
        EXPECT_EQ(shown.caption, "Brackwell GIF Maker");
        EXPECT_TRUE(s_launched.empty());
    }

    LocalHttpServer m_server;
};

TEST_F(UpdateCheckTest, ANewerVersionOffersTheDownloadPage)
{
    m_server.Serve(200, Description(Entry("Brackwell GIF Maker", "1.0.100")));
    const ShownMessage shown = CheckAndAnswer(wxID_YES);
    EXPECT_EQ(shown.message, "A new version of Brackwell GIF Maker (1.0.100) is available. "
                             "Click Yes to open the download page.");
    EXPECT_EQ(shown.caption, "Brackwell GIF Maker");
    EXPECT_EQ(shown.style & wxYES_NO, wxYES_NO);
    ASSERT_EQ(s_launched.size(), 1u);
    EXPECT_EQ(s_launched[0], "https://brackwell.test/gifmaker");
}

TEST_F(UpdateCheckTest, ChoosingNoOpensNothing)
{
    m_server.Serve(200, Description(Entry("Brackwell GIF Maker", "2.0")));
    const ShownMessage shown = CheckAndAnswer(wxID_NO);
    EXPECT_TRUE(shown.message.StartsWith("A new version of Brackwell GIF Maker (2.0)"));
    EXPECT_TRUE(s_launched.empty());
}

TEST_F(UpdateCheckTest, TheResultArrivesThroughTheEventQueue)
{
    m_server.Serve(200, Description(Entry("Brackwell GIF Maker", GIFMAKER_VERSION)));
    ShownMessage early;
    wxTEST_DIALOG(Choose(ID_MENU_CHECK_UPDATE), ExpectMessage(early, wxID_OK).Optional());
    EXPECT_FALSE(early.shown);

    ShownMessage shown;
    wxTEST_DIALOG(DeliverQueuedEvents(), ExpectMessage(shown, wxID_OK));
    EXPECT_EQ(shown.message, kLatest);
    EXPECT_EQ(shown.caption, "Brackwell GIF Maker");
    EXPECT_EQ(m_server.RequestCount(), 1);
}

TEST_F(UpdateCheckTest, VersionsCompareNumerically)
{
    m_server.Serve(200, Description(Entry("Brackwell GIF Maker", "1.0.9")));
    EXPECT_EQ(CheckAndAnswer(wxID_OK).message, kLatest);
}

TEST_F(UpdateCheckTest, TwoMatchingChildrenTakeTheSecond)
{
    m_server.Serve(200, Description(Entry("Brackwell GIF Maker", GIFMAKER_VERSION) +
                                    Entry("Brackwell GIF Maker", "1.1.0")));
    EXPECT_TRUE(CheckAndAnswer(wxID_NO).message.StartsWith(
        "A new version of Brackwell GIF Maker (1.1.0)"));

    m_server.Serve(200, Description(Entry("Brackwell GIF Maker", "1.1.0") +
                                    Entry("Brackwell GIF Maker", GIFMAKER_VERSION)));
    EXPECT_EQ(CheckAndAnswer(wxID_OK).message, kLatest);
}

TEST_F(UpdateCheckTest, ANameThatIsTheLastAttributeIsSkipped)
{
    m_server.Serve(200,
                   Description("  <product version=\"1.1.0\" name=\"Brackwell GIF Maker\"/>\n"));
    ExpectFailureMessage();
}

TEST_F(UpdateCheckTest, ANameInOtherLetterCaseIsNoMatch)
{
    m_server.Serve(200, Description(Entry("Brackwell Gif Maker", "1.1.0")));
    ExpectFailureMessage();
}

TEST_F(UpdateCheckTest, AMissingDescriptionFails)
{
    m_server.Serve(404, "<html><body>Not Found</body></html>");
    ExpectFailureMessage();
}

TEST_F(UpdateCheckTest, ABodyThatIsNotXmlFails)
{
    m_server.Serve(200, "Service temporarily unavailable");
    ExpectFailureMessage();
}

TEST_F(UpdateCheckTest, AHostileDescriptionFails)
{
    std::string nested;
    for (int i = 0; i < 100000; ++i)
        nested += "<a>";
    m_server.Serve(200, nested + Entry("Brackwell GIF Maker", "1.1.0"));
    ExpectFailureMessage();
}

TEST_F(UpdateCheckTest, AServerThatNeverAnswersFailsAfterTheTimeout)
{
    m_server.NeverAnswer();
    ExpectFailureMessage();
}

TEST_F(UpdateCheckTest, NoServerFails)
{
    g_domainOption->m_updateUrl = "http://127.0.0.1:1/gifmaker-update.xml";
    ExpectFailureMessage();
}

TEST_F(UpdateCheckTest, AnHttpsAddressIsTriedNotDropped)
{
    // The server speaks plain http, so the secure connection cannot succeed,
    // but it shows that the address was tried rather than dropped.
    g_domainOption->m_updateUrl = "https" + m_server.Url("/gifmaker-update.xml").substr(4);
    ExpectFailureMessage();
    EXPECT_EQ(m_server.RequestCount(), 1);
}

TEST_F(UpdateCheckTest, WithoutAFifthOptionValueNothingHappens)
{
    const char* const groups[] = {
        "<help>h</help><r2/><support>s</support><r4/>",
        "<help>h</help><r2/><support>s</support><r4/><update></update><home>p</home><r7/>",
    };
    for (const char* group : groups) {
        const wxString path = m_dir.File("option.cfg");
        ASSERT_TRUE(wxFFile(path, "w").Write(wxString("<options><links>") + group +
                                             "</links></options>"));
        delete g_domainOption;
        g_domainOption = new DomainOption(path);
        LoadDomainOptions();

        ShownMessage shown;
        wxTEST_DIALOG(
            {
                Choose(ID_MENU_CHECK_UPDATE);
                DeliverQueuedEvents();
            },
            ExpectMessage(shown, wxID_OK).Optional());
        EXPECT_FALSE(shown.shown) << group;
    }
    EXPECT_EQ(m_server.RequestCount(), 0);
}
