#include "save_test_support.h"

#include "gifframe.h"
#include "paths.h"
#include "encode/gif_pipeline.h"
#include "project/project_file.h"
#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"

#include <wx/ffile.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/msgdlg.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>
#include <wx/utils.h>
#include <wx/wfstream.h>

#include <string>

namespace {
wxArrayString ItemPaths(const GifFrame& frame)
{
    wxArrayString paths;
    const wxThumbnailCtrl* strip = frame.GetThumbnailCtrl();
    for (int i = 0; i < strip->GetCount(); ++i)
        paths.Add(strip->GetItem(i)->GetFileName());
    return paths;
}

// A small animation of three frames in different colours.
bool WriteThreeFrameGif(const wxString& path)
{
    const unsigned char colours[][3] = {{220, 30, 30}, {30, 200, 30}, {30, 30, 220}};
    wxFileOutputStream out(path);
    GifEncodeSettings settings;
    settings.width = 24;
    settings.height = 16;
    settings.delayCs = 10;
    return out.IsOk() && EncodeGifAnimation(out, 3, [&](std::size_t index) {
               wxImage frame(settings.width, settings.height);
               frame.SetRGB(wxRect(0, 0, settings.width, settings.height), colours[index][0],
                            colours[index][1], colours[index][2]);
               return frame;
           }, settings) && out.Close();
}

std::string ProjectText(const std::string& name, const std::string& gif, const std::string& images)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<project><name>" + name + "</name><gif>" + gif +
           "</gif>" + images + "</project>\n";
}
} // namespace

class ProjectFilesTest : public ProjectWindowTest {
protected:
    void SetUp() override
    {
        ProjectWindowTest::SetUp();
        ASSERT_TRUE(WriteThreeFrameGif(m_dir.File("b.gif")));
        for (const char* name : {"a.png", "c.png"}) {
            wxImage picture(30, 20);
            picture.SetRGB(wxRect(0, 0, 15, 20), 200, 40, 40);
            ASSERT_TRUE(picture.SaveFile(m_dir.File(name), wxBITMAP_TYPE_PNG));
        }
    }

    // a.png, frames 0 and 1 of b.gif, c.png.
    void AddMixedFrames()
    {
        AddPicture(m_dir.File("a.png"));
        AddPicture(m_dir.File("b.gif"), 0);
        AddPicture(m_dir.File("b.gif"), 1);
        AddPicture(m_dir.File("c.png"));
    }

    wxArrayString MixedNames() const
    {
        return Strings({m_dir.File("a.png"), m_dir.File("b.gif_0"), m_dir.File("b.gif_1"), m_dir.File("c.png")});
    }

    void Open(const wxString& path)
    {
        m_frame->LoadProject(path);
        ASSERT_TRUE(WaitForLoad(m_frame));
    }
};

