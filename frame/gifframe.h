#pragma once

#include "project/animation_settings.h"

#include <wx/arrstr.h>
#include <wx/bitmap.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/timer.h>
#include <wx/translation.h>

#include "encode/gif_pipeline.h"
#include "frame_history.h"
#include "sizing/gif_size_estimate.h"
#include "sizing/size_presets.h"
#include "sizing/gif_size_fit.h"

#include <atomic>
#include <memory>
#include <vector>

struct ImageLoadControl;
class PreviewReadAhead;
struct ProjectFileSettings;
struct StartupFiles;
class wxDC;
class SizeEstimateWorker;
class wxButton;
class wxCheckBox;
class wxComboBox;
class wxLocale;
class wxThreadEvent;
class wxMenu;
class wxMenuBar;
class wxMenuItem;
class wxPanel;
class wxProgressDialog;
class wxSpinCtrl;
class wxSplitterEvent;
class wxSplitterWindow;
class wxStaticText;
class wxStatusBar;
class wxThumbnailCtrl;
class wxThumbnailEvent;
class wxThumbnailItem;
class wxToolBar;
class VideoClip;
struct Arrangement;

constexpr int ID_TIMER_PREVIEW = 1;
// Looks for changes to estimate the file size for.
constexpr int ID_TIMER_SIZE_ESTIMATE = 2;
// Entry of the strip's popup menu.
constexpr int ID_INSERT_IMAGE = 0;
// Shortcut of "Set Delay of Selected Frames...", in the Frame menu and the popup.
constexpr const char* kSetDelayAccelerator = "Ctrl+D";
// Shortcuts of the arranging commands, in the Frame menu and the popup; with
// Shift besides Ctrl they stay clear of the strip's own navigation keys.
constexpr const char* kMoveLeftAccelerator = "Ctrl+Shift+Left";
constexpr const char* kMoveRightAccelerator = "Ctrl+Shift+Right";
constexpr const char* kMoveStartAccelerator = "Ctrl+Shift+Home";
constexpr const char* kMoveEndAccelerator = "Ctrl+Shift+End";
constexpr const char* kDuplicateAccelerator = "Ctrl+Shift+D";

// Menu commands keep these ids across the menu bars that a language switch
// builds, so a rebuilt bar reaches each handler exactly once.
enum GifFrameCommandId {
    ID_MENU_SAVE = wxID_HIGHEST + 100,
    ID_MENU_SAVE_AS,
    ID_MENU_OPEN_PROJECT,
    ID_MENU_SAVE_PROJECT,
    ID_MENU_EXIT,
    ID_MENU_ADD_IMAGE,
    ID_MENU_DELETE,
    ID_MENU_CLEAR_ALL,
    ID_MENU_SET_DELAY,
    ID_MENU_RUN_ANIMATION,
    ID_MENU_LOOP_COUNT,
    ID_MENU_HELP,
    ID_MENU_LANGUAGE,
    ID_MENU_SUPPORT,
    ID_MENU_CHECK_UPDATE,
    ID_MENU_ABOUT,
    ID_MENU_REVERSE,
    ID_MENU_BACK_AND_FORTH,
};

// Arranging commands that have a standard id, so GTK shows its usual icon.
constexpr int ID_MENU_MOVE_LEFT = wxID_BACKWARD;
constexpr int ID_MENU_MOVE_RIGHT = wxID_FORWARD;
constexpr int ID_MENU_MOVE_START = wxID_FIRST;
constexpr int ID_MENU_MOVE_END = wxID_LAST;
constexpr int ID_MENU_DUPLICATE = wxID_DUPLICATE;

constexpr int kLanguageItemCount = 7;

struct SaveFrame;
class GifFrame : public wxFrame {
public:
    GifFrame();
    ~GifFrame() override;

    virtual void InitFrame();
    void CreateMenus();

    // Editing set.
    void EnableCommands();
    void DisableCommands();
    bool IsProjectUnsaved() const;

    // Output settings and status bar.
    void UpdateOutputSize();
    void UpdateLabels();

