// Stand-ins until windows.cmake brings the real windows; the integrator
// deletes this file.
#include <algorithm>

#include "editor_win32/secondary_windows.h"

namespace kxc2::win32 {

bool RunParametersDialog(HWND owner, kxc2::Shell::MapParameters& parameters) {
  static int mapNumber = 32;
  parameters.columns = std::clamp(parameters.columns, 16, 44);
  parameters.rows = std::clamp(parameters.rows, 11, 39);
  parameters.mapNumber = mapNumber;
  return MessageBoxW(owner, L"Map parameters", L"Set map parameters", MB_OKCANCEL) == IDOK;
}

void ShowAboutWindow(HWND owner) { MessageBoxW(owner, L"KxC2Map", L"About", MB_OK); }
void ShowArtworkPreview(HWND, kxc2::MapEditor&) {}
bool PreviewIsDialogMessage(MSG&) { return false; }

}  // namespace kxc2::win32
