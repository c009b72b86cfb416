#pragma once

#include <windows.h>

#include "editing/map_editor.h"

namespace kxc2::win32 {

// The modeless "Artwork Preview": the map as Paint .BMPs paints it, kept up
// to date through the editor's listeners. One per owner: made when first
// asked for, else shown and brought to the front. Closing destroys it.
void ShowArtworkPreview(HWND owner, MapEditor& editor);

// For the main message loop, before TranslateMessage: the preview's
// window-wide keys (zoom, Escape) and its Tab order. True when handled.
bool PreviewIsDialogMessage(MSG& message);

}  // namespace kxc2::win32
