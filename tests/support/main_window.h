#pragma once

// The program's main window for GUI tests. A test file either uses the
// fixture:
//
//   class MyTest : public MainWindowTest {};
//   TEST_F(MyTest, DeleteAsks)
//   {
//       Fill(3);
//       m_frame->GetThumbnailCtrl()->Select(1);
//       wxTEST_DIALOG(Choose(ID_MENU_DELETE), wxExpectModal<wxMessageDialog>(wxID_YES));
//       EXPECT_EQ(Count(), 2);
//   }
//
// or the free functions below when it builds windows itself. Controls are
// reached as a user finds them: by their layout names (Spin("m_spinctrl_width"))
// and menu ids; the window's other state through its few public accessors.

#include "asserts.h"
#include "home_override.h"
#include "test_paths.h"

#include <gtest/gtest.h>
#include <wx/event.h>
#include <wx/string.h>
#include <wx/weakref.h>
#include <wx/window.h>

#include <string>
#include <vector>

class GifFrame;
class wxSpinCtrl;
class wxStaticText;
class wxWindow;

// The window as start-up builds it: the layout files of the build tree's
// Themes folder are loaded (once per test program), the window is created
// from "MyFrame1" and initialised. It is shown unless `show` is false.
// Toolkit log messages are discarded as at start-up.
GifFrame* CreateMainWindowForTest(bool show = true);

// Destroys the window without the close prompt and lets the toolkit delete it
// before returning.
void DestroyMainWindowForTest(GifFrame* frame);

// Chooses the menu item with this id the way the menu bar does (an id that is
// not in the menu bar the way a popup menu of the window does), then lets the
// toolkit do its idle work (a menu bar replaced by the command, or a window
// closed by it, is deleted then). The one way tests send menu commands.
void ChooseMenuItemForTest(GifFrame& frame, int id);

// A control of the window's layout by its name in the layout file; fails the
// test when there is none of that name and type.
wxWindow* LayoutWindow(const GifFrame& frame, const char* name);
wxSpinCtrl* LayoutSpin(const GifFrame& frame, const char* name);
wxStaticText* LayoutText(const GifFrame& frame, const char* name);

// Processes events until the running load (or save) has ended and its dialog
// is gone; false when that takes longer than `timeoutMs`.
bool WaitForLoad(GifFrame* frame, long timeoutMs = 60000);
bool WaitForSave(GifFrame* frame, long timeoutMs = 60000);

// Presses Cancel in the shown progress dialog, as the user does; false when
// no progress dialog with a Cancel button is shown.
bool PressProgressCancel();

// The file names (without folder) of the strip's items, in order.
std::vector<std::string> ItemNames(const GifFrame* frame);

// What the loading thread told the window, in arrival order.
struct LoadEvent {
    int progress;
    long frameIndex;
    wxString path;
    bool hasPicture;
};
// Records every loading event before the window handles it.
class LoadRecorder {
public:
    explicit LoadRecorder(GifFrame* frame);
    ~LoadRecorder();
    const std::vector<LoadEvent>& Events() const { return m_events; }
    std::vector<int> Progress() const;

private:
    void OnEvent(wxCommandEvent& event);
    GifFrame* m_frame;
    std::vector<LoadEvent> m_events;
};

// A shown main window under a fresh HOME, with a temporary folder for the
// test's files; toolkit assertions fail the test. A fixture that needs the
// window hidden or prepared first sets m_show or overrides SetUp and calls
// MainWindowTest::SetUp after its preparation.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Pictures f0.png, f1.png, ... of the given sizes, loaded into the strip
    // through the loading thread as Add Image does.
    void Fill(const std::vector<wxSize>& sizes);
    void Fill(int count) { Fill(std::vector<wxSize>(count, wxSize(16, 12))); }
    void Choose(int id) { ChooseMenuItemForTest(*m_frame, id); }
    int Count() const;
    void Select(std::initializer_list<int> indices);
    wxString Status(int field) const;
    wxSpinCtrl* Spin(const char* name) const { return LayoutSpin(*m_frame, name); }
    // True once the window has been closed (and deleted).
    bool Closed() const;
    // Closes the window (unless the test closed it) and builds a new one, as
    // the next start does.
    void Restart();

    bool m_show = true;
    AssertsFailTests m_asserts;
    HomeOverride m_home;
    TempDir m_dir;
    GifFrame* m_frame = nullptr;

private:
    wxWeakRef<wxWindow> m_window;
};
