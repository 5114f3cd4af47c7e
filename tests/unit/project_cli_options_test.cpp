#include "cli_options.h"

#include <gtest/gtest.h>

namespace {
CliAction Parse(std::vector<wxString> arguments, CliOptions& options)
{
    wxString error;
    return ParseCliArguments(arguments, options, error);
}
} // namespace

TEST(ProjectCliOptions, ProjectReplacesPicturesAndSettings)
{
    CliOptions options;
    EXPECT_EQ(Parse({"--project", "p.xml", "-o", "out.gif"}, options), CliAction::Encode);
    EXPECT_EQ(options.project, "p.xml");
    EXPECT_TRUE(options.inputs.empty());

    CliOptions withPictures;
    EXPECT_EQ(Parse({"--project=p.xml", "-o", "out.gif", "a.png"}, withPictures), CliAction::BadUsage);
    CliOptions withDelay;
    EXPECT_EQ(Parse({"-p", "p.xml", "-d", "10", "-o", "out.gif"}, withDelay), CliAction::BadUsage);
    CliOptions withoutOutput;
    EXPECT_EQ(Parse({"--project", "p.xml"}, withoutOutput), CliAction::BadUsage);
}
