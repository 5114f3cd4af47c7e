#pragma once

#include <wx/event.h>

// Both worker threads report to the main window with this event; the window
// id tells loading (6) from saving (10).
wxDECLARE_EVENT(EVT_THREAD_UPDATE, wxCommandEvent);
constexpr int ID_IMAGE_LOAD_THREAD = 6;
constexpr int ID_SAVE_GIF_THREAD = 10;