TEST_F(ProjectFilesTest, SavedProjectListsEveryFrameAndOpensAgain)
{
    AddMixedFrames();
    ASSERT_EQ(ItemPaths(*m_frame), MixedNames());
    SetOutput(12, 90, 60);
    wxTEST_DIALOG(Save(), ExpectFileChoice(wxString(), m_dir.File("out.gif")));

    bool written = false;
    wxTEST_DIALOG(written = m_frame->SaveProject(), ExpectFileChoice(wxString(), m_dir.File("anim")));
    ASSERT_TRUE(written);
    const wxString projectPath = m_dir.File("anim.xml");
    EXPECT_EQ(m_frame->GetProjectPath(), projectPath);
    EXPECT_EQ(m_frame->GetTitle(), "anim - " + GetProductName());

    const ProjectContents contents = ReadProjectFile(projectPath);
    ASSERT_EQ(contents.stage, ProjectReadStage::Entries);
    EXPECT_EQ(contents.settings.gifName, "out.gif");
    EXPECT_EQ(contents.settings.width, 90);
    EXPECT_EQ(contents.settings.height, 60);
    EXPECT_EQ(contents.settings.delay, 12);
    EXPECT_EQ(contents.entries, Strings({m_dir.File("a.png"), m_dir.File("b.gif_0"), m_dir.File("b.gif_1"),
                                         m_dir.File("b.gif"), m_dir.File("c.png")}));

    // The second save writes to the same file without asking.
    SetOutput(20, 90, 60);
    EXPECT_NO_DIALOG(written = m_frame->SaveProject());
    EXPECT_TRUE(written);
    EXPECT_EQ(ReadProjectFile(projectPath).settings.delay, 20);

    // Opened into an empty window, the project brings back the frames and
    // the settings, and counts as saved once every frame has arrived.
    Restart();
    EXPECT_NO_DIALOG(Open(projectPath));
    EXPECT_EQ(ItemPaths(*m_frame), MixedNames());
    EXPECT_EQ(Spin("m_spinctrl_width")->GetValue(), 90);
    EXPECT_EQ(Spin("m_spinctrl_height")->GetValue(), 60);
    EXPECT_EQ(Spin("m_spinctrl_delay")->GetValue(), 20);
    EXPECT_EQ(Status(0), "out.gif (90 * 60)px");
    EXPECT_EQ(m_frame->GetProjectRecord().frameCount, 4);
    EXPECT_EQ(m_frame->GetProjectRecord().width, 90);
    EXPECT_EQ(m_frame->GetProjectRecord().height, 60);
    EXPECT_EQ(m_frame->GetProjectRecord().delay, 20);
    EXPECT_FALSE(m_frame->IsProjectUnsaved());
    EXPECT_EQ(m_frame->GetTitle(), "anim - " + GetProductName());
}

TEST_F(ProjectFilesTest, TrailingGifFrameIsFollowedByItsFile)
{
    AddPicture(m_dir.File("a.png"));
    AddPicture(m_dir.File("b.gif"), 0);
    bool written = false;
    wxTEST_DIALOG(written = m_frame->SaveProject(), ExpectFileChoice("Save XML Files", m_dir.File("p.xml")));
    ASSERT_TRUE(written);
    const ProjectContents contents = ReadProjectFile(m_dir.File("p.xml"));
    EXPECT_EQ(contents.entries, Strings({m_dir.File("a.png"), m_dir.File("b.gif_0"), m_dir.File("b.gif")}));
    EXPECT_EQ(contents.settings.gifName, "");
}

TEST_F(ProjectFilesTest, OpeningAppendsAfterFramesPresent)
{
    AddPicture(m_dir.File("c.png"));
    AddPicture(m_dir.File("a.png"));
    const wxString path = m_dir.File("p.xml");
    WriteFileText(path, ProjectText("", "<width>30</width><height>20</height><delay_time>5</delay_time>",
                                "<images><path>" + m_dir.File("b.gif_1").ToStdString() + "</path><path>" +
                                    m_dir.File("b.gif").ToStdString() + "</path></images>"));
    Open(path);
    EXPECT_EQ(ItemPaths(*m_frame), Strings({m_dir.File("c.png"), m_dir.File("a.png"), m_dir.File("b.gif_1")}));
    EXPECT_EQ(m_frame->GetProjectRecord().frameCount, 3);
}

TEST_F(ProjectFilesTest, SettingsAreAppliedUntilTheFirstMissingElement)
{
    Spin("m_spinctrl_delay")->SetValue(33);
    const wxString path = m_dir.File("p.xml");
    WriteFileText(path, ProjectText("anim.gif", "<width>abc</width><height>70</height>",
                                "<images><path>" + m_dir.File("a.png").ToStdString() + "</path></images>"));
    EXPECT_NO_DIALOG(m_frame->LoadProject(path));
    EXPECT_EQ(Spin("m_spinctrl_width")->GetValue(), 0);
    EXPECT_EQ(Spin("m_spinctrl_height")->GetValue(), 70);
    EXPECT_EQ(Spin("m_spinctrl_delay")->GetValue(), 33);
    EXPECT_EQ(Status(0), "anim.gif(0 * 70)px");
    EXPECT_EQ(Count(), 0);
    EXPECT_FALSE(m_frame->IsLoading());
}

