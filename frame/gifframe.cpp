#include "gifframe.h"

#include "window/size_estimate_worker.h"

#include "language.h"
#include "paths.h"
#include "canvas_colour.h"
#include "rules/preview_rules.h"
#include "update_check.h"
#include "window/preview_read_ahead.h"
#include "window/worker_events.h"
#include "window/thumbnailctrl.h"
#include "io/trace.h"

#include <wx/accel.h>
#include <wx/app.h>
#include <wx/icon.h>
#include <wx/intl.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/settings.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>



namespace {
const wxColour kStripBackground(176, 223, 227);
const int kStatusWidths[] = {200, 400, -1};

wxString MenuLabel(const char* text, const char* accelerator = nullptr)
{
    wxString label = wxGetTranslation(text);
    if (accelerator)
        label << '\t' << accelerator;
    return label;
}
} // namespace

wxBEGIN_EVENT_TABLE(GifFrame, wxFrame)
    EVT_THUMBNAIL_LEFT_CLICK(ID_THUMBNAIL_CTRL, GifFrame::OnThumbnailLeftClick)
    EVT_THUMBNAIL_RIGHT_CLICK(ID_THUMBNAIL_CTRL, GifFrame::OnThumbnailRightClick)
    EVT_THUMBNAIL_ITEM_SELECTED(ID_THUMBNAIL_CTRL, GifFrame::OnThumbnailSelectionChanged)
    EVT_THUMBNAIL_ITEM_DESELECTED(ID_THUMBNAIL_CTRL, GifFrame::OnThumbnailSelectionChanged)
    EVT_THUMBNAIL_MOVE_SELECTION(ID_THUMBNAIL_CTRL, GifFrame::OnThumbnailMoveSelection)
    EVT_THUMBNAIL_FILES_DROPPED(ID_THUMBNAIL_CTRL, GifFrame::OnThumbnailFilesDropped)
    wx__DECLARE_EVT0(wxEVT_CLOSE_WINDOW, wxEventHandler(GifFrame::OnCloseFrame))
    EVT_COMMAND(wxID_ANY, EVT_UPDATE_CHECKED, GifFrame::OnUpdateChecked)
    EVT_COMMAND(ID_IMAGE_LOAD_THREAD, EVT_THREAD_UPDATE, GifFrame::OnImageLoaded)
    EVT_COMMAND(ID_SAVE_GIF_THREAD, EVT_THREAD_UPDATE, GifFrame::OnSaveThreadUpdate)
wxEND_EVENT_TABLE()

GifFrame::GifFrame() = default;

GifFrame::~GifFrame()
{
    m_timer.Stop();
    m_estimateTimer.Stop();
    // The worker's thread ends before the window it reports to.
    m_estimator.reset();
    delete m_thumbnail_ctrl;
    m_thumbnail_ctrl = nullptr;
    delete m_locale;
}

void GifFrame::InitFrame()
{
    m_language = ReadLanguageSetting();
    ApplyLanguage(m_language, *this);

    CreateMenus();
    BindLayoutCommands();
    FindLayoutWindows();
    CreateThumbnailStrip();
    InstallDropTargets();
    if (m_panel_down) {
        m_panel_down->SetBackgroundColour(
            OpaqueColour(wxSystemSettings::GetColour(wxSYS_COLOUR_INFOBK),
                         m_panel_down->GetParent()->GetBackgroundColour()));
        m_panel_down->Connect(wxEVT_PAINT, wxPaintEventHandler(GifFrame::OnPaintPreview), nullptr,
                              this);
        m_panel_down->Connect(wxEVT_SIZE, wxSizeEventHandler(GifFrame::OnSizePreview), nullptr,
                              this);
    }
    m_timer.SetOwner(this, ID_TIMER_PREVIEW);
    SetUpSizeLimit();
    SetLabels();
    if (m_statusBar1)
        m_statusBar1->SetStatusWidths(3, kStatusWidths);
    // The menus carry no help texts; left on, the frame would blank field 0
    // while a menu is open and could leave the text written by a menu
    // command (the saved file's name and size) blank afterwards.
    SetStatusBarPane(-1);
    DisableCommands();

    m_aspectWidth = m_aspectHeight = 0;
    m_playIndex = m_loopCount = m_loopsPlayed = 0;
    m_projectRecord = AnimationSettings();
    m_savedRecord = AnimationSettings();
    m_loopInFile = false;

    const wxString iconPath = GetResourceRoot() + "/Themes/application.ico";
    Trace(static_cast<const char*>(iconPath.utf8_str()));
    SetIcon(wxIcon(iconPath, wxBITMAP_TYPE_ICO, -1, -1));
    SetTitle(GetProductName());
    m_playing = false;
    m_savedState = CaptureState();
    RestoreWindowState();
}

