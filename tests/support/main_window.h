#pragma once

class GifFrame;

// The program's main window as start-up builds it: the layout files of the
// build tree's Themes folder are loaded (once per test program), the window is
// created from "MyFrame1" and initialised. It is shown unless `show` is false.
// Toolkit log messages are discarded as at start-up.
GifFrame* CreateMainWindowForTest(bool show = true);

// Destroys the window without the close prompt and lets the toolkit delete it
// before returning.
void DestroyMainWindowForTest(GifFrame* frame);

// Chooses the menu item with this id the way the menu bar does, then lets the
// toolkit do its idle work (a menu bar replaced by the command is deleted then).
void ChooseMenuItemForTest(GifFrame& frame, int id);
