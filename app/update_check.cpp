#include "update_check.h"

wxDEFINE_EVENT(EVT_UPDATE_CHECKED, wxCommandEvent);
