// Files named on the command line reach the window as the user's own
// commands would bring them: pictures as Add Image, a project as Open Project.
#include "command_line.h"
#include "gifframe.h"
#include "main_window.h"
#include "modal_hooks.h"
#include "project/project_file.h"
#include "test_pictures.h"

#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/xml/xml.h>

namespace {
class StartupFilesTest : public MainWindowTest {
protected:
    void Open(const wxArrayString& given) { m_frame->OpenStartupFiles(SortStartupFiles(given, m_dir.Path())); }
};

int Occurrences(const wxString& text, const wxString& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != wxString::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}
} // namespace

TEST_F(StartupFilesTest, PicturesAndGifFramesAreAddedInOrder)
{
    WriteGif(m_dir, "anim.gif", 2, 40, 30);
    WritePng(m_dir, "b.png", 64, 48);
    EXPECT_NO_DIALOG(Open(Strings({"b.png", "anim.gif"})));
    ASSERT_TRUE(WaitForLoad(m_frame));
    EXPECT_EQ(ItemNames(m_frame), (std::vector<std::string>{"b.png", "anim.gif_0", "anim.gif_1"}));
    EXPECT_TRUE(m_frame->GetMenuBar()->FindItem(ID_MENU_SAVE)->IsEnabled());
}

TEST_F(StartupFilesTest, AMissingFileIsNamedOnceAndTheOthersAreAdded)
{
    WritePng(m_dir, "a.png", 20, 10);
    wxString message;
    wxTEST_DIALOG(Open(Strings({"a.png", "gone.png", "gone.png"})),
                  ExpectDialog<wxMessageDialog>([&message](wxMessageDialog* dialog) {
                      message = dialog->GetMessage();
                      return wxID_OK;
                  }));
    EXPECT_EQ(Occurrences(message, "gone.png"), 1) << message;
    ASSERT_TRUE(WaitForLoad(m_frame));
    EXPECT_EQ(ItemNames(m_frame), (std::vector<std::string>{"a.png"}));
}

TEST_F(StartupFilesTest, AProjectIsOpenedWithItsFrames)
{
    const wxString a = WritePng(m_dir, "a.png", 20, 10);
    const wxString b = WritePng(m_dir, "b.png", 20, 10);
    ProjectFileSettings settings;
    settings.width = 20;
    settings.height = 10;
    settings.delay = 25;
    wxString error;
    ASSERT_TRUE(WriteProjectFile(m_dir.File("work.xml"), *BuildProjectDocument(settings, Strings({a, b})),
                                 &error))
        << error;

    EXPECT_NO_DIALOG(Open(Strings({"work.xml"})));
    ASSERT_TRUE(WaitForLoad(m_frame));
    EXPECT_EQ(ItemNames(m_frame), (std::vector<std::string>{"a.png", "b.png"}));
    EXPECT_TRUE(m_frame->GetTitle().StartsWith("work - ")) << m_frame->GetTitle();
    EXPECT_FALSE(m_frame->IsProjectUnsaved());
}
