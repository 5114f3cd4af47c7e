// The seven addresses of option.cfg, taken by position.
#include "domain_option.h"
#include "file_bytes.h"
#include "home_override.h"
#include "test_paths.h"

#include <gtest/gtest.h>
#include <wx/log.h>

namespace {
class OptionFile : public ::testing::Test {
protected:
    void TearDown() override
    {
        delete g_domainOption;
        g_domainOption = nullptr;
    }

    bool LoadText(const std::string& text)
    {
        WriteFileText(m_dir.File("option.cfg"), text);
        return LoadPath(m_dir.File("option.cfg"));
    }

    bool LoadPath(const wxString& path)
    {
        wxLogNull noLog;
        g_domainOption = new DomainOption(path);
        return LoadDomainOptions();
    }

    static std::string Group(const std::string& children)
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<o>\n  <g>\n" + children + "  </g>\n</o>\n";
    }

    TempDir m_dir;
};

const std::string kSevenValues = "    <a>help</a>\n    <b>two</b>\n    <c>support</c>\n"
                                 "    <d>four</d>\n    <e>http://x/up</e>\n    <f>home</f>\n"
                                 "    <g>seven</g>\n";
} // namespace

TEST_F(OptionFile, SevenValuesAreReadInOrder)
{
    EXPECT_TRUE(LoadText(Group(kSevenValues)));
    EXPECT_EQ(g_domainOption->m_helpUrl, "help");
    EXPECT_EQ(g_domainOption->m_reserved2, "two");
    EXPECT_EQ(g_domainOption->m_supportUrl, "support");
    EXPECT_EQ(g_domainOption->m_reserved4, "four");
    EXPECT_EQ(g_domainOption->m_updateUrl, "http://x/up-update.xml");
    EXPECT_EQ(g_domainOption->m_homeUrl, "home");
    EXPECT_EQ(g_domainOption->m_reserved7, "seven");
    EXPECT_EQ(GetHelpUrl(), "help");
    EXPECT_EQ(GetSupportUrl(), "support");
    EXPECT_EQ(GetHomeUrl(), "home");
}

TEST_F(OptionFile, NamesOfElementsDoNotMatterAndExtraElementsAreIgnored)
{
    EXPECT_TRUE(LoadText(Group(kSevenValues + "    <z>eighth</z>\n")));
    EXPECT_EQ(g_domainOption->m_reserved7, "seven");
}

TEST_F(OptionFile, FiveChildrenFillFiveValuesAndFail)
{
    EXPECT_FALSE(LoadText(Group("<a>1</a><b>2</b><c>3</c><d>4</d><e>5</e>")));
    EXPECT_EQ(g_domainOption->m_helpUrl, "1");
    EXPECT_EQ(g_domainOption->m_reserved4, "4");
    EXPECT_EQ(g_domainOption->m_updateUrl, "5-update.xml");
    EXPECT_EQ(g_domainOption->m_homeUrl, "");
    EXPECT_EQ(g_domainOption->m_reserved7, "");
}

TEST_F(OptionFile, EmptyFifthValueGivesTheBareUpdateSuffix)
{
    EXPECT_TRUE(LoadText(Group("<a>1</a><b/><c>3</c><d/><e></e><f>6</f><g/>")));
    EXPECT_EQ(g_domainOption->m_updateUrl, "-update.xml");
    EXPECT_EQ(g_domainOption->m_homeUrl, "6");
}

TEST_F(OptionFile, MissingFileLeavesEveryValueEmpty)
{
    EXPECT_FALSE(LoadPath(m_dir.File("absent.cfg")));
    EXPECT_EQ(g_domainOption->m_helpUrl, "");
    EXPECT_EQ(g_domainOption->m_updateUrl, "");
    EXPECT_EQ(GetHomeUrl(), "");
}

TEST_F(OptionFile, TextThatIsNotXmlLeavesEveryValueEmpty)
{
    EXPECT_FALSE(LoadText("help=http://x\nsupport=http://y\n"));
    EXPECT_EQ(g_domainOption->m_helpUrl, "");
    EXPECT_EQ(g_domainOption->m_updateUrl, "");
}

TEST_F(OptionFile, RootWithoutGroupFails)
{
    EXPECT_FALSE(LoadText("<?xml version=\"1.0\"?><o/>"));
    EXPECT_EQ(g_domainOption->m_helpUrl, "");
}

TEST_F(OptionFile, UnicodeValuesSurvive)
{
    EXPECT_TRUE(LoadText(Group("<a>https://example.org/hilfe/\xc3\xbc</a><b/><c/><d/><e/><f/><g/>")));
    EXPECT_EQ(g_domainOption->m_helpUrl, wxString::FromUTF8("https://example.org/hilfe/\xc3\xbc"));
}

TEST_F(OptionFile, InstalledFileHoldsTheHelpSupportUpdateAndHomeAddresses)
{
    EXPECT_TRUE(LoadPath(SourceDir() + "/option.cfg"));
    EXPECT_TRUE(g_domainOption->m_helpUrl.StartsWith("https://"));
    EXPECT_TRUE(g_domainOption->m_supportUrl.StartsWith("https://"));
    EXPECT_TRUE(g_domainOption->m_updateUrl.StartsWith("https://"));
    EXPECT_TRUE(g_domainOption->m_updateUrl.EndsWith("-update.xml"));
    EXPECT_TRUE(g_domainOption->m_homeUrl.StartsWith("https://"));
}
