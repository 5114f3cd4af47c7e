// Switching the interface language from the Help menu: the choice is stored,
// the menus are rebuilt in the new language at once, and the next main window
// comes up in it. The machine running these tests needs no system locale for
// the languages: the catalogs must work without them.
#include "gifframe.h"
#include "file_bytes.h"
#include "language.h"
#include "main_window.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/log.h>
#include <wx/menu.h>

#include <libintl.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {
constexpr int kGermanCode = 89;

wxString ReadText(const wxString& path)
{
    return wxString::FromUTF8(ReadFileText(path));
}

void WriteText(const wxString& path, const char* text)
{
    WriteFileText(path, text);
}

std::vector<wxString> MenuTitles(const GifFrame& frame)
{
    std::vector<wxString> titles;
    const wxMenuBar* bar = frame.GetMenuBar();
    for (size_t i = 0; i < bar->GetMenuCount(); ++i)
        titles.push_back(bar->GetMenuLabelText(i));
    return titles;
}

std::vector<int> CheckedLanguageItems(const GifFrame& frame)
{
    std::vector<int> checked;
    for (const InterfaceLanguage& language : kInterfaceLanguages) {
        const wxMenuItem* item = frame.GetMenuBar()->FindItem(language.code);
        if (item && item->IsChecked())
            checked.push_back(language.code);
    }
    return checked;
}

wxString ItemLabel(const GifFrame& frame, int id)
{
    const wxMenuItem* item = frame.GetMenuBar()->FindItem(id);
    return item ? item->GetItemLabel() : wxString("(missing)");
}

// Collects what the toolkit logs while it lives.
class LogRecorder : public wxLog {
public:
    LogRecorder() : m_previous(wxLog::SetActiveTarget(this)) {}
    ~LogRecorder() override { wxLog::SetActiveTarget(m_previous); }
    std::vector<wxString> m_messages;

protected:
    void DoLogTextAtLevel(wxLogLevel, const wxString& message) override
    {
        m_messages.push_back(message);
    }

private:
    wxLog* m_previous;
};

class LanguageSwitch : public MainWindowTest {
protected:
};

const std::vector<wxString> kEnglishTitles = {"File", "Edit", "Frame", "Animation", "Help"};
const std::vector<wxString> kGermanTitles = {"Datei", "Bearbeiten", "Bilder", "Animation", "Hilfe"};

TEST_F(LanguageSwitch, FirstStartIsEnglishAndStoresEnglish)
{
    EXPECT_EQ(ReadText(m_home.LanguageFile()), "58");
    EXPECT_EQ(m_frame->GetLanguage(), kEnglishLanguageCode);
    EXPECT_EQ(MenuTitles(*m_frame), kEnglishTitles);
    EXPECT_EQ(ItemLabel(*m_frame, ID_MENU_SAVE_PROJECT), "Save Project\tCtrl+S");
    EXPECT_EQ(CheckedLanguageItems(*m_frame), std::vector<int>{kEnglishLanguageCode});
}

TEST_F(LanguageSwitch, ChoosingGermanSwitchesAtOnceAndSurvivesARestart)
{
    ChooseMenuItemForTest(*m_frame, kGermanCode);

    EXPECT_EQ(ReadText(m_home.LanguageFile()), "89");
    EXPECT_EQ(m_frame->GetLanguage(), kGermanCode);
    EXPECT_EQ(MenuTitles(*m_frame), kGermanTitles);
    EXPECT_EQ(ItemLabel(*m_frame, ID_MENU_SAVE_PROJECT), wxString::FromUTF8("Projekt speichern\tCtrl+S"));
    EXPECT_EQ(ItemLabel(*m_frame, ID_MENU_ADD_IMAGE), wxString::FromUTF8("Bild hinzufügen\tCtrl+Ins"));
    EXPECT_EQ(CheckedLanguageItems(*m_frame), std::vector<int>{kGermanCode});

    Restart();
    EXPECT_EQ(m_frame->GetLanguage(), kGermanCode);
    EXPECT_EQ(MenuTitles(*m_frame), kGermanTitles);
    EXPECT_EQ(CheckedLanguageItems(*m_frame), std::vector<int>{kGermanCode});
}