void GifFrame::CreateMenus()
{
    // The bar being replaced may be the one whose language item is still
    // dispatching this very command, so it goes away only once that is done.
    wxMenuBar* const replacedBar = GetMenuBar();
    m_menubar = new wxMenuBar;
    m_menu_file = new wxMenu;
    m_menu_edit = new wxMenu;
    m_menu_frame = new wxMenu;
    m_menu_animation = new wxMenu;
    m_menu_help = new wxMenu;

    auto add = [](wxMenu* menu, int id, const wxString& label, wxItemKind kind = wxITEM_NORMAL) {
        return menu->Append(new wxMenuItem(menu, id, label, wxEmptyString, kind));
    };
    m_item_save = add(m_menu_file, ID_MENU_SAVE, MenuLabel("Save"));
    m_item_save_as = add(m_menu_file, ID_MENU_SAVE_AS, MenuLabel("Save As"));
    m_item_open_project = add(m_menu_file, ID_MENU_OPEN_PROJECT, MenuLabel("Open Project"));
    m_item_save_project = add(m_menu_file, ID_MENU_SAVE_PROJECT, MenuLabel("Save Project", "Ctrl+S"));
    m_item_exit = add(m_menu_file, ID_MENU_EXIT, MenuLabel("Exit", "Ctrl+Q"));
    m_item_add_image = add(m_menu_frame, ID_MENU_ADD_IMAGE, MenuLabel("Add Image", "Ctrl+Ins"));
    m_item_delete = add(m_menu_frame, ID_MENU_DELETE, MenuLabel("Delete", "Ctrl+Del"));
    m_item_clear_all = add(m_menu_frame, ID_MENU_CLEAR_ALL, MenuLabel("Clear All"));
    m_item_set_delay =
        add(m_menu_frame, ID_MENU_SET_DELAY, MenuLabel("Set Delay of Selected Frames...", kSetDelayAccelerator));
    // UpdateUndoItems gives these their labels.
    m_item_undo = add(m_menu_edit, wxID_UNDO, MenuLabel("&Undo", "Ctrl+Z"));
    m_item_redo = add(m_menu_edit, wxID_REDO, MenuLabel("&Redo", "Ctrl+Y"));
    m_menu_frame->AppendSeparator();
    m_item_move_left = add(m_menu_frame, ID_MENU_MOVE_LEFT, MenuLabel("Move Left", kMoveLeftAccelerator));
    m_item_move_right = add(m_menu_frame, ID_MENU_MOVE_RIGHT, MenuLabel("Move Right", kMoveRightAccelerator));
    m_item_move_start = add(m_menu_frame, ID_MENU_MOVE_START, MenuLabel("Move to Start", kMoveStartAccelerator));
    m_item_move_end = add(m_menu_frame, ID_MENU_MOVE_END, MenuLabel("Move to End", kMoveEndAccelerator));
    m_menu_frame->AppendSeparator();
    m_item_duplicate = add(m_menu_frame, ID_MENU_DUPLICATE, MenuLabel("Duplicate", kDuplicateAccelerator));
    m_item_reverse = add(m_menu_frame, ID_MENU_REVERSE, MenuLabel("Reverse"));
    m_item_back_and_forth = add(m_menu_frame, ID_MENU_BACK_AND_FORTH, MenuLabel("Back and Forth"));
    m_item_run_animation =
        add(m_menu_animation, ID_MENU_RUN_ANIMATION, MenuLabel("Run animation", "Ctrl+P"));
    m_item_loop_count = add(m_menu_animation, ID_MENU_LOOP_COUNT, MenuLabel("Loop Count"));
    m_item_help = add(m_menu_help, ID_MENU_HELP, MenuLabel("Help"));
    m_menu_language = new wxMenu;
    m_menu_help->Append(ID_MENU_LANGUAGE, MenuLabel("Language"), m_menu_language, wxEmptyString);
    m_item_support = add(m_menu_help, ID_MENU_SUPPORT, MenuLabel("Support"));
    m_item_check_update = add(m_menu_help, ID_MENU_CHECK_UPDATE, MenuLabel("Check for Update"));
    m_item_about = add(m_menu_help, ID_MENU_ABOUT, MenuLabel("About"));

    for (int i = 0; i < kLanguageItemCount; ++i) {
        const InterfaceLanguage& language = kInterfaceLanguages[i];
        m_item_language[i] = add(m_menu_language, language.code,
                                 wxString::FromUTF8(language.label), wxITEM_CHECK);
    }
    for (wxMenuItem* item : m_item_language)
        if (item->GetId() == m_language)
            item->Check(true);

    m_menubar->Append(m_menu_file, MenuLabel("File"));
    m_menubar->Append(m_menu_edit, MenuLabel("Edit"));
    m_menubar->Append(m_menu_frame, MenuLabel("Frame"));
    m_menubar->Append(m_menu_animation, MenuLabel("Animation"));
    m_menubar->Append(m_menu_help, MenuLabel("Help"));

    // The ids stay the same from one bar to the next; dropping the old
    // bindings first keeps every command bound exactly once.
    struct Binding {
        int id;
        wxObjectEventFunction handler;
    };
    const Binding bindings[] = {
        {ID_MENU_SAVE, wxCommandEventHandler(GifFrame::OnSaveAnimator)},
        {ID_MENU_SAVE_AS, wxCommandEventHandler(GifFrame::OnSaveAs)},
        {ID_MENU_OPEN_PROJECT, wxCommandEventHandler(GifFrame::OnOpenProject)},
        {ID_MENU_SAVE_PROJECT, wxCommandEventHandler(GifFrame::OnSaveProject)},
        {ID_MENU_EXIT, wxEventHandler(GifFrame::OnCloseFrame)},
        {ID_MENU_ADD_IMAGE, wxCommandEventHandler(GifFrame::OnAddImage)},
        {ID_MENU_DELETE, wxCommandEventHandler(GifFrame::OnDeleteImage)},
        {ID_MENU_CLEAR_ALL, wxCommandEventHandler(GifFrame::OnClearAll)},
        {ID_MENU_SET_DELAY, wxCommandEventHandler(GifFrame::OnSetSelectedDelay)},
        {ID_MENU_RUN_ANIMATION, wxCommandEventHandler(GifFrame::OnPlayAnimation)},
        {ID_MENU_LOOP_COUNT, wxCommandEventHandler(GifFrame::OnLoopCount)},
        {ID_MENU_HELP, wxCommandEventHandler(GifFrame::OnHelpMenu)},
        {ID_MENU_SUPPORT, wxCommandEventHandler(GifFrame::OnHelpMenu)},
        {ID_MENU_CHECK_UPDATE, wxCommandEventHandler(GifFrame::OnHelpMenu)},
        {ID_MENU_ABOUT, wxCommandEventHandler(GifFrame::OnAbout)},
        {ID_INSERT_IMAGE, wxCommandEventHandler(GifFrame::OnInsertImage)},
        {wxID_DELETE, wxCommandEventHandler(GifFrame::OnDeleteImage)},
        {wxID_UNDO, wxCommandEventHandler(GifFrame::OnUndo)},
        {wxID_REDO, wxCommandEventHandler(GifFrame::OnRedo)},
        {ID_MENU_MOVE_LEFT, wxCommandEventHandler(GifFrame::OnMoveFrames)},
        {ID_MENU_MOVE_RIGHT, wxCommandEventHandler(GifFrame::OnMoveFrames)},
        {ID_MENU_MOVE_START, wxCommandEventHandler(GifFrame::OnMoveFrames)},
        {ID_MENU_MOVE_END, wxCommandEventHandler(GifFrame::OnMoveFrames)},
        {ID_MENU_DUPLICATE, wxCommandEventHandler(GifFrame::OnDuplicateFrames)},
        {ID_MENU_REVERSE, wxCommandEventHandler(GifFrame::OnReverseFrames)},
        {ID_MENU_BACK_AND_FORTH, wxCommandEventHandler(GifFrame::OnBackAndForth)},
    };
    for (const Binding& binding : bindings) {
        Disconnect(binding.id, wxEVT_MENU, binding.handler);
        Connect(binding.id, wxEVT_MENU, binding.handler);
    }
    for (const InterfaceLanguage& language : kInterfaceLanguages) {
        Disconnect(language.code, wxEVT_MENU, wxCommandEventHandler(GifFrame::OnLanguage));
        Connect(language.code, wxEVT_MENU, wxCommandEventHandler(GifFrame::OnLanguage));
    }

    SetMenuBar(m_menubar);
    // Redo's second shortcut, which a menu item cannot carry, and the moves:
    // the window's table is consulted before the strip sees a key, which
    // would otherwise take Ctrl+Shift+arrows as navigation.
    wxAcceleratorEntry shortcuts[] = {
        {wxACCEL_CTRL | wxACCEL_SHIFT, 'Z', wxID_REDO},
        {wxACCEL_CTRL | wxACCEL_SHIFT, WXK_LEFT, ID_MENU_MOVE_LEFT},
        {wxACCEL_CTRL | wxACCEL_SHIFT, WXK_RIGHT, ID_MENU_MOVE_RIGHT},
        {wxACCEL_CTRL | wxACCEL_SHIFT, WXK_HOME, ID_MENU_MOVE_START},
        {wxACCEL_CTRL | wxACCEL_SHIFT, WXK_END, ID_MENU_MOVE_END},
    };
    SetAcceleratorTable(wxAcceleratorTable(WXSIZEOF(shortcuts), shortcuts));
    if (replacedBar)
        wxTheApp->ScheduleForDestruction(replacedBar);

    // The new items start enabled and with the play look; give them the
    // state the window is in.
    if (m_thumbnail_ctrl)
        m_editingEnabled ? EnableCommands() : DisableCommands();
    if (m_playing)
        ShowStopLook();
    UpdateUndoItems();
}

