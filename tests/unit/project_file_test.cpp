#include "test_paths.h"

#include "io/file_extension.h"
#include "project/project_file.h"

#include <gtest/gtest.h>
#include <wx/ffile.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/sstream.h>
#include <wx/xml/xml.h>

#include <initializer_list>
#include <string>

namespace {
void WriteText(const wxString& path, const std::string& text)
{
    wxFFile file(path, "wb");
    ASSERT_TRUE(file.IsOpened());
    ASSERT_EQ(file.Write(text.data(), text.size()), text.size());
}

wxString SavedText(const wxXmlDocument& document)
{
    wxStringOutputStream out;
    EXPECT_TRUE(document.Save(out, 2));
    return out.GetString();
}

std::string Project(const std::string& gif, const std::string& images, const std::string& name = "anim.gif")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<project><name>" + name + "</name><gif>" + gif +
           "</gif>" + images + "</project>\n";
}

const std::string kSettings = "<width>320</width><height>240</height><delay_time>15</delay_time>";

class ProjectRead : public ::testing::Test {
protected:
    ProjectContents Read(const std::string& text)
    {
        const wxString path = m_dir.File("p.xml");
        WriteText(path, text);
        return ReadProjectFile(path);
    }

    TempDir m_dir;
    wxLogNull m_quiet;
};
} // namespace

TEST(ProjectEntries, EachRunOfGifFramesIsFollowedByItsFile)
{
    const wxArrayString frames = Strings({"/p/a.png", "/p/b.gif_0", "/p/b.gif_1", "/p/c.png"});
    const wxArrayString expected = Strings({"/p/a.png", "/p/b.gif_0", "/p/b.gif_1", "/p/b.gif", "/p/c.png"});
    EXPECT_EQ(ProjectPathEntries(frames), expected);

    const wxArrayString trailing = Strings({"/p/a.png", "/p/b.gif_0"});
    EXPECT_EQ(ProjectPathEntries(trailing), Strings({"/p/a.png", "/p/b.gif_0", "/p/b.gif"}));

    const wxArrayString twoFiles = Strings({"/p/b.gif_0", "/p/d.gif_0", "/p/b.gif_1"});
    EXPECT_EQ(ProjectPathEntries(twoFiles),
              Strings({"/p/b.gif_0", "/p/b.gif", "/p/d.gif_0", "/p/d.gif", "/p/b.gif_1", "/p/b.gif"}));
}

TEST(ProjectDocument, HoldsNameSettingsAndEntriesInOrder)
{
    ProjectFileSettings settings;
    settings.gifName = "anim.gif";
    settings.width = 320;
    settings.height = 240;
    settings.delay = 15;
    const auto document = BuildProjectDocument(settings, Strings({"/p/a.png", "/p/b.gif_0", "/p/b.gif_1", "/p/c.png"}));
    EXPECT_EQ(SavedText(*document),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<project>\n"
              "  <name>anim.gif</name>\n"
              "  <gif>\n"
              "    <width>320</width>\n"
              "    <height>240</height>\n"
              "    <delay_time>15</delay_time>\n"
              "  </gif>\n"
              "  <images>\n"
              "    <path>/p/a.png</path>\n"
              "    <path>/p/b.gif_0</path>\n"
              "    <path>/p/b.gif_1</path>\n"
              "    <path>/p/b.gif</path>\n"
              "    <path>/p/c.png</path>\n"
              "  </images>\n"
              "</project>\n");
}

TEST(ProjectDocument, ReadsBackWhatWasBuilt)
{
    ProjectFileSettings settings;
    settings.width = 64;
    settings.height = 48;
    settings.delay = 7;
    const wxArrayString frames = Strings({"/p/a&b <1>.png", L"/p/\u00fc.gif_3"});
    const auto document = BuildProjectDocument(settings, frames);
    const wxString text = SavedText(*document);
    const wxScopedCharBuffer utf8 = text.utf8_str();
    wxMemoryInputStream in(utf8.data(), utf8.length());
    wxXmlDocument loaded;
    ASSERT_TRUE(loaded.Load(in, "UTF-8"));
    const ProjectContents contents = ReadProjectDocument(loaded);
    EXPECT_EQ(contents.stage, ProjectReadStage::Entries);
    EXPECT_EQ(contents.settings.gifName, "");
    EXPECT_EQ(contents.settings.width, 64);
    EXPECT_EQ(contents.settings.height, 48);
    EXPECT_EQ(contents.settings.delay, 7);
    EXPECT_EQ(contents.entries, Strings({"/p/a&b <1>.png", L"/p/\u00fc.gif_3", L"/p/\u00fc.gif"}));
}

TEST(ProjectNames, ExtensionsAndTitle)
{
    EXPECT_EQ(EnsureXmlExtension("/work/anim"), "/work/anim.xml");
    EXPECT_EQ(EnsureXmlExtension("/work/anim.xml"), "/work/anim.xml");
    EXPECT_EQ(EnsureXmlExtension("/work/anim.XML"), "/work/anim.XML.xml");
    EXPECT_EQ(EnsureGifExtension("/work/anim"), "/work/anim.gif");
    EXPECT_EQ(EnsureGifExtension("/work/anim.gif"), "/work/anim.gif");
    EXPECT_EQ(EnsureGifExtension("/work/anim.GIF"), "/work/anim.GIF.gif");
    EXPECT_EQ(ProjectTitleStem("anim.xml"), "anim");
    EXPECT_EQ(ProjectTitleStem("anim.xml.xml"), "anim.xml");
    EXPECT_EQ(ProjectTitleStem("anim.XML"), "");
}

