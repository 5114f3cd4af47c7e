#include "main_window.h"

#include "gifapp.h"
#include "gifframe.h"
#include "test_paths.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/menu.h>
#include <wx/log.h>

GifFrame* CreateMainWindowForTest(bool show)
{
    wxLogNull noLog;
    static const bool loaded = LoadLayoutResources(BinaryDir() + "/Themes");
    if (!loaded)
        return nullptr;
    GifFrame* frame = CreateMainWindow();
    if (frame && show)
        frame->Show(true);
    return frame;
}

void DestroyMainWindowForTest(GifFrame* frame)
{
    if (!frame)
        return;
    frame->Destroy();
    wxTheApp->ProcessIdle();
    // Lets the toolkit tell the display that the window is gone.
    wxTheApp->Yield(true);
}

void ChooseMenuItemForTest(GifFrame& frame, int id)
{
    wxMenuItem* item = frame.GetMenuBar()->FindItem(id);
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(item->GetMenu()->SendEvent(id, 1));
    wxTheApp->ProcessIdle();
}