void GifFrame::BindLayoutCommands()
{
    Connect(XRCID("m_tool_play"), wxEVT_MENU, wxCommandEventHandler(GifFrame::OnPlayAnimation));
    Connect(XRCID("m_tool_delete"), wxEVT_MENU, wxCommandEventHandler(GifFrame::OnDeleteImage));
    Connect(XRCID("m_tool_insert"), wxEVT_MENU, wxCommandEventHandler(GifFrame::OnAddImage));
    Connect(ID_TIMER_PREVIEW, wxEVT_TIMER, wxTimerEventHandler(GifFrame::OnTimer));
    Connect(XRCID("m_spinctrl_delay"), wxEVT_TEXT, wxCommandEventHandler(GifFrame::OnSetDelay));
    Connect(XRCID("m_spinctrl_width"), wxEVT_TEXT, wxCommandEventHandler(GifFrame::OnSetWidth));
    Connect(XRCID("m_spinctrl_height"), wxEVT_TEXT, wxCommandEventHandler(GifFrame::OnSetHeight));
    Connect(XRCID("m_spinctrl_quality"), wxEVT_TEXT, wxCommandEventHandler(GifFrame::OnSetQuality));
    Connect(XRCID("m_splitter3"), wxEVT_SPLITTER_SASH_POS_CHANGED,
            wxSplitterEventHandler(GifFrame::OnChangeSplitterWindow));
}