TEST_F(ProjectRead, NumbersFollowTheRuntimeConversion)
{
    const ProjectContents contents =
        Read(Project("<width>abc</width><height> 12px</height><delay_time>-3</delay_time>", "<images/>"));
    EXPECT_EQ(contents.settings.width, 0);
    EXPECT_EQ(contents.settings.height, 12);
    EXPECT_EQ(contents.settings.delay, -3);
    EXPECT_EQ(contents.stage, ProjectReadStage::NoImages);
}

TEST_F(ProjectRead, StopsAtTheFirstMisplacedElement)
{
    ProjectContents contents = Read(Project("<width>100</width><height>50</height>", "<images><path>x</path></images>"));
    EXPECT_EQ(contents.stage, ProjectReadStage::Size);
    EXPECT_EQ(contents.settings.width, 100);
    EXPECT_EQ(contents.settings.height, 50);
    EXPECT_EQ(contents.settings.gifName, "anim.gif");

    contents = Read(Project("<width>100</width><delay_time>5</delay_time>", ""));
    EXPECT_EQ(contents.stage, ProjectReadStage::Width);
    EXPECT_EQ(contents.settings.width, 100);

    contents = Read(Project("<height>50</height>", ""));
    EXPECT_EQ(contents.stage, ProjectReadStage::Unreadable);

    contents = Read(Project(kSettings, "<pictures/>"));
    EXPECT_EQ(contents.stage, ProjectReadStage::Settings);
    EXPECT_EQ(contents.settings.delay, 15);

    contents = Read(Project(kSettings, "<images><path>/a.png</path><picture>/b.png</picture></images>"));
    EXPECT_EQ(contents.stage, ProjectReadStage::BadEntry);
    EXPECT_TRUE(contents.entries.empty());

    contents = Read("<?xml version=\"1.0\"?><gif><name/></gif>");
    EXPECT_EQ(contents.stage, ProjectReadStage::Unreadable);
}

TEST_F(ProjectRead, EmptyNameAndEntries)
{
    const ProjectContents contents =
        Read(Project(kSettings, "<images><path>/a.png</path><path></path></images>", ""));
    EXPECT_EQ(contents.stage, ProjectReadStage::Entries);
    EXPECT_EQ(contents.settings.gifName, "");
    EXPECT_EQ(contents.entries, Strings({"/a.png", ""}));
}

TEST_F(ProjectRead, RefusesFilesThatAreNotWellFormed)
{
    EXPECT_EQ(Read("").stage, ProjectReadStage::Unreadable);
    EXPECT_EQ(Read(Project(kSettings, "<images><path>/a.png</path></images>").substr(0, 120)).stage,
              ProjectReadStage::Unreadable);
    EXPECT_EQ(Read(std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)).stage, ProjectReadStage::Unreadable);
    EXPECT_EQ(ReadProjectFile(m_dir.File("missing.xml")).stage, ProjectReadStage::Unreadable);
}

TEST_F(ProjectRead, DeepNestingIsRefusedWithoutBuildingATree)
{
    const int depth = 200000;
    std::string text = "<project><name/><gif><width>";
    for (int i = 0; i < depth; ++i)
        text += "<a>";
    for (int i = 0; i < depth; ++i)
        text += "</a>";
    text += "</width></gif></project>";
    EXPECT_EQ(Read(text).stage, ProjectReadStage::Unreadable);
    // Unclosed nesting is refused the same way.
    EXPECT_EQ(Read(text.substr(0, text.size() / 2)).stage, ProjectReadStage::Unreadable);
}

TEST_F(ProjectRead, EntitiesAreNotExpanded)
{
    std::string doctype = "<?xml version=\"1.0\"?>\n<!DOCTYPE project [\n<!ENTITY e0 \"aaaaaaaaaa\">\n";
    for (int i = 1; i < 12; ++i)
        doctype += "<!ENTITY e" + std::to_string(i) + " \"" + std::string() + [&] {
            std::string refs;
            for (int k = 0; k < 10; ++k)
                refs += "&e" + std::to_string(i - 1) + ";";
            return refs;
        }() + "\">\n";
    doctype += "]>\n";
    const std::string text = doctype +
                             "<project><name>&e11;</name><gif>" + kSettings +
                             "</gif><images><path>&e11;</path></images></project>";
    const ProjectContents contents = Read(text);
    EXPECT_LT(contents.settings.gifName.length(), 1000u);
    for (const wxString& entry : contents.entries)
        EXPECT_LT(entry.length(), 1000u);
}

TEST_F(ProjectRead, OversizedFilesAreRefusedUnread)
{
    const wxString path = m_dir.File("huge.xml");
    {
        wxFFile file(path, "wb");
        ASSERT_TRUE(file.IsOpened());
        const std::string head = Project(kSettings, "<images><path>/a.png</path></images>");
        file.Write(head.data(), head.size());
        ASSERT_TRUE(file.Seek(kMaxProjectFileBytes + 1));
        file.Write(" ", 1);
    }
    EXPECT_EQ(ReadProjectFile(path).stage, ProjectReadStage::Unreadable);
}

TEST_F(ProjectRead, LoadListKeepsExistingPicturesAndGifFrames)
{
    WriteText(m_dir.File("a.png"), "x");
    WriteText(m_dir.File("b.gif"), "x");
    const wxArrayString entries = Strings({m_dir.File("a.png"), m_dir.File("b.gif_0"), m_dir.File("b.gif_1"),
                                m_dir.File("b.gif"), m_dir.File("missing.png"), m_dir.File("c.gif_0"),
                                ""});
    EXPECT_EQ(ProjectLoadList(entries),
              Strings({m_dir.File("a.png"), m_dir.File("b.gif_0"), m_dir.File("b.gif_1")}));
}
