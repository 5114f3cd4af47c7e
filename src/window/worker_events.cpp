#include "window/worker_events.h"

wxDEFINE_EVENT(EVT_THREAD_UPDATE, wxCommandEvent);
