// Size limit presets: what the edit fields accept, what the configuration
// keeps, and what --preset finds.
#include "cli_options.h"
#include "sizing/size_presets.h"

#include <gtest/gtest.h>
#include <wx/fileconf.h>

#include <vector>

namespace {
constexpr std::size_t kNew = ~std::size_t(0);
} // namespace

TEST(SizePresets, EditsAreCheckedKeptAndFoundByTheCommandLine)
{
    const std::vector<SizePreset>& builtIn = BuiltInSizePresets();
    const struct {
        const char* name;
        const char* limit;
        const char* side;
        std::size_t editing; // kNew: added
        SizePresetProblem problem;
        SizePreset read;
    } fields[] = {
        {"Mastodon", "16M", "", kNew, SizePresetProblem::None, {"Mastodon", 16000000, 0}},
        {"  Team emoji ", "64K", " 96", kNew, SizePresetProblem::None, {"Team emoji", 64000, 96}},
        {"Wiki", "1.5MB", "0", kNew, SizePresetProblem::None, {"Wiki", 1500000, 0}},
        {"", "1M", "", kNew, SizePresetProblem::NoName, {}},
        {"   ", "1M", "", kNew, SizePresetProblem::NoName, {}},
        {"github", "1M", "", kNew, SizePresetProblem::NameTaken, {}},
        // Renaming a preset to its own name in other letters is no clash.
        {"github", "12M", "", 0, SizePresetProblem::None, {"github", 12000000, 0}},
        {"Discord", "1M", "", 0, SizePresetProblem::NameTaken, {}},
        {"Wiki", "0", "", kNew, SizePresetProblem::BadLimit, {}},
        {"Wiki", "ten", "", kNew, SizePresetProblem::BadLimit, {}},
        {"Wiki", "", "", kNew, SizePresetProblem::BadLimit, {}},
        {"Wiki", "1M", "-5", kNew, SizePresetProblem::BadSide, {}},
        {"Wiki", "1M", "12.5", kNew, SizePresetProblem::BadSide, {}},
        {"Wiki", "1M", "70000", kNew, SizePresetProblem::BadSide, {}},
        {"Wiki", "1M", "px", kNew, SizePresetProblem::BadSide, {}},
    };
    for (const auto& f : fields) {
        // Left as it was when the fields are refused.
        SizePreset preset{"untouched", 1, 1};
        const std::size_t editing = f.editing == kNew ? builtIn.size() : f.editing;
        EXPECT_EQ(ReadSizePreset(f.name, f.limit, f.side, builtIn, editing, preset), f.problem)
            << "\"" << f.name << "\" " << f.limit << " " << f.side;
        const SizePreset expected = f.problem == SizePresetProblem::None ? f.read : SizePreset{"untouched", 1, 1};
        EXPECT_EQ(preset, expected)
            << "\"" << f.name << "\" " << f.limit << " " << f.side;
    }

    // A configuration held in memory, as the program's file holds it.
    wxFileConfig config("", "", "", "", 0);
    EXPECT_EQ(LoadSizePresets(&config), builtIn) << "nothing stored";
    EXPECT_EQ(LoadSizePresets(nullptr), builtIn) << "no configuration";
    const std::vector<SizePreset> own = {{"Mastodon", 16000000, 0}, {"Team emoji", 64000, 96}};
    SaveSizePresets(config, own);
    EXPECT_EQ(LoadSizePresets(&config), own);
    SaveSizePresets(config, {});
    EXPECT_TRUE(LoadSizePresets(&config).empty()) << "every preset deleted";
    SaveSizePresets(config, builtIn);
    EXPECT_FALSE(config.HasGroup("/SizePresets")) << "restored: later built-in numbers reach the user";
    // Entries damaged by hand are passed over, the good ones kept.
    config.Write("/SizePresets/Count", 4);
    config.Write("/SizePresets/1/Name", "Good");
    config.Write("/SizePresets/1/Bytes", 5000);
    config.Write("/SizePresets/2/Name", "Empty");
    config.Write("/SizePresets/2/Bytes", 0);
    config.Write("/SizePresets/3/Name", "GOOD");
    config.Write("/SizePresets/3/Bytes", 7000);
    config.Write("/SizePresets/4/Name", "Huge side");
    config.Write("/SizePresets/4/Bytes", 7000);
    config.Write("/SizePresets/4/Side", 1000000);
    EXPECT_EQ(LoadSizePresets(&config), (std::vector<SizePreset>{{"Good", 5000, 0}}));

    EXPECT_EQ(SizePresetLabel({"Team emoji", 64000, 96}), "Team emoji (64 KB, 96 px)");
    EXPECT_EQ(SizePresetLabel({"GitHub", 10000000, 0}), "GitHub (10 MB)");
    EXPECT_EQ(SizePresetLabel({"Odd", 1234, 0}), "Odd (1234 B)");

    // A limit no preset has, as the window's field shows and reads it: a
    // project's side limit outlives the preset it was chosen with.
    const struct {
        const char* text;
        long long bytes; // 0: refused
        int maxSide;
    } limits[] = {
        {"256K, 128 px", 256000, 128}, {"10M", 10000000, 0}, {"64000,96PX", 64000, 96},
        {"256K, 0 px", 0, 0},          {"256K, 128", 0, 0},  {"256K, px", 0, 0},
        {", 128 px", 0, 0},            {"1,5M", 0, 0},       {"256K, 70000 px", 0, 0},
    };
    for (const auto& l : limits) {
        long long bytes = 0;
        int side = -1;
        EXPECT_EQ(ParseSizeLimitText(l.text, bytes, side), l.bytes != 0) << l.text;
        if (l.bytes != 0) {
            EXPECT_EQ(bytes, l.bytes) << l.text;
            EXPECT_EQ(side, l.maxSide) << l.text;
            EXPECT_TRUE(ParseSizeLimitText(SizeLimitText(bytes, side), bytes, side)) << l.text;
            EXPECT_EQ(bytes, l.bytes) << SizeLimitText(bytes, side);
            EXPECT_EQ(side, l.maxSide) << SizeLimitText(bytes, side);
        }
    }

    const struct {
        std::vector<wxString> arguments;
        CliAction action;
        long long limit;
        int maxSide;
        const char* errorNames; // a text the error must hold
    } commands[] = {
        {{"--preset", "TEAM EMOJI", "-o", "a.gif", "x.png"}, CliAction::Encode, 64000, 96, ""},
        {{"--preset=mastodon", "-o", "a.gif", "x.png"}, CliAction::Encode, 16000000, 0, ""},
        // The user's list replaces the built-in one.
        {{"--preset", "github", "-o", "a.gif", "x.png"}, CliAction::BadUsage, 0, 0, "Mastodon, Team emoji"},
        {{"--preset", "mastodon", "--max-size", "1M", "-o", "a.gif", "x.png"}, CliAction::BadUsage, 1000000, 0,
         "not both"},
    };
    for (const auto& c : commands) {
        CliOptions options;
        wxString error;
        EXPECT_EQ(ParseCliArguments(c.arguments, options, error, own), c.action) << c.arguments[1] << ": " << error;
        EXPECT_EQ(options.fit.limit, c.limit) << c.arguments[1];
        EXPECT_EQ(options.fit.maxSide, c.maxSide) << c.arguments[1];
        EXPECT_TRUE(error.Contains(c.errorNames)) << error;
    }
    EXPECT_TRUE(CliUsage(own).Contains("Mastodon, Team emoji"));
}
