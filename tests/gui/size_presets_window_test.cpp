// Size limit presets edited from the limit row: refused input named in a
// message, the list kept in the configuration, where gifmaker-cli finds it.
#include "main_window.h"
#include "modal_hooks.h"

#include "child_process.h"
#include "file_bytes.h"
#include "giflib_read.h"
#include "program_paths.h"
#include "gifframe.h"
#include "sizepresetsdialog.h"
#include "test_pictures.h"

#include <wx/combobox.h>
#include <wx/config.h>
#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/listbox.h>
#include <wx/stopwatch.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <algorithm>

namespace {
constexpr long kTypingTimeoutMs = 10000;

class SizePresetsWindow : public MainWindowTest {
protected:
    // The settings file where the program keeps it under the test's home,
    // so that gifmaker-cli run with that home reads what the window wrote.
    void SetUp() override
    {
        wxFileName::Mkdir(m_home.Path() + "/.config");
        m_previous = wxConfigBase::Set(new wxFileConfig("", "", ConfigFile(), "", wxCONFIG_USE_LOCAL_FILE));
        MainWindowTest::SetUp();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        delete wxConfigBase::Set(m_previous);
    }
    wxString ConfigFile() const { return m_home.Path() + "/.config/brackwell-gifmaker.conf"; }

    void OpenPresets()
    {
        wxWindow* button = LayoutWindow(*m_frame, "m_button_presets");
        wxCommandEvent press(wxEVT_BUTTON, button->GetId());
        press.SetEventObject(button);
        button->GetEventHandler()->ProcessEvent(press);
    }

    std::vector<wxString> Listed() const
    {
        auto* field = dynamic_cast<wxComboBox*>(LayoutWindow(*m_frame, "m_combo_limit"));
        std::vector<wxString> labels;
        for (unsigned i = 1; field && i < field->GetCount(); ++i)
            labels.push_back(field->GetString(i));
        return labels;
    }

    // Runs gifmaker-cli with the test's home on `arguments`; its exit code,
    // `output` what it printed.
    int RunCli(std::vector<std::string> arguments, std::string& output)
    {
        arguments.insert(arguments.begin(), Utf8(BinaryDir() + "/bin/gifmaker-cli"));
        const std::string log = Utf8(m_dir.File("cli.log"));
        ChildProcess cli;
        EXPECT_TRUE(cli.Start(arguments, {"HOME=" + Utf8(m_home.Path()), "XDG_CONFIG_HOME=" + Utf8(m_home.Path() + "/.config")}, log));
        EXPECT_TRUE(cli.WaitForExit(kProgramTimeoutMs));
        output = ReadFileText(m_dir.File("cli.log"));
        return cli.Exited() ? cli.ExitCode() : -1;
    }

    wxConfigBase* m_previous = nullptr;
};

// Types `text` over what the field holds, as the user does.
void TypeInto(wxTextCtrl* field, const wxString& text)
{
    field->SetFocus();
    field->SelectAll();
    wxYield();
    wxUIActionSimulator input;
    if (text.empty())
        input.Char(WXK_DELETE);
    else
        input.Text(text.utf8_str());
    wxStopWatch watch;
    while (field->GetValue() != text && watch.Time() < kTypingTimeoutMs) {
        wxYield();
        wxMilliSleep(10);
    }
}

int Press(SizePresetsDialog* dialog, int id)
{
    wxCommandEvent press(wxEVT_BUTTON, id);
    press.SetEventObject(dialog->FindWindow(id));
    dialog->ProcessWindowEvent(press);
    return id;
}

void ChoosePreset(SizePresetsDialog* dialog, int index)
{
    dialog->m_list->SetSelection(index);
    wxCommandEvent chosen(wxEVT_LISTBOX, dialog->m_list->GetId());
    chosen.SetEventObject(dialog->m_list);
    chosen.SetInt(index);
    dialog->m_list->ProcessWindowEvent(chosen);
}
} // namespace