    // Frame delays, in hundredths of a second. Every change of a frame's
    // delay goes through SetFrameDelays, so that it can be recorded.
    struct FrameDelay {
        int index;
        int delay;
    };
    // Changes with the same non-zero `mergeKey` in a row (one control being
    // edited) are undone as one.
    void SetFrameDelays(const std::vector<FrameDelay>& changes, int mergeKey = 0);
    std::vector<int> GetFrameDelays() const;
    std::vector<wxString> GetFramePaths() const;
    // The Delay control shows the delay of the first selected frame (of the
    // first frame when none is selected), marked when the others differ.
    void ShowSelectionDelay();
    // The delay a frame arriving in the strip gets: its own (hundredths of a
    // second, -1 for none) from a GIF frame, otherwise the Delay control's.
    int NewFrameDelay(int ownDelayCs) const;
    int GetQuality() const;
    // The size limit field: its bytes (0 = no limit) and the side limit of
    // the preset chosen in it or written after the limit ("256K, 128 px"; 0 =
    // none); false when the text is no size.
    bool GetSizeLimit(long long& bytes, int& maxSide) const;
    // What a save with the limit may change.
    GifFitOptions GetFitOptions() const;
    // The estimate beside the output settings, as shown.
    wxString GetEstimateText() const;
    // What Save writes with: the frames' delays, the loop count when it goes
    // into the file, the quality and `size`.
    GifEncodeSettings GetSaveSettings(const wxSize& size) const;

    // Preview.
    void StopPreview();
    void ShowFrame(int index);
    void ClearPreview();
    void ShowPlayLook();
    void ShowStopLook();

    // Project file. SaveProject returns true when the project was written.
    bool SaveProject();
    // Opening a project comes in two steps so that Open Project can ask for
    // the file before it empties the strip, and cancelling loses no frame.
    // AskProjectPath stops the preview and shows the open dialog; it returns
    // the chosen file, empty when cancelled. LoadProject(path) reads that file,
    // applies its settings and starts loading its frames (StartImageLoad with
    // recordProjectCount = true) after any frames present; it removes none.
    wxString AskProjectPath();
    void LoadProject(const wxString& path);
    // Open Project: the unsaved-project question, then `path`, or the file
    // asked for when `path` is empty.
    void OpenProject(const wxString& path = wxString());

    // Loading pictures in the background. StartImageLoad runs the loading
    // thread on a non-empty list of paths (files, GIF frame names, clip frame
    // and range names) and shows the progress dialog; false, and no dialog,
    // when the thread cannot start. With recordProjectCount the project
    // record takes the frame count once the load has ended. With `delays`
    // (one per path) each picture gets its path's delay.
    bool StartImageLoad(const wxArrayString& paths, bool recordProjectCount = false,
                        const std::vector<int>& delays = {});
    // Add Image and Insert Image after their file dialogs: LoadFilesAt at the
    // end, and in front of the first selected frame.
    void AddImages(const wxArrayString& paths);
    void InsertImages(const wxArrayString& paths);
    // The one way files chosen by the user come in (Add Image, Insert Image,
    // files dropped on the window): each video clip among them first asks in
    // the import dialog which part to take and at what rate (Cancel leaves
    // that clip out); then everything loads in the background, placed in
    // front of the frame at `position` (at the end for -1 or the count); the
    // whole load is one undo step named `label`. False when a load or save
    // runs, nothing is left to load or the load cannot start.
    bool LoadFilesAt(const wxArrayString& paths, int position, const char* label = wxTRANSLATE("Add Image"));
    // Files and folders dropped from the file manager: a project is opened as
    // Open Project does, pictures are loaded in front of `position` (-1: at
    // the end), a folder's in name order. False when nothing was taken.
    bool DropFiles(const wxArrayString& paths, int position);

    // Nothing changes the frame list while a load or a save runs.
    bool IsListBusy() const { return IsLoading() || IsSaving(); }
    // The files named on the command line: a project is opened, pictures are
    // added as Add Image does; files that are missing or left out beside a
    // project are named in one message first.
    void OpenStartupFiles(const StartupFiles& files);
    // Called by the end of a load started for a project: the project record
    // takes the frame count, and the window the project's output size.
    void OnProjectLoadFinished();
    // The project record takes the frames as they stand.
    void RecordProjectFrames();
    // Opening a project applies its loop choice, quality and size limit, or
    // the defaults.
    void ApplyLoopAndQuality(const ProjectFileSettings& settings);

