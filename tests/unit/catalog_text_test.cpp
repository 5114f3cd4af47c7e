// Rules a translation must keep because the code builds on the texts: spaces
// and line breaks at either end are joined to other pieces, menu accelerators
// are appended after translation, and a mnemonic marks one letter.
#include "test_paths.h"

#include <gtest/gtest.h>
#include <wx/ffile.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
const char* const kCatalogLanguages[] = {"zh_CN", "zh_TW", "de", "fr", "it", "ja"};

struct CatalogEntry {
    std::string msgid;
    std::string msgstr;
};

std::string Unescape(const std::string& quoted)
{
    std::string text;
    for (size_t i = 1; i + 1 < quoted.size(); ++i) {
        if (quoted[i] != '\\' || i + 2 >= quoted.size()) {
            text += quoted[i];
            continue;
        }
        const char escaped = quoted[++i];
        text += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
    }
    return text;
}

// The singular entries of a PO file, header and obsolete entries left out.
std::vector<CatalogEntry> ReadCatalog(const wxString& path)
{
    wxString content;
    wxFFile file(path, "rb");
    if (!file.IsOpened() || !file.ReadAll(&content, wxConvUTF8))
        return {};
    std::vector<CatalogEntry> entries;
    std::string* target = nullptr;
    for (const wxString& wxline : wxSplit(content, '\n', '\0')) {
        const std::string line = wxline.utf8_string();
        if (line.rfind("msgid ", 0) == 0) {
            entries.push_back({});
            target = &entries.back().msgid;
            *target = Unescape(line.substr(6));
        } else if (line.rfind("msgstr ", 0) == 0 && target) {
            target = &entries.back().msgstr;
            *target = Unescape(line.substr(7));
        } else if (line.rfind("\"", 0) == 0 && target) {
            *target += Unescape(line);
        } else {
            target = nullptr;
        }
    }
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const CatalogEntry& e) { return e.msgid.empty(); }),
                  entries.end());
    return entries;
}

std::string Leading(const std::string& text)
{
    return text.substr(0, text.find_first_not_of(" \n"));
}

std::string Trailing(const std::string& text)
{
    const size_t last = text.find_last_not_of(" \n");
    return last == std::string::npos ? text : text.substr(last + 1);
}

class CatalogText : public ::testing::TestWithParam<const char*> {
protected:
    std::vector<CatalogEntry> Entries() const
    {
        return ReadCatalog(SourceDir() + "/Language/" + GetParam() + ".po");
    }
};

TEST_P(CatalogText, CatalogHasEntries)
{
    EXPECT_GT(Entries().size(), 30u);
}

TEST_P(CatalogText, TranslationsKeepSpacesAndLineBreaksAtTheEnds)
{
    for (const CatalogEntry& entry : Entries()) {
        EXPECT_EQ(Leading(entry.msgstr), Leading(entry.msgid)) << entry.msgid;
        EXPECT_EQ(Trailing(entry.msgstr), Trailing(entry.msgid)) << entry.msgid;
    }
}

TEST_P(CatalogText, TranslationsKeepTheNumberOfLines)
{
    for (const CatalogEntry& entry : Entries())
        EXPECT_EQ(std::count(entry.msgstr.begin(), entry.msgstr.end(), '\n'),
                  std::count(entry.msgid.begin(), entry.msgid.end(), '\n'))
            << entry.msgid;
}

TEST_P(CatalogText, AcceleratorsStayOutOfTranslatedTexts)
{
    for (const CatalogEntry& entry : Entries()) {
        EXPECT_EQ(entry.msgid.find('\t'), std::string::npos) << entry.msgid;
        EXPECT_EQ(entry.msgstr.find('\t'), std::string::npos) << entry.msgid;
    }
}

TEST_P(CatalogText, MnemonicMarksOneLetterWhereTheOriginalHasOne)
{
    for (const CatalogEntry& entry : Entries()) {
        const auto marks = std::count(entry.msgstr.begin(), entry.msgstr.end(), '&');
        const bool original = entry.msgid.find('&') != std::string::npos;
        EXPECT_EQ(marks, original ? 1 : 0) << entry.msgid;
        if (marks == 1) {
            EXPECT_NE(entry.msgstr.back(), '&') << entry.msgid;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, CatalogText, ::testing::ValuesIn(kCatalogLanguages),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });
} // namespace