TEST_F(SizePresetsWindow, EditedPresetsAreListedKeptAndFoundByTheCommandLine)
{
    EXPECT_EQ(Listed().size(), BuiltInSizePresets().size());
    ShownMessage noName, badLimit, badSide;
    wxTEST_DIALOG(OpenPresets(), ExpectDialog<SizePresetsDialog>([&](SizePresetsDialog* d) {
                      d->Show();
                      wxYield();
                      ChoosePreset(d, 2);
                      EXPECT_EQ(d->m_name->GetValue(), "X");
                      EXPECT_EQ(d->m_limit->GetValue(), "15M");
                      Press(d, SizePresetsDialog::ID_DELETE);

                      TypeInto(d->m_name, "");
                      TypeInto(d->m_limit, "64K");
                      Press(d, SizePresetsDialog::ID_ADD);
                      TypeInto(d->m_name, "Team emoji");
                      TypeInto(d->m_limit, "0");
                      Press(d, SizePresetsDialog::ID_ADD);
                      TypeInto(d->m_limit, "64K");
                      TypeInto(d->m_side, "wide");
                      Press(d, SizePresetsDialog::ID_ADD);
                      TypeInto(d->m_side, "96");
                      Press(d, SizePresetsDialog::ID_ADD);
                      EXPECT_EQ(d->m_list->GetStringSelection(), "Team emoji (64 KB, 96 px)");
                      return wxID_OK;
                  }),
                  ExpectMessage(noName, wxID_OK), ExpectMessage(badLimit, wxID_OK), ExpectMessage(badSide, wxID_OK));
    EXPECT_EQ(noName.message, "Give the preset a name.");
    EXPECT_TRUE(badLimit.message.StartsWith("Size limit not understood")) << badLimit.message;
    EXPECT_TRUE(badSide.message.Contains("whole number of pixels")) << badSide.message;

    const std::vector<wxString> listed = Listed();
    EXPECT_EQ(listed.size(), BuiltInSizePresets().size());
    EXPECT_EQ(std::count(listed.begin(), listed.end(), "X (15 MB)"), 0);
    EXPECT_EQ(listed.back(), "Team emoji (64 KB, 96 px)");
    auto* field = dynamic_cast<wxComboBox*>(LayoutWindow(*m_frame, "m_combo_limit"));
    field->SetValue(listed.back());
    EXPECT_EQ(m_frame->GetFitOptions().limit, 64000);
    EXPECT_EQ(m_frame->GetFitOptions().maxSide, 96);

    // gifmaker-cli reads the same settings: the new preset fits a picture's
    // sides to it, the deleted one is unknown.
    const wxString picture = WritePng(m_dir, "wide.png", 300, 200);
    const wxString out = m_dir.File("out.gif");
    std::string output;
    EXPECT_EQ(RunCli({"--preset", "team emoji", "-o", Utf8(out), Utf8(picture)}, output), 0) << output;
    const GiflibFile gif = DecodeGifFile(out);
    EXPECT_EQ(gif.screenWidth, 96) << output;
    EXPECT_EQ(gif.screenHeight, 64) << output;
    EXPECT_NE(RunCli({"--preset", "x", "-o", Utf8(out), Utf8(picture)}, output), 0);
    EXPECT_NE(output.find("Team emoji"), std::string::npos) << output;

    // Restoring brings the built-in list back, in the window and the file.
    wxTEST_DIALOG(OpenPresets(), ExpectDialog<SizePresetsDialog>([](SizePresetsDialog* d) {
                      Press(d, SizePresetsDialog::ID_RESTORE);
                      return wxID_OK;
                  }));
    EXPECT_EQ(Listed().size(), BuiltInSizePresets().size());
    EXPECT_EQ(Listed()[2], "X (15 MB)");
    // A side limit no preset has any more is written after the limit.
    auto* limitField = dynamic_cast<wxComboBox*>(LayoutWindow(*m_frame, "m_combo_limit"));
    limitField->SetValue("64K, 96 px");
    EXPECT_EQ(m_frame->GetFitOptions().limit, 64000);
    EXPECT_EQ(m_frame->GetFitOptions().maxSide, 96);
    EXPECT_EQ(RunCli({"--preset", "x", "-o", Utf8(out), Utf8(picture)}, output), 0) << output;
}