    // Saving the animation.
    wxString AskGifPath(const wxString& title);
    bool StartSave(const wxSize& size, const wxString& title);
    // When some frames' sources changed or vanished since they were added,
    // asks whether to save anyway, naming them; false to cancel.
    bool AcceptChangedFrames(const std::vector<SaveFrame>& frames);
    void FinishSave(bool written, const wxString& error);
    void ShowSaveStatus();

    // What the window shows besides its controls (which are found by their
    // layout names and menu ids), for the tests and the Help menu to read.
    wxThumbnailCtrl* GetThumbnailCtrl() const { return m_thumbnail_ctrl; }
    bool IsLoading() const { return m_loadProgress != nullptr; }
    bool IsSaving() const { return m_saveProgress != nullptr; }
    // The preview runs: the flag and its timer go together.
    bool IsPlaying() const { return m_playing && m_timer.IsRunning(); }
    bool IsStopped() const { return !m_playing && !m_timer.IsRunning(); }
    int GetPreviewInterval() const { return m_timer.GetInterval(); }
    // File name of the frame on the canvas; empty when the canvas is clear.
    wxString GetPreviewName() const { return m_previewBitmap.IsOk() ? m_previewName : wxString(); }
    // The loop count chosen for the preview (0: endless) and the loops it
    // has played since it started.
    bool IsLoopInFile() const { return m_loopInFile; }
    int GetLoopCount() const { return m_loopCount; }
    int GetLoopsPlayed() const { return m_loopsPlayed; }
    const wxString& GetGifPath() const { return m_gifPath; }
    const wxString& GetProjectPath() const { return m_projectPath; }
    int GetLanguage() const { return m_language; }
    // The settings of the last project save or open, and of the last GIF written.
    const AnimationSettings& GetProjectRecord() const { return m_projectRecord; }
    const AnimationSettings& GetSavedRecord() const { return m_savedRecord; }

    // Size, place, maximised state and strip height in the user's
    // configuration (wxConfigBase::Get()). Restoring ignores a place that is
    // on no screen any more.
    void SaveWindowState() const;
    void RestoreWindowState();

