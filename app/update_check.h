#pragma once

#include <wx/event.h>
#include <wx/string.h>

// Carries the newest published version, empty when the check failed.
wxDECLARE_EVENT(EVT_UPDATE_CHECKED, wxCommandEvent);