TEST_F(LanguageSwitch, ChoosingTheActiveLanguageRunsEveryStepAgain)
{
    ChooseMenuItemForTest(*m_frame, kGermanCode);
    WriteText(m_home.LanguageFile(), "58");
    const wxMenuBar* before = m_frame->GetMenuBar();

    ChooseMenuItemForTest(*m_frame, kGermanCode);

    EXPECT_EQ(ReadText(m_home.LanguageFile()), "89");
    EXPECT_NE(m_frame->GetMenuBar(), before);
    EXPECT_EQ(MenuTitles(*m_frame), kGermanTitles);
    EXPECT_EQ(CheckedLanguageItems(*m_frame), std::vector<int>{kGermanCode});
}

TEST_F(LanguageSwitch, EveryLanguageTranslatesTheMenusWithoutItsSystemLocale)
{
    for (const InterfaceLanguage& language : kInterfaceLanguages) {
        ChooseMenuItemForTest(*m_frame, language.code);
        const bool english = language.code == kEnglishLanguageCode;
        EXPECT_EQ(MenuTitles(*m_frame) == kEnglishTitles, english) << language.label;
        EXPECT_EQ(CheckedLanguageItems(*m_frame), std::vector<int>{language.code});
    }
}

TEST_F(LanguageSwitch, ToolkitAndSystemTextsFollowTheLanguage)
{
    // The progress dialogs' own texts come from the toolkit's catalog, the
    // file chooser's and the message boxes' buttons from the system's.
    ChooseMenuItemForTest(*m_frame, kGermanCode);
    EXPECT_EQ(wxGetTranslation("Elapsed time:"), wxString::FromUTF8("Benötigte Zeit:"));
    EXPECT_STREQ(dgettext("gtk30", "_Cancel"), "_Abbrechen");

    ChooseMenuItemForTest(*m_frame, kEnglishLanguageCode);
    EXPECT_EQ(wxGetTranslation("Elapsed time:"), "Elapsed time:");
    EXPECT_STREQ(dgettext("gtk30", "_Cancel"), "_Cancel");
}

TEST_F(LanguageSwitch, LanguageItemTextsAreTheSameInEveryLanguage)
{
    for (const InterfaceLanguage& shown : kInterfaceLanguages) {
        ChooseMenuItemForTest(*m_frame, shown.code);
        for (const InterfaceLanguage& language : kInterfaceLanguages)
            EXPECT_EQ(ItemLabel(*m_frame, language.code), wxString::FromUTF8(language.label))
                << "shown in " << shown.label;
    }
}

TEST_F(LanguageSwitch, SwitchingShowsNoMessage)
{
    LogRecorder log;
    for (const InterfaceLanguage& language : kInterfaceLanguages)
        ChooseMenuItemForTest(*m_frame, language.code);
    EXPECT_TRUE(log.m_messages.empty()) << log.m_messages.front();
}

TEST_F(LanguageSwitch, SystemLanguageCodeChecksNoItem)
{
    WriteText(m_home.LanguageFile(), "0");
    Restart();
    EXPECT_EQ(m_frame->GetLanguage(), 0);
    EXPECT_TRUE(CheckedLanguageItems(*m_frame).empty());
}

TEST_F(LanguageSwitch, SystemLanguageCodeFollowsTheSystemLanguage)
{
    const char* previous = std::getenv("LC_ALL");
    const std::string saved = previous ? previous : "";
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    WriteText(m_home.LanguageFile(), "0");
    Restart();
    if (previous)
        setenv("LC_ALL", saved.c_str(), 1);
    else
        unsetenv("LC_ALL");
    EXPECT_EQ(MenuTitles(*m_frame), kGermanTitles);
}

TEST_F(LanguageSwitch, CodesOutsideTheTableStartInEnglish)
{
    for (const char* stored : {"1", "9999", "-7", "abc"}) {
        WriteText(m_home.LanguageFile(), stored);
        Restart();
        EXPECT_EQ(MenuTitles(*m_frame), kEnglishTitles) << stored;
        EXPECT_TRUE(CheckedLanguageItems(*m_frame).empty()) << stored;
    }
}
} // namespace
