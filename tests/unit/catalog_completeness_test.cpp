// Every text the program marks as translatable must be in every catalog,
// translated and not fuzzy. The texts are extracted from the source tree at
// test time, so a text added to the code without a translation fails here.
#include "test_paths.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

namespace {
const char* const kCatalogLanguages[] = {"zh_CN", "zh_TW", "de", "fr", "it", "ja"};

struct CommandResult {
    int status = -1;
    std::string output;
};

// Runs a shell command with its standard error folded into the output.
CommandResult RunCommand(const wxString& command)
{
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").utf8_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer;
    size_t got;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.output.append(buffer.data(), got);
    result.status = pclose(pipe);
    return result;
}

wxString Quoted(const wxString& path)
{
    return "'" + path + "'";
}

wxString CatalogSource(const char* language)
{
    return SourceDir() + "/Language/" + language + ".po";
}

class CatalogCompleteness : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_work = new TempDir;
        s_extraction = RunCommand("sh " + Quoted(SourceDir() + "/scripts/update-pot.sh") + " " +
                           Quoted(FreshTemplate()));
    }
    static void TearDownTestSuite()
    {
        delete s_work;
        s_work = nullptr;
    }
    static wxString FreshTemplate() { return s_work->File("extracted.pot"); }

    static TempDir* s_work;
    static CommandResult s_extraction;
};
TempDir* CatalogCompleteness::s_work = nullptr;
CommandResult CatalogCompleteness::s_extraction;

TEST_F(CatalogCompleteness, TextsAreExtractedFromTheSources)
{
    ASSERT_EQ(s_extraction.status, 0) << s_extraction.output;
    // A few texts from different corners of the program prove that the
    // extraction saw the code and the layouts.
    const CommandResult grep = RunCommand("grep -c -e '^msgid \"Save Project\"' -e '^msgid \"Delay :\"' " +
                                   Quoted(FreshTemplate()));
    EXPECT_EQ(grep.output, "2\n");
}

TEST_F(CatalogCompleteness, EveryCatalogTranslatesEveryTextOfTheCode)
{
    ASSERT_EQ(s_extraction.status, 0) << s_extraction.output;
    for (const char* language : kCatalogLanguages) {
        // msgcmp counts untranslated and fuzzy entries as missing.
        const CommandResult compare =
            RunCommand("msgcmp " + Quoted(CatalogSource(language)) + " " + Quoted(FreshTemplate()));
        EXPECT_EQ(compare.status, 0) << language << ":\n" << compare.output;
    }
}

TEST_F(CatalogCompleteness, NoCatalogHasFuzzyOrUntranslatedEntries)
{
    for (const char* language : kCatalogLanguages) {
        for (const char* filter : {"--only-fuzzy", "--untranslated"}) {
            const CommandResult entries = RunCommand(wxString("msgattrib --no-obsolete ") + filter +
                                              " " + Quoted(CatalogSource(language)));
            EXPECT_EQ(entries.status, 0) << entries.output;
            EXPECT_EQ(entries.output, "") << language << " " << filter;
        }
    }
}

TEST_F(CatalogCompleteness, CatalogsPassTheCompilersChecks)
{
    // --check compares the printf directives of each translation with its
    // original, among other things.
    for (const char* language : kCatalogLanguages) {
        const CommandResult check =
            RunCommand("msgfmt --check -o /dev/null " + Quoted(CatalogSource(language)));
        EXPECT_EQ(check.status, 0) << language << ":\n" << check.output;
    }
}

TEST_F(CatalogCompleteness, CommittedTemplateIsCurrent)
{
    ASSERT_EQ(s_extraction.status, 0) << s_extraction.output;
    const CommandResult compare = RunCommand("msgcmp --use-untranslated " +
                                      Quoted(SourceDir() + "/Language/language.pot") + " " +
                                      Quoted(FreshTemplate()));
    EXPECT_EQ(compare.status, 0) << "run scripts/update-pot.sh:\n" << compare.output;
}
} // namespace