void GifFrame::FindLayoutWindows()
{
    m_splitter3 = XRCCTRL(*this, "m_splitter3", wxSplitterWindow);
    Connect(XRCID("m_menuItem_loop_count"), wxEVT_MENU, wxCommandEventHandler(GifFrame::OnLoopCount));
    m_panel_top = XRCCTRL(*this, "m_panel_top", wxPanel);
    m_panel_down = XRCCTRL(*this, "m_panel_down", wxPanel);
    m_spinctrl_delay = XRCCTRL(*this, "m_spinctrl_delay", wxSpinCtrl);
    m_spinctrl_width = XRCCTRL(*this, "m_spinctrl_width", wxSpinCtrl);
    m_spinctrl_height = XRCCTRL(*this, "m_spinctrl_height", wxSpinCtrl);
    m_spinctrl_quality = XRCCTRL(*this, "m_spinctrl_quality", wxSpinCtrl);
    // The engine's default, so that the window saves what gifmaker-cli writes.
    if (m_spinctrl_quality)
        m_spinctrl_quality->SetValue(kGifDefaultQuality);
    m_staticText_quality = XRCCTRL(*this, "m_staticText_quality", wxStaticText);
    m_staticText_delay = XRCCTRL(*this, "m_staticText_delay", wxStaticText);
    m_staticText_sec = XRCCTRL(*this, "m_staticText_sec", wxStaticText);
    m_staticText_gif = XRCCTRL(*this, "m_staticText_gif", wxStaticText);
    m_staticText_width = XRCCTRL(*this, "m_staticText_width", wxStaticText);
    m_staticText_wpx = XRCCTRL(*this, "m_staticText_wpx", wxStaticText);
    m_staticText_height = XRCCTRL(*this, "m_staticText_height", wxStaticText);
    m_staticText_hpx = XRCCTRL(*this, "m_staticText_hpx", wxStaticText);
    m_statusBar1 = XRCCTRL(*this, "m_statusBar1", wxStatusBar);
    m_toolBar_button = XRCCTRL(*this, "m_toolBar_button", wxToolBar);
}

void GifFrame::CreateThumbnailStrip()
{
    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    m_panel_top->SetSizer(sizer);
    m_thumbnail_ctrl = new wxThumbnailCtrl(m_panel_top, wxDefaultPosition, m_panel_top->GetSize());
    sizer->Add(m_thumbnail_ctrl, 1, wxEXPAND, 0);
    m_thumbnail_ctrl->SetBackgroundColour(kStripBackground);
}
