// The About dialog from the Help menu.
#include "gifmaker_version.h"
#include "help_test_support.h"

#include <wx/dialog.h>
#include <wx/ffile.h>
#include <wx/hyperlink.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

namespace {
const char kNotice[] = "Copyright (C) 2026 Brackwell. All rights reserved.";

struct ShownAbout {
    bool shown = false;
    bool hasVersion = false;
    bool hasLink = false;
    wxString version;
    wxString notice;
    wxString linkLabel;
    wxString linkUrl;
};

class ExpectAbout : public wxExpectModalBase<wxDialog, ExpectAbout> {
public:
    explicit ExpectAbout(ShownAbout& record) : m_record(&record) {}

protected:
    int OnInvoked(wxDialog* dialog) const override
    {
        m_record->shown = true;
        if (auto* version = Find<wxStaticText>(dialog, "m_static_version_name")) {
            m_record->hasVersion = true;
            m_record->version = version->GetLabel();
        }
        if (auto* notice = Find<wxStaticText>(dialog, "m_static_information"))
            m_record->notice = notice->GetLabel();
        if (auto* link = Find<wxHyperlinkCtrl>(dialog, "m_hyperlink")) {
            m_record->hasLink = true;
            m_record->linkLabel = link->GetLabel();
            m_record->linkUrl = link->GetURL();
        }
        return wxID_OK;
    }

private:
    template <class Control>
    static Control* Find(wxDialog* dialog, const char* name)
    {
        return dynamic_cast<Control*>(dialog->FindWindow(XRCID(name)));
    }

    ShownAbout* m_record;
};

// Puts a resource set of the test's own in place of the program's for as long
// as it lives.
class ReplacedResources {
public:
    explicit ReplacedResources(wxXmlResource* replacement)
        : m_replacement(replacement), m_previous(wxXmlResource::Set(replacement))
    {
    }
    ~ReplacedResources()
    {
        wxXmlResource::Set(m_previous);
        delete m_replacement;
    }

private:
    wxXmlResource* m_replacement;
    wxXmlResource* m_previous;
};
} // namespace

using AboutDialogTest = HelpMenuTest;

TEST_F(AboutDialogTest, ShowsNameVersionNoticeAndLink)
{
    ShownAbout about;
    wxTEST_DIALOG(Choose(ID_MENU_ABOUT), ExpectAbout(about));
    EXPECT_EQ(about.version, "Brackwell GIF Maker " GIFMAKER_VERSION);
    EXPECT_EQ(about.notice, kNotice);
    EXPECT_EQ(about.linkLabel, "https://brackwell.test/gifmaker");
    EXPECT_EQ(about.linkUrl, "https://brackwell.test/gifmaker");
    EXPECT_TRUE(s_launched.empty());
}

TEST_F(AboutDialogTest, LeavesThePreviewRunning)
{
    StartPreview();
    ShownAbout about;
    wxTEST_DIALOG(Choose(ID_MENU_ABOUT), ExpectAbout(about));
    EXPECT_TRUE(about.shown);
    EXPECT_TRUE(m_frame->IsPlaying());
}

TEST_F(AboutDialogTest, WithoutItsLayoutTheTextsAppearInAMessage)
{
    ReplacedResources empty(new wxXmlResource);
    ShownMessage shown;
    wxTEST_DIALOG(Choose(ID_MENU_ABOUT), ExpectMessage(shown, wxID_OK));
    EXPECT_EQ(shown.message, wxString("Brackwell GIF Maker " GIFMAKER_VERSION "\n") + kNotice +
                                 "\nhttps://brackwell.test/gifmaker");
}

TEST_F(AboutDialogTest, ALayoutWithoutSomeControlsShowsTheRest)
{
    const wxString path = m_dir.File("about.xrc");
    wxFFile(path, "w").Write(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<resource xmlns=\"http://www.wxwidgets.org/wxxrc\" version=\"2.5.3.0\">\n"
        "  <object class=\"wxDialog\" name=\"AboutDialog\">\n"
        "    <object class=\"wxBoxSizer\"><orient>wxVERTICAL</orient>\n"
        "      <object class=\"sizeritem\">\n"
        "        <object class=\"wxStaticText\" name=\"m_static_information\"><label/></object>\n"
        "      </object>\n"
        // A control of the wrong class under a known name is ignored.
        "      <object class=\"sizeritem\">\n"
        "        <object class=\"wxButton\" name=\"m_hyperlink\"><label>OK</label></object>\n"
        "      </object>\n"
        "    </object>\n"
        "  </object>\n"
        "</resource>\n");
    auto* resources = new wxXmlResource;
    resources->InitAllHandlers();
    ASSERT_TRUE(resources->Load(path));
    ReplacedResources replaced(resources);

    ShownAbout about;
    wxTEST_DIALOG(Choose(ID_MENU_ABOUT), ExpectAbout(about));
    EXPECT_TRUE(about.shown);
    EXPECT_FALSE(about.hasVersion);
    EXPECT_FALSE(about.hasLink);
    EXPECT_EQ(about.notice, kNotice);
}