    // Handlers.
    void OnSaveAnimator(wxCommandEvent& event);
    void OnSaveAs(wxCommandEvent& event);
    void OnOpenProject(wxCommandEvent& event);
    void OnSaveProject(wxCommandEvent& event);
    void OnCloseFrame(wxEvent& event);
    void OnAddImage(wxCommandEvent& event);
    void OnInsertImage(wxCommandEvent& event);
    void OnDeleteImage(wxCommandEvent& event);
    void OnClearAll(wxCommandEvent& event);
    void OnSetSelectedDelay(wxCommandEvent& event);
    void OnPlayAnimation(wxCommandEvent& event);
    void OnLoopCount(wxCommandEvent& event);
    void OnHelpMenu(wxCommandEvent& event);
    void OnAbout(wxCommandEvent& event);
    void OnLanguage(wxCommandEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnSetDelay(wxCommandEvent& event);
    void OnSetWidth(wxCommandEvent& event);
    void OnSetHeight(wxCommandEvent& event);
    void OnChangeSplitterWindow(wxSplitterEvent& event);
    void OnThumbnailLeftClick(wxThumbnailEvent& event);
    void OnThumbnailRightClick(wxThumbnailEvent& event);
    void OnThumbnailSelectionChanged(wxThumbnailEvent& event);
    void OnUpdateChecked(wxCommandEvent& event);
    void OnImageLoaded(wxCommandEvent& event);
    void OnSaveThreadUpdate(wxCommandEvent& event);
    void OnUndo(wxCommandEvent& event);
    void OnRedo(wxCommandEvent& event);
    void OnMoveFrames(wxCommandEvent& event);
    void OnDuplicateFrames(wxCommandEvent& event);
    void OnReverseFrames(wxCommandEvent& event);
    void OnBackAndForth(wxCommandEvent& event);
    void OnSetQuality(wxCommandEvent& event);
    void OnThumbnailMoveSelection(wxThumbnailEvent& event);
    void OnThumbnailFilesDropped(wxThumbnailEvent& event);
    void OnSizeEstimateTimer(wxTimerEvent& event);
    void OnSizeEstimate(wxThreadEvent& event);
    void OnSizeLimitText(wxCommandEvent& event);
    // Edit Presets: the size limit presets edited in their dialog and kept
    // in the configuration.
    void OnEditSizePresets(wxCommandEvent& event);

private:
    // ApplyLanguage replaces the window's locale.
    friend void ApplyLanguage(int code, GifFrame& frame);

    void BindLayoutCommands();
    void FindLayoutWindows();
    void CreateThumbnailStrip();
    void SetLabels();
    void SetUpSizeLimit();
    void FillSizeLimitChoices();
    // Shows the size limit's and the estimate's state beside the settings.
    void ShowEstimate();
    // Applies a project's or the defaults' size limit.
    void ApplySizeLimit(long long bytes, int maxSide, bool keepAllFrames);
    // Shows the limit in its field: a preset's label when one has it.
    void ShowSizeLimit(long long bytes, int maxSide);
    void SwitchEditingSet(bool enable);
    void ApplyPreviewLook(const char* bitmapFile, const wxString& label);
    // The settings as the controls and the strip hold them now.
    AnimationSettings CurrentSettings() const;

    wxArrayString AskImagePaths(const wxString& message);
    void EndImageLoad();
    void WaitForImageLoad();
    void DrawPreview(wxDC& dc);
    // Asks the read-ahead for the frames the playing preview shows after `index`.
    void ReadAheadFrom(int index);
    wxSize PreviewDecodeSize(const wxSize& frameSize) const;
    void InstallDropTargets();
    // Puts a frame the load thread delivered in its place; false refuses it.
    bool PlaceLoadedItem(wxThumbnailItem* item, int delay);
    // Records the step of a load started by LoadFilesAt once it has ended.
    void FinishLoadStep();

    // Undo and redo of the frame list and the output settings. A change is
    // marked by taking the state before it (CaptureState) and recording it
    // once made. The unsaved-project question asks while the state differs
    // from the one last saved or opened (m_savedState), however reached.
    FrameListState CaptureState() const;
    void RestoreState(const FrameListState& state);
    // A change was made from `before`; nothing is recorded when nothing changed.
    void RecordStep(const char* label, const FrameListState& before, int mergeKey = kMergeNone);
    void UpdateUndoItems();
    std::vector<int> SelectedFrames() const;
    void ApplyArrangement(const Arrangement& arrangement, const char* label);
    void OnPaintPreview(wxPaintEvent& event);
    void OnSizePreview(wxSizeEvent& event);

    // Members, named after the layout resource where they come from it.
    wxSplitterWindow* m_splitter3 = nullptr;
    wxPanel* m_panel_top = nullptr;
    wxPanel* m_panel_down = nullptr;
    wxProgressDialog* m_loadProgress = nullptr;
    wxProgressDialog* m_saveProgress = nullptr;
    // Cancel and the frames in flight of the running load.
    std::shared_ptr<ImageLoadControl> m_loadControl;
    // The clips the running load takes frames from, kept open until it ends
    // so that they are read only once.
    std::vector<std::shared_ptr<VideoClip>> m_loadClips;
    // Set by Cancel in the save progress dialog; read by the running save.
    std::shared_ptr<std::atomic<bool>> m_saveStop;
    wxMenuBar* m_menubar = nullptr;
    wxMenu* m_menu_file = nullptr;
    wxMenu* m_menu_frame = nullptr;
    wxMenu* m_menu_animation = nullptr;
    wxMenu* m_menu_help = nullptr;
    wxMenuItem* m_item_open_project = nullptr;
    wxMenuItem* m_item_save = nullptr;
    wxMenuItem* m_item_save_as = nullptr;
    wxMenuItem* m_item_save_project = nullptr;
    wxMenuItem* m_item_exit = nullptr;
    wxMenuItem* m_item_add_image = nullptr;
    wxMenuItem* m_item_delete = nullptr;
    wxMenuItem* m_item_clear_all = nullptr;
    wxMenuItem* m_item_set_delay = nullptr;
    wxMenuItem* m_item_run_animation = nullptr;
    wxMenuItem* m_item_loop_count = nullptr;
    wxMenuItem* m_item_help = nullptr;
    wxMenu* m_menu_language = nullptr;
    wxMenuItem* m_item_support = nullptr;
    wxMenuItem* m_item_check_update = nullptr;
    wxMenuItem* m_item_about = nullptr;
    wxMenu* m_menu_edit = nullptr;
    wxMenuItem* m_item_undo = nullptr;
    wxMenuItem* m_item_redo = nullptr;
    wxMenuItem* m_item_move_left = nullptr;
    wxMenuItem* m_item_move_right = nullptr;
    wxMenuItem* m_item_move_start = nullptr;
    wxMenuItem* m_item_move_end = nullptr;
    wxMenuItem* m_item_duplicate = nullptr;
    wxMenuItem* m_item_reverse = nullptr;
    wxMenuItem* m_item_back_and_forth = nullptr;
    wxMenuItem* m_item_language[kLanguageItemCount] = {};
    wxStaticText* m_staticText_delay = nullptr;
    wxStaticText* m_staticText_sec = nullptr;
    wxStaticText* m_staticText_gif = nullptr;
    wxStaticText* m_staticText_width = nullptr;
    wxStaticText* m_staticText_wpx = nullptr;
    wxStaticText* m_staticText_height = nullptr;
    wxStaticText* m_staticText_hpx = nullptr;
    wxStaticText* m_staticText_quality = nullptr;
    AnimationSettings m_projectRecord;
    AnimationSettings m_savedRecord;
    // The settings a running save writes; they become the saved record above
    // only when the file was written.
    AnimationSettings m_saveRunning;
    // The progress dialog's Update runs a nested event loop that can deliver
    // the save's end; it is then handled once Update has returned.
    bool m_saveUpdating = false;
    bool m_saveEndPending = false;
    bool m_saveEndWritten = false;
    wxString m_saveEndError;
    wxToolBar* m_toolBar_button = nullptr;
    wxThumbnailCtrl* m_thumbnail_ctrl = nullptr;
    wxTimer m_timer;
    int m_aspectWidth = 0;
    int m_aspectHeight = 0;
    int m_outputWidth = 0;
    int m_outputHeight = 0;
    wxString m_gifPath;
    wxString m_gifName;
    wxString m_projectPath;
    wxString m_projectName;
    wxString m_previewName;
    // The shown frame, decoded at least as large as it is drawn, and its
    // full size.
    wxBitmap m_previewBitmap;
    wxSize m_previewSize;
    // While the preview plays: the next frames, decoded ahead.
    std::unique_ptr<PreviewReadAhead> m_readAhead;
    int m_playIndex = 0;
    int m_loopCount = 0;
    // The saved GIF plays m_loopCount passes too; otherwise it repeats for ever.
    bool m_loopInFile = false;
    int m_loopsPlayed = 0;
    int m_language = 0;
    wxSpinCtrl* m_spinctrl_delay = nullptr;
    wxSpinCtrl* m_spinctrl_width = nullptr;
    wxSpinCtrl* m_spinctrl_height = nullptr;
    wxSpinCtrl* m_spinctrl_quality = nullptr;
    wxStatusBar* m_statusBar1 = nullptr;
    wxStaticText* m_staticText_limit = nullptr;
    wxStaticText* m_staticText_estimate = nullptr;
    wxComboBox* m_combo_limit = nullptr;
    wxCheckBox* m_check_keep_frames = nullptr;
    wxButton* m_button_presets = nullptr;
    // The presets the limit field lists, the user's from the configuration.
    std::vector<SizePreset> m_sizePresets;
    // The size estimate: its worker, the settings it was asked for, the
    // request whose answer counts, and that answer.
    std::unique_ptr<SizeEstimateWorker> m_estimator;
    wxTimer m_estimateTimer;
    AnimationSettings m_estimatedFor;
    GifEncodeSettings m_estimatedEncode;
    unsigned m_estimateRequest = 0;
    bool m_estimateKnown = false;
    GifSizeEstimate m_estimate;
    wxLocale* m_locale = nullptr;
    bool m_playing = false;
    bool m_editingEnabled = false;
    // Load bookkeeping: the progress dialog's Update runs a nested event loop
    // that delivers further loading events, so the handler must not update or
    // destroy the dialog from inside that loop.
    bool m_loadDialogUpdating = false;
    bool m_loadEnded = false;
    bool m_loadRecordsProjectCount = false;
    // Where the running load puts its frames (-1: at the end), and for a
    // load started by LoadFilesAt the state before it and its step's name.
    int m_loadPosition = -1;
    std::unique_ptr<FrameListState> m_loadBefore;
    const char* m_loadLabel = nullptr;
    FrameHistory m_history;
    FrameListState m_savedState;
    // The quality before the control's latest edit.
    int m_quality = kGifDefaultQuality;

    wxDECLARE_EVENT_TABLE();
};