TEST_F(ProjectFilesTest, EmptyNameShowsTheUntitledStatus)
{
    const wxString path = m_dir.File("p.xml");
    WriteFileText(path, ProjectText("", "<width>30</width><height>20</height><delay_time>5</delay_time>",
                                "<images><path>" + m_dir.File("a.png").ToStdString() + "</path></images>"));
    Open(path);
    EXPECT_EQ(Status(0).Left(13), "Untitled.gif ");
    EXPECT_EQ(Count(), 1);

    // The text written while the file is read, before the pictures arrive.
    Restart();
    WriteFileText(path, ProjectText("", "<width>30</width><height>20</height><delay_time>5</delay_time>", "<x/>"));
    EXPECT_NO_DIALOG(m_frame->LoadProject(path));
    EXPECT_EQ(Status(0), "Unititle.gif(30 * 20)px");
}

TEST_F(ProjectFilesTest, ProjectsWithoutPicturesSayTheyFailed)
{
    const std::string settings = "<width>30</width><height>20</height><delay_time>5</delay_time>";
    const wxString path = m_dir.File("p.xml");
    WriteFileText(path, ProjectText("", settings, "<images/>"));
    wxTEST_DIALOG(m_frame->LoadProject(path), wxExpectModal<wxMessageDialog>(wxID_OK));

    WriteFileText(path, ProjectText("", settings,
                                "<images><path>" + m_dir.File("gone.png").ToStdString() + "</path><path>" +
                                    m_dir.File("b.gif").ToStdString() + "</path></images>"));
    m_frame->GetStatusBar()->SetStatusText("details", 1);
    wxTEST_DIALOG(m_frame->LoadProject(path), wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_EQ(Status(1), "");

    // An element other than `path` among the entries ends the open quietly.
    WriteFileText(path, ProjectText("", settings,
                                "<images><path>" + m_dir.File("a.png").ToStdString() + "</path><other/></images>"));
    EXPECT_NO_DIALOG(m_frame->LoadProject(path));
    EXPECT_EQ(Count(), 0);
}

TEST_F(ProjectFilesTest, OpenProjectCommandAsksForTheFile)
{
    const wxString path = m_dir.File("p.xml");
    WriteFileText(path, ProjectText("", "<width>30</width><height>20</height><delay_time>5</delay_time>",
                                "<images><path>" + m_dir.File("c.png").ToStdString() + "</path></images>"));
    wxTEST_DIALOG(Choose(ID_MENU_OPEN_PROJECT), ExpectFileChoice("Load Xml Files", wxString(), wxID_CANCEL));
    EXPECT_TRUE(m_frame->GetProjectPath().empty());

    wxTEST_DIALOG(Choose(ID_MENU_OPEN_PROJECT), ExpectFileChoice("Load Xml Files", path));
    ASSERT_TRUE(WaitForLoad(m_frame));
    EXPECT_EQ(ItemPaths(*m_frame), Strings({m_dir.File("c.png")}));
    EXPECT_EQ(m_frame->GetProjectPath(), path);
    EXPECT_FALSE(m_frame->IsProjectUnsaved());
}

TEST_F(ProjectFilesTest, TitleComesFromTheProjectFileName)
{
    const wxString path = m_dir.File("anim.XML");
    WriteFileText(path, "not a project");
    EXPECT_NO_DIALOG(m_frame->LoadProject(path));
    EXPECT_EQ(m_frame->GetTitle(), " - " + GetProductName());
    EXPECT_EQ(m_frame->GetProjectPath(), path);
}

TEST_F(ProjectFilesTest, FailedOrCancelledSaveKeepsTheProjectUnsaved)
{
    AddMixedFrames();
    SetOutput(9, 30, 20);

    bool written = true;
    wxTEST_DIALOG(written = m_frame->SaveProject(), ExpectFileChoice(wxString(), wxString(), wxID_CANCEL));
    EXPECT_FALSE(written);
    EXPECT_EQ(m_frame->GetProjectRecord().frameCount, 0);
    EXPECT_EQ(m_frame->GetProjectRecord().delay, 0);

    // A folder stands where the project file would go, so it cannot be written.
    ASSERT_TRUE(wxMkdir(m_dir.File("blocked.xml")));
    wxTEST_DIALOG(written = m_frame->SaveProject(), ExpectFileChoice(wxString(), m_dir.File("blocked")),
                  wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_FALSE(written);
    EXPECT_EQ(m_frame->GetProjectRecord().frameCount, 0);
    EXPECT_TRUE(m_frame->GetProjectPath().empty());

    // A remembered path that fails is kept; only a newly chosen one is asked
    // again. Here a folder takes the place of the project saved before.
    const wxString remembered = m_dir.File("later.xml");
    wxTEST_DIALOG(written = m_frame->SaveProject(), ExpectFileChoice(wxString(), remembered));
    ASSERT_TRUE(written);
    ASSERT_TRUE(wxRemoveFile(remembered));
    ASSERT_TRUE(wxMkdir(remembered));
    Spin("m_spinctrl_delay")->SetValue(10);
    wxTEST_DIALOG(written = m_frame->SaveProject(), wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_FALSE(written);
    EXPECT_EQ(m_frame->GetProjectPath(), remembered);
    EXPECT_EQ(m_frame->GetProjectRecord().delay, 9);
}

// The command line renders a project into the same bytes as the program's
// Save after opening that project.
class ProjectRenderTest : public ProjectFilesTest {
protected:
    Bytes SaveOpenedProject(const wxString& project)
    {
        Open(project);
        const wxString path = m_dir.File("window.gif");
        wxTEST_DIALOG(Save(), ExpectFileChoice(wxString(), path));
        return ReadFileBytes(path);
    }

    Bytes RenderOnCommandLine(const wxString& project)
    {
        const wxString path = m_dir.File("cli.gif");
        const wxString program = BinaryDir() + "/bin/gifmaker-cli";
        wxArrayString output;
        wxArrayString errors;
        const long status = wxExecute(
            wxString::Format("\"%s\" --project \"%s\" -o \"%s\"", program, project, path), output, errors,
            wxEXEC_SYNC | wxEXEC_NODISABLE);
        EXPECT_EQ(status, 0) << wxJoin(errors, '\n');
        return ReadFileBytes(path);
    }
};

TEST_F(ProjectRenderTest, CommandLineWritesWhatTheWindowSaves)
{
    WriteFileText(m_dir.File("broken.png"), "\x89PNG\r\n\x1a\n but nothing after the signature");
    const wxString project = m_dir.File("p.xml");
    WriteFileText(project, ProjectText("anim.gif", "<width>48</width><height>40</height><delay_time>13</delay_time>",
                                   "<images><path>" + m_dir.File("a.png").ToStdString() + "</path><path>" +
                                       m_dir.File("b.gif_0").ToStdString() + "</path><path>" +
                                       m_dir.File("b.gif_2").ToStdString() + "</path><path>" +
                                       m_dir.File("b.gif").ToStdString() + "</path><path>" +
                                       m_dir.File("missing.png").ToStdString() + "</path><path>" +
                                       m_dir.File("broken.png").ToStdString() + "</path><path>" +
                                       m_dir.File("c.png").ToStdString() + "</path></images>"));
    const Bytes window = SaveOpenedProject(project);
    ASSERT_FALSE(window.empty());
    EXPECT_EQ(DecodeGifFile(m_dir.File("window.gif")).FrameCount(), 4);
    EXPECT_EQ(DecodeGifFile(m_dir.File("window.gif")).screenWidth, 48);
    EXPECT_EQ(RenderOnCommandLine(project), window);
}

TEST_F(ProjectRenderTest, ProjectWithoutSizeTakesItFromThePictures)
{
    const wxString project = m_dir.File("p.xml");
    WriteFileText(project, ProjectText("", "<width>abc</width><height>40</height><delay_time>5</delay_time>",
                                   "<images><path>" + m_dir.File("b.gif_1").ToStdString() + "</path><path>" +
                                       m_dir.File("a.png").ToStdString() + "</path></images>"));
    const Bytes window = SaveOpenedProject(project);
    const GiflibFile gif = DecodeGifFile(m_dir.File("window.gif"));
    EXPECT_EQ(gif.screenWidth, 30);
    EXPECT_EQ(gif.screenHeight, 20);
    EXPECT_EQ(RenderOnCommandLine(project), window);
    EXPECT_FALSE(m_frame->IsProjectUnsaved());
}

TEST_F(ProjectRenderTest, MixedDelaysAndLoopCountRenderAlike)
{
    const wxString project = m_dir.File("p.xml");
    WriteFileText(project,
              ProjectText("anim.gif",
                          "<width>30</width><height>20</height><delay_time>10</delay_time>"
                          "<loop_count>2</loop_count><loop_in_file>1</loop_in_file>",
                          "<images><path delay=\"250\">" + m_dir.File("a.png").ToStdString() + "</path><path>" +
                              m_dir.File("b.gif_0").ToStdString() + "</path><path delay=\"0\">" +
                              m_dir.File("b.gif_2").ToStdString() + "</path><path>" +
                              m_dir.File("b.gif").ToStdString() + "</path><path delay=\"65535\">" +
                              m_dir.File("c.png").ToStdString() + "</path></images>"));
    const Bytes window = SaveOpenedProject(project);
    const GiflibFile gif = DecodeGifFile(m_dir.File("window.gif"));
    EXPECT_EQ(gif.Delays(), (std::vector<int>{250, 10, 0, 65535}));
    EXPECT_EQ(m_frame->GetLoopCount(), 2);
    EXPECT_TRUE(m_frame->IsLoopInFile());
    EXPECT_FALSE(m_frame->IsProjectUnsaved());
    EXPECT_EQ(RenderOnCommandLine(project), window);
}

TEST_F(ProjectRenderTest, PhotoSavesFromItsFileAsTheCommandLineRendersIt)
{
    // The strip holds only the photo's reduced thumbnail; the save decodes
    // the file again at full size.
    wxImage photo(1200, 900);
    for (int y = 0; y < 900; ++y)
        for (int x = 0; x < 1200; ++x)
            photo.SetRGB(x, y, static_cast<unsigned char>(x / 5), static_cast<unsigned char>(y / 4),
                         static_cast<unsigned char>((x + y) % 256));
    photo.SetOption(wxIMAGE_OPTION_QUALITY, 90);
    ASSERT_TRUE(photo.SaveFile(m_dir.File("photo.jpg"), wxBITMAP_TYPE_JPEG));
    const wxString project = m_dir.File("p.xml");
    WriteFileText(project, ProjectText("anim.gif", "<width>600</width><height>450</height><delay_time>10</delay_time>",
                                   "<images><path>" + m_dir.File("photo.jpg").ToStdString() + "</path><path>" +
                                       m_dir.File("a.png").ToStdString() + "</path></images>"));
    const Bytes window = SaveOpenedProject(project);
    ASSERT_FALSE(window.empty());
    EXPECT_EQ(DecodeGifFile(m_dir.File("window.gif")).FrameCount(), 2);
    EXPECT_EQ(RenderOnCommandLine(project), window);
}
