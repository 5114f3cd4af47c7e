#include "cli_options.h"

#include <gtest/gtest.h>

namespace {

CliAction Parse(std::vector<wxString> arguments, CliOptions& options)
{
    wxString error;
    const CliAction action = ParseCliArguments(arguments, options, error);
    EXPECT_EQ(action == CliAction::BadUsage, !error.empty()) << error;
    return action;
}

} // namespace

TEST(CliOptions, DefaultsAndFilesInOrder)
{
    CliOptions options;
    ASSERT_EQ(Parse({"-o", "out.gif", "b.png", "a.png"}, options), CliAction::Encode);
    EXPECT_EQ(options.delay, 10);
    EXPECT_EQ(options.width, 0);
    EXPECT_EQ(options.quality, kGifDefaultQuality);
    EXPECT_FALSE(options.fast);
    EXPECT_EQ(options.output, "out.gif");
    EXPECT_EQ(options.inputs, (std::vector<wxString>{"b.png", "a.png"}));
}

TEST(CliOptions, DelaySizeAndOutputInEveryForm)
{
    CliOptions options;
    ASSERT_EQ(Parse({"-d", "25", "-s", "320x240", "-q", "1", "--fast", "-o", "x.gif", "a.png"}, options),
              CliAction::Encode);
    EXPECT_EQ(options.delay, 25);
    EXPECT_EQ(options.quality, 1);
    EXPECT_TRUE(options.fast);
    EXPECT_EQ(options.width, 320);
    EXPECT_EQ(options.height, 240);

    CliOptions joined;
    ASSERT_EQ(Parse({"-d7", "--size=8x9", "--quality=100", "--output=y.gif", "--", "-odd.png"}, joined),
              CliAction::Encode);
    EXPECT_EQ(joined.delay, 7);
    EXPECT_EQ(joined.quality, 100);
    EXPECT_EQ(joined.width, 8);
    EXPECT_EQ(joined.height, 9);
    EXPECT_EQ(joined.output, "y.gif");
    EXPECT_EQ(joined.inputs, std::vector<wxString>{"-odd.png"});
}

TEST(CliOptions, HelpAndVersionWin)
{
    CliOptions options;
    EXPECT_EQ(Parse({"--help"}, options), CliAction::ShowHelp);
    EXPECT_EQ(Parse({"-o", "x.gif", "-h"}, options), CliAction::ShowHelp);
    EXPECT_EQ(Parse({"--version"}, options), CliAction::ShowVersion);
    EXPECT_NE(CliUsage().Find("-o OUT.gif FILE[:DELAY]..."), wxNOT_FOUND);
}

TEST(CliOptions, BadUsageIsRefused)
{
    const std::vector<std::vector<wxString>> bad = {
        {},                                      // nothing
        {"a.png"},                               // no output
        {"-o", "x.gif"},                         // no input
        {"-o"},                                  // missing value
        {"-d", "-1", "-o", "x.gif", "a.png"},    // negative delay
        {"-d", "65536", "-o", "x.gif", "a.png"}, // beyond the file's 16 bits
        {"-d", "ten", "-o", "x.gif", "a.png"},
        {"-s", "0x10", "-o", "x.gif", "a.png"},
        {"-s", "640", "-o", "x.gif", "a.png"},
        {"-s", "70000x10", "-o", "x.gif", "a.png"},
        {"-s", "10x", "-o", "x.gif", "a.png"},
        {"-q", "0", "-o", "x.gif", "a.png"},
        {"--quality=101", "-o", "x.gif", "a.png"},
        {"--frobnicate", "-o", "x.gif", "a.png"},
    };
    for (const auto& arguments : bad) {
        CliOptions options;
        wxString shown;
        for (const wxString& argument : arguments)
            shown += argument + " ";
        EXPECT_EQ(Parse(arguments, options), CliAction::BadUsage) << shown;
    }
}

TEST(CliOptions, ClipRateAndRange)
{
    CliOptions options;
    ASSERT_EQ(Parse({"--fps", "12.5", "--from", "1:02", "--to=70", "-o", "x.gif", "c.mp4"}, options), CliAction::Encode);
    EXPECT_DOUBLE_EQ(options.fps, 12.5);
    EXPECT_EQ(options.fromMs, 62000);
    EXPECT_EQ(options.toMs, 70000);
    EXPECT_FALSE(options.delayGiven);

    for (const std::vector<wxString>& bad : std::vector<std::vector<wxString>>{
             {"--fps", "0", "-o", "x.gif", "c.mp4"},
             {"--fps", "51", "-o", "x.gif", "c.mp4"},
             {"--from", "soon", "-o", "x.gif", "c.mp4"},
             {"--from", "2", "--to", "1", "-o", "x.gif", "c.mp4"},
             {"--fps", "10", "--project", "p.xml", "-o", "x.gif"}}) {
        CliOptions refused;
        EXPECT_EQ(Parse(bad, refused), CliAction::BadUsage) << bad[0] << " " << bad[1];
    }
}
