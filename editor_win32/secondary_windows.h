#pragma once

// The parameters dialog, About and the Artwork Preview come from
// windows.cmake; until it is there, pending_windows.cpp stands in.
#include <windows.h>

#if __has_include("editor_win32/parameters_dialog.h")
#include "editor_win32/about_window.h"
#include "editor_win32/parameters_dialog.h"
#include "editor_win32/preview_window.h"
#else
#include "editing/map_editor.h"

namespace kxc2::win32 {
bool RunParametersDialog(HWND owner, kxc2::Shell::MapParameters& parameters);
void ShowAboutWindow(HWND owner);
void ShowArtworkPreview(HWND owner, kxc2::MapEditor& editor);
bool PreviewIsDialogMessage(MSG& message);
}  // namespace kxc2::win32
#endif
