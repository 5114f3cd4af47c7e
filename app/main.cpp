#include "gifapp.h"

wxIMPLEMENT_APP(GifApp);
