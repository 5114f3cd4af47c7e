// Reading the update description, which comes from the network and is not to
// be trusted.
#include "paths.h"
#include "update_check.h"
#include "io/xml_guard.h"

#include <gtest/gtest.h>
#include <wx/mstream.h>
#include <wx/xml/xml.h>

#include <ostream>
#include <string>

namespace {
wxString Latest(const std::string& text)
{
    wxMemoryInputStream stream(text.data(), text.size());
    return ReadLatestVersion(stream);
}

std::string Nested(int depth)
{
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<a>";
    for (int i = 0; i < depth; ++i)
        text += "</a>";
    return text;
}

// Each entity expands to ten of the one before it: 10^9 bytes in the end.
std::string BillionLaughs()
{
    std::string text = "<?xml version=\"1.0\"?>\n<!DOCTYPE r [\n<!ENTITY e0 \"lol\">\n";
    for (int level = 1; level <= 9; ++level) {
        text += "<!ENTITY e" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i)
            text += "&e" + std::to_string(level - 1) + ";";
        text += "\">\n";
    }
    return text + "]>\n<r><p a=\"Brackwell GIF Maker\" v=\"&e9;\"/></r>";
}
} // namespace

// Descriptions and the version read from them ("" for none).
struct DescriptionCase {
    const char* name;
    std::string text;
    const char* latest;
};

void PrintTo(const DescriptionCase& c, std::ostream* out)
{
    *out << c.name;
}

class UpdateDescription : public ::testing::TestWithParam<DescriptionCase> {};

TEST_P(UpdateDescription, GivesTheProductsVersion)
{
    EXPECT_EQ(Latest(GetParam().text), GetParam().latest);
}

const char kZeroByteInside[] = "<u><p n=\"Brackwell GIF Maker\" v=\"1\0.9\"/></u>";

INSTANTIATE_TEST_SUITE_P(
    UpdateDescription, UpdateDescription,
    ::testing::Values(
        DescriptionCase{"VersionAfterTheProductName",
                        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<updates>\n"
                        "  <product name=\"Other Tool\" version=\"9.9\"/>\n"
                        "  <product id=\"7\" name=\"Brackwell GIF Maker\" version=\"1.0.90\" date=\"x\"/>\n"
                        "</updates>",
                        "1.0.90"},
        DescriptionCase{"LastMatchingChildWins",
                        "<u><p n=\"Brackwell GIF Maker\" v=\"1.0.90\"/>"
                        "<p n=\"Brackwell GIF Maker\" v=\"1.0.85\"/><p n=\"Other\" v=\"3\"/></u>",
                        "1.0.85"},
        DescriptionCase{"NameAsLastAttributeIsSkipped", "<u><p v=\"1.0.90\" n=\"Brackwell GIF Maker\"/></u>", ""},
        DescriptionCase{"NameAsLastAttributeLeavesTheEarlierChild",
                        "<u><p n=\"Brackwell GIF Maker\" v=\"1.0.90\"/><p v=\"2.0\" n=\"Brackwell GIF Maker\"/></u>",
                        "1.0.90"},
        DescriptionCase{"NameInOtherCase", "<u><p n=\"brackwell gif maker\" v=\"1.0.90\"/></u>", ""},
        DescriptionCase{"NameWithALeadingSpace", "<u><p n=\" Brackwell GIF Maker\" v=\"1.0.90\"/></u>", ""},
        DescriptionCase{"NameExactly", "<u><p n=\"Brackwell GIF Maker\" v=\"1.0.90\"/></u>", "1.0.90"},
        DescriptionCase{"OnlyChildrenOfTheRootCount",
                        "<u n=\"Brackwell GIF Maker\" v=\"1.0.90\"><g><p n=\"Brackwell GIF Maker\" v=\"1.0.91\"/></g></u>",
                        ""},
        DescriptionCase{"Empty", "", ""},
        DescriptionCase{"HtmlPage", "<html><body>Not Found</body>", ""},
        DescriptionCase{"PlainText", "404 page not found", ""},
        DescriptionCase{"ZeroByteInside", std::string(kZeroByteInside, sizeof kZeroByteInside - 1), ""},
        DescriptionCase{"DoctypeWithoutEntities",
                        "<!DOCTYPE u><u><p n=\"Brackwell GIF Maker\" v=\"1.0.90\"/></u>", "1.0.90"}),
    [](const ::testing::TestParamInfo<DescriptionCase>& info) { return info.param.name; });

TEST(UpdateDescription, HostileInputGivesNothingAndEndsQuickly)
{
    EXPECT_EQ(Latest(BillionLaughs()), "");
    EXPECT_EQ(Latest(Nested(200000)), "");
    EXPECT_EQ(Latest("<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
                     "<r><p n=\"Brackwell GIF Maker\" v=\"&x;\"/></r>"),
              "");
}

TEST(UpdateDescription, ADescriptionOverTheSizeCapIsRefused)
{
    const std::string entry = "<u><p n=\"Brackwell GIF Maker\" v=\"1.0.90\"/>";
    std::string padded = entry + "<!--" + std::string(kMaxUpdateInfoBytes, ' ') + "--></u>";
    EXPECT_EQ(Latest(padded), "");
    padded = entry + "<!--" + std::string(kMaxUpdateInfoBytes / 2, ' ') + "--></u>";
    EXPECT_EQ(Latest(padded), "1.0.90");
}

TEST(XmlGuard, LimitsTheNestingDepth)
{
    const std::string deepest = Nested(kMaxUpdateInfoDepth);
    const std::string tooDeep = Nested(kMaxUpdateInfoDepth + 1);
    EXPECT_TRUE(CheckXmlText(deepest.data(), deepest.size(), kMaxUpdateInfoDepth, nullptr));
    EXPECT_FALSE(CheckXmlText(tooDeep.data(), tooDeep.size(), kMaxUpdateInfoDepth, nullptr));
}

TEST(FindProductVersion, NeedsARoot)
{
    const wxXmlDocument empty;
    EXPECT_EQ(FindProductVersion(empty, GetProductName()), "");
}
